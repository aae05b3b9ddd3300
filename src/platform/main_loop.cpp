#include "platform/main_loop.h"

MainLoop::MainLoop(FrameHost& host, FramePacer& pacer) : m_host(host), m_pacer(pacer) {}

int MainLoop::run(std::unique_ptr<GameStateManager>& manager) {
    m_pacer.start();
    for (uint32_t frame = 1;; ++frame) {
        if (m_beforePoll) m_beforePoll(frame);
        m_host.pollInput();
        // While paused no state advances, but the frame is still drawn.
        if (!m_host.isPaused()) manager->update(m_host.getInput());
        manager->draw();
        if (m_afterDraw) m_afterDraw(frame);
        if (m_host.flip() == -1) return 1;  // nothing more is drawn, waited for or destroyed
        if (m_afterFrameShown) m_afterFrameShown(frame);
        m_pacer.endFrame();
        // Last, so the frame that saw the quit is updated, shown and paced in full.
        if (m_host.isQuitRequested() || frame == m_frameLimit) break;
    }
    manager.reset();
    return 0;
}
