#pragma once

#include "resources/ini_schema.h"
#include "world/camera.h"
#include "world/collision_box.h"

#include <SDL.h>

#include <memory>

class Sprite;
class Voltaro;

// A stationary, animated hazard at one world rectangle, placed once at
// construction. It plays animation 0 of "enemy.ini" and knocks the player
// back on contact; it cannot move, be shot or be destroyed. Contact is tested
// by the level.
class Enemy {
public:
    // The place of a level whose section gives no "enemyX" / "enemyY".
    static constexpr int32_t kX = 112;     // world pixels
    static constexpr int32_t kY = 2104;    // world pixels
    static constexpr int32_t kWidth = 16;  // pixels
    static constexpr int32_t kHeight = 8;  // pixels

    // At the default place (kX, kY).
    Enemy();
    // With the rectangle's top-left corner at world (x, y), each cut to 16 bits as every rectangle is.
    Enemy(int32_t x, int32_t y);
    // The keys of "enemy.ini": the enemy's sprite, nothing else.
    static const IniSchema& fileKeys();
    ~Enemy();
    Enemy(const Enemy&) = delete;
    Enemy& operator=(const Enemy&) = delete;

    // Advances the animation by one update.
    void update();
    // Draws sheet 0 at the rectangle's screen position (the sprite adds its offsets).
    void draw(const Camera& camera);
    CollisionBox getCollisionBox() const { return m_collisionBox; }
    // Makes the player react to the contact.
    void touch(Voltaro& player);

    const SDL_Rect& rect() const { return m_rect; }
    const Sprite& sprite() const { return *m_pSprite; }

private:
    SDL_Rect m_rect;
    CollisionBox m_collisionBox;
    std::unique_ptr<Sprite> m_pSprite;
};
