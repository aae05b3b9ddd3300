#include "app/application.h"

#include "app/live_reload.h"

#include "platform/engine_frame_host.h"
#include "platform/frame_pacer.h"
#include "platform/game_engine.h"
#include "platform/main_loop.h"
#include "platform/replay_log.h"
#include "platform/replay_player.h"
#include "platform/replay_recorder.h"
#include "platform/sdl_clock.h"
#include "platform/video_service.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>

namespace {
std::string absolute(const std::string& fileName) {
    if (fileName.empty()) return fileName;  // option not given
    std::error_code ignored;
    const std::filesystem::path path = std::filesystem::absolute(fileName, ignored);
    return path.empty() ? fileName : path.string();
}

void reportError(const std::string& message) {
    std::string line = message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::fprintf(stderr, "voltaro: %s\n", line.c_str());
}

// Registers the engine as the process-wide video service for one scope.
class VideoServiceRegistration {
public:
    explicit VideoServiceRegistration(VideoService* service) : m_previous(getVideoService()) {
        setVideoService(service);
    }
    ~VideoServiceRegistration() { setVideoService(m_previous); }
    VideoServiceRegistration(const VideoServiceRegistration&) = delete;
    VideoServiceRegistration& operator=(const VideoServiceRegistration&) = delete;

private:
    VideoService* m_previous;
};
}  // namespace

Application::Application(const Options& options, StateFactory factory)
    : m_options(options), m_factory(std::move(factory)) {
    // Files named on the command line are relative to where the user started
    // the program, not to the data directory.
    m_options.recordFile = absolute(m_options.recordFile);
    m_options.replayFile = absolute(m_options.replayFile);
    m_options.traceFile = absolute(m_options.traceFile);
    for (ScreenshotRequest& screenshot : m_options.screenshots) screenshot.file = absolute(screenshot.file);
}

int Application::run() {
    if (m_options.dataDirectory.empty()) return runInDataDirectory();  // play in the current directory

    std::error_code error;
    const std::filesystem::path previous = std::filesystem::current_path(error);
    if (!std::filesystem::is_directory(m_options.dataDirectory, error)) {
        reportError("--data: \"" + m_options.dataDirectory + "\" is not a directory");
        return kExitUsage;
    }
    std::filesystem::current_path(m_options.dataDirectory, error);
    if (error) {
        reportError("--data: cannot enter \"" + m_options.dataDirectory + "\": " + error.message());
        return kExitUsage;
    }
    const int status = runInDataDirectory();
    if (!previous.empty()) std::filesystem::current_path(previous, error);
    return status;
}

int Application::runInDataDirectory() {
    // Everything that can be wrong with the command line is found before
    // SDL starts.
    std::unique_ptr<ReplayPlayer> player;
    if (!m_options.replayFile.empty()) {
        ReplayLog log;
        std::string error;
        if (!ReplayLog::load(m_options.replayFile, log, error)) {
            reportError("--replay: " + error);
            return kExitUsage;
        }
        player.reset(new ReplayPlayer(std::move(log)));
    }
    std::unique_ptr<ReplayRecorder> recorder;
    if (!m_options.recordFile.empty()) {
        recorder.reset(new ReplayRecorder(m_options.recordFile));
        if (!recorder->isOpen()) {
            reportError("--record: cannot write \"" + m_options.recordFile + "\": " + recorder->openError());
            return kExitUsage;
        }
    }

    try {
        GameEngine::Settings settings;
        settings.scale = m_options.scale;
        settings.headless = m_options.headless;
        GameEngine engine(settings);
        // Before the manager: every state loads and draws through the service.
        VideoServiceRegistration registration(&engine);
        if (player) engine.setLiveKeyboardIgnored(true);
        if (recorder) engine.setEventObserver([&recorder](const SDL_Event& event) { recorder->record(event); });

        SdlClock sdlClock;
        Clock& clock = m_pClock != nullptr ? *m_pClock : sdlClock;
        // Before the manager, whose first state it records the files of.
        LiveReload liveReload(clock, m_options.watch);
        std::unique_ptr<GameStateManager> manager(new GameStateManager(liveReload.wrap(m_factory)));

        FramePacer pacer(clock, !m_options.headless);
        EngineFrameHost host(engine);
        MainLoop loop(host, pacer);
        loop.setFrameLimit(m_options.frameLimit);
        loop.setBeforePoll([&](uint32_t frame) {
            // Between frames, so no update ever sees half-reloaded data.
            liveReload.betweenFrames(*manager);
            if (recorder) recorder->beginFrame(frame);
            if (player) player->feedFrame(frame);
        });
        loop.setAfterDraw([&](uint32_t) { liveReload.drawMessage(); });
        engine.setReloadKeyAction([&liveReload] { liveReload.requestReload(); });
        uint32_t lastFrame = 0;
        loop.setAfterFrameShown([&](uint32_t frame) {
            lastFrame = frame;
            for (const ScreenshotRequest& screenshot : m_options.screenshots) {
                if (screenshot.frame != frame) continue;
                std::string error;
                if (!engine.saveScreen(screenshot.file, error)) {
                    reportError("cannot save the screenshot \"" + screenshot.file + "\": " + error);
                }
            }
            if (m_frameObserver) m_frameObserver(frame, *manager);
        });

        const int status = loop.run(manager);
        if (status != kExitSuccess) {
            // Showing a frame failed: the loop stops at once and leaves the
            // manager and its state alive.
            static_cast<void>(manager.release());
            return status;
        }
        for (const ScreenshotRequest& screenshot : m_options.screenshots) {
            if (screenshot.frame > lastFrame) {
                reportError("no screenshot \"" + screenshot.file + "\": the run ended after frame " +
                            std::to_string(lastFrame) + ", before frame " + std::to_string(screenshot.frame));
            }
        }
        return kExitSuccess;
    } catch (const std::exception& failure) {
        // SDL could not start, or the game's data is unusable (a state's
        // checks throw FatalDataError).
        reportError(failure.what());
        return kExitFailure;
    }
}
