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
};
