#include "platform/game_state_manager.h"

#include <utility>

GameStateManager::GameStateManager(StateFactory factory)
    : m_switchState(false), m_names{"Pendix", "voltaro1"}, m_pCurrentState(nullptr), m_factory(std::move(factory)) {
    // The names are in place before the first state is built.
    m_pCurrentState = m_factory.createFirstState(this);
    if (m_pCurrentState != nullptr) m_pCurrentState->enter();
}

GameStateManager::~GameStateManager() {
    delete m_pCurrentState;
}

void GameStateManager::update(InputState input) {
    if (!m_switchState) {
        if (m_pCurrentState != nullptr) m_pCurrentState->update(input);
        return;  // an ordinary frame
    }
    // The switch takes this frame's update; its input reaches no state.
    delete m_pCurrentState;
    // Cleared first: if building the level throws (bad level data), the
    // manager must not keep a pointer to the deleted state.
    m_pCurrentState = nullptr;
    m_pCurrentState = m_factory.createLevel(this);
    m_switchState = false;
    if (m_pCurrentState != nullptr) m_pCurrentState->enter();
}

void GameStateManager::replaceState(GameState* state) {
    if (state == nullptr || state == m_pCurrentState) return;  // nothing to replace with
    delete m_pCurrentState;
    m_pCurrentState = state;
    m_pCurrentState->enter();
}

void GameStateManager::draw() {
    if (m_pCurrentState != nullptr) m_pCurrentState->draw();
}

std::string GameStateManager::getName(int index) const {
    if (index < 0 || index >= kNameCount) return std::string();  // no such name
    return m_names[index];
}

void GameStateManager::setName(int index, const char* text) {
    if (index < 0 || index >= kNameCount || text == nullptr) return;  // nothing sensible to store
    m_names[index] = text;
}

void GameStateManager::requestStateSwitch() {
    m_switchState = true;
}
