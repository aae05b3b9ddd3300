#include "world/camera.h"

#include "world/geometry.h"

Camera::Camera() : m_view(makeRect(0, 0, kScreenWidth, kScreenHeight)), m_bounds(makeRect(0, 0, 0, 0)) {}

bool Camera::isVisible(const SDL_Rect& rect) const {
    return rectsOverlap(m_view, rect);
}

void Camera::move(int32_t dx, int32_t dy) {
    m_view.x = cutToSint16(m_view.x + dx);
    m_view.y = cutToSint16(m_view.y + dy);
}

void Camera::setBounds(SDL_Rect rect) {
    m_bounds = rect;
    m_view.y = rect.y;
}

void Camera::follow(const SDL_Rect& target) {
    const int32_t centre = target.x + static_cast<int32_t>(target.w) / 2 - kScreenWidth / 2;
    const int32_t limit = m_bounds.x + static_cast<int32_t>(m_bounds.w) - kScreenWidth;
    if (centre < m_bounds.x) {
        m_view.x = m_bounds.x;
    } else if (centre > limit) {
        m_view.x = cutToSint16(limit);
    } else {
        m_view.x = cutToSint16(centre);
    }
}
