// voltaro-bench: measures what a frame, a level load and the start-up cost,
// on a game's data and its recorded runs, and prints Markdown tables.
//
// Each recorded run (an input log such as tests/e2e/replays/*.log) is played
// headless from the stage select, exactly as `voltaro --headless --replay`
// plays it; every frame spent wholly inside the level is timed in three
// steps: the update, the draw, and the show (enlarging into the window when
// scaled, then SDL_Flip). The frame that switches from the menu to the level
// is left out: it loads the level, which is timed on its own.

#include "frame_times.h"

#include "app/default_state_factory.h"
#include "level/level.h"
#include "platform/game_engine.h"
#include "platform/game_state_manager.h"
#include "platform/replay_log.h"
#include "platform/replay_player.h"
#include "platform/video_service.h"
#include "resources/ini_dictionary.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double microsecondsBetween(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::micro>(end - start).count();
}

struct Arguments {
    std::string dataDirectory = VOLTARO_BENCH_GAME_DIR;
    std::string replayDirectory = VOLTARO_BENCH_REPLAY_DIR;
    std::string voltaro;            // the executable for the start-up runs; empty = none
    std::vector<int> scales{1, 3};
    uint32_t frameLimit = 0;        // frames per run; 0 = the whole recorded run
    int loads = 20;                 // level loads timed per level
    int startups = 10;              // start-up runs timed per mode
    int windowRuns = 3;             // paced window runs per scale (needs --voltaro and a display)
    uint32_t windowFrames = 600;    // frames per paced window run
};

const char* const kUsage =
    "usage: voltaro-bench [--data DIR] [--replays DIR] [--scales 1,3] [--frames N] [--loads N]\n"
    "                     [--voltaro PATH [--startups N]]\n"
    "  --data DIR      the game's data folder (default: the sample game)\n"
    "  --replays DIR   the recorded runs to play, every *.log in DIR (default: tests/e2e/replays)\n"
    "  --scales LIST   window scales to time the show step at (default: 1,3)\n"
    "  --frames N      stop each run after frame N (default: the whole run)\n"
    "  --loads N       loads timed per level (default: 20)\n"
    "  --voltaro PATH  also time PATH from exec to its first frame shown (--frames 1)\n"
    "  --startups N    start-up runs per mode (default: 10)\n"
    "  --window-runs N paced runs per scale in a window, for CPU use and memory (default: 3;\n"
    "                  needs --voltaro and a display)\n"
    "  --window-frames N  frames per paced window run (default: 600)\n";

bool parseCount(const char* text, long minimum, long& value) {
    char* end = nullptr;
    value = std::strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= minimum && value <= 1000000;
}

bool parseArguments(int argc, char** argv, Arguments& arguments) {
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (i + 1 >= argc) return false;  // every option takes a value
        const char* value = argv[++i];
        long number = 0;
        if (name == "--data") {
            arguments.dataDirectory = value;
        } else if (name == "--replays") {
            arguments.replayDirectory = value;
        } else if (name == "--voltaro") {
            arguments.voltaro = value;
        } else if (name == "--frames" && parseCount(value, 1, number)) {
            arguments.frameLimit = static_cast<uint32_t>(number);
        } else if (name == "--loads" && parseCount(value, 1, number)) {
            arguments.loads = static_cast<int>(number);
        } else if (name == "--startups" && parseCount(value, 1, number)) {
            arguments.startups = static_cast<int>(number);
        } else if (name == "--window-runs" && parseCount(value, 0, number)) {
            arguments.windowRuns = static_cast<int>(number);
        } else if (name == "--window-frames" && parseCount(value, 1, number)) {
            arguments.windowFrames = static_cast<uint32_t>(number);
        } else if (name == "--scales") {
            arguments.scales.clear();
            std::string list = value;
            size_t start = 0;
            while (start <= list.size()) {
                const size_t comma = std::min(list.find(',', start), list.size());
                if (!parseCount(list.substr(start, comma - start).c_str(), 1, number) ||
                    number > GameEngine::kMaxScale) {
                    return false;
                }
                arguments.scales.push_back(static_cast<int>(number));
                start = comma + 1;
            }
        } else {
            return false;
        }
    }
    return true;
}

// The level maps print a line on standard output when they load; the tables
// go to the real standard output, which this keeps while the rest is muted.
class MutedStandardOutput {
public:
    MutedStandardOutput() : m_saved(dup(STDOUT_FILENO)) {
        std::fflush(stdout);
        const int nowhere = open("/dev/null", O_WRONLY);
        if (nowhere >= 0) {
            dup2(nowhere, STDOUT_FILENO);
            close(nowhere);
        }
    }
    ~MutedStandardOutput() {
        std::fflush(stdout);
        if (m_saved < 0) return;  // never muted
        dup2(m_saved, STDOUT_FILENO);
        close(m_saved);
    }
    MutedStandardOutput(const MutedStandardOutput&) = delete;
    MutedStandardOutput& operator=(const MutedStandardOutput&) = delete;

private:
    int m_saved;
};

struct RunResult {
    std::string name;
    int scale = 1;
    FrameTimes update;
    FrameTimes draw;
    FrameTimes show;
    FrameTimes frame;
};

bool isLevel(const GameState* state) {
    return dynamic_cast<const Level*>(state) != nullptr;
}

// Plays one recorded run headless at one scale and times its level frames.
RunResult playRun(const std::string& logFile, int scale, uint32_t frameLimit) {
    ReplayLog log;
    std::string error;
    if (!ReplayLog::load(logFile, log, error)) throw std::runtime_error(error);
    const uint32_t lastFrame = log.events().empty() ? 1 : log.events().back().frame;
    const uint32_t frames = frameLimit != 0 ? std::min(frameLimit, lastFrame) : lastFrame;

    RunResult result{std::filesystem::path(logFile).stem().string(), scale, FrameTimes(frames),
                     FrameTimes(frames), FrameTimes(frames), FrameTimes(frames)};
    GameEngine::Settings settings;
    settings.scale = scale;
    settings.headless = true;
    GameEngine engine(settings);
    setVideoService(&engine);
    engine.setLiveKeyboardIgnored(true);
    {
        GameStateManager manager(defaultStateFactory());
        ReplayPlayer player(std::move(log));
        for (uint32_t frame = 1; frame <= frames; ++frame) {
            player.feedFrame(frame);
            engine.pollInput();
            const bool inLevel = isLevel(manager.currentState());
            const Clock::time_point start = Clock::now();
            if (!engine.isPaused()) manager.update(engine.getInput());
            const Clock::time_point updated = Clock::now();
            manager.draw();
            const Clock::time_point drawn = Clock::now();
            if (engine.flip() == -1) throw std::runtime_error("showing a frame failed");
            const Clock::time_point shown = Clock::now();
            if (inLevel) {
                result.update.add(microsecondsBetween(start, updated));
                result.draw.add(microsecondsBetween(updated, drawn));
                result.show.add(microsecondsBetween(drawn, shown));
                result.frame.add(microsecondsBetween(start, shown));
            }
            if (engine.isQuitRequested()) break;
        }
    }
    setVideoService(nullptr);
    return result;
}

struct LoadResult {
    std::string level;
    FrameTimes times;  // microseconds per load
};

// The levels and the first character of the game's stage select.
std::vector<std::string> listed(const IniDictionary& stageSelect, const char* section, const char* prefix) {
    std::vector<std::string> names;
    const int amount = std::max(0, std::min(stageSelect.getInt("amount", section, 0), 1000));
    for (int i = 0; i < amount; ++i) {
        names.push_back(stageSelect.getString((prefix + std::to_string(i)).c_str(), section, "empty"));
    }
    return names;
}

std::vector<LoadResult> timeLevelLoads(int loads) {
    const IniDictionary stageSelect("stageselect.ini");
    const std::vector<std::string> levels = listed(stageSelect, "Levels", "level");
    const std::vector<std::string> characters = listed(stageSelect, "Voltaros", "voltaro");
    if (characters.empty()) return {};  // nothing to load a level with

    std::vector<LoadResult> results;
    GameEngine::Settings settings;
    settings.headless = true;
    GameEngine engine(settings);
    setVideoService(&engine);
    for (const std::string& levelName : levels) {
        LoadResult result{levelName, FrameTimes(static_cast<size_t>(loads))};
        for (int i = 0; i < loads; ++i) {
            const Clock::time_point start = Clock::now();
            { Level level(levelName, characters.front()); }
            result.times.add(microsecondsBetween(start, Clock::now()));
        }
        results.push_back(std::move(result));
    }
    setVideoService(nullptr);
    return results;
}

struct ChildRun {
    double firstFrameMicroseconds = 0.0;  // exec to the first frame shown
    double framesMicroseconds = 0.0;      // first frame shown to last frame shown
    double wallMicroseconds = 0.0;        // exec to exit
    double cpuMicroseconds = 0.0;         // user + system time
    long peakKilobytes = 0;               // maximum resident set size (VmHWM)
};

// The child's peak resident set so far, from /proc (0 when it cannot be read).
long peakResidentKilobytes(pid_t child) {
    std::ifstream status("/proc/" + std::to_string(child) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

// SDL_VIDEODRIVER as the benchmark found it: the headless engines it runs
// itself choose the dummy driver through the environment, which the runs in
// a window must not inherit.
struct VideoDriverChoice {
    bool set = false;
    std::string value;
};

VideoDriverChoice& startingVideoDriver() {
    static VideoDriverChoice choice;
    return choice;
}

void rememberStartingVideoDriver() {
    const char* value = std::getenv("SDL_VIDEODRIVER");
    startingVideoDriver().set = value != nullptr;
    startingVideoDriver().value = value != nullptr ? value : "";
}

void restoreStartingVideoDriver() {
    if (startingVideoDriver().set) {
        setenv("SDL_VIDEODRIVER", startingVideoDriver().value.c_str(), 1);
    } else {
        unsetenv("SDL_VIDEODRIVER");
    }
}

// Runs voltaro with these arguments and its per-frame trace written into a
// pipe, which tells the moment each frame has been shown (the trace line of
// a frame is written and flushed right after it is shown, before its wait).
ChildRun runVoltaro(const std::string& voltaro, std::vector<std::string> arguments) {
    int trace[2];
    if (pipe(trace) != 0) throw std::runtime_error("cannot make a pipe");
    arguments.insert(arguments.begin(), voltaro);
    arguments.push_back("--trace");
    arguments.push_back("/dev/fd/3");
    std::vector<char*> argv;
    for (const std::string& word : arguments) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        restoreStartingVideoDriver();
        dup2(trace[1], 3);
        if (trace[0] != 3) close(trace[0]);
        if (trace[1] != 3) close(trace[1]);
        const int nowhere = open("/dev/null", O_WRONLY);
        if (nowhere >= 0) {
            dup2(nowhere, STDOUT_FILENO);
            dup2(nowhere, STDERR_FILENO);
        }
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(trace[1]);
    ChildRun run;
    int lines = 0;  // the header, then one line per frame
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(trace[0], buffer, sizeof buffer);
        if (got <= 0) break;  // the run has ended
        const Clock::time_point now = Clock::now();
        // Read while the frames run: after the last one the child shuts down
        // and its figures are gone.
        run.peakKilobytes = std::max(run.peakKilobytes, peakResidentKilobytes(child));
        for (ssize_t i = 0; i < got; ++i) {
            if (buffer[i] != '\n') continue;
            ++lines;
            if (lines == 2) run.firstFrameMicroseconds = microsecondsBetween(start, now);
            if (lines >= 2) run.framesMicroseconds = microsecondsBetween(start, now) - run.firstFrameMicroseconds;
        }
    }
    close(trace[0]);
    int status = 0;
    struct rusage usage {};
    if (child < 0 || wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        lines < 2) {
        std::string line;
        for (const std::string& word : arguments) line += (line.empty() ? "" : " ") + word;
        throw std::runtime_error("'" + line + "' failed");
    }
    run.wallMicroseconds = microsecondsBetween(start, Clock::now());
    run.cpuMicroseconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e6 +
                          static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return run;
}

struct StartupResult {
    std::string mode;
    FrameTimes firstFrame;  // microseconds from exec to the first frame shown
};

bool hasDisplay() {
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

std::vector<StartupResult> timeStartups(const Arguments& arguments) {
    std::vector<StartupResult> results;
    std::vector<std::pair<std::string, std::vector<std::string>>> modes;
    const std::vector<std::string> window{"--data", arguments.dataDirectory, "--frames", "1"};
    std::vector<std::string> headless = window;
    headless.push_back("--headless");
    modes.emplace_back("headless", headless);
    if (hasDisplay()) modes.emplace_back("window, scale 1", window);
    for (const auto& mode : modes) {
        StartupResult result{mode.first, FrameTimes(static_cast<size_t>(arguments.startups))};
        runVoltaro(arguments.voltaro, mode.second);  // warms the file cache
        for (int i = 0; i < arguments.startups; ++i) {
            result.firstFrame.add(runVoltaro(arguments.voltaro, mode.second).firstFrameMicroseconds);
        }
        results.push_back(std::move(result));
    }
    return results;
}

struct WindowResult {
    int scale = 1;
    std::vector<ChildRun> runs;
};

// Paced runs in a window: a recorded run played for a fixed number of frames
// at 60 frames per second, for the share of a core and the peak memory.
std::vector<WindowResult> timeWindowRuns(const Arguments& arguments, const std::string& log) {
    std::vector<WindowResult> results;
    for (const int scale : arguments.scales) {
        WindowResult result{scale, {}};
        const std::vector<std::string> command{"--data", arguments.dataDirectory, "--replay", log, "--frames",
                                               std::to_string(arguments.windowFrames), "--scale",
                                               std::to_string(scale)};
        for (int i = 0; i < arguments.windowRuns; ++i) result.runs.push_back(runVoltaro(arguments.voltaro, command));
        results.push_back(std::move(result));
    }
    return results;
}

std::string cpuModel() {
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("model name", 0) != 0) continue;
        const size_t colon = line.find(':');
        return colon == std::string::npos ? line : line.substr(colon + 2);
    }
    return "unknown CPU";
}

void printMachine() {
#ifdef NDEBUG
    const char* build = "optimised build (NDEBUG)";
#else
    const char* build = "debug build";
#endif
    std::printf("Machine: %s, %ld cores; %s, compiler %s; SDL dummy video driver, 32-bit screen.\n\n",
                cpuModel().c_str(), sysconf(_SC_NPROCESSORS_ONLN), build, __VERSION__);
}

void printRuns(const std::vector<RunResult>& runs) {
    std::printf("Per frame in the level, microseconds (median / 99th percentile):\n\n");
    std::printf("| run | scale | frames | update | draw | show | whole frame |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|\n");
    double worstMedian = 0.0;
    double worstP99 = 0.0;
    for (const RunResult& run : runs) {
        std::printf("| %s | %d | %zu | %.1f / %.1f | %.1f / %.1f | %.1f / %.1f | %.1f / %.1f |\n", run.name.c_str(),
                    run.scale, run.frame.count(), run.update.median(), run.update.percentile(99),
                    run.draw.median(), run.draw.percentile(99), run.show.median(), run.show.percentile(99),
                    run.frame.median(), run.frame.percentile(99));
        if (run.scale == 1) {
            worstMedian = std::max(worstMedian, run.frame.median());
            worstP99 = std::max(worstP99, run.frame.percentile(99));
        }
    }
    std::printf("\nWorst run at scale 1: whole frame median %.1f us, 99th percentile %.1f us.\n\n", worstMedian,
                worstP99);
}

void printLoads(const std::vector<LoadResult>& loads) {
    if (loads.empty()) return;
    std::printf("Loading a level (building the Level state), milliseconds:\n\n");
    std::printf("| level | loads | median | 99th percentile |\n|---|---:|---:|---:|\n");
    for (const LoadResult& load : loads) {
        std::printf("| %s | %zu | %.2f | %.2f |\n", load.level.c_str(), load.times.count(),
                    load.times.median() / 1000.0, load.times.percentile(99) / 1000.0);
    }
    std::printf("\n");
}

void printStartups(const std::vector<StartupResult>& startups) {
    if (startups.empty()) return;
    std::printf("Start-up: exec to the first frame shown (voltaro --frames 1), milliseconds:\n\n");
    std::printf("| mode | runs | median | 99th percentile |\n|---|---:|---:|---:|\n");
    for (const StartupResult& startup : startups) {
        std::printf("| %s | %zu | %.1f | %.1f |\n", startup.mode.c_str(), startup.firstFrame.count(),
                    startup.firstFrame.median() / 1000.0, startup.firstFrame.percentile(99) / 1000.0);
    }
    std::printf("\n");
}

// The wall time of `frames` frames paced at 17, 17, 16 ms: from the first
// frame shown to the last are frames - 1 frame periods.
double nominalMilliseconds(uint32_t frames) {
    static const int kPeriods[3] = {17, 17, 16};
    double total = 0.0;
    for (uint32_t frame = 0; frame + 1 < frames; ++frame) total += kPeriods[frame % 3];
    return total;
}

void printWindowRuns(const std::vector<WindowResult>& windows, uint32_t frames, const std::string& log) {
    if (windows.empty()) return;
    std::printf("In a window, paced: %u frames of %s, each run on its own line:\n\n", frames,
                std::filesystem::path(log).stem().string().c_str());
    std::printf("| scale | CPU (user + system) | share of a core | peak memory | first to last frame shown |\n");
    std::printf("|---:|---:|---:|---:|---:|\n");
    for (const WindowResult& window : windows) {
        for (const ChildRun& run : window.runs) {
            std::printf("| %d | %.0f ms | %.1f %% | %.1f MB | %.0f ms (paced: %.0f) |\n", window.scale,
                        run.cpuMicroseconds / 1000.0, 100.0 * run.cpuMicroseconds / run.wallMicroseconds,
                        run.peakKilobytes / 1024.0, run.framesMicroseconds / 1000.0, nominalMilliseconds(frames));
        }
    }
    std::printf("\n");
}

std::vector<std::string> replayLogs(const std::string& directory) {
    std::vector<std::string> logs;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        if (entry.path().extension() == ".log") logs.push_back(std::filesystem::absolute(entry.path()).string());
    }
    std::sort(logs.begin(), logs.end());
    return logs;
}

}  // namespace

int main(int argc, char** argv) {
    rememberStartingVideoDriver();
    Arguments arguments;
    if (!parseArguments(argc, argv, arguments)) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    try {
        const std::vector<std::string> logs = replayLogs(arguments.replayDirectory);
        if (!arguments.voltaro.empty()) {
            arguments.voltaro = std::filesystem::absolute(arguments.voltaro).string();
        }
        std::filesystem::current_path(arguments.dataDirectory);

        std::vector<RunResult> runs;
        std::vector<LoadResult> loads;
        std::vector<StartupResult> startups;
        std::vector<WindowResult> windows;
        {
            MutedStandardOutput muted;
            for (const int scale : arguments.scales) {
                for (const std::string& log : logs) runs.push_back(playRun(log, scale, arguments.frameLimit));
            }
            loads = timeLevelLoads(arguments.loads);
            if (!arguments.voltaro.empty()) startups = timeStartups(arguments);
            if (!arguments.voltaro.empty() && hasDisplay() && !logs.empty()) {
                windows = timeWindowRuns(arguments, logs.back());
            }
        }
        printMachine();
        printRuns(runs);
        printLoads(loads);
        printStartups(startups);
        if (!windows.empty()) printWindowRuns(windows, arguments.windowFrames, logs.back());
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "voltaro-bench: %s\n", failure.what());
        return 1;
    }
}
