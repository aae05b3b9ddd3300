#pragma once

#include <cstdint>

// Groups the player's states; the mode, not the state, decides which parts of
// an update run (shots, ladder grab, jumping, moves). The values appear in
// traces, so they are fixed.
enum class MovementMode : int32_t {
    Ground = 0,    // Standing, Accelerating, Running, Decelerating
    Air = 1,       // Airborne, Reeling, Appearing
    Ladder = 2,    // Climbing
    Teleport = 3,  // Teleporting (the beam-in)
};
