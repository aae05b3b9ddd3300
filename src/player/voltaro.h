#pragma once

#include "platform/direction.h"
#include "platform/input_state.h"
#include "platform/surface_handle.h"
#include "player/bullet.h"
#include "player/collision_response.h"
#include "player/movement_mode.h"
#include "resources/debug_info.h"
#include "resources/ini_dictionary.h"
#include "resources/ini_schema.h"
#include "resources/sprite.h"
#include "world/camera.h"
#include "world/collision_box.h"
#include "world/fixed.h"
#include "world/ladder_probe.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>

class Map;
class PlayerHost;

// The character the user controls inside a level. Every physics number comes
// from the player file; each update turns one input record into speeds, state
// changes and moves against the map, in a fixed order of steps. The player
// beams in at the map's start, walks, runs, jumps, climbs ladders, fires up to
// three shots, is knocked back by hits, and calls back into its level when it
// falls out of the world or reaches a scroll start position.
//
// It raises sound events as things happen in its update: "jump" (a jump
// starts from the ground), "land" (an airborne state meets the ground),
// "beam" (the beam-in's Appearing state meets the ground), "ladder" (it
// grabs a ladder), "shoot" (a shot slot accepted a shot) and "hurt" (a
// contact is taken, not ignored as while invincible). Raising an event
// changes nothing in the player.
class Voltaro {
public:
    // dictionary: the player file; fileName: its name (for the Sprite's
    // warnings); host: the owning level (restart/startScroll); map: the
    // level's map. Neither is owned, and neither may be null.
    Voltaro(const IniDictionary& dictionary, const std::string& fileName, PlayerHost* host, Map* map);
    ~Voltaro();
    Voltaro(const Voltaro&) = delete;
    // The keys of the player file that the player reads (its own sections;
    // the sprite's and the level's keys are declared beside them).
    static const IniSchema& fileKeys();
    Voltaro& operator=(const Voltaro&) = delete;

    // One frame; may call host->restart() or host->startScroll(d) before it returns.
    void update(InputState input, const Camera& camera);
    // Sprite (blinking while invincible), shots, debug overlay.
    void draw(const Camera& camera);

    // The live bounding box in world pixels; the camera follows it.
    const SDL_Rect* getBoundingBox() const { return &m_boundingBox; }
    CollisionBox getCollisionBox() const { return m_collisionBox; }
    int32_t getX() const { return m_x.toInt(); }
    int32_t getY() const { return m_y.toInt(); }
    // Ends the player's part of a vertical screen scroll (the level calls it
    // right before the update that follows the scroll).
    void endScreenScroll();
    // A contact with the enemy: knock-back from the next update on, unless invincible.
    void hurt();

    // The bounding box this player's file gives a player at position (x, y).
    SDL_Rect boxAt(Fixed x, Fixed y) const;
    // After a live reload: takes over the motion of `previous`, the player of
    // the level before its files changed: position, speeds, facing, movement
    // state, timers, shots, ladder contacts and the animation shown. The
    // physics constants, the box's size and offsets and the sprite stay this
    // player's, and a state that set its speed on entry (running, reeling)
    // takes this player's speed.
    void continueFrom(const Voltaro& previous);

    // Read-only views for tests and the per-frame trace.
    Fixed x() const { return m_x; }
    Fixed y() const { return m_y; }
    Fixed speedX() const { return m_speedX; }
    Fixed speedY() const { return m_speedY; }
    MovementMode mode() const { return m_mode; }
    Direction facing() const { return m_facing; }
    CollisionResponse collisionResponse() const { return m_collisionResponse; }
    int32_t invincibleTimer() const { return m_invincibleTimer; }
    int32_t stateFrame() const { return m_stateFrame; }
    int32_t shootingTimer() const { return m_shootingTimer; }
    bool shootingPose() const { return m_shootingPose; }
    bool isScreenScrolling() const { return m_screenScrolling; }
    const LadderProbe& ladder() const { return m_ladder; }
    // The current state's name, derived from its handler ("Standing", "Airborne", ...).
    const char* stateName() const;
    // Shot slot 0..2 (std::out_of_range otherwise).
    const Bullet& bullet(int index) const { return m_bullets.at(static_cast<size_t>(index)); }
    const Sprite& sprite() const { return *m_pSprite; }

private:
    using Handler = void (Voltaro::*)(InputState);
    using Transition = void (Voltaro::*)();

    // Sheet indices of the player's sprite.
    static constexpr int32_t kSheetRight = 0;
    static constexpr int32_t kSheetLeft = 1;
    static constexpr int32_t kSheetShootingRight = 2;
    static constexpr int32_t kSheetShootingLeft = 3;
    // Animation indices of the player's sprite.
    static constexpr int32_t kAnimationStanding = 0;
    static constexpr int32_t kAnimationWalking = 1;  // Accelerating and Decelerating
    static constexpr int32_t kAnimationRunning = 2;
    static constexpr int32_t kAnimationAirborne = 3;
    static constexpr int32_t kAnimationClimbing = 4;      // head still on the ladder
    static constexpr int32_t kAnimationClimbingTop = 5;   // head above the ladder
    static constexpr int32_t kAnimationHurt = 6;
    static constexpr int32_t kAnimationTeleporting = 7;
    static constexpr int32_t kAnimationAppearing = 8;

    static constexpr int32_t kBeamStep = 16;     // pixels the beam falls per update
    static constexpr int32_t kTileSize = 16;     // pixels

    void readConfiguration(const IniDictionary& dictionary);

    // State entries: each sets m_stateFrame to 0 and m_handler to its handler.
    void enterAppearing();
    void enterStanding();
    void enterAccelerating();
    void enterDecelerating();
    void enterRunning();
    void enterJumping(bool setAnimation);
    void enterFalling(bool moveNow);
    void enterClimbing();
    void enterReeling();

    // State handlers, called once per update with the input record.
    void teleportHandler(InputState input);
    void appearingHandler(InputState input);
    void standingHandler(InputState input);
    void acceleratingHandler(InputState input);
    void runningHandler(InputState input);
    void deceleratingHandler(InputState input);
    void airborneHandler(InputState input);
    void climbingHandler(InputState input);
    void reelingHandler(InputState input);

    // Moves against the map.
    void moveHorizontally();
    // True when a collision, a scroll start or a respawn happened (no gravity then).
    bool moveVertically(Direction horizontal);
    void checkLadder(Direction vertical);
    void probeLadders();
    void centreOnLadderColumn();

    void updateShots(const InputState& input, const Camera& camera);
    void respawn();
    void startScreenScroll();
    void scrollStep();
    void flipFacing();
    void placeBoxX();
    void placeBoxY();

    Fixed m_x;       // pixels
    Fixed m_y;       // pixels; the body point "heightHalf" is measured from
    Fixed m_speedX;  // 1/256 pixel per frame, a magnitude; the direction is m_facing
    Fixed m_speedY;  // 1/256 pixel per frame, positive upwards

    // XSpeed, 1/256 pixel per frame (magnitudes).
    Fixed m_xSpeedAccelerating;
    Fixed m_xSpeedDecelerating;
    Fixed m_xSpeedJumpAccelerating;
    Fixed m_xSpeedJumping;
    Fixed m_xSpeedReeling;
    Fixed m_xSpeedRunning;
    // YSpeed, 1/256 pixel per frame, positive upwards (gravity: per frame per frame).
    Fixed m_ySpeedClimbingDown;
    Fixed m_ySpeedClimbingUp;
    Fixed m_ySpeedCollision;
    Fixed m_ySpeedFalling;
    Fixed m_ySpeedGravity;
    Fixed m_ySpeedJumping;
    Fixed m_ySpeedJumpReleased;
    Fixed m_ySpeedJumpReleasedMax;
    Fixed m_ySpeedMin;
    Fixed m_ySpeedScrolling;
    Fixed m_ySpeedReeling;

    Direction m_facing = Direction::Right;
    bool m_screenScrolling = false;
    bool m_shootingPose = false;
    MovementMode m_mode = MovementMode::Teleport;

    // Options.
    bool m_adjustPositionAfterScroll = false;
    bool m_firstAcceleratingFrameIsWalkingSpeed = false;
    bool m_firstDeceleratingFrameIsWalkingSpeed = false;
    bool m_noJumpDelay = false;
    bool m_onlyIntAdjustmentAtYCollision = false;

    // Scroll constants.
    int32_t m_scrollStartFraction = 0;  // 1/256 pixel
    int32_t m_scrollDownEndPosY = 0;    // pixels below the new boundary's top
    int32_t m_scrollUpEndPosY = 0;      // pixels below the new boundary's top

    int32_t m_stateFrame = 0;  // updates completed since the current state was entered

    // Durations, in updates.
    int32_t m_durationAccelerating = 0;
    int32_t m_durationAcceleratingPreviousAnimation = 0;
    int32_t m_durationDecelerating = 0;
    int32_t m_durationDeceleratingPreviousAnimation = 0;
    int32_t m_durationInvincible = 0;
    int32_t m_durationReeling = 0;
    int32_t m_durationShooting = 0;

    int32_t m_shootingTimer = 0;    // updates since the last shot while the pose lasts
    int32_t m_invincibleTimer = 0;  // remaining updates of invincibility; 0 = vulnerable
    int32_t m_teleportStopY = 0;    // world pixel y at which the beam stops

    // Bounding box constants, pixels.
    int32_t m_heightHalf = 0;  // from the position's y down to the feet
    int32_t m_xOffset = 0;     // box left relative to the pixel x
    int32_t m_yOffset = 0;     // box top relative to the pixel y

    // Shot offsets, pixels.
    int32_t m_bulletXOffsetLeft = 0;
    int32_t m_bulletXOffsetRight = 0;
    int32_t m_bulletYOffset = 0;

    Handler m_handler = &Voltaro::teleportHandler;
    Transition m_pendingTransition = nullptr;  // deferred to the start of the next update; only hurt sets it
    CollisionResponse m_collisionResponse = CollisionResponse::Stop;
    std::array<Bullet, 3> m_bullets;
    SurfaceHandle m_pBulletBitmap;  // the shot image
    PlayerHost* m_pLevel = nullptr;          // not owned
    Map* m_pMap = nullptr;                   // not owned
    std::unique_ptr<Sprite> m_pSprite;
    SDL_Rect m_boundingBox = {0, 0, 0, 0};  // world pixels
    CollisionBox m_collisionBox{&m_boundingBox};
    LadderProbe m_ladder;  // the latest probe
    DebugInfo m_debugInfo;
};
