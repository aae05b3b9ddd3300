#pragma once

#include "platform/game_state.h"
#include "platform/input_state.h"
#include "platform/state_factory.h"

#include <string>

// Owns the one current game state, forwards the per-frame update and draw to
// it, and carries out a requested switch at the start of the next update:
// the current state is deleted and a level is built in its place (one way,
// nothing returns to the first state). Every state it makes current is
// told so (GameState::enter). Also carries the two choices the
// menu hands to the level: name 0 is the level name, name 1 the player file.
class GameStateManager {
public:
    // Sets the initial names, then builds the factory's first state.
    explicit GameStateManager(StateFactory factory);
    ~GameStateManager();
    GameStateManager(const GameStateManager&) = delete;
    GameStateManager& operator=(const GameStateManager&) = delete;

    // One frame: the state's update, or instead a pending switch (this
    // frame's input then reaches no state).
    void update(InputState input);
    void draw();

    // A copy of name 0 (level) or 1 (player file); empty for other indices.
    std::string getName(int index) const;
    // Sets name 0 or 1; other indices and a null text are ignored.
    void setName(int index, const char* text);
    // The next update replaces the current state with a new level.
    void requestStateSwitch();

    GameState* currentState() const { return m_pCurrentState; }
    // Puts `state` (owned from now on) in place of the current state, which
    // is deleted; a requested switch stays requested. For a live reload,
    // between frames only; a null state changes nothing.
    void replaceState(GameState* state);

    static constexpr int kNameCount = 2;

private:
    bool m_switchState;  // a switch was requested and not yet carried out
    std::string m_names[kNameCount];
    GameState* m_pCurrentState;
    StateFactory m_factory;
};
