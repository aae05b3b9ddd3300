#include "platform/input_router.h"

#include "platform/sound_event_log.h"

static_assert(InputRouter::padSource(InputRouter::kMaxPads - 1, InputRouter::kPadSlots - 1) < 32,
              "every source needs its own bit of a SourceMask");

void InputRouter::beginPoll() {
    // A new unpaused frame: remember the directions, forget last frame's edges.
    if (!m_paused) {
        m_input.previousHorizontal = m_input.horizontal;
        m_input.previousVertical = m_input.vertical;
        m_input.shootPressed = false;
        m_input.shootReleased = false;
        m_input.jumpPressed = false;
        m_input.jumpReleased = false;
    }
    // A single step lasts one frame: pause again before this poll's events.
    if (m_stepFrame) {
        m_paused = true;
        m_stepFrame = false;
    }
}

void InputRouter::press(GameInput input, int source) {
    SourceMask& held = m_held[indexOf(input)];
    const SourceMask self = SourceMask(1) << source;
    const bool heldElsewhere = (held & ~self) != 0;
    held |= self;
    if (!heldElsewhere) apply(input, true);
}

void InputRouter::release(GameInput input, int source) {
    SourceMask& held = m_held[indexOf(input)];
    held &= ~(SourceMask(1) << source);
    // Also a release never preceded by a press (a key held before the
    // window had focus): the game sees it, as it always has.
    if (held == 0) apply(input, false);
}

void InputRouter::releaseSources(SourceMask sources) {
    for (int i = 0; i < kGameInputCount; ++i) {
        SourceMask& held = m_held[i];
        if ((held & sources) == 0) continue;  // none of them holds this input
        held &= ~sources;
        if (held == 0) apply(gameInputAt(i), false);
    }
}

void InputRouter::apply(GameInput input, bool down) {
    InputState& in = m_input;
    switch (input) {
    case GameInput::Step:
        if (down && m_paused) {
            m_paused = false;
            m_stepFrame = true;
        }
        break;
    case GameInput::Pause:
        if (down) {
            m_paused = !m_paused;
            if (m_paused) raiseSoundEvent(SoundEvent::Pause);
        }
        break;
    case GameInput::Jump:
        in.jumpPressed = down;
        in.jumpHeld = down;
        in.jumpReleased = !down;
        break;
    case GameInput::Shoot:
        in.shootPressed = down;
        in.shootHeld = down;
        in.shootReleased = !down;
        break;
    // On each axis the input pressed last wins; releasing it falls back to
    // the opposite one if that is still held.
    case GameInput::Up:
        in.vertical = down ? Direction::Up : (in.downHeld ? Direction::Down : Direction::None);
        in.upHeld = down;
        break;
    case GameInput::Down:
        in.vertical = down ? Direction::Down : (in.upHeld ? Direction::Up : Direction::None);
        in.downHeld = down;
        break;
    case GameInput::Right:
        in.horizontal = down ? Direction::Right : (in.leftHeld ? Direction::Left : Direction::None);
        in.rightHeld = down;
        break;
    case GameInput::Left:
        in.horizontal = down ? Direction::Left : (in.rightHeld ? Direction::Right : Direction::None);
        in.leftHeld = down;
        break;
    }
    if (m_listener) m_listener(input, down);
}
