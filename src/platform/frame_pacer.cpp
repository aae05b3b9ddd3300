#include "platform/frame_pacer.h"

FramePacer::FramePacer(Clock& clock, bool paced) : m_clock(clock), m_paced(paced) {}

void FramePacer::start() {
    m_tableIndex = 0;
    m_deadline = m_paced ? m_clock.ticks() : 0;
}

void FramePacer::endFrame() {
    // The deadline is unsigned and wraps with the tick counter.
    m_deadline += kFrameMilliseconds[m_tableIndex];
    m_tableIndex = (m_tableIndex + 1) % kTableSize;
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
