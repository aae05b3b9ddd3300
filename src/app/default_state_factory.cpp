// The game's own states: the stage select first, a level at every switch.
// Defined with the top layer of the engine, which knows both.
#include "app/default_state_factory.h"
#include "level/level.h"
#include "menus/stage_select.h"

StateFactory defaultStateFactory() {
    StateFactory factory;
    factory.createFirstState = [](GameStateManager* manager) -> GameState* { return new StageSelect(manager); };
    factory.createLevel = [](GameStateManager* manager) -> GameState* { return new Level(manager); };
    return factory;
}
