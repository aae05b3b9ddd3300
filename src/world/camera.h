#pragma once

#include <SDL.h>

#include <cstdint>

// The 256x240 view onto the world, confined to the current boundary. follow
// sets only the horizontal position; the vertical position comes from
// setBounds and move.
class Camera {
public:
    static constexpr int32_t kScreenWidth = 256;   // pixels
    static constexpr int32_t kScreenHeight = 240;  // pixels

    Camera();

    const SDL_Rect& view() const { return m_view; }
    const SDL_Rect& bounds() const { return m_bounds; }

    int32_t toScreenX(int32_t worldX) const { return worldX - m_view.x; }
    int32_t toScreenY(int32_t worldY) const { return worldY - m_view.y; }

    // True when the rectangle overlaps the view (strictly).
    bool isVisible(const SDL_Rect& rect) const;
    void move(int32_t dx, int32_t dy);
    // Confines the camera to rect and puts the view on its top at once.
    void setBounds(SDL_Rect rect);
    // Centres the view horizontally on target within the bounds (left rule first).
    void follow(const SDL_Rect& target);

private:
    SDL_Rect m_view;
    SDL_Rect m_bounds;
};
