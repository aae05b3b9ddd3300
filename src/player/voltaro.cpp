#include "player/voltaro.h"

#include "platform/sound_event_log.h"
#include "platform/video_service.h"
#include "player/player_host.h"
#include "world/geometry.h"
#include "world/map.h"

namespace {

// A Speed pair of the player file: stem + "Int" whole pixels plus stem +
// "Fraction" 256ths, added (not masked), with 32-bit wrap-around.
Fixed readSpeed(const IniDictionary& dictionary, const char* section, const std::string& stem) {
    return Fixed(dictionary.getInt(stem + "Int", section, 0), dictionary.getInt(stem + "Fraction", section, 0));
}

// The part of n below its whole pixel, with n's sign (n - toInt(n) * 256).
Fixed fractionOf(Fixed n) {
    return n - Fixed(n.toInt());
}

// Start of the 16-pixel row that holds t, rounding down also for negative t.
int32_t rowStart(int32_t t) {
    return Fixed::wrap(static_cast<uint32_t>(t) & ~15u);
}

// t modulo 16, always 0..15 (a floor remainder).
int32_t offsetInRow(int32_t t) {
    return static_cast<int32_t>(static_cast<uint32_t>(t) & 15u);
}

// The pixel that holds v: toInt(v) where that is not negative, else rounded
// down (toInt rounds toward zero, which would put -7.25 on pixel -7).
int32_t pixelHolding(Fixed v) {
    const int32_t pixel = v.toInt();
    if (pixel >= 0) return pixel;
    return Fixed::fromRaw(Fixed::sub(v.raw(), 255)).toInt();
}

}  // namespace

namespace {

// A Speed pair: the stem + "Int" whole pixels and the stem + "Fraction"
// 256ths, added, `per` update (or per update per update for gravity).
void addSpeed(std::vector<IniKey>& keys, const char* section, const std::string& stem, const std::string& meaning,
              const std::string& per = "per update") {
    keys.push_back({section, stem + "Int", "whole pixels " + per, "0", meaning});
    keys.push_back({section, stem + "Fraction", "1/256 pixel " + per + ", added to the Int", "0", meaning});
}

std::vector<IniKey> playerKeys() {
    std::vector<IniKey> keys;
    const char* flag = "true or false";
    keys.push_back({"Options", "adjustPositionAfterScroll", flag, "false",
                    "a scroll starts at startFraction and ends at upEndPosY/downEndPosY below the new band's top"});
    keys.push_back({"Options", "firstAcceleratingFrameIsWalkingSpeed", flag, "false",
                    "the first Accelerating update moves at XSpeed running"});
    keys.push_back({"Options", "firstDeceleratingFrameIsWalkingSpeed", flag, "false",
                    "the first Decelerating update moves at XSpeed running"});
    keys.push_back({"Options", "noJumpDelay", flag, "false", "a jump rises in the update the key is pressed"});
    keys.push_back({"Options", "onlyIntAdjustmentAtYCollision", flag, "false",
                    "a vertical collision corrects only the whole pixel and keeps the fraction"});

    addSpeed(keys, "XSpeed", "accelerating", "horizontal speed while Accelerating, after its first update");
    addSpeed(keys, "XSpeed", "decelerating", "horizontal speed while Decelerating, after its first update");
    addSpeed(keys, "XSpeed", "jumpAccelerating", "horizontal speed in the air when the direction was just pressed");
    addSpeed(keys, "XSpeed", "jumping", "horizontal speed in the air while a direction is held");
    addSpeed(keys, "XSpeed", "reeling", "horizontal speed of the knock-back after a hit");
    addSpeed(keys, "XSpeed", "running", "full walking speed");

    addSpeed(keys, "YSpeed", "climbingDown", "vertical speed on a ladder while down is held (negative)");
    addSpeed(keys, "YSpeed", "climbingUp", "vertical speed on a ladder while up is held (positive)");
    addSpeed(keys, "YSpeed", "collision", "ground probe: vertical speed on the ground and after a landing (negative)");
    addSpeed(keys, "YSpeed", "falling", "vertical speed at the start of a fall");
    addSpeed(keys, "YSpeed", "gravity", "subtracted from the vertical speed after each free vertical move (positive)",
             "per update per update");
    addSpeed(keys, "YSpeed", "jumping", "vertical speed at the start of a jump (positive)");
    addSpeed(keys, "YSpeed", "jumpReleased", "vertical speed set when the jump key is let go early");
    addSpeed(keys, "YSpeed", "jumpReleasedMax", "the early release cuts the rise only above this speed");
    addSpeed(keys, "YSpeed", "min", "fastest fall (the most negative vertical speed in the air)");
    addSpeed(keys, "YSpeed", "scrolling", "vertical move per update during a screen scroll");
    addSpeed(keys, "YSpeed", "reeling", "vertical speed at the start of the knock-back");

    keys.push_back({"ScrollConstants", "startFraction", "1/256 pixel", "0",
                    "fraction of the position when a scroll starts (with adjustPositionAfterScroll)"});
    keys.push_back({"ScrollConstants", "downEndPosY", "pixels", "0",
                    "position below the new band's top after a downward scroll (with adjustPositionAfterScroll)"});
    keys.push_back({"ScrollConstants", "upEndPosY", "pixels", "0",
                    "position below the new band's top after an upward scroll (with adjustPositionAfterScroll)"});

    keys.push_back({"Durations", "accelerating", "updates", "0", "updates in Accelerating before Running"});
    keys.push_back({"Durations", "acceleratingPreviousAnimation", "updates", "0",
                    "Accelerating update at which the walking animation replaces the previous one"});
    keys.push_back({"Durations", "decelerating", "updates", "0", "updates in Decelerating before Standing"});
    keys.push_back({"Durations", "deceleratingPreviousAnimation", "updates", "0",
                    "Decelerating update at which the walking animation replaces the previous one"});
    keys.push_back({"Durations", "invincible", "updates", "0", "invincibility after a hit"});
    keys.push_back({"Durations", "reeling", "updates", "0", "length of the knock-back"});
    keys.push_back({"Durations", "shooting", "updates", "0", "how long the shooting pose shows after a shot"});

    keys.push_back({"BoundingBox", "heightHalf", "pixels", "0", "from the position down to the feet"});
    keys.push_back({"BoundingBox", "xOffset", "pixels", "0", "box left relative to the position"});
    keys.push_back({"BoundingBox", "yOffset", "pixels", "0", "box top relative to the position"});
    keys.push_back({"BoundingBox", "width", "pixels", "0", "box width"});
    keys.push_back({"BoundingBox", "height", "pixels", "0", "box height"});

    keys.push_back({"Bullet", "spritesheet", "file name", "empty", "BMP image of a shot"});
    keys.push_back({"Bullet", "xOffsetLeft", "pixels", "0", "new shot's x relative to the position, facing left"});
    keys.push_back({"Bullet", "xOffsetRight", "pixels", "0", "new shot's x relative to the position, facing right"});
    keys.push_back({"Bullet", "yOffset", "pixels", "0", "new shot's y relative to the position"});
    return keys;
}

}  // namespace

const IniSchema& Voltaro::fileKeys() {
    static const IniSchema keys(playerKeys());
    return keys;
}

Voltaro::Voltaro(const IniDictionary& dictionary, const std::string& fileName, PlayerHost* host, Map* map)
    : m_pLevel(host), m_pMap(map) {
    m_x = m_pMap->teleportStartX();
    m_y = m_pMap->teleportStartY();
    m_speedY = m_pMap->teleportStartYSpeed();
    m_teleportStopY = m_pMap->teleportStopY().toInt();
    // Overwritten by the first update before anything reads it.
    m_ladder = m_pMap->probeLadders(m_x.toInt(), m_y.toInt(), (m_y - m_speedY).toInt(), !(m_speedY < Fixed()));

    m_pSprite = std::make_unique<Sprite>(dictionary, fileName);
    m_pSprite->setAnimation(kAnimationTeleporting);

    readConfiguration(dictionary);
}

Voltaro::~Voltaro() {
    m_pBulletBitmap.reset();
    m_pSprite.reset();
}

void Voltaro::readConfiguration(const IniDictionary& dictionary) {
    m_adjustPositionAfterScroll = dictionary.getBool("adjustPositionAfterScroll", "Options", false);
    m_firstAcceleratingFrameIsWalkingSpeed = dictionary.getBool("firstAcceleratingFrameIsWalkingSpeed", "Options", false);
    m_firstDeceleratingFrameIsWalkingSpeed = dictionary.getBool("firstDeceleratingFrameIsWalkingSpeed", "Options", false);
    m_noJumpDelay = dictionary.getBool("noJumpDelay", "Options", false);
    m_onlyIntAdjustmentAtYCollision = dictionary.getBool("onlyIntAdjustmentAtYCollision", "Options", false);

    m_xSpeedAccelerating = readSpeed(dictionary, "XSpeed", "accelerating");
    m_xSpeedDecelerating = readSpeed(dictionary, "XSpeed", "decelerating");
    m_xSpeedJumpAccelerating = readSpeed(dictionary, "XSpeed", "jumpAccelerating");
    m_xSpeedJumping = readSpeed(dictionary, "XSpeed", "jumping");
    m_xSpeedReeling = readSpeed(dictionary, "XSpeed", "reeling");
    m_xSpeedRunning = readSpeed(dictionary, "XSpeed", "running");

    m_ySpeedClimbingDown = readSpeed(dictionary, "YSpeed", "climbingDown");
    m_ySpeedClimbingUp = readSpeed(dictionary, "YSpeed", "climbingUp");
    m_ySpeedCollision = readSpeed(dictionary, "YSpeed", "collision");
    m_ySpeedFalling = readSpeed(dictionary, "YSpeed", "falling");
    m_ySpeedGravity = readSpeed(dictionary, "YSpeed", "gravity");
    m_ySpeedJumping = readSpeed(dictionary, "YSpeed", "jumping");
    m_ySpeedJumpReleased = readSpeed(dictionary, "YSpeed", "jumpReleased");
    m_ySpeedJumpReleasedMax = readSpeed(dictionary, "YSpeed", "jumpReleasedMax");
    m_ySpeedMin = readSpeed(dictionary, "YSpeed", "min");
    m_ySpeedScrolling = readSpeed(dictionary, "YSpeed", "scrolling");
    m_ySpeedReeling = readSpeed(dictionary, "YSpeed", "reeling");

    m_scrollStartFraction = dictionary.getInt("startFraction", "ScrollConstants", 0);
    m_scrollDownEndPosY = dictionary.getInt("downEndPosY", "ScrollConstants", 0);
    m_scrollUpEndPosY = dictionary.getInt("upEndPosY", "ScrollConstants", 0);

    m_durationAccelerating = dictionary.getInt("accelerating", "Durations", 0);
    m_durationAcceleratingPreviousAnimation = dictionary.getInt("acceleratingPreviousAnimation", "Durations", 0);
    m_durationDecelerating = dictionary.getInt("decelerating", "Durations", 0);
    m_durationDeceleratingPreviousAnimation = dictionary.getInt("deceleratingPreviousAnimation", "Durations", 0);
    m_durationInvincible = dictionary.getInt("invincible", "Durations", 0);
    m_durationReeling = dictionary.getInt("reeling", "Durations", 0);
    m_durationShooting = dictionary.getInt("shooting", "Durations", 0);

    m_heightHalf = dictionary.getInt("heightHalf", "BoundingBox", 0);
    m_xOffset = dictionary.getInt("xOffset", "BoundingBox", 0);
    m_yOffset = dictionary.getInt("yOffset", "BoundingBox", 0);
    placeBoxX();
    placeBoxY();
    m_boundingBox.w = cutToUint16(dictionary.getInt("width", "BoundingBox", 0));
    m_boundingBox.h = cutToUint16(dictionary.getInt("height", "BoundingBox", 0));

    const char* bulletSheet = dictionary.getString("spritesheet", "Bullet", "empty");
    if (VideoService* video = getVideoService()) m_pBulletBitmap = video->loadBitmap(bulletSheet);
    m_bulletXOffsetLeft = dictionary.getInt("xOffsetLeft", "Bullet", 0);
    m_bulletXOffsetRight = dictionary.getInt("xOffsetRight", "Bullet", 0);
    m_bulletYOffset = dictionary.getInt("yOffset", "Bullet", 0);
}

// ---------------------------------------------------------------------------
// One update

void Voltaro::update(InputState input, const Camera& camera) {
    // 1. The animation advances in every update, scrolling ones included.
    m_pSprite->update();

    // 2. During a screen scroll the player only follows the scroll.
    if (m_screenScrolling) {
        scrollStep();
        return;  // state frame and timers stand still while scrolling
    }

    // 3. Invincibility counts down.
    if (m_invincibleTimer > 0) --m_invincibleTimer;

    // 4. A hit of the previous frame starts the knock-back now.
    if (m_pendingTransition != nullptr) {
        (this->*m_pendingTransition)();
        m_pendingTransition = nullptr;
    }

    // 5. Shots.
    if (m_mode != MovementMode::Teleport) updateShots(input, camera);

    // 6. Ladder grab, with the flags of the previous probe.
    if (m_mode == MovementMode::Ground || m_mode == MovementMode::Air) checkLadder(input.vertical);

    // 7. The current state's handler.
    (this->*m_handler)(input);

    // 8. Moves against the map (the beam ignores the map).
    if (m_mode != MovementMode::Teleport) {
        if (m_speedX > Fixed()) moveHorizontally();
        probeLadders();
        if (m_mode == MovementMode::Ladder && !m_ladder.any()) enterFalling(false);  // lost the ladder
        if (m_noJumpDelay && input.jumpPressed && m_mode == MovementMode::Ground) {
            enterJumping(true);
            moveVertically(input.horizontal);  // no gravity in the frame the jump starts
        } else if (!moveVertically(input.horizontal)) {
            m_speedY -= m_ySpeedGravity;
        }
    }

    // 9. A delayed jump takes off in the next update.
    if (!m_noJumpDelay && input.jumpPressed && m_mode == MovementMode::Ground) enterJumping(false);

    // 10. The state has lasted one more update.
    m_stateFrame = Fixed::add(m_stateFrame, 1);

    // 11. The shooting pose's age.
    if (m_shootingPose) m_shootingTimer = Fixed::add(m_shootingTimer, 1);
}

// ---------------------------------------------------------------------------
// State entries

void Voltaro::enterAppearing() {
    m_stateFrame = 0;
    m_handler = &Voltaro::appearingHandler;
    m_mode = MovementMode::Air;
    m_collisionResponse = CollisionResponse::Landing;
    m_pSprite->setAnimation(kAnimationAppearing);
}

void Voltaro::enterStanding() {
    m_stateFrame = 0;
    m_handler = &Voltaro::standingHandler;
    m_mode = MovementMode::Ground;
    m_collisionResponse = CollisionResponse::Landing;
    m_pSprite->setAnimation(kAnimationStanding);
    m_speedX = Fixed();
}

void Voltaro::enterAccelerating() {
    m_stateFrame = 0;
    m_handler = &Voltaro::acceleratingHandler;
    if (m_durationAcceleratingPreviousAnimation == 0) m_pSprite->setAnimation(kAnimationWalking);
    m_speedX = m_firstAcceleratingFrameIsWalkingSpeed ? m_xSpeedRunning : m_xSpeedAccelerating;
}

void Voltaro::enterDecelerating() {
    m_stateFrame = 0;
    m_handler = &Voltaro::deceleratingHandler;
    if (m_durationDeceleratingPreviousAnimation == 0) m_pSprite->setAnimation(kAnimationWalking);
    m_speedX = m_firstDeceleratingFrameIsWalkingSpeed ? m_xSpeedRunning : m_xSpeedDecelerating;
}

void Voltaro::enterRunning() {
    m_stateFrame = 0;
    m_handler = &Voltaro::runningHandler;
    m_mode = MovementMode::Ground;
    m_collisionResponse = CollisionResponse::Landing;
    m_pSprite->setAnimation(kAnimationRunning);
    m_speedX = m_xSpeedRunning;
}

void Voltaro::enterJumping(bool setAnimation) {
    raiseSoundEvent(SoundEvent::Jump);  // only ever entered from the ground
    m_stateFrame = 0;
    m_handler = &Voltaro::airborneHandler;
    m_mode = MovementMode::Air;
    m_collisionResponse = CollisionResponse::Rising;
    if (setAnimation) m_pSprite->setAnimation(kAnimationAirborne);
    m_speedY = m_ySpeedJumping;
}

void Voltaro::enterFalling(bool moveNow) {
    m_stateFrame = 0;
    m_handler = &Voltaro::airborneHandler;
    m_mode = MovementMode::Air;
    m_collisionResponse = CollisionResponse::Landing;
    m_pSprite->setAnimation(kAnimationAirborne);
    m_speedY = m_ySpeedFalling;
    if (moveNow) m_y -= m_speedY;
    placeBoxY();
}

void Voltaro::enterClimbing() {
    raiseSoundEvent(SoundEvent::Ladder);
    m_stateFrame = 0;
    m_handler = &Voltaro::climbingHandler;
    m_mode = MovementMode::Ladder;
}

void Voltaro::enterReeling() {
    m_stateFrame = 0;
    m_handler = &Voltaro::reelingHandler;
    m_mode = MovementMode::Air;
    m_collisionResponse = CollisionResponse::Stop;
    m_speedX = m_xSpeedReeling;
    m_speedY = m_ySpeedReeling;
    flipFacing();  // knocked back away from where it faced
}

// ---------------------------------------------------------------------------
// State handlers

void Voltaro::teleportHandler(InputState) {
    if (m_y.toInt() == m_teleportStopY) {
        placeBoxX();
        placeBoxY();
        enterAppearing();
        return;  // the beam has arrived
    }
    m_y += kBeamStep;
    if (m_y.toInt() > m_teleportStopY) {
        // The stop is off the beam's 16-pixel grid (or above its start): stop
        // on it instead of falling for ever, keeping the beam's sub-pixel part
        // where that still lies on the stop pixel.
        const Fixed onStop = Fixed(m_teleportStopY) + Fixed::fromRaw(m_y.raw() & 255);
        m_y = onStop.toInt() == m_teleportStopY ? onStop : Fixed(m_teleportStopY);
    }
    placeBoxY();
}

void Voltaro::appearingHandler(InputState) {
    // Ends when the vertical move lands.
}

void Voltaro::standingHandler(InputState input) {
    if (input.horizontal == Direction::None) return;  // keeps standing
    m_facing = input.horizontal;
    enterAccelerating();
}

void Voltaro::acceleratingHandler(InputState input) {
    m_speedX = m_xSpeedAccelerating;
    if (input.horizontal == Direction::None) {
        enterStanding();
        return;  // let go
    }
    m_facing = input.horizontal;  // a turn is immediate and keeps the state
    if (m_stateFrame == m_durationAcceleratingPreviousAnimation) {
        m_pSprite->setAnimation(kAnimationWalking);
        return;  // this frame only switches the animation
    }
    if (m_stateFrame == m_durationAccelerating) enterRunning();
}

void Voltaro::runningHandler(InputState input) {
    if (input.horizontal == Direction::None) {
        enterDecelerating();
        return;  // let go
    }
    m_facing = input.horizontal;  // turning at full speed is immediate
}

void Voltaro::deceleratingHandler(InputState input) {
    m_speedX = m_xSpeedDecelerating;
    if (input.horizontal != Direction::None) {
        m_facing = input.horizontal;
        enterAccelerating();
        return;  // walking again
    }
    if (m_stateFrame == m_durationDeceleratingPreviousAnimation) {
        m_pSprite->setAnimation(kAnimationWalking);
        return;  // this frame only switches the animation
    }
    if (m_stateFrame == m_durationDecelerating) enterStanding();
}

void Voltaro::airborneHandler(InputState input) {
    if (m_stateFrame == 1) m_pSprite->setAnimation(kAnimationAirborne);
    if (input.horizontal == Direction::None) {
        m_speedX = Fixed();
    } else {
        m_facing = input.horizontal;
        m_speedX = input.previousHorizontal == Direction::None ? m_xSpeedJumpAccelerating : m_xSpeedJumping;
    }
    if (input.jumpReleased && m_speedY > m_ySpeedJumpReleasedMax) m_speedY = m_ySpeedJumpReleased;
    // From the top of the arc on, a collision is a landing rather than a ceiling bump.
    if (m_speedY < Fixed()) m_collisionResponse = CollisionResponse::Landing;
    if (m_speedY < m_ySpeedMin) m_speedY = m_ySpeedMin;
}

void Voltaro::climbingHandler(InputState input) {
    // m_ladder still holds the previous update's probe here.
    if (input.vertical == Direction::Up) {
        m_speedY = m_ySpeedClimbingUp;
        m_pSprite->setAnimation(m_ladder[3] ? kAnimationClimbing : kAnimationClimbingTop);
        m_collisionResponse = CollisionResponse::Stop;
    } else if (input.vertical == Direction::Down) {
        m_speedY = m_ySpeedClimbingDown;
        m_pSprite->setAnimation(m_ladder[2] || m_ladder[3] ? kAnimationClimbing : kAnimationClimbingTop);
        m_collisionResponse = CollisionResponse::Landing;
    } else {
        m_speedY = Fixed();
        m_pSprite->setAnimation(kAnimationClimbing);
        m_pSprite->restartFrame();  // hold the picture while not moving
    }

    if (m_shootingPose) m_speedY = Fixed();  // shooting holds the player on the ladder

    const bool ladderAtFeetOnly = m_ladder[1] && !m_ladder[0] && !m_ladder[2] && !m_ladder[3] && !m_ladder[4];
    if (m_speedY > Fixed() && ladderAtFeetOnly) {
        // Leaving at the top: stand "heightHalf" above the top of the world's
        // 16-pixel tile row that holds the position. The row is taken in
        // world pixels, not within the band, so a band whose top is not on
        // the 240-pixel screen grid puts the player on the ladder's top too.
        const int32_t top = Fixed::sub(rowStart(m_y.toInt()), m_heightHalf);
        m_y = Fixed(top);
        placeBoxY();
        m_speedY = m_ySpeedCollision;
        m_mode = MovementMode::Ground;
        enterStanding();
    } else if (input.jumpPressed && input.vertical == Direction::None) {
        m_speedY = m_ySpeedFalling;
        if (input.horizontal != Direction::None) m_facing = input.horizontal;
        enterFalling(false);  // dropped off the ladder
    }
}

void Voltaro::reelingHandler(InputState) {
    if (m_stateFrame != m_durationReeling) return;  // still knocked back
    flipFacing();
    // A knock-back that ends at rest on the floor (the Stop response zeroed
    // the speed) hands over the ground probe speed, so the first ground move
    // finds the floor instead of dropping through it by the falling speed.
    if (m_speedY.raw() == 0) m_speedY = m_ySpeedCollision;
    enterStanding();
}

// ---------------------------------------------------------------------------
// Moves against the map

void Voltaro::moveHorizontally() {
    const int32_t clearance = m_pMap->horizontalClearance(m_boundingBox, m_facing);
    // A clamp keeps the attempted move's fraction on the limit's pixel.
    if (m_facing == Direction::Right) {
        const Fixed limit((m_x + clearance).toInt());
        const Fixed next = m_x + m_speedX;
        m_x = next > limit ? limit + fractionOf(next) : next;
    } else if (m_facing == Direction::Left) {
        const Fixed limit((m_x - clearance).toInt());
        const Fixed next = m_x - m_speedX;
        m_x = next < limit ? limit + fractionOf(next) : next;
    }
    placeBoxX();
}

bool Voltaro::moveVertically(Direction horizontal) {
    const Fixed next = m_y - m_speedY;

    Direction direction = Direction::Down;
    bool edge = false;
    if (m_speedY > Fixed()) {
        direction = Direction::Up;
        // Only a climbing player starts an upward scroll; a jump does not.
        edge = m_mode == MovementMode::Ladder && m_pMap->atScrollStartTop(next.toInt());
    } else {
        edge = m_pMap->atScrollStartBottom(next.toInt());
        if (edge && m_pMap->isScreenBelowMissing(m_x.toInt(), next.toInt())) {
            respawn();
            m_pLevel->restart();
            return true;  // fell out of the world
        }
    }
    if (edge) {
        startScreenScroll();
        m_pLevel->startScroll(direction);
        return true;  // the scroll moves the player from now on
    }

    const int32_t clearance = m_pMap->verticalClearance(m_boundingBox, direction);
    Fixed limit;
    bool hit = false;
    if (direction == Direction::Up) {
        limit = Fixed((m_y - clearance).toInt());
        hit = next < limit;
    } else {
        limit = Fixed((m_y + clearance).toInt());
        hit = next > limit;
    }
    if (hit) {
        m_y = m_onlyIntAdjustmentAtYCollision ? limit + fractionOf(next) : limit;
    } else {
        m_y = next;
    }
    placeBoxY();

    if (m_mode == MovementMode::Ground) {
        // The ground is probed every frame by the collision speed.
        m_speedY = m_ySpeedCollision;
        if (!hit) enterFalling(true);  // walked off an edge
    } else if (hit) {
        switch (m_collisionResponse) {
        case CollisionResponse::Rising:
            m_speedY = m_ySpeedCollision;
            m_collisionResponse = CollisionResponse::Landing;  // bumped the ceiling
            break;
        case CollisionResponse::Landing:
            // Out of the air onto the ground; the beam-in's own landing ends
            // the arrival. Climbing down onto the floor makes no sound.
            if (m_handler == &Voltaro::appearingHandler) {
                raiseSoundEvent(SoundEvent::Beam);
            } else if (m_mode == MovementMode::Air) {
                raiseSoundEvent(SoundEvent::Land);
            }
            m_speedY = m_ySpeedCollision;
            if (m_mode == MovementMode::Air && horizontal != Direction::None && horizontal == m_facing) {
                enterRunning();
            } else {
                enterStanding();
            }
            break;
        case CollisionResponse::Stop:
            m_speedY = Fixed();
            break;
        }
    }
    return hit;
}

void Voltaro::checkLadder(Direction vertical) {
    if (vertical == Direction::None || !m_ladder.any()) return;  // no grab wanted or possible
    const bool f0 = m_ladder[0], f1 = m_ladder[1], f2 = m_ladder[2], f3 = m_ladder[3], f4 = m_ladder[4];
    const bool onlyUnderFeet = f0 && !f1 && !f2 && !f3 && !f4;

    if (vertical == Direction::Up) {
        if (onlyUnderFeet) return;  // standing on a ladder's top: nothing above to climb
        m_speedX = Fixed();
        centreOnLadderColumn();
        flipFacing();
        if (f4 && !f0 && !f1 && !f2 && !f3) {
            // Only a ladder above the head after the move: lift the player to
            // the start of its 16-pixel row and then by its height, and let
            // it fall from there; a later up press grabs the ladder. The
            // offset within the row is a floor remainder of the pixel that
            // holds the position, so a position above the boundary's top (a
            // jump may rise there) or beyond its first 256 pixels is lifted
            // within its own row instead of being thrown across the screen.
            const SDL_Rect boundary = m_pMap->currentBoundary();
            const int32_t t = pixelHolding(m_y - static_cast<int32_t>(boundary.y));
            m_y -= offsetInRow(t);
            m_y -= static_cast<int32_t>(m_boundingBox.h);
            placeBoxY();
            enterFalling(false);
        } else {
            enterClimbing();
        }
    } else if (vertical == Direction::Down) {
        if (!f0 && f1 && f2 && f3) return;  // the body is on a ladder that ends at the feet
        m_speedX = Fixed();
        centreOnLadderColumn();
        if (onlyUnderFeet) {
            m_y += m_heightHalf;  // step down into the ladder
            placeBoxY();
        }
        flipFacing();
        enterClimbing();
    }
}

void Voltaro::centreOnLadderColumn() {
    const int32_t p = m_x.toInt();
    if (p < 0) {
        // The map answers for column 0 left of the map's edge, so the ladder
        // found is there; centring by the remainder would put the player
        // left of the map.
        m_x = Fixed(kTileSize / 2);
    } else {
        m_x = m_x - p % kTileSize + kTileSize / 2;  // the fraction stays
    }
    placeBoxX();
}

void Voltaro::probeLadders() {
    m_ladder = m_pMap->probeLadders(m_x.toInt(), m_y.toInt(), (m_y - m_speedY).toInt(), m_speedY > Fixed());
}

// ---------------------------------------------------------------------------
// Shots

void Voltaro::updateShots(const InputState& input, const Camera& camera) {
    if (input.shootPressed) {
        if (input.horizontal != Direction::None) m_facing = input.horizontal;  // turn first, anywhere
        const int32_t xOffset = m_facing == Direction::Left ? m_bulletXOffsetLeft : m_bulletXOffsetRight;
        const int32_t x = Fixed::add(m_x.toInt(), xOffset);
        const int32_t y = (m_y + m_bulletYOffset).toInt();
        bool fired = false;
        for (Bullet& bullet : m_bullets) {
            if (bullet.fire(x, y, m_facing)) {
                fired = true;
                break;
            }
        }
        if (fired) {  // all three in flight: no shot, and the pose is not restarted
            raiseSoundEvent(SoundEvent::Shoot);
            m_shootingPose = true;
            m_shootingTimer = 0;
        }
    }
    if (m_shootingPose && m_shootingTimer == m_durationShooting) m_shootingPose = false;
    for (Bullet& bullet : m_bullets) bullet.update(camera);
}

// ---------------------------------------------------------------------------
// Respawn, hits and screen scrolls

void Voltaro::respawn() {
    m_x = m_pMap->teleportStartX();
    m_y = m_pMap->teleportStartY();
    placeBoxX();
    placeBoxY();
    m_speedY = m_pMap->teleportStartYSpeed();
    m_teleportStopY = m_pMap->teleportStopY().toInt();
    // Facing, horizontal speed, state frame, timers and shots carry over.
    m_mode = MovementMode::Teleport;
    m_handler = &Voltaro::teleportHandler;
    m_collisionResponse = CollisionResponse::Stop;
    m_pSprite->setAnimation(kAnimationTeleporting);
    m_pMap->selectBoundary(m_x.toInt(), m_y.toInt());
}

void Voltaro::hurt() {
    if (m_invincibleTimer != 0) return;  // still invincible: the hit is ignored
    raiseSoundEvent(SoundEvent::Hurt);
    m_invincibleTimer = m_durationInvincible;
    m_pendingTransition = &Voltaro::enterReeling;
    m_pSprite->setAnimation(kAnimationHurt);
    m_pSprite->setPingPong();
}

SDL_Rect Voltaro::boxAt(Fixed x, Fixed y) const {
    SDL_Rect box = m_boundingBox;
    box.x = cutToSint16((x + m_xOffset).toInt());
    box.y = cutToSint16((y + m_yOffset).toInt());
    return box;
}

void Voltaro::continueFrom(const Voltaro& previous) {
    m_x = previous.m_x;
    m_y = previous.m_y;
    m_speedX = previous.m_speedX;
    m_speedY = previous.m_speedY;
    m_facing = previous.m_facing;
    m_screenScrolling = previous.m_screenScrolling;
    m_shootingPose = previous.m_shootingPose;
    m_mode = previous.m_mode;
    m_stateFrame = previous.m_stateFrame;
    m_shootingTimer = previous.m_shootingTimer;
    m_invincibleTimer = previous.m_invincibleTimer;
    m_handler = previous.m_handler;
    m_pendingTransition = previous.m_pendingTransition;
    m_collisionResponse = previous.m_collisionResponse;
    m_bullets = previous.m_bullets;
    m_ladder = previous.m_ladder;
    // Only these two states keep the speed their entry set; every other one
    // sets its speed from the file in each update.
    if (m_handler == &Voltaro::runningHandler) m_speedX = m_xSpeedRunning;
    if (m_handler == &Voltaro::reelingHandler) m_speedX = m_xSpeedReeling;
    placeBoxX();
    placeBoxY();
    m_pSprite->setAnimation(previous.m_pSprite->currentAnimation());
    if (previous.m_pSprite->isPingPong()) m_pSprite->setPingPong();
}

void Voltaro::startScreenScroll() {
    m_screenScrolling = true;
    m_y = Fixed(m_y.toInt());
    if (m_adjustPositionAfterScroll) {
        m_y += Fixed::fromRaw(m_scrollStartFraction);
    } else {
        scrollStep();
    }
}

void Voltaro::scrollStep() {
    // m_speedY is frozen during the scroll and keeps giving its direction.
    if (m_speedY > Fixed()) {
        m_y -= m_ySpeedScrolling;
    } else {
        m_y += m_ySpeedScrolling;
    }
    placeBoxY();
}

void Voltaro::endScreenScroll() {
    m_screenScrolling = false;
    if (!m_adjustPositionAfterScroll) return;  // the scroll steps placed the player
    const SDL_Rect boundary = m_pMap->currentBoundary();
    const int32_t endPosY = m_speedY > Fixed() ? m_scrollUpEndPosY : m_scrollDownEndPosY;
    // The box follows in the update that the level runs right after.
    m_y = Fixed(Fixed::add(boundary.y, endPosY));
}

void Voltaro::flipFacing() {
    if (m_facing == Direction::Left) {
        m_facing = Direction::Right;
    } else if (m_facing == Direction::Right) {
        m_facing = Direction::Left;
    }
}

void Voltaro::placeBoxX() {
    m_boundingBox.x = cutToSint16((m_x + m_xOffset).toInt());
}

void Voltaro::placeBoxY() {
    m_boundingBox.y = cutToSint16((m_y + m_yOffset).toInt());
}

// ---------------------------------------------------------------------------
// Drawing and views

void Voltaro::draw(const Camera& camera) {
    int32_t sheet = m_shootingPose ? kSheetShootingRight : kSheetRight;
    if (m_facing == Direction::Left) sheet = m_shootingPose ? kSheetShootingLeft : kSheetLeft;

    // Blinking while invincible: drawn when bit 0 of the timer equals bit 1,
    // i.e. on timer values 0 and 3 modulo 4.
    const uint32_t timer = static_cast<uint32_t>(m_invincibleTimer);
    if ((timer & 1u) == ((timer >> 1) & 1u)) {
        m_pSprite->draw(camera.toScreenX(m_x.toInt()), camera.toScreenY(m_y.toInt()), sheet);
    }

    for (const Bullet& bullet : m_bullets) bullet.draw(m_pBulletBitmap.get(), camera);

    m_debugInfo.draw(m_x.raw(), m_y.raw(), m_speedX.raw(), m_speedY.raw(), m_ladder.mask());
}

const char* Voltaro::stateName() const {
    if (m_handler == &Voltaro::teleportHandler) return "Teleporting";
    if (m_handler == &Voltaro::appearingHandler) return "Appearing";
    if (m_handler == &Voltaro::standingHandler) return "Standing";
    if (m_handler == &Voltaro::acceleratingHandler) return "Accelerating";
    if (m_handler == &Voltaro::runningHandler) return "Running";
    if (m_handler == &Voltaro::deceleratingHandler) return "Decelerating";
    if (m_handler == &Voltaro::airborneHandler) return "Airborne";
    if (m_handler == &Voltaro::climbingHandler) return "Climbing";
    if (m_handler == &Voltaro::reelingHandler) return "Reeling";
    return "Unknown";
}
