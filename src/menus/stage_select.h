#pragma once

#include "menus/menu_item.h"
#include "platform/game_state.h"
#include "platform/menu_selection.h"
#include "platform/surface_handle.h"
#include "resources/font.h"
#include "resources/ini_schema.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class GameStateManager;

// The first game state: a list of levels on the left and of player
// characters on the right, both from "stageselect.ini". B confirms (the
// level, then the character, then the switch to the level), Space goes back
// from the character list. An empty list is reported on screen and on
// stderr, gets no cursor and is never confirmed into. An optional "hint" in
// [Menu] (what the keys do) is drawn as one line at the bottom of the screen.
// The menu plays the tune [Menu] names under "music" and raises the sound
// events "menuMove" (a cursor changed its entry), "menuConfirm" (B took the
// menu a step on) and "menuBack" (Space went back to the level list).
class StageSelect : public GameState, public MenuSelection {
public:
    static constexpr int32_t kLevelListX = 32;    // screen pixels
    static constexpr int32_t kPlayerListX = 128;  // screen pixels
    static constexpr int32_t kListTop = 32;       // screen pixels
    // Memory one menu list may take, in bytes; the bound on its entries
    // follows. No menu comes near it (a list of a thousand levels is a few
    // tens of kilobytes); a larger "amount" is cut to it.
    static constexpr size_t kMaxListBytes = 8 * 1024 * 1024;
    static constexpr int32_t kMaxEntries = static_cast<int32_t>(kMaxListBytes / sizeof(MenuItem));
    static constexpr int32_t kHintBottomMargin = 8;  // screen pixels below the hint line

    explicit StageSelect(GameStateManager* manager);
    // The sections and keys read from "stageselect.ini".
    static const IniSchema& fileKeys();
    ~StageSelect() override;
    StageSelect(const StageSelect&) = delete;
    StageSelect& operator=(const StageSelect&) = delete;

    void draw() override;
    void update(InputState input) override;
    // Starts the menu's tune.
    void enter() override;

    int32_t selectedLevel() const override { return m_selectedLevel; }
    int32_t selectedPlayer() const override { return m_selectedPlayer; }
    // After a live reload, in the freshly built menu: the cursors of
    // `previous` stay where they were, as far as the new lists reach.
    void continueFrom(const StageSelect& previous);

    int32_t levelCount() const { return m_levelCount; }
    int32_t playerCount() const { return m_playerCount; }
    bool isChoosingPlayer() const override { return m_choosingPlayer; }
    const std::vector<MenuItem>& levelItems() const { return m_pLevelItems; }
    const std::vector<MenuItem>& playerItems() const { return m_pPlayerItems; }
    // The lines shown on screen when a list is empty or the file unreadable.
    const std::vector<std::string>& problems() const { return m_problems; }
    // The key hint drawn at the bottom; empty when the file gives none.
    const std::string& hint() const { return m_hint; }

private:
    // Screen y of entry `index` of a list; entries below the screen stop at its bottom.
    int32_t entryY(int32_t index) const;
    // Draws the entries of a list that can be seen.
    void drawItems(const std::vector<MenuItem>& items);
    void drawCursor(const MenuItem& item);
    void drawCentred(const std::string& text, int32_t y);

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
    std::string m_music;  // the tune's file; empty = none
    std::string m_hint;
};
