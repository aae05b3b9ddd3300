#pragma once

#include <SDL.h>

// A non-owning handle on an object's rectangle for contact tests. It reads
// the rectangle each time it is used, so it follows its owner's position; it
// must not outlive that rectangle.
class CollisionBox {
public:
    explicit CollisionBox(const SDL_Rect* rect = nullptr) : m_pRect(rect) {}

    // Strict overlap of this box's rectangle with a copy of the other's.
    // A box without a rectangle touches nothing.
    bool intersects(const CollisionBox& other) const;

    const SDL_Rect* rect() const { return m_pRect; }

private:
    const SDL_Rect* m_pRect;
};
