#include "resources/debug_info.h"

#include "platform/video_service.h"

namespace {

// The overlay's fixed grid, in screen pixels, independent of the font's cell size.
constexpr int32_t kColumnLeft = 8;
constexpr int32_t kColumnSpeed = 16;   // right-aligns two digits with the three at kColumnLeft
constexpr int32_t kColumnFraction = 40;
constexpr int32_t kRowX = 8;
constexpr int32_t kRowY = 16;
constexpr int32_t kRowXSpeed = 24;
constexpr int32_t kRowYSpeed = 32;
constexpr int32_t kRowContacts = 48;

constexpr int32_t kScreenWidth = 256;   // pixels
constexpr int32_t kScreenHeight = 240;  // pixels

// value >> 8 as an arithmetic shift, i.e. division by 256 rounding down,
// written so that it is defined for negative values too.
int32_t floorDiv256(int32_t value) {
    if (value >= 0) return value / 256;
    return -((-(value + 1)) / 256) - 1;  // value + 1 keeps the negation in range
}

// The low 8 bits (0 to 255), taken from the two's complement pattern.
int32_t lowByte(int32_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value) & 0xffu);
}

}  // namespace

DebugInfo::DebugInfo() : m_font("font.ini") {}

// C++ division truncates toward zero and the remainder keeps the dividend's
// sign, which is what the overlay shows: a negative position gets a "-".
void DebugInfo::draw(int32_t xPosition, int32_t yPosition, int32_t xSpeed, int32_t ySpeed, int32_t contactBits) {
    const VideoService* video = getVideoService();
    if (video != nullptr && !video->isDebugOverlayShown()) return;  // the player hid it
    m_font.drawNumber((xPosition / 256) % kScreenWidth, kColumnLeft, kRowX, 3);
    m_font.drawNumber(lowByte(xPosition), kColumnFraction, kRowX, 3);
    m_font.drawNumber(floorDiv256(yPosition) % kScreenHeight, kColumnLeft, kRowY, 3);
    m_font.drawNumber(lowByte(yPosition), kColumnFraction, kRowY, 3);
    m_font.drawNumber(xSpeed / 256, kColumnSpeed, kRowXSpeed, 2);
    m_font.drawNumber(lowByte(xSpeed), kColumnFraction, kRowXSpeed, 3);
    m_font.drawNumber(lowByte(floorDiv256(ySpeed)), kColumnLeft, kRowYSpeed, 3);
    m_font.drawNumber(lowByte(ySpeed), kColumnFraction, kRowYSpeed, 3);
    m_font.drawNumber(contactBits, kColumnSpeed, kRowContacts, 2);
}
