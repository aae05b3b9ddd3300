#pragma once

#include "platform/input_state.h"

// What the main loop needs from the video and input service each frame.
// The game's host is the engine (EngineFrameHost); tests use fakes.
class FrameHost {
public:
    virtual ~FrameHost();
    // Drains pending events into the input record and the pause flags.
    virtual void pollInput() = 0;
    virtual bool isPaused() const = 0;
    // A copy of the input record.
    virtual InputState getInput() const = 0;
    // Shows the frame: 0 on success, -1 on failure.
    virtual int flip() = 0;
    virtual bool isQuitRequested() const = 0;
};
