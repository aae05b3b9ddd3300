#include "app/application.h"

#include "app/controls_file.h"
#include "app/live_reload.h"

#include "platform/audio_device.h"
#include "platform/audio_service.h"
#include "platform/engine_frame_host.h"
#include "platform/frame_pacer.h"
#include "platform/game_engine.h"
#include "platform/main_loop.h"
#include "platform/replay_log.h"
#include "platform/replay_player.h"
#include "platform/replay_recorder.h"
#include "platform/sdl_clock.h"
#include "platform/video_service.h"
#include "resources/sound_settings.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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

// Registers the audio service (null: the silent stand-in) for one scope.
class AudioServiceRegistration {
public:
    explicit AudioServiceRegistration(AudioService* service) { setAudioService(service); }
    ~AudioServiceRegistration() { setAudioService(nullptr); }
    AudioServiceRegistration(const AudioServiceRegistration&) = delete;
    AudioServiceRegistration& operator=(const AudioServiceRegistration&) = delete;
};
}  // namespace

// Everything alive while the game runs, in the order it is built; it is
// torn down in reverse, the states before the engine they draw through.
struct Application::Session {
    std::unique_ptr<ReplayPlayer> player;
    std::unique_ptr<ReplayRecorder> recorder;
    std::unique_ptr<GameEngine> engine;
    std::unique_ptr<VideoServiceRegistration> registration;
    std::unique_ptr<AudioService> audioDevice;  // null when sound goes elsewhere or nowhere
    std::unique_ptr<AudioServiceRegistration> audioRegistration;
    SdlClock clock;
    std::unique_ptr<LiveReload> liveReload;  // before the manager: its factory calls back into it
    std::unique_ptr<GameStateManager> manager;
    std::unique_ptr<FramePacer> pacer;
    std::unique_ptr<EngineFrameHost> host;
    std::unique_ptr<MainLoop> loop;
};

Application::Application(const Options& options, StateFactory factory)
    : m_options(options), m_factory(std::move(factory)) {
    // Files named on the command line are relative to where the user started
    // the program, not to the data directory.
    m_options.recordFile = absolute(m_options.recordFile);
    m_options.replayFile = absolute(m_options.replayFile);
    m_options.traceFile = absolute(m_options.traceFile);
    for (ScreenshotRequest& screenshot : m_options.screenshots) screenshot.file = absolute(screenshot.file);
}

Application::~Application() {
    if (m_session) finish(kExitSuccess);  // a host that stopped waking the game
}

int Application::run() {
    const int status = start();
    return status == kRunning ? runFrames(true) : status;
}

int Application::runDueFrames() {
    return m_session ? runFrames(false) : kExitFailure;  // not started
}

int Application::start() {
    if (m_options.dataDirectory.empty()) return startInDataDirectory();  // play in the current directory

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
    m_previousDirectory = previous.string();
    const int status = startInDataDirectory();
    return status == kRunning ? kRunning : finish(status);
}

void Application::useControlsFile(GameEngine& engine) {
    const std::string fileName = ControlsFile::locate();
    if (fileName.empty()) return;  // the default controls
    const ControlsFile controls(fileName, engine.standardKeys());
    for (const std::string& problem : controls.problems()) reportError(problem);
    engine.setControls(controls.bindings());
}

std::unique_ptr<AudioService> Application::openAudio() const {
    // A headless run is silent unless SDL_AUDIODRIVER asks for a driver
    // (the disk driver writes the mix to a file, for tests).
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    if (m_options.headless && (driver == nullptr || *driver == '\0')) return nullptr;
    AudioSettings settings;
    settings.volume = m_options.volume;
    settings.muted = m_options.muted;
    std::string reason;
    std::unique_ptr<AudioService> device = openAudioDevice(settings, reason);
    if (!device) reportError("no sound: " + reason + "; the game plays silently");
    return device;
}

int Application::startInDataDirectory() {
    // Everything that can be wrong with the command line is found before
    // SDL starts.
    std::unique_ptr<Session> session(new Session);
    if (!m_options.replayFile.empty()) {
        ReplayLog log;
        std::string error;
        if (!ReplayLog::load(m_options.replayFile, log, error)) {
            reportError("--replay: " + error);
            return kExitUsage;
        }
        session->player.reset(new ReplayPlayer(std::move(log)));
    }
    if (!m_options.recordFile.empty()) {
        session->recorder.reset(new ReplayRecorder(m_options.recordFile));
        if (!session->recorder->isOpen()) {
            reportError("--record: cannot write \"" + m_options.recordFile + "\": " + session->recorder->openError());
            return kExitUsage;
        }
    }

    try {
        GameEngine::Settings settings;
        settings.scale = m_options.scale;
        settings.fitDesktop = m_options.fitDesktop;
        settings.fullscreen = m_options.fullscreen;
        settings.headless = m_options.headless;
        settings.overlayShown = m_options.overlayShown;
        session->engine.reset(new GameEngine(settings));
        GameEngine& engine = *session->engine;
        // Before the manager: every state loads and draws through the service.
        session->registration.reset(new VideoServiceRegistration(&engine));
        useControlsFile(engine);
        // After the engine (audio starts beside SDL's video, and closes
        // before SDL_Quit) and before the manager (the menu starts its tune).
        AudioService* audio = m_pAudioService;
        if (audio == nullptr) {
            session->audioDevice = openAudio();
            audio = session->audioDevice.get();
        }
        session->audioRegistration.reset(new AudioServiceRegistration(audio));
        if (audio != nullptr) SoundSettings::read(SoundSettings::kFileName).loadInto(*audio);
        ReplayPlayer* player = session->player.get();
        ReplayRecorder* recorder = session->recorder.get();
        if (player) engine.setLiveKeyboardIgnored(true);
        if (recorder) engine.setEventObserver([recorder](const SDL_Event& event) { recorder->record(event); });

        Clock& clock = m_pClock != nullptr ? *m_pClock : session->clock;
        // Before the manager, whose first state it records the files of.
        session->liveReload.reset(new LiveReload(clock, m_options.watch));
        LiveReload* const liveReload = session->liveReload.get();
        session->manager.reset(new GameStateManager(liveReload->wrap(m_factory)));
        GameStateManager& manager = *session->manager;

        session->pacer.reset(new FramePacer(clock, !m_options.headless));
        session->host.reset(new EngineFrameHost(engine));
        session->loop.reset(new MainLoop(*session->host, *session->pacer));
        MainLoop& loop = *session->loop;
        loop.setFrameLimit(m_options.frameLimit);
        GameEngine* const shownEngine = &engine;
        loop.setBeforePoll([this, player, recorder, shownEngine, liveReload, &manager](uint32_t frame) {
            // Between frames, so no update ever sees half-reloaded data.
            liveReload->betweenFrames(manager);
            if (recorder) recorder->beginFrame(frame);
            if (player) player->feedFrame(frame);
            // A picture saved for the command line shows the overlay as the
            // command line set it, whatever F3 did during the run.
            const auto savedNow = [frame](const ScreenshotRequest& request) { return request.frame == frame; };
            shownEngine->pinOverlayToStartSetting(
                std::any_of(m_options.screenshots.begin(), m_options.screenshots.end(), savedNow));
        });
        loop.setAfterDraw([liveReload](uint32_t) { liveReload->drawMessage(); });
        engine.standardKeys().add(SDLK_F5, KMOD_NONE, "reload", [liveReload] { liveReload->requestReload(); });
        loop.setAfterFrameShown([this, &engine, &manager](uint32_t frame) {
            m_lastFrame = frame;
            for (const ScreenshotRequest& screenshot : m_options.screenshots) {
                if (screenshot.frame != frame) continue;
                std::string error;
                if (!engine.saveScreen(screenshot.file, error)) {
                    reportError("cannot save the screenshot \"" + screenshot.file + "\": " + error);
                }
            }
            if (m_frameObserver) m_frameObserver(frame, manager);
        });
        loop.begin();
    } catch (const std::exception& failure) {
        // SDL could not start, or the game's data is unusable (a state's
        // checks throw FatalDataError).
        reportError(failure.what());
        return kExitFailure;
    }
    m_lastFrame = 0;
    m_session = std::move(session);
    return kRunning;
}

int Application::runFrames(bool toTheEnd) {
    Session& session = *m_session;
    int status = MainLoop::kRunning;
    try {
        status = toTheEnd ? session.loop->run(session.manager) : session.loop->runDueFrames(session.manager);
    } catch (const std::exception& failure) {
        // The game's data is unusable (a level's checks throw FatalDataError).
        reportError(failure.what());
        return finish(kExitFailure);
    }
    if (status == MainLoop::kRunning) return kRunning;
    if (status == MainLoop::kFlipFailed) {
        // Showing a frame failed: the loop stops at once and leaves the
        // manager and its state alive.
        static_cast<void>(session.manager.release());
        return finish(kExitFailure);
    }
    for (const ScreenshotRequest& screenshot : m_options.screenshots) {
        if (screenshot.frame > m_lastFrame) {
            reportError("no screenshot \"" + screenshot.file + "\": the run ended after frame " +
                        std::to_string(m_lastFrame) + ", before frame " + std::to_string(screenshot.frame));
        }
    }
    return finish(kExitSuccess);
}

int Application::finish(int status) {
    m_session.reset();
    if (!m_previousDirectory.empty()) {
        std::error_code ignored;
        std::filesystem::current_path(m_previousDirectory, ignored);
        m_previousDirectory.clear();
    }
    return status;
}
