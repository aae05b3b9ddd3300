#include "app/game_state.h"

GameState::~GameState() = default;
