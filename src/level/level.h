#pragma once

#include "level/level_phase.h"
#include "platform/game_state.h"
#include "platform/surface_handle.h"
#include "player/player_host.h"
#include "resources/ini_schema.h"
#include "world/camera.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>

class Enemy;
class GameStateManager;
class Map;
class Voltaro;

// The game state in which a level is played: it owns the map, the player,
// the enemy, the camera and the pre-rendered ready message, and sequences
// each update through the ready message, play and the three phases of a
// vertical screen transition. A level never ends. It plays the tune its
// section of "levels.ini" names under "music" and raises the sound events
// "ready" (when it becomes the current state in its ready phase, and at
// every restart) and "transition" (at every startScroll).
class Level : public GameState, public PlayerHost {
public:
    // Reads the level name (index 0) and the player file name (index 1) from the manager.
    explicit Level(GameStateManager* manager);
    Level(const std::string& levelName, const std::string& playerFileName);
    ~Level() override;
    Level(const Level&) = delete;
    // The keys the level itself reads from the player file (the scroll timings).
    static const IniSchema& playerFileKeys();
    // Everything read from a player file: the player's, the level's and the sprite's keys.
    static const IniSchema& playerFileSchema();
    // A commented player file listing every key of playerFileSchema with
    // its default (what voltaro --player-template prints).
    static std::string playerFileTemplate();
    // Everything read from "levels.ini": the ready message and each level's map keys.
    static const IniSchema& levelsFileSchema();
    Level& operator=(const Level&) = delete;

    void draw() override;
    void update(InputState input) override;
    // Starts the level's tune and, in the ready phase, sounds "ready".
    void enter() override;

    // After a live reload, in the freshly built level: continues the play of
    // `previous`, the same level before its files changed, when it was
    // playing and its player's place is still valid here: the position lies
    // in one of this map's boundaries and no solid cell is under the
    // player's box (as this player file sizes it). The player then keeps its
    // position and state and the camera its band. Otherwise (the ready
    // message, the beam-in, a screen transition, or a place no longer free)
    // this level stays at its start with the ready message. Returns whether
    // the play was continued.
    bool continueFrom(const Level& previous);

    // Back to the ready message at the player's arrival position.
    void restart() override;
    // Begins a vertical screen transition in `direction` (Up or Down).
    void startScroll(Direction direction) override;

    LevelPhase phase() const { return m_nPhase; }
    int32_t frameCounter() const { return m_nFrameCounter; }
    Direction scrollDirection() const { return m_nScrollDirection; }
    const Camera& camera() const { return m_camera; }
    const Map& map() const { return *m_pMap; }
    const Voltaro& player() const { return *m_pPlayer; }
    Voltaro& player() { return *m_pPlayer; }
    const Enemy& enemy() const { return *m_pEnemy; }
    int32_t scrollingDuration() const { return m_nScrollingDuration; }
    int32_t beforeScrollingDuration() const { return m_nBeforeScrollingDuration; }
    int32_t afterScrollingDuration() const { return m_nAfterScrollingDuration; }
    SDL_Surface* readyMessageBitmap() const { return m_pReadyMessageBitmap.get(); }

    static constexpr int32_t kReadyDuration = 180;  // updates the ready message stays up
    static constexpr int32_t kReadyMessageY = 98;   // screen pixels

private:
    void changePhase(LevelPhase phase);
    void moveCameraForScroll();

    bool m_bPhaseChanged = false;
    int32_t m_nFrameCounter = 0;             // updates since the current phase began
    int32_t m_nScrollingDuration = 0;        // updates
    int32_t m_nBeforeScrollingDuration = 0;  // updates; 0 or less skips the phase
    int32_t m_nAfterScrollingDuration = 0;   // updates
    int32_t m_nVerticalSpeed = 0;            // camera pixels per update while Scrolling
    Direction m_nScrollDirection = Direction::None;
    LevelPhase m_nPhase = LevelPhase::Ready;
    Camera m_camera;
    std::unique_ptr<Enemy> m_pEnemy;
    GameStateManager* m_pManager = nullptr;  // not owned; used only during construction
    std::unique_ptr<Map> m_pMap;
    std::unique_ptr<Voltaro> m_pPlayer;
    SurfaceHandle m_pReadyMessageBitmap;  // the ready message, rendered once
    std::string m_levelName;              // the section in "levels.ini"
    std::string m_music;                  // the tune's file; empty = none
};
