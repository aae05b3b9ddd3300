#include "platform/frame_pacer.h"

#include "platform/wrapping_arithmetic.h"

namespace {
// Milliseconds from `now` to `deadline`, negative once it has passed; right
// across the wrap of the 32-bit tick counter.
int32_t millisecondsUntil(Uint32 deadline, Uint32 now) {
    return wrapToInt32(deadline - now);
}
}  // namespace

FramePacer::FramePacer(Clock& clock, bool paced) : m_clock(clock), m_paced(paced) {}

void FramePacer::start() {
    m_tableIndex = 0;
    m_deadline = m_paced ? m_clock.ticks() : 0;
}

void FramePacer::endFrame() {
    advance();
    if (!m_paced) return;  // headless: frames run back to back

    Uint32 now = m_clock.ticks();
    if (m_deadline <= now) {
        // On time or late: the next frame gets its full duration from now.
        m_deadline = m_clock.ticks();
        return;  // no wait
    }
    while (m_deadline > now) {
        m_clock.delay(1);
        now = m_clock.ticks();
    }
}

int FramePacer::takeDueFrames() {
    if (!m_paced) {
        advance();
        return 1;  // no schedule: one frame per wake
    }
    const Uint32 now = m_clock.ticks();
    int due = 0;
    // The deadline is where the next frame may begin (the end of the last).
    while (due < kMaxFramesPerWake &&
           millisecondsUntil(m_deadline, now) <= static_cast<int32_t>(kWakeSlackMilliseconds)) {
        advance();
        ++due;
    }
    // Still behind after a whole cycle (a stall, a hidden page): the frames
    // just granted count as run now, and the next gets its full duration
    // from here, as after a late frame.
    if (millisecondsUntil(m_deadline, now) < 0) m_deadline = now + kFrameMilliseconds[m_tableIndex];
    return due;
}

void FramePacer::advance() {
    // The deadline is unsigned and wraps with the tick counter.
    m_deadline += kFrameMilliseconds[m_tableIndex];
    m_tableIndex = (m_tableIndex + 1) % kTableSize;
}
