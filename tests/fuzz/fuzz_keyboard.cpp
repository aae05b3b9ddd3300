#include "fuzz/fuzz_keyboard.h"

namespace {
constexpr int kKeyCount = 6;  // up, down, left, right, jump, shoot
constexpr uint8_t kSameFrameBit = 0x80;
}  // namespace

uint8_t FuzzKeyboard::nextByte() {
    if (m_next >= m_bytes.size()) return 0;  // out of bytes: no key changes
    return static_cast<uint8_t>(m_bytes[m_next++]);
}

InputState FuzzKeyboard::nextFrame() {
    m_router.beginPoll();
    for (int round = 0; round < 2; ++round) {
        const uint8_t bits = nextByte();
        for (int key = 0; key < kKeyCount; ++key) {
            if ((bits >> key) & 1u) toggle(key);
        }
        if ((bits & kSameFrameBit) == 0) break;
    }
    return m_router.input();
}

void FuzzKeyboard::toggle(int key) {
    static constexpr GameInput kKeys[kKeyCount] = {GameInput::Up,    GameInput::Down, GameInput::Left,
                                                   GameInput::Right, GameInput::Jump, GameInput::Shoot};
    const GameInput input = kKeys[key];
    if (m_router.isHeld(input)) {
        m_router.release(input, InputRouter::keySource(0));
    } else {
        m_router.press(input, InputRouter::keySource(0));
    }
}
