#pragma once

#include <cstdint>
#include <string>

// The web page the game runs in, in the browser build (elsewhere every call
// does nothing). Tells the page which frame was shown last and how the run
// ended, and keeps pictures of the screen for the page's script to read:
// the hooks are functions the page sets on its Module object.
class BrowserPage {
public:
    // Module.voltaroFrameShown(frame), after the frames of a wake.
    static void frameShown(uint32_t frame);
    // Module.voltaroEnded(status), once, when the run is over.
    static void runEnded(int status);
    // Module.voltaroKeepScreen(name): the page copies the picture now on
    // its canvas and keeps it under `name`. False when the page cannot.
    static bool keepScreen(const std::string& name);
};
