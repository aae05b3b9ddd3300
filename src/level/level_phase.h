#pragma once

#include <cstdint>

// The five phases of a level: the ready message, play, and the three phases
// of a vertical screen transition.
enum class LevelPhase : int32_t {
    Ready = 0,            // the ready message over the map; nothing moves
    Playing = 1,          // normal play
    BeforeScrolling = 2,  // a transition has begun; everything is frozen
    Scrolling = 3,        // the camera moves vertically; the player is updated
    AfterScrolling = 4,   // the camera reached the new boundary; everything is frozen
};

// The phase's name as it appears in traces.
const char* levelPhaseName(LevelPhase phase);
