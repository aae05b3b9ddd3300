#include "level/enemy.h"

#include "player/voltaro.h"
#include "resources/ini_dictionary.h"
#include "resources/sprite.h"
#include "world/geometry.h"

namespace {
const char* const kEnemyFile = "enemy.ini";
}

Enemy::Enemy() : Enemy(kX, kY) {}

Enemy::Enemy(int32_t x, int32_t y) : m_rect(makeRect(x, y, kWidth, kHeight)), m_collisionBox(&m_rect) {
    const IniDictionary dictionary(kEnemyFile);
    m_pSprite = std::make_unique<Sprite>(dictionary, kEnemyFile);
}

Enemy::~Enemy() = default;

const IniSchema& Enemy::fileKeys() {
    return Sprite::fileKeys();
}

void Enemy::update() {
    m_pSprite->update();
}

void Enemy::draw(const Camera& camera) {
    m_pSprite->draw(camera.toScreenX(m_rect.x), camera.toScreenY(m_rect.y), 0);
}

void Enemy::touch(Voltaro& player) {
    player.hurt();
}
