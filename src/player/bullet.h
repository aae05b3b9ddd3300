#pragma once

#include "platform/direction.h"
#include "world/camera.h"

#include <SDL.h>

#include <cstdint>

// One shot slot of the player: free, or a shot flying horizontally at a fixed
// speed until its 8x8 rectangle no longer overlaps the camera's view. Shots
// ignore the map and the enemy.
class Bullet {
public:
    static constexpr int32_t kSize = 8;   // pixels, width and height of a shot
    static constexpr int32_t kSpeed = 4;  // pixels per update

    Bullet();

    // Puts a free slot into flight at world pixel (x, y) towards d; false (and
    // nothing changed) when the slot is already in flight.
    bool fire(int32_t x, int32_t y, Direction d);
    // Moves a shot in flight and ends it once it has left the camera's view.
    void update(const Camera& camera);
    // Draws the whole shot image with its top-left corner at the shot's position.
    void draw(SDL_Surface* surface, const Camera& camera) const;

    bool isActive() const { return m_active; }
    Direction direction() const { return m_direction; }
    const SDL_Rect& rect() const { return m_rect; }

private:
    Direction m_direction;
    bool m_active;
    SDL_Rect m_rect;  // world pixels; x and y meaningful after the first fire
};
