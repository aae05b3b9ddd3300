#include "level/level.h"

#include "level/enemy.h"
#include "platform/audio_service.h"
#include "platform/game_state_manager.h"
#include "platform/sound_event_log.h"
#include "platform/video_service.h"
#include "platform/wrapping_arithmetic.h"
#include "player/voltaro.h"
#include "resources/font.h"
#include "resources/ini_dictionary.h"
#include "resources/ini_template.h"
#include "resources/sprite.h"
#include "world/map.h"

#include <cstdint>
#include <cstdio>

namespace {

const char* const kLevelsFile = "levels.ini";
const char* const kFontFile = "font.ini";
const char* const kMusicKey = "music";

// Bounds on the ready message's surface: sixteen screens wide, one screen
// high. Anything larger comes from a broken font or message, and honouring it
// would be a huge allocation (or overflow the width's product).
constexpr int64_t kMaxReadyMessageWidth = 16 * Camera::kScreenWidth;  // pixels
constexpr int64_t kMaxReadyMessageHeight = Camera::kScreenHeight;     // pixels

// A transition phase of fewer than one update would never meet its equality
// end test and freeze the game for ever; such a duration counts as 1.
int32_t atLeastOneUpdate(int32_t duration, const std::string& playerFile, const char* key) {
    if (duration >= 1) return duration;
    std::fprintf(stderr, "%s: [Durations] %s = %d never ends a screen transition; using 1\n",
                 playerFile.c_str(), key, duration);
    return 1;
}

}  // namespace

const char* levelPhaseName(LevelPhase phase) {
    switch (phase) {
        case LevelPhase::Ready: return "Ready";
        case LevelPhase::Playing: return "Playing";
        case LevelPhase::BeforeScrolling: return "BeforeScrolling";
        case LevelPhase::Scrolling: return "Scrolling";
        case LevelPhase::AfterScrolling: return "AfterScrolling";
    }
    return "Unknown";
}

const IniSchema& Level::playerFileKeys() {
    static const IniSchema keys({
        {"Durations", "scrolling", "updates", "0", "length of a screen scroll (at least 1)"},
        {"Durations", "beforeScrolling", "updates", "0", "pause before the camera moves; 0 or less skips it"},
        {"Durations", "afterScrolling", "updates", "0", "pause after the camera moved (at least 1)"},
        {"ScrollConstants", "verticalSpeed", "pixels per update", "0", "camera speed during a screen scroll"},
        {"ScrollConstants", "startPosTop", "pixels", "0",
         "a climber this far below the band's top or higher scrolls up"},
        {"ScrollConstants", "startPosBottom", "pixels", "240",
         "a player this far below the band's top or lower scrolls down, or falls out"},
    });
    return keys;
}

const IniSchema& Level::playerFileSchema() {
    static const IniSchema schema = IniSchema(Voltaro::fileKeys().keys()).add(playerFileKeys()).add(Sprite::fileKeys());
    return schema;
}

std::string Level::playerFileTemplate() {
    return IniTemplate(playerFileSchema())
        .text({
            "Player file template: every key of a player file, written by voltaro --player-template from the "
            "engine's own list of the keys it reads (docs/player-template.ini is a copy).",
            "A player file describes one character: its physics, bounding box, shots and sprite. It is an INI "
            "file without an extension in the game's folder (the sample game has voltaro1, voltaro2 and "
            "voltaro3), listed in stageselect.ini under [Voltaros]. game/voltaro1 is a working example with "
            "real numbers; docs/authoring.md walks through making a character.",
            "- Speeds are pairs of keys, <stem>Int and <stem>Fraction, read as Int + Fraction/256 pixels per "
            "update (60 updates per second; gravity per update per update). The Fraction is added: -1.5 is "
            "Int -2 with Fraction 128. Vertical speeds are positive upwards; horizontal speeds are sizes, "
            "taken in the direction the character faces.",
            "- Durations are counts of updates. Offsets are pixels from the character's position, which is "
            "heightHalf pixels above its feet.",
            "- The character draws from four sprite sheets (0 facing right, 1 facing left, 2 shooting to the "
            "right, 3 shooting to the left) and shows nine animations (0 standing, 1 starting and stopping, "
            "2 running, 3 in the air, 4 climbing, 5 climbing at the top, 6 hurt, 7 the beam, 8 appearing).",
        });
}

const IniSchema& Level::levelsFileSchema() {
    static const IniSchema schema =
        IniSchema({{"Common", "readyMessage", "text", "empty", "the message shown before play starts"},
                   {"*", "enemyX", "pixels", std::to_string(Enemy::kX), "world x of the enemy's left edge"},
                   {"*", "enemyY", "pixels", std::to_string(Enemy::kY), "world y of the enemy's top edge"},
                   {"*", kMusicKey, "file name", "",
                    "the tune that loops while the level is played (OGG, WAV, MOD, XM, S3M, IT); none when absent"}})
            .add(Map::levelKeys());
    return schema;
}

Level::Level(GameStateManager* manager) : Level(manager->getName(0), manager->getName(1)) {
    m_pManager = manager;
}

Level::Level(const std::string& levelName, const std::string& playerFileName) {
    const IniDictionary levels(kLevelsFile);
    if (!levels.isLoaded()) {
        std::fprintf(stderr, "%s: %s; the level has no settings\n", kLevelsFile, levels.loadProblem().c_str());
    }
    const std::string readyMessage = levels.getString("readyMessage", "Common", "empty");

    {
        // The message is rendered once into a surface of its own and blitted whole while shown.
        Font font(kFontFile);
        const int64_t width = static_cast<int64_t>(readyMessage.size()) * font.getCharacterWidth();
        const int64_t height = font.getCharacterHeight();
        if (width > kMaxReadyMessageWidth || height > kMaxReadyMessageHeight) {
            std::fprintf(stderr,
                         "%s: the ready message [Common] readyMessage in %s would be %lld x %lld pixels, "
                         "more than %d x %d; it is left out\n",
                         kFontFile, kLevelsFile, static_cast<long long>(width), static_cast<long long>(height),
                         static_cast<int>(kMaxReadyMessageWidth), static_cast<int>(kMaxReadyMessageHeight));
        } else if (width > 0 && height > 0) {
            m_pReadyMessageBitmap =
                getVideoService()->createSurface(static_cast<int>(width), static_cast<int>(height));
            font.drawTextTo(readyMessage, m_pReadyMessageBitmap.get(), 0, 0);
            getVideoService()->finishSurface(m_pReadyMessageBitmap.get());
        }
    }

    m_pMap = std::make_unique<Map>(levelName, levels);

    const IniDictionary player(playerFileName);
    if (!player.isLoaded()) {
        std::fprintf(stderr, "%s: the player file %s; the character is built from defaults\n",
                     playerFileName.c_str(), player.loadProblem().c_str());
    }
    m_nScrollingDuration =
        atLeastOneUpdate(player.getInt("scrolling", "Durations", 0), playerFileName, "scrolling");
    m_nBeforeScrollingDuration = player.getInt("beforeScrolling", "Durations", 0);
    m_nAfterScrollingDuration =
        atLeastOneUpdate(player.getInt("afterScrolling", "Durations", 0), playerFileName, "afterScrolling");
    m_nVerticalSpeed = player.getInt("verticalSpeed", "ScrollConstants", 0);
    m_pMap->setScrollStartPositions(player.getInt("startPosTop", "ScrollConstants", 0),
                                    player.getInt("startPosBottom", "ScrollConstants", 240));

    m_pPlayer = std::make_unique<Voltaro>(player, playerFileName, this, m_pMap.get());

    // The first boundary is chosen from the player's position, as after a
    // respawn. The box's top edge sticks out above the arrival band (the
    // beam starts 4 pixels below boundary 0's top), so choosing from the box
    // would start the level in a band stacked directly above boundary 0.
    const SDL_Rect start = *m_pPlayer->getBoundingBox();
    m_pMap->selectBoundary(m_pPlayer->getX(), m_pPlayer->getY());
    m_camera.setBounds(m_pMap->currentBoundary());
    m_camera.follow(start);

    m_pEnemy = std::make_unique<Enemy>(levels.getInt("enemyX", levelName, Enemy::kX),
                                       levels.getInt("enemyY", levelName, Enemy::kY));
    m_music = levels.getString(kMusicKey, levelName, "");
    m_levelName = levelName;
}

void Level::enter() {
    // The level's tune replaces the menu's (or goes on, when a reload keeps
    // the same); without a "music" key the level plays none.
    playMusicNamedBy(kLevelsFile, m_levelName, kMusicKey, m_music);
    // A level starts in its ready phase, unless a reload let it continue the play.
    if (m_nPhase == LevelPhase::Ready) raiseSoundEvent(SoundEvent::Ready);
}

Level::~Level() {
    m_pReadyMessageBitmap.reset();
    m_pEnemy.reset();
    m_pPlayer.reset();
    m_pMap.reset();
}

bool Level::continueFrom(const Level& previous) {
    if (previous.m_nPhase != LevelPhase::Playing) return false;  // ready or mid-transition: start afresh
    const Voltaro& player = *previous.m_pPlayer;
    if (player.mode() == MovementMode::Teleport) return false;  // still beaming in
    if (m_pMap->boundaryAt(player.getX(), player.getY()) < 0) return false;  // no band there any more

    // The solid test uses the band the player would be in.
    m_pMap->selectBoundary(player.getX(), player.getY());
    if (!m_pMap->isAreaFree(m_pPlayer->boxAt(player.x(), player.y()))) {
        m_pMap->selectBoundary(m_pPlayer->getX(), m_pPlayer->getY());  // back to the start's band
        return false;  // walled in
    }
    m_pPlayer->continueFrom(player);
    m_camera.setBounds(m_pMap->currentBoundary());
    m_camera.follow(*m_pPlayer->getBoundingBox());
    m_nPhase = LevelPhase::Playing;
    m_nFrameCounter = previous.m_nFrameCounter;
    return true;
}

void Level::changePhase(LevelPhase phase) {
    m_nPhase = phase;
    m_nFrameCounter = 0;
    m_bPhaseChanged = true;
}

void Level::moveCameraForScroll() {
    m_camera.move(0, m_nScrollDirection == Direction::Up ? -m_nVerticalSpeed : m_nVerticalSpeed);
}

void Level::update(InputState input) {
    switch (m_nPhase) {
        case LevelPhase::Ready:
            break;  // the ready phase ends in draw
        case LevelPhase::Playing:
            m_pPlayer->update(input, m_camera);
            m_camera.follow(*m_pPlayer->getBoundingBox());
            if (!m_bPhaseChanged) {  // the player neither fell out nor started a scroll
                m_pEnemy->update();
                if (m_pPlayer->getCollisionBox().intersects(m_pEnemy->getCollisionBox())) {
                    m_pEnemy->touch(*m_pPlayer);
                }
            }
            break;
        case LevelPhase::BeforeScrolling:
            if (m_nFrameCounter == m_nBeforeScrollingDuration) changePhase(LevelPhase::Scrolling);
            break;
        case LevelPhase::Scrolling:
            if (m_nFrameCounter == m_nScrollingDuration) {
                m_pMap->selectBoundary(m_pPlayer->getX(), m_pPlayer->getY());
                m_camera.setBounds(m_pMap->currentBoundary());
                changePhase(LevelPhase::AfterScrolling);
            } else {
                m_pPlayer->update(input, m_camera);
                moveCameraForScroll();
            }
            break;
        case LevelPhase::AfterScrolling:
            if (m_nFrameCounter == m_nAfterScrollingDuration) {
                m_pPlayer->endScreenScroll();
                m_pPlayer->update(input, m_camera);
                // That update may itself have started the next transition (or
                // a restart); Playing must not override it, or the player stays
                // in scroll mode for ever.
                if (m_nPhase == LevelPhase::AfterScrolling) changePhase(LevelPhase::Playing);
            }
            break;
    }
    m_nFrameCounter = wrappingAdd(m_nFrameCounter, 1);  // play goes on for ever; no signed overflow
    m_bPhaseChanged = false;
}

void Level::startScroll(Direction direction) {
    raiseSoundEvent(SoundEvent::Transition);
    m_nScrollDirection = direction;
    if (m_nBeforeScrollingDuration > 0) {
        changePhase(LevelPhase::BeforeScrolling);
    } else {
        changePhase(LevelPhase::Scrolling);
        moveCameraForScroll();
    }
}

void Level::restart() {
    m_pMap->selectBoundary(m_pPlayer->getX(), m_pPlayer->getY());
    m_camera.setBounds(m_pMap->currentBoundary());
    changePhase(LevelPhase::Ready);
    raiseSoundEvent(SoundEvent::Ready);
}

void Level::draw() {
    m_pMap->draw(m_camera);
    if (m_nPhase != LevelPhase::Ready) {
        m_pEnemy->draw(m_camera);
        m_pPlayer->draw(m_camera);
        return;
    }
    const int32_t messageWidth = m_pReadyMessageBitmap != nullptr ? m_pReadyMessageBitmap->w : 0;
    getVideoService()->blit(m_pReadyMessageBitmap.get(), Camera::kScreenWidth / 2 - messageWidth / 2, kReadyMessageY,
                            nullptr);
    if (m_nFrameCounter == kReadyDuration) {
        // Changed here, not in update, and without m_bPhaseChanged, so the
        // first Playing update runs the enemy.
        m_nPhase = LevelPhase::Playing;
        m_nFrameCounter = 0;
    }
}
