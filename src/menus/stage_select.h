#pragma once

#include "menus/menu_item.h"
#include "platform/game_state.h"
#include "platform/surface_handle.h"
#include "resources/font.h"

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

class GameStateManager;

// The first game state: a list of levels on the left and of player
// characters on the right, both from "stageselect.ini". B confirms (the
// level, then the character, then the switch to the level), Space goes back
// from the character list. An empty list is reported on screen and on
// stderr, gets no cursor and is never confirmed into.
class StageSelect : public GameState {
public:
    static constexpr int32_t kLevelListX = 32;    // screen pixels
    static constexpr int32_t kPlayerListX = 128;  // screen pixels
    static constexpr int32_t kListTop = 32;       // screen pixels
    static constexpr int32_t kMaxEntries = 1024;  // more could never be shown or chosen sensibly

    explicit StageSelect(GameStateManager* manager);
    ~StageSelect() override;
    StageSelect(const StageSelect&) = delete;
    StageSelect& operator=(const StageSelect&) = delete;

    void draw() override;
    void update(InputState input) override;

    // After a live reload, in the freshly built menu: the cursors of
    // `previous` stay where they were, as far as the new lists reach.
    void continueFrom(const StageSelect& previous);

    int32_t selectedLevel() const { return m_selectedLevel; }
    int32_t selectedPlayer() const { return m_selectedPlayer; }
    int32_t levelCount() const { return m_levelCount; }
    int32_t playerCount() const { return m_playerCount; }
    bool isChoosingPlayer() const { return m_choosingPlayer; }
    const std::vector<MenuItem>& levelItems() const { return m_pLevelItems; }
    const std::vector<MenuItem>& playerItems() const { return m_pPlayerItems; }
    // The lines shown on screen when a list is empty or the file unreadable.
    const std::vector<std::string>& problems() const { return m_problems; }

private:
    void drawCursor(const MenuItem& item);

    int32_t m_selectedLevel = 0;
    int32_t m_selectedPlayer = 0;
    int32_t m_levelCount = 0;
    int32_t m_playerCount = 0;
    bool m_choosingPlayer = false;
    GameStateManager* m_pManager;  // not owned
    Font m_font;
    std::vector<MenuItem> m_pLevelItems;
    std::vector<MenuItem> m_pPlayerItems;
    SurfaceHandle m_pSelectorBitmap;  // the cursor
    std::vector<std::string> m_problems;
};
