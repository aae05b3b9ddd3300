#include "platform/main_loop.h"

#include "platform/sound_event_log.h"

MainLoop::MainLoop(FrameHost& host, FramePacer& pacer) : m_host(host), m_pacer(pacer) {}

int MainLoop::run(std::unique_ptr<GameStateManager>& manager) {
    begin();
    for (;;) {
        const FrameEnd end = runFrame(*manager);
        if (end == FrameEnd::FlipFailed) return kFlipFailed;  // nothing more is drawn, waited for or destroyed
        m_pacer.endFrame();
        // Last, so the frame that saw the quit is updated, shown and paced in full.
        if (end == FrameEnd::Last) break;
    }
    manager.reset();
    return kQuit;
}

void MainLoop::begin() {
    m_frame = 0;
    m_pacer.start();
}

int MainLoop::runDueFrames(std::unique_ptr<GameStateManager>& manager) {
    for (int due = m_pacer.takeDueFrames(); due > 0; --due) {
        const FrameEnd end = runFrame(*manager);
        if (end == FrameEnd::FlipFailed) return kFlipFailed;
        if (end == FrameEnd::Last) {
            manager.reset();
            return kQuit;  // the frames still due are not run
        }
    }
    return kRunning;
}

MainLoop::FrameEnd MainLoop::runFrame(GameStateManager& manager) {
    const uint32_t frame = ++m_frame;
    frameSoundEvents().clear();  // the trace lists each frame's own sounds
    if (m_beforePoll) m_beforePoll(frame);
    m_host.pollInput();
    // While paused no state advances, but the frame is still drawn.
    if (!m_host.isPaused()) manager.update(m_host.getInput());
    manager.draw();
    if (m_afterDraw) m_afterDraw(frame);
    if (m_host.flip() == -1) return FrameEnd::FlipFailed;
    if (m_afterFrameShown) m_afterFrameShown(frame);
    return m_host.isQuitRequested() || frame == m_frameLimit ? FrameEnd::Last : FrameEnd::Continue;
}
