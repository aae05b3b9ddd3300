#include "platform/game_state.h"

GameState::~GameState() = default;

void GameState::enter() {}
