#pragma once

// Where the 256x240 picture goes on the display: the video mode to ask for,
// the whole number each picture pixel is enlarged by, and the picture's
// top-left corner in the mode. Pixels are only ever enlarged by whole
// numbers, so they stay sharp and square and no game pixel changes.
struct DisplayLayout {
    static constexpr int kPictureWidth = 256;   // pixels
    static constexpr int kPictureHeight = 240;  // pixels
    // Room a window leaves on the desktop for its frame, title bar and the
    // desktop's own panels, in pixels.
    static constexpr int kWindowFrameWidth = 16;
    static constexpr int kWindowFrameHeight = 80;

    int width = kPictureWidth;    // the video mode, pixels
    int height = kPictureHeight;  // pixels
    int scale = 1;                // mode pixels per picture pixel
    int left = 0;                 // the picture's corner in the mode, pixels
    int top = 0;
    bool fullscreen = false;

    // A window exactly `scale` times the picture.
    static DisplayLayout window(int scale);
    // The largest window that fits the desktop with room for its frame.
    // An unknown desktop (0x0) gives scale 1.
    static DisplayLayout windowFitting(int desktopWidth, int desktopHeight);
    // The whole desktop, with the picture enlarged by the largest whole
    // number that fits and centred on black. An unknown desktop (0x0) gives
    // the picture at `fallbackScale`; a desktop smaller than the picture
    // gets a mode of the picture's size.
    static DisplayLayout fullscreenOn(int desktopWidth, int desktopHeight, int fallbackScale);
    // The largest whole number n with n x the picture within width x height; at least 1.
    static int largestScale(int width, int height);
};

inline bool operator==(const DisplayLayout& a, const DisplayLayout& b) {
    return a.width == b.width && a.height == b.height && a.scale == b.scale && a.left == b.left && a.top == b.top &&
           a.fullscreen == b.fullscreen;
}
