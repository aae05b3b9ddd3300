#pragma once

#include "app/application.h"
#include "level/trace_writer.h"

#include <memory>

// The game in a web page: the browser wakes it at every display refresh
// (emscripten's main loop on requestAnimationFrame) and each wake runs the
// frames the pacer says are due, so the game keeps 60 updates a second at
// any refresh rate. When the run ends the page is told its exit status.
class BrowserRun {
public:
    // Takes over a prepared application (`status` is Application::kRunning)
    // and starts waking it; any other status ends the run at once. Returns
    // at once either way, with the status so far.
    static int start(int status, std::unique_ptr<Application> application, std::unique_ptr<TraceWriter> trace);

private:
    // One wake of the browser's main loop.
    static void wake();
    // Shuts the run down and tells the page.
    static void end(int status);
};
