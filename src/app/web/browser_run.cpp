#include "app/web/browser_run.h"

#include "platform/browser_page.h"

#include <emscripten.h>

namespace {
// The run the browser wakes: main has returned, so it lives here.
std::unique_ptr<Application> s_application;
std::unique_ptr<TraceWriter> s_trace;
}  // namespace

int BrowserRun::start(int status, std::unique_ptr<Application> application, std::unique_ptr<TraceWriter> trace) {
    s_application = std::move(application);
    s_trace = std::move(trace);
    if (status == Application::kRunning) status = s_application->start();
    if (status != Application::kRunning) {
        end(status);
        return status;
    }
    // 0 frames per second: wake at the display's refresh. Do not simulate an
    // infinite loop: main returns and the runtime stays up.
    emscripten_set_main_loop(wake, 0, 0);
    return 0;
}

void BrowserRun::wake() {
    const int status = s_application->runDueFrames();
    BrowserPage::frameShown(s_application->lastFrame());
    if (status != Application::kRunning) end(status);
}

void BrowserRun::end(int status) {
    emscripten_cancel_main_loop();
    s_application.reset();  // closes the input log, before the trace it reports to
    s_trace.reset();
    BrowserPage::runEnded(status);
}
