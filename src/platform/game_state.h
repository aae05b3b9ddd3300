#pragma once

#include "platform/input_state.h"

// One screen of the game (the stage select, a level). The manager owns the
// current state, updates it once per unpaused frame and draws it every frame.
class GameState {
public:
    virtual ~GameState();
    // Draws the whole frame for this state.
    virtual void draw() = 0;
    // Advances the state by one frame.
    virtual void update(InputState input) = 0;
};
