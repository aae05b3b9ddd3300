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
// which quit was requested (or after the frame limit). The frame's sound
// events (frameSoundEvents) start empty with each frame.
//
// The loop either owns the thread (run: it waits between frames itself) or
// is woken from outside (begin, then runDueFrames at every wake: the
// browser's animation frames), in which case the pacer decides how many
// frames are due at each wake and nothing ever waits.
class MainLoop {
public:
    using FrameHook = std::function<void(uint32_t frame)>;

    static constexpr int kRunning = -1;     // runDueFrames: the game goes on
    static constexpr int kQuit = 0;         // quit (or the frame limit); the manager is destroyed
    static constexpr int kFlipFailed = 1;   // showing a frame failed; the manager is left alive

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

    // Runs the frames, waiting between them. Returns kQuit after a quit, with
    // the manager destroyed, or kFlipFailed at once, leaving it alive.
    int run(std::unique_ptr<GameStateManager>& manager);

    // Starts the frame count and the pacing schedule for runDueFrames.
    void begin();
    // Runs the frames that are due now, back to back, without waiting.
    // Returns kRunning while the game goes on, else what run would return.
    int runDueFrames(std::unique_ptr<GameStateManager>& manager);

    // The number of the latest frame shown (0 before the first).
    uint32_t frame() const { return m_frame; }

private:
    enum class FrameEnd { Continue, Last, FlipFailed };
    // One frame up to and including the after-shown hook; no waiting.
    FrameEnd runFrame(GameStateManager& manager);

    FrameHost& m_host;
    FramePacer& m_pacer;
    FrameHook m_beforePoll;
    FrameHook m_afterDraw;
    FrameHook m_afterFrameShown;
    uint32_t m_frameLimit = 0;
    uint32_t m_frame = 0;
};
