#include "menus/stage_select.h"

#include "platform/audio_service.h"
#include "platform/game_state_manager.h"
#include "platform/sound_event_log.h"
#include "platform/video_service.h"
#include "resources/ini_dictionary.h"
#include "world/camera.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

namespace {

const char* const kStageSelectFile = "stageselect.ini";
const char* const kSelectorFile = "selector.bmp";
const char* const kMenuSection = "Menu";
const char* const kMusicKey = "music";
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

// Why a list's "amount" gave no entries: missing, 0 or negative.
std::string whyEmpty(const IniDictionary& dictionary, const char* section) {
    if (dictionary.lineOf("amount", section) == 0) return "is missing";
    const int32_t amount = dictionary.getInt("amount", section, 0);
    return amount < 0 ? "is negative: " + std::to_string(amount) : std::string("is 0");
}

}  // namespace

StageSelect::StageSelect(GameStateManager* manager) : m_pManager(manager), m_font("font.ini") {
    const IniDictionary dictionary(kStageSelectFile);

    m_levelCount = readCount(dictionary, "Levels");
    m_pLevelItems.reserve(static_cast<size_t>(m_levelCount));
    for (int32_t i = 0; i < m_levelCount; ++i) {
        const std::string name = dictionary.getString("level" + std::to_string(i), "Levels", "empty");
        m_pLevelItems.emplace_back(name, name, kLevelListX, entryY(i));
    }

    m_playerCount = readCount(dictionary, "Voltaros");
    m_pPlayerItems.reserve(static_cast<size_t>(m_playerCount));
    for (int32_t j = 0; j < m_playerCount; ++j) {
        const std::string key = "voltaro" + std::to_string(j);
        const std::string name = dictionary.getString(key, "Voltaros", "empty");
        const std::string title = dictionary.getString(key + "title", "Voltaros", "empty");
        m_pPlayerItems.emplace_back(title, name, kPlayerListX, entryY(j));
    }

    m_pSelectorBitmap = getVideoService()->loadBitmap(kSelectorFile);
    m_hint = dictionary.getString("hint", kMenuSection, "");
    m_music = dictionary.getString(kMusicKey, kMenuSection, "");

    if (!dictionary.isLoaded()) {
        m_problems.push_back("CANNOT READ STAGESELECT.INI");
        std::fprintf(stderr, "%s: %s; there are no levels and no characters to choose\n", kStageSelectFile,
                     dictionary.loadProblem().c_str());
        return;
    }
    if (m_levelCount == 0) {
        m_problems.push_back("STAGESELECT.INI: NO LEVELS");
        std::fprintf(stderr, "%s: the level list [Levels] is empty (amount %s)\n", kStageSelectFile,
                     whyEmpty(dictionary, "Levels").c_str());
    }
    if (m_playerCount == 0) {
        m_problems.push_back("STAGESELECT.INI: NO CHARACTERS");
        std::fprintf(stderr, "%s: the character list [Voltaros] is empty (amount %s)\n", kStageSelectFile,
                     whyEmpty(dictionary, "Voltaros").c_str());
    }
}

StageSelect::~StageSelect() = default;

void StageSelect::enter() {
    playMusicNamedBy(kStageSelectFile, kMenuSection, kMusicKey, m_music);
}

const IniSchema& StageSelect::fileKeys() {
    static const IniSchema keys({
        {"Levels", "amount", "count", "0", "number of levels listed"},
        {"Levels", "level#", "section name", "empty", "the level's section in levels.ini"},
        {"Voltaros", "amount", "count", "0", "number of characters listed"},
        {"Voltaros", "voltaro#", "file name", "empty", "the character's player file"},
        {"Voltaros", "voltaro#title", "text", "empty", "the character's name in the menu"},
        {kMenuSection, "hint", "text", "", "one line of key hints at the bottom of the menu; none when absent"},
        {kMenuSection, kMusicKey, "file name", "",
         "the tune that loops while the menu is shown (OGG, WAV, MOD, XM, S3M, IT); none when absent"},
    });
    return keys;
}

int32_t StageSelect::entryY(int32_t index) const {
    // Entries far down a long list lie below the screen; their y stops just
    // past its bottom instead of running past what 32 bits hold.
    const int64_t y = kListTop + static_cast<int64_t>(index) * m_font.getCharacterHeight();
    return static_cast<int32_t>(std::min<int64_t>(std::max<int64_t>(y, INT32_MIN), Camera::kScreenHeight));
}

void StageSelect::drawItems(const std::vector<MenuItem>& items) {
    if (m_font.getCharacterHeight() <= 0) return;  // glyphs without height show nothing
    for (const MenuItem& item : items) {
        if (item.getY() >= Camera::kScreenHeight) break;  // entries only go down from here: none is seen
        item.draw(m_font);
    }
}

void StageSelect::continueFrom(const StageSelect& previous) {
    m_selectedLevel = std::max(0, std::min(previous.m_selectedLevel, m_levelCount - 1));
    m_selectedPlayer = std::max(0, std::min(previous.m_selectedPlayer, m_playerCount - 1));
    m_choosingPlayer = previous.m_choosingPlayer && m_levelCount > 0;
}

void StageSelect::update(InputState input) {
    if (input.vertical != input.previousVertical) {
        int32_t& index = m_choosingPlayer ? m_selectedPlayer : m_selectedLevel;
        const int32_t count = m_choosingPlayer ? m_playerCount : m_levelCount;
        const int32_t before = index;
        if (input.vertical == Direction::Down && index < count - 1) index += 1;
        if (input.vertical == Direction::Up && index > 0) index -= 1;
        if (index != before) raiseSoundEvent(SoundEvent::MenuMove);  // not at either end
    }

    if (input.shootPressed) {
        if (!m_choosingPlayer) {
            if (m_levelCount > 0) {  // never into an empty list
                m_choosingPlayer = true;
                raiseSoundEvent(SoundEvent::MenuConfirm);
            }
        } else if (m_playerCount > 0) {
            m_pManager->setName(0, m_pLevelItems[static_cast<size_t>(m_selectedLevel)].getName().c_str());
            m_pManager->setName(1, m_pPlayerItems[static_cast<size_t>(m_selectedPlayer)].getName().c_str());
            m_pManager->requestStateSwitch();
            raiseSoundEvent(SoundEvent::MenuConfirm);
        }
    }

    if (input.jumpPressed && m_choosingPlayer) {
        m_choosingPlayer = false;
        raiseSoundEvent(SoundEvent::MenuBack);
    }
}

void StageSelect::drawCursor(const MenuItem& item) {
    const int32_t width = m_pSelectorBitmap != nullptr ? m_pSelectorBitmap->w : 0;
    getVideoService()->blit(m_pSelectorBitmap.get(), item.getX() - width, item.getY(), nullptr);
}

// One line of text centred at y, starting no further left than the screen's edge.
void StageSelect::drawCentred(const std::string& text, int32_t y) {
    const int32_t width = static_cast<int32_t>(text.size()) * m_font.getCharacterWidth();
    m_font.drawText(text, std::max<int32_t>(0, Camera::kScreenWidth / 2 - width / 2), y);
}

void StageSelect::draw() {
    getVideoService()->clearScreen();
    drawItems(m_pLevelItems);
    drawItems(m_pPlayerItems);
    if (m_levelCount > 0) drawCursor(m_pLevelItems[static_cast<size_t>(m_selectedLevel)]);
    if (m_choosingPlayer && m_playerCount > 0) drawCursor(m_pPlayerItems[static_cast<size_t>(m_selectedPlayer)]);
    int32_t y = kProblemY;
    for (const std::string& problem : m_problems) {
        drawCentred(problem, y);
        y += m_font.getCharacterHeight();
    }
    if (!m_hint.empty()) drawCentred(m_hint, Camera::kScreenHeight - kHintBottomMargin - m_font.getCharacterHeight());
}
