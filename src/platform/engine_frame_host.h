#pragma once

#include "platform/frame_host.h"
#include "platform/game_engine.h"

// The game's frame host: forwards the loop's calls to the engine.
class EngineFrameHost : public FrameHost {
public:
    explicit EngineFrameHost(GameEngine& engine) : m_engine(engine) {}

    void pollInput() override { m_engine.pollInput(); }
    bool isPaused() const override { return m_engine.isPaused(); }
    InputState getInput() const override { return m_engine.getInput(); }
    int flip() override { return m_engine.flip(); }
    bool isQuitRequested() const override { return m_engine.isQuitRequested(); }

private:
    GameEngine& m_engine;
};
