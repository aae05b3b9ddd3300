#include "platform/display_layout.h"

#include <algorithm>

int DisplayLayout::largestScale(int width, int height) {
    return std::max(1, std::min(width / kPictureWidth, height / kPictureHeight));
}

DisplayLayout DisplayLayout::window(int scale) {
    DisplayLayout layout;
    layout.scale = std::max(1, scale);
    layout.width = kPictureWidth * layout.scale;
    layout.height = kPictureHeight * layout.scale;
    return layout;
}

DisplayLayout DisplayLayout::windowFitting(int desktopWidth, int desktopHeight) {
    if (desktopWidth <= 0 || desktopHeight <= 0) return window(1);  // nothing known to fit
    return window(largestScale(desktopWidth - kWindowFrameWidth, desktopHeight - kWindowFrameHeight));
}

DisplayLayout DisplayLayout::fullscreenOn(int desktopWidth, int desktopHeight, int fallbackScale) {
    DisplayLayout layout = window(fallbackScale);
    if (desktopWidth > 0 && desktopHeight > 0) {
        layout.scale = largestScale(desktopWidth, desktopHeight);
        layout.width = std::max(desktopWidth, kPictureWidth);
        layout.height = std::max(desktopHeight, kPictureHeight);
    }
    layout.left = (layout.width - kPictureWidth * layout.scale) / 2;
    layout.top = (layout.height - kPictureHeight * layout.scale) / 2;
    layout.fullscreen = true;
    return layout;
}
