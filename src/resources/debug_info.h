#pragma once

#include "resources/font.h"

#include <cstdint>

// The on-screen physics overlay: the player's position, speeds and ladder
// contacts as nine numbers at fixed places in the top left corner. Drawn
// unless the video service says the player has hidden it; it keeps no
// state, so hiding it changes nothing but the picture.
class DebugInfo {
public:
    DebugInfo();

    // Positions and speeds are raw fixed-point values (pixels x 256);
    // contactBits packs the five ladder flags (flag k adds 2^k).
    void draw(int32_t xPosition, int32_t yPosition, int32_t xSpeed, int32_t ySpeed, int32_t contactBits);

private:
    Font m_font;
};
