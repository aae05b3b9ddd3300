#pragma once

#include "platform/input_router.h"
#include "platform/input_state.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Turns control bytes into the input records a real keyboard can produce,
// through the engine's own InputRouter: each frame forgets last frame's
// edges, then applies that frame's key presses and releases (the last
// pressed direction on an axis wins). A byte's six low bits toggle the
// keys up, down, left, right, jump and shoot in that order; bit 7 set means
// the next byte is a second round of toggles in the same frame (a press and
// a release within one frame). The bytes run out into idle frames.
class FuzzKeyboard {
public:
    explicit FuzzKeyboard(std::string bytes) : m_bytes(std::move(bytes)) {}

    // The input record of the next frame.
    InputState nextFrame();

private:
    void toggle(int key);
    uint8_t nextByte();

    std::string m_bytes;
    size_t m_next = 0;
    InputRouter m_router;
};
