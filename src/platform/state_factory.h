#pragma once

#include <functional>

class GameState;
class GameStateManager;

// How the manager builds its states: the first state (the stage select) at
// construction, and a level at every state switch. Each function returns a
// new state, owned by the manager from then on.
struct StateFactory {
    std::function<GameState*(GameStateManager*)> createFirstState;
    std::function<GameState*(GameStateManager*)> createLevel;
    // A live reload: builds the kind of state `current` is afresh from the
    // files on disk, carrying over what should survive a reload (the
    // player's place, the menu's cursors); `current` itself is not changed.
    // Returns null for a state it cannot rebuild; a fatal data error
    // propagates. May be left empty: nothing is then ever rebuilt.
    std::function<GameState*(GameStateManager*, const GameState& current)> rebuildState;
};
