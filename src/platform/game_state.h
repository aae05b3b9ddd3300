#pragma once

#include "platform/input_state.h"

// One screen of the game (the stage select, a level). The manager owns the
// current state, updates it once per unpaused frame and draws it every frame.
class GameState {
public:
    virtual ~GameState();
    // Called once when the state becomes the current one: built as the first
    // state, switched to, or put in place of a reloaded one. What a state
    // sets going for the player to hear (its tune, the level's "ready") starts
    // here, not in the constructor, so a state that is built and then thrown
    // away (a reload the checker refuses) is never heard. Does nothing by default.
    virtual void enter();
    // Draws the whole frame for this state.
    virtual void draw() = 0;
    // Advances the state by one frame.
    virtual void update(InputState input) = 0;
};
