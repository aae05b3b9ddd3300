// The game's own states: the stage select first, a level at every switch.
// Defined with the top layer of the engine, which knows both.
#include "app/default_state_factory.h"
#include "level/level.h"
#include "menus/stage_select.h"

#include <memory>

StateFactory defaultStateFactory() {
    StateFactory factory;
    factory.createFirstState = [](GameStateManager* manager) -> GameState* { return new StageSelect(manager); };
    factory.createLevel = [](GameStateManager* manager) -> GameState* { return new Level(manager); };
    factory.rebuildState = [](GameStateManager* manager, const GameState& current) -> GameState* {
        // Built in full before anything is carried over, so a fatal data
        // error leaves nothing half made.
        if (const auto* level = dynamic_cast<const Level*>(&current)) {
            auto fresh = std::make_unique<Level>(manager);
            fresh->continueFrom(*level);
            return fresh.release();
        }
        if (const auto* menu = dynamic_cast<const StageSelect*>(&current)) {
            auto fresh = std::make_unique<StageSelect>(manager);
            fresh->continueFrom(*menu);
            return fresh.release();
        }
        return nullptr;  // a state this factory never built
    };
    return factory;
}
