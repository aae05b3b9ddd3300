#pragma once

#include "app/options.h"
#include "platform/audio_service.h"
#include "platform/clock.h"
#include "platform/game_state_manager.h"
#include "platform/state_factory.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class GameEngine;

// One run of the game as the command line asks for it: checks the options
// that need the file system, starts the engine with the player's controls
// (controls.ini), builds the state manager
// from the factory, and runs the main loop with the replay, recording,
// screenshot and frame-limit hooks. Sound plays through the audio device
// when there is one (never in a failure: without it the game is silent),
// with the effects "sound.ini" names. Every failure ends in one line on
// stderr and an exit status; nothing escapes as an exception.
class Application {
public:
    static constexpr int kExitSuccess = 0;  // quit, or the frame limit reached
    static constexpr int kExitFailure = 1;  // SDL, a shown frame or the game's data failed
    static constexpr int kExitUsage = 2;    // a bad option value, data directory or input log

    using FrameObserver = std::function<void(uint32_t frame, const GameStateManager& manager)>;

    // File names in `options` are resolved against the current directory now.
    Application(const Options& options, StateFactory factory);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Called after every frame has been drawn and shown (the per-frame trace
    // plugs in here).
    void setFrameObserver(FrameObserver observer) { m_frameObserver = std::move(observer); }

    // The clock that paces the frames and the looks at watched files
    // (default: SDL's); not owned. Tests give one that runs fast.
    void setClock(Clock* clock) { m_pClock = clock; }

    // Plays through this service (not owned) instead of opening an audio
    // device; tests record what the game plays with it.
    void useAudioService(AudioService* service) { m_pAudioService = service; }

    // The options with every file name made absolute.
    const Options& options() const { return m_options; }

    // Runs the game to its end and returns the exit status. The working
    // directory is the data directory during the run and restored after it.
    int run();

    // For a host that wakes the game itself (the browser, once per display
    // refresh) instead of letting run wait between frames: start, then
    // runDueFrames at every wake until it returns an exit status.
    static constexpr int kRunning = -1;
    // Starts the game: kRunning, or the exit status of a run that could not start.
    int start();
    // Runs the frames due now: kRunning, or the exit status once the run has
    // ended (everything is then shut down as after run).
    int runDueFrames();
    // The number of the latest frame shown (0 before the first).
    uint32_t lastFrame() const { return m_lastFrame; }

private:
    struct Session;  // everything alive while the game runs

    int startInDataDirectory();
    // The audio device's service, or null (and at most one line on stderr) for a silent run.
    std::unique_ptr<AudioService> openAudio() const;
    // Runs the frames (all of them, or those due now) and turns the loop's
    // result or failure into an exit status, finishing the run once it ended.
    int runFrames(bool toTheEnd);
    // Shuts the session down, restores the working directory, returns `status`.
    int finish(int status);
    // Applies the player's controls.ini, if there is one, reporting its bad entries.
    void useControlsFile(GameEngine& engine);

    Options m_options;
    StateFactory m_factory;
    FrameObserver m_frameObserver;
    std::unique_ptr<Session> m_session;
    std::string m_previousDirectory;  // working directory before the run; empty = unchanged
    uint32_t m_lastFrame = 0;
    Clock* m_pClock = nullptr;
    AudioService* m_pAudioService = nullptr;  // not owned; null = open the device
};
