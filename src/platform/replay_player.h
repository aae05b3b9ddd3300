#pragma once

#include "platform/replay_log.h"

#include <cstddef>
#include <cstdint>

// Plays an input log back through SDL's real event path: right before a
// frame's poll, the frame's logged events are pushed onto the event queue,
// marked as scripted so the engine can tell them from live keys.
class ReplayPlayer {
public:
    explicit ReplayPlayer(ReplayLog log);

    // Pushes the events logged for `frame`, in log order. Frames are fed in
    // increasing order; events of frames already passed are dropped.
    void feedFrame(uint32_t frame);

    // True once every logged event has been pushed.
    bool isFinished() const { return m_next >= m_log.events().size(); }

private:
    ReplayLog m_log;
    size_t m_next = 0;  // index of the first event not yet pushed
};
