#pragma once

#include <SDL.h>

#include <cstdint>

// One input event of a run as an input log stores it: a game key going down
// or up, or a quit, in the frame (numbered from 1) whose poll handled it.
struct ReplayEvent {
    enum class Kind { KeyDown, KeyUp, Quit };

    uint32_t frame = 0;
    Kind kind = Kind::Quit;
    SDLKey key = SDLK_UNKNOWN;  // unused for Quit
};

inline bool operator==(const ReplayEvent& a, const ReplayEvent& b) {
    return a.frame == b.frame && a.kind == b.kind && (a.kind == ReplayEvent::Kind::Quit || a.key == b.key);
}
