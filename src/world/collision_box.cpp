#include "world/collision_box.h"

#include "world/geometry.h"

bool CollisionBox::intersects(const CollisionBox& other) const {
    if (m_pRect == nullptr || other.m_pRect == nullptr) return false;  // nothing to touch
    const SDL_Rect otherRect = *other.m_pRect;
    return rectsOverlap(*m_pRect, otherRect);
}
