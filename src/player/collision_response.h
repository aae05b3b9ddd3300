#pragma once

#include <cstdint>

// What a vertical collision does to a player that is not on the ground. The
// values appear in traces, so they are fixed.
enum class CollisionResponse : int32_t {
    Rising = 0,   // a ceiling bump: the rise ends, the state stays
    Landing = 1,  // a landing: the player stands or runs
    Stop = 2,     // the vertical motion stops, nothing else changes
};
