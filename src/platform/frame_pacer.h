#pragma once

#include "platform/clock.h"

// Holds the game at 60 frames per second with whole milliseconds: frames end
// 17, 17 and 16 ms apart in a repeating cycle (50 ms per three frames). A
// late frame is not made up: the schedule restarts from the moment it ended.
//
// Two ways to use it. A loop that owns its thread calls endFrame after each
// frame and is held there until the next may start. A loop that is woken
// from outside (the browser wakes it once per display refresh, at 60, 120 or
// 144 Hz alike) asks takeDueFrames at each wake how many frames to run now;
// the same deadlines then give 60 updates a second whatever the refresh rate.
class FramePacer {
public:
    // An unpaced pacer (headless runs) only advances the table index.
    explicit FramePacer(Clock& clock, bool paced = true);

    // Starts the schedule now: table index 0, deadline = the current tick.
    void start();
    // Ends one frame: waits in 1 ms sleeps until the frame's deadline, or
    // re-bases the schedule at the current tick when the frame is late.
    void endFrame();

    // For a loop woken from outside: the number of frames to run now (0 up
    // to kMaxFramesPerWake), with the schedule advanced past them. Never
    // waits. A frame whose deadline falls within kWakeSlackMilliseconds from
    // now is due already, so that wakes which land just before a deadline do
    // not leave the frame to the wake after. When more frames are due than
    // one wake may run, the schedule restarts now: lost time is not made up,
    // and the next frame is due a full frame duration later.
    // Unpaced: one frame per wake.
    int takeDueFrames();

    int tableIndex() const { return m_tableIndex; }
    Uint32 deadline() const { return m_deadline; }

    static constexpr int kTableSize = 3;
    // Frame durations in milliseconds, used in this order, over and over.
    static constexpr Uint32 kFrameMilliseconds[kTableSize] = {17, 17, 16};
    // One cycle (50 ms): a wake runs at most this many frames.
    static constexpr int kMaxFramesPerWake = kTableSize;
    // How early (ms) a woken loop may run a frame: wakes come at the
    // display's rhythm, which jitters by a few milliseconds around ours.
    static constexpr Uint32 kWakeSlackMilliseconds = 4;

private:
    // Moves the deadline to the end of the current frame and steps the table.
    void advance();

    Clock& m_clock;
    bool m_paced;
    int m_tableIndex = 0;
    Uint32 m_deadline = 0;  // tick (ms) at which the current frame may end
};
