#pragma once

#include "app/options.h"
#include "platform/clock.h"
#include "platform/game_state_manager.h"
#include "platform/state_factory.h"

#include <cstdint>
#include <functional>

// One run of the game as the command line asks for it: checks the options
// that need the file system, starts the engine, builds the state manager
// from the factory, and runs the main loop with the replay, recording,
// screenshot and frame-limit hooks. Every failure ends in one line on
// stderr and an exit status; nothing escapes as an exception.
class Application {
public:
    static constexpr int kExitSuccess = 0;  // quit, or the frame limit reached
    static constexpr int kExitFailure = 1;  // SDL, a shown frame or the game's data failed
    static constexpr int kExitUsage = 2;    // a bad option value, data directory or input log

    using FrameObserver = std::function<void(uint32_t frame, const GameStateManager& manager)>;

    // File names in `options` are resolved against the current directory now.
    Application(const Options& options, StateFactory factory);

    // Called after every frame has been drawn and shown (the per-frame trace
    // plugs in here).
    void setFrameObserver(FrameObserver observer) { m_frameObserver = std::move(observer); }

    // The clock that paces the frames and the looks at watched files
    // (default: SDL's); not owned. Tests give one that runs fast.
    void setClock(Clock* clock) { m_pClock = clock; }

    // The options with every file name made absolute.
    const Options& options() const { return m_options; }

    // Runs the game to its end and returns the exit status. The working
    // directory is the data directory during the run and restored after it.
    int run();

private:
    int runInDataDirectory();

    Options m_options;
    StateFactory m_factory;
    FrameObserver m_frameObserver;
    Clock* m_pClock = nullptr;
};
