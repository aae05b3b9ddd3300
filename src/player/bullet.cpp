#include "player/bullet.h"

#include "platform/video_service.h"
#include "world/geometry.h"

Bullet::Bullet() : m_direction(Direction::None), m_active(false), m_rect(makeRect(0, 0, kSize, kSize)) {}

bool Bullet::fire(int32_t x, int32_t y, Direction d) {
    if (m_active) return false;  // this slot is still in flight
    m_rect.x = cutToSint16(x);
    m_rect.y = cutToSint16(y);
    m_direction = d;
    m_active = true;
    return true;
}

void Bullet::update(const Camera& camera) {
    if (!m_active) return;  // a free slot does not move
    if (m_direction == Direction::Right) {
        m_rect.x = cutToSint16(m_rect.x + kSpeed);
    } else if (m_direction == Direction::Left) {
        m_rect.x = cutToSint16(m_rect.x - kSpeed);
    }
    // A rectangle that only touches the view's edge has already left it.
    m_active = camera.isVisible(m_rect);
}

void Bullet::draw(SDL_Surface* surface, const Camera& camera) const {
    if (!m_active) return;  // nothing in flight
    VideoService* video = getVideoService();
    if (video == nullptr) return;  // no display to draw on
    video->blit(surface, camera.toScreenX(m_rect.x), camera.toScreenY(m_rect.y), nullptr);
}
