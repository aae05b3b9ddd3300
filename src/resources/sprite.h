#pragma once

#include "platform/surface_handle.h"
#include "resources/ini_dictionary.h"
#include "resources/ini_schema.h"
#include "resources/sprite_animation.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The animated picture of one game object: sprite sheets (one per facing or
// pose, identical layouts), a table of equally sized cells and numbered
// animations. Built from the "Spritesheets", "Sprites", "Animations" and
// "Animation<i>" sections of its owner's INI file; everything needed is
// copied, so the dictionary may be destroyed afterwards. Bad data (negative
// or huge counts, out-of-range indices, empty animations) is reported once at
// load with a warning naming the file, section and key, and never causes an
// out-of-range access: an invalid cell or sheet draws nothing.
class Sprite {
public:
    // Memory one list of a sprite may take, in bytes: the sheets, the cells,
    // the animations, and the frames of all animations together. The bounds
    // on the counts below follow from it; only a broken or hostile file comes
    // near them (a real sprite has a few sheets and at most some thousands
    // of cells and frames). A larger count is refused as a whole.
    static constexpr size_t kMaxTableBytes = 8 * 1024 * 1024;
    static constexpr int32_t kMaxSheets = static_cast<int32_t>(kMaxTableBytes / sizeof(SurfaceHandle));
    static constexpr int32_t kMaxCells = static_cast<int32_t>(kMaxTableBytes / sizeof(SDL_Rect));
    static constexpr int32_t kMaxAnimations = static_cast<int32_t>(kMaxTableBytes / sizeof(SpriteAnimation));
    static constexpr int32_t kMaxFrames = static_cast<int32_t>(kMaxTableBytes / sizeof(SpriteFrame));  // all animations
    // Memory the loaded sheets of one sprite may take, in bytes (width x
    // height x bytes per pixel): four of the largest bitmaps. Sheets past it
    // are not loaded and draw nothing.
    static constexpr int64_t kMaxSheetBytes = 16 * 1024 * 1024;

    // The sections and keys a sprite reads from its owner's file.
    static const IniSchema& fileKeys();

    // sourceName names the INI file in warnings.
    Sprite(const IniDictionary& dictionary, const std::string& sourceName);
    ~Sprite();
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    // Selects an animation; selecting the current one changes nothing. An
    // index outside the table is kept, and while it is current update and
    // draw do nothing.
    void setAnimation(int32_t index);
    // Switches to back-and-forth stepping; frame, counter and direction stay.
    void setPingPong();
    // The current frame starts its duration again.
    void restartFrame();
    // One step of the current mode.
    void update();
    // Draws the current cell from sheet `sheet` at screen (x + xOffset, y + yOffset).
    // An unknown sheet or cell, or a sheet that failed to load, draws nothing.
    void draw(int32_t x, int32_t y, int32_t sheet);

    int32_t currentAnimation() const { return m_currentAnimation; }
    int32_t currentFrame() const { return m_currentFrame; }
    int32_t frameCounter() const { return m_frameCounter; }
    int32_t direction() const { return m_direction; }
    bool isPingPong() const { return m_pStepHandler == &Sprite::pingPongStep; }
    int32_t animationCount() const { return m_nAnimations; }
    int32_t sheetCount() const { return m_nSpritesheets; }

private:
    // The current animation, or null when its index is outside the table or
    // it has no frames (then there is nothing to step or draw).
    const SpriteAnimation* currentAnimationData() const;
    void loopStep();
    void pingPongStep();

    int32_t m_currentAnimation = 0;
    int32_t m_currentFrame = 0;
    int32_t m_frameCounter = 0;
    int32_t m_direction = 1;  // +1 or -1, stepping direction of back-and-forth mode
    int32_t m_nAnimations = 0;
    int32_t m_nSpritesheets = 0;
    int32_t m_xOffset = 0;  // pixels
    int32_t m_yOffset = 0;  // pixels
    std::vector<SpriteAnimation> m_pAnimations;
    void (Sprite::*m_pStepHandler)() = &Sprite::loopStep;
    std::vector<SurfaceHandle> m_pSpritesheets;  // owned; empty handles for sheets that failed to load
    std::vector<SDL_Rect> m_pSpriteRects;       // one source rectangle per cell
};
