#include "menus/stage_select.h"

#include "platform/game_state_manager.h"
#include "platform/video_service.h"
#include "resources/ini_dictionary.h"
#include "world/camera.h"

#include <algorithm>
#include <cstdio>

namespace {

const char* const kStageSelectFile = "stageselect.ini";
const char* const kSelectorFile = "selector.bmp";
constexpr int32_t kProblemY = 200;  // screen pixels, the first line that reports an empty list

// A list's "amount": negative counts as empty, an absurd one is cut to what
// can be chosen.
int32_t readCount(const IniDictionary& dictionary, const char* section) {
    const int32_t amount = dictionary.getInt("amount", section, 0);
    if (amount > StageSelect::kMaxEntries) {
        std::fprintf(stderr, "%s: [%s] amount = %d is more than %d entries; only the first %d are read\n",
                     kStageSelectFile, section, amount, StageSelect::kMaxEntries, StageSelect::kMaxEntries);
        return StageSelect::kMaxEntries;
    }
    return amount > 0 ? amount : 0;
}

}  // namespace

StageSelect::StageSelect(GameStateManager* manager) : m_pManager(manager), m_font("font.ini") {
    const IniDictionary dictionary(kStageSelectFile);

    m_levelCount = readCount(dictionary, "Levels");
    int32_t y = kListTop;
    for (int32_t i = 0; i < m_levelCount; ++i) {
        const std::string name = dictionary.getString("level" + std::to_string(i), "Levels", "empty");
        m_pLevelItems.emplace_back(name, name, kLevelListX, y);
        y += m_font.getCharacterHeight();
    }

    m_playerCount = readCount(dictionary, "Voltaros");
    y = kListTop;
    for (int32_t j = 0; j < m_playerCount; ++j) {
        const std::string key = "voltaro" + std::to_string(j);
        const std::string name = dictionary.getString(key, "Voltaros", "empty");
        const std::string title = dictionary.getString(key + "title", "Voltaros", "empty");
        m_pPlayerItems.emplace_back(title, name, kPlayerListX, y);
        y += m_font.getCharacterHeight();
    }

    m_pSelectorBitmap = getVideoService()->loadBitmap(kSelectorFile);

    if (!dictionary.isLoaded()) {
        m_problems.push_back("CANNOT READ STAGESELECT.INI");
        std::fprintf(stderr, "%s: cannot be read; there are no levels and no characters to choose\n",
                     kStageSelectFile);
        return;
    }
    if (m_levelCount == 0) {
        m_problems.push_back("STAGESELECT.INI: NO LEVELS");
        std::fprintf(stderr, "%s: the level list [Levels] is empty (amount is 0 or missing)\n", kStageSelectFile);
    }
    if (m_playerCount == 0) {
        m_problems.push_back("STAGESELECT.INI: NO CHARACTERS");
        std::fprintf(stderr, "%s: the character list [Voltaros] is empty (amount is 0 or missing)\n",
                     kStageSelectFile);
    }
}

StageSelect::~StageSelect() = default;

void StageSelect::continueFrom(const StageSelect& previous) {
    m_selectedLevel = std::max(0, std::min(previous.m_selectedLevel, m_levelCount - 1));
    m_selectedPlayer = std::max(0, std::min(previous.m_selectedPlayer, m_playerCount - 1));
    m_choosingPlayer = previous.m_choosingPlayer && m_levelCount > 0;
}

void StageSelect::update(InputState input) {
    if (input.vertical != input.previousVertical) {
        int32_t& index = m_choosingPlayer ? m_selectedPlayer : m_selectedLevel;
        const int32_t count = m_choosingPlayer ? m_playerCount : m_levelCount;
        if (input.vertical == Direction::Down && index < count - 1) index += 1;
        if (input.vertical == Direction::Up && index > 0) index -= 1;
    }

    if (input.shootPressed) {
        if (!m_choosingPlayer) {
            if (m_levelCount > 0) m_choosingPlayer = true;  // never into an empty list
        } else if (m_playerCount > 0) {
            m_pManager->setName(0, m_pLevelItems[static_cast<size_t>(m_selectedLevel)].getName().c_str());
            m_pManager->setName(1, m_pPlayerItems[static_cast<size_t>(m_selectedPlayer)].getName().c_str());
            m_pManager->requestStateSwitch();
        }
    }

    if (input.jumpPressed && m_choosingPlayer) m_choosingPlayer = false;
}

void StageSelect::drawCursor(const MenuItem& item) {
    const int32_t width = m_pSelectorBitmap != nullptr ? m_pSelectorBitmap->w : 0;
    getVideoService()->blit(m_pSelectorBitmap.get(), item.getX() - width, item.getY(), nullptr);
}

void StageSelect::draw() {
    getVideoService()->clearScreen();
    for (const MenuItem& item : m_pLevelItems) item.draw(m_font);
    for (const MenuItem& item : m_pPlayerItems) item.draw(m_font);
    if (m_levelCount > 0) drawCursor(m_pLevelItems[static_cast<size_t>(m_selectedLevel)]);
    if (m_choosingPlayer && m_playerCount > 0) drawCursor(m_pPlayerItems[static_cast<size_t>(m_selectedPlayer)]);
    int32_t y = kProblemY;
    for (const std::string& problem : m_problems) {
        const int32_t width = static_cast<int32_t>(problem.size()) * m_font.getCharacterWidth();
        m_font.drawText(problem, Camera::kScreenWidth / 2 - width / 2, y);
        y += m_font.getCharacterHeight();
    }
}
