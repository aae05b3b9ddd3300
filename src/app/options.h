#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A screen picture to save: after frame `frame` (the first frame is 1) has
// been drawn, the 256x240 screen is written to `file` as a BMP.
struct ScreenshotRequest {
    uint32_t frame = 0;
    std::string file;
};

// What the command line asked for. The defaults are the plain game: the
// current directory, a 1x window, paced at 60 frames per second, until quit.
struct Options {
    std::string dataDirectory;  // working directory for the game's data; empty = current
    int scale = 1;              // window pixels per screen pixel, 1 to 8
    bool fitDesktop = false;    // --scale auto: the largest window that fits the desktop
    bool fullscreen = false;    // start on the whole display
    bool overlayShown = true;   // the debug overlay at the start (--no-overlay hides it)
    bool headless = false;      // no window, no pacing
    uint32_t frameLimit = 0;    // frames to run, 0 = until quit
    std::string recordFile;     // input log to write; empty = none
    std::string replayFile;     // input log to play back; empty = none
    std::string traceFile;      // per-frame trace to write; empty = none
    std::vector<ScreenshotRequest> screenshots;
    bool watch = false;           // reload the running state when its files change
    bool muted = false;         // start with all sound off
    int volume = 100;           // percent of full loudness, 0 to 100
    bool helpRequested = false;
    bool versionRequested = false;
    bool playerTemplateRequested = false;  // print the player file template and exit
    bool checkRequested = false;  // check the game's data and exit instead of playing
    std::string checkDirectory;   // game to check; empty = the data directory
};
