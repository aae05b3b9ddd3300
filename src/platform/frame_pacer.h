#pragma once

#include "platform/clock.h"

// Holds the game at 60 frames per second with whole milliseconds: frames end
// 17, 17 and 16 ms apart in a repeating cycle (50 ms per three frames). A
// late frame is not made up: the schedule restarts from the moment it ended.
class FramePacer {
public:
    // An unpaced pacer (headless runs) only advances the table index.
    explicit FramePacer(Clock& clock, bool paced = true);

    // Starts the schedule now: table index 0, deadline = the current tick.
    void start();
    // Ends one frame: waits in 1 ms sleeps until the frame's deadline, or
    // re-bases the schedule at the current tick when the frame is late.
    void endFrame();

    int tableIndex() const { return m_tableIndex; }
    Uint32 deadline() const { return m_deadline; }

    static constexpr int kTableSize = 3;
    // Frame durations in milliseconds, used in this order, over and over.
    static constexpr Uint32 kFrameMilliseconds[kTableSize] = {17, 17, 16};

private:
    Clock& m_clock;
    bool m_paced;
    int m_tableIndex = 0;
    Uint32 m_deadline = 0;  // tick (ms) at which the current frame may end
};
