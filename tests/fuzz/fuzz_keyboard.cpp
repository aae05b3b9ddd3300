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
    InputState& in = m_state;
    in.previousHorizontal = in.horizontal;
    in.previousVertical = in.vertical;
    in.shootPressed = false;
    in.shootReleased = false;
    in.jumpPressed = false;
    in.jumpReleased = false;
    for (int round = 0; round < 2; ++round) {
        const uint8_t bits = nextByte();
        for (int key = 0; key < kKeyCount; ++key) {
            if ((bits >> key) & 1u) toggle(key);
        }
        if ((bits & kSameFrameBit) == 0) break;
    }
    return in;
}

void FuzzKeyboard::toggle(int key) {
    InputState& in = m_state;
    switch (key) {
        case 0: {
            const bool down = !in.upHeld;
            in.vertical = down ? Direction::Up : (in.downHeld ? Direction::Down : Direction::None);
            in.upHeld = down;
            break;
        }
        case 1: {
            const bool down = !in.downHeld;
            in.vertical = down ? Direction::Down : (in.upHeld ? Direction::Up : Direction::None);
            in.downHeld = down;
            break;
        }
        case 2: {
            const bool down = !in.leftHeld;
            in.horizontal = down ? Direction::Left : (in.rightHeld ? Direction::Right : Direction::None);
            in.leftHeld = down;
            break;
        }
        case 3: {
            const bool down = !in.rightHeld;
            in.horizontal = down ? Direction::Right : (in.leftHeld ? Direction::Left : Direction::None);
            in.rightHeld = down;
            break;
        }
        case 4: {
            const bool down = !in.jumpHeld;
            in.jumpPressed = down;
            in.jumpHeld = down;
            in.jumpReleased = !down;
            break;
        }
        default: {
            const bool down = !in.shootHeld;
            in.shootPressed = down;
            in.shootHeld = down;
            in.shootReleased = !down;
            break;
        }
    }
}
