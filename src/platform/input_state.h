#pragma once

#include "platform/direction.h"

// The per-frame input record, copied by value from the engine to the state
// manager, the current state and the player. Pressed/Released flags are
// one-frame edges; Held flags are levels. A new vertical or horizontal press
// is detected by comparing a direction with its previous value.
struct InputState {
    Direction horizontal = Direction::None;
    Direction vertical = Direction::None;
    Direction previousHorizontal = Direction::None;  // value at the start of the latest unpaused poll
    Direction previousVertical = Direction::None;
    bool upHeld = false;
    bool downHeld = false;
    bool leftHeld = false;
    bool rightHeld = false;
    bool shootPressed = false;
    bool shootHeld = false;
    bool shootReleased = false;
    bool jumpPressed = false;
    bool jumpHeld = false;
    bool jumpReleased = false;
};
