#pragma once

#include "platform/frame_host.h"
#include "platform/frame_pacer.h"
#include "platform/game_state_manager.h"

#include <cstdint>
#include <functional>
#include <memory>

// The fixed-rate frame loop. Each pass is one frame, numbered from 1: poll
// the input, update the current state unless paused, draw, show, wait for
// the frame's share of the 17, 17, 16 ms cycle, and leave after the frame in
// which quit was requested (or after the frame limit).
class MainLoop {
public:
    using FrameHook = std::function<void(uint32_t frame)>;

    MainLoop(FrameHost& host, FramePacer& pacer);

    // Runs before the frame's poll (a replay feeds the frame's events here).
    void setBeforePoll(FrameHook hook) { m_beforePoll = std::move(hook); }
    // Runs after the state has drawn the frame, before it is shown (an
    // overlay of the application's own).
    void setAfterDraw(FrameHook hook) { m_afterDraw = std::move(hook); }
    // Runs after the frame has been drawn and shown, before the wait
    // (screenshots, the per-frame trace).
    void setAfterFrameShown(FrameHook hook) { m_afterFrameShown = std::move(hook); }
    // Stops after this frame as if quit had been requested; 0 = no limit.
    void setFrameLimit(uint32_t frames) { m_frameLimit = frames; }

    // Runs the frames. Returns 0 after a quit, with the manager destroyed;
    // returns 1 at once when showing a frame failed, leaving the manager alive.
    int run(std::unique_ptr<GameStateManager>& manager);

private:
    FrameHost& m_host;
    FramePacer& m_pacer;
    FrameHook m_beforePoll;
    FrameHook m_afterDraw;
    FrameHook m_afterFrameShown;
    uint32_t m_frameLimit = 0;
};
