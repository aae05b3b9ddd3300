// voltaro_soak: long seeded random play through the real engine, headless.
// For each chosen level and character it writes an input log that picks them
// in the stage select and then plays at random (SoakInput), runs the game
// through Application exactly as `voltaro --replay` would, and checks the
// level after every frame (SoakChecker). Crashes, leaks and undefined
// behaviour are left to the sanitizers or valgrind the program runs under.
//
// Exit status: 0 every run kept the rules, 1 a run broke one (or the game
// failed), 2 bad usage.

#include "app/application.h"
#include "app/default_state_factory.h"
#include "level/level.h"
#include "menus/stage_select.h"
#include "platform/game_state_manager.h"
#include "player/voltaro.h"
#include "resources/ini_dictionary.h"
#include "soak/soak_checker.h"
#include "soak/soak_input.h"
#include "world/map.h"

#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kExitSuccess = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

const char* const kUsage =
    "usage: voltaro_soak [--data DIR] [--level NAME] [--player FILE] [--all]\n"
    "                    [--frames N] [--seed S] [--outside-limit N] [--keep-log]\n"
    "  --data DIR         the game's data folder (default: the current directory)\n"
    "  --level NAME       play only this level of stageselect.ini (default: every one)\n"
    "  --player FILE      play only this character of stageselect.ini (default: every one)\n"
    "  --all              every level with every character (the default)\n"
    "  --frames N         frames per run, menu included (default 200000)\n"
    "  --seed S           seed of the random input (default 1)\n"
    "  --outside-limit N  updates in a row the player may spend outside every\n"
    "                     boundary during play (default 120)\n"
    "  --keep-log         keep the input log of a run that passes, too\n";

struct Settings {
    std::string dataDirectory = ".";
    std::string level;   // empty: every level
    std::string player;  // empty: every character
    uint32_t frames = 200000;
    uint32_t seed = 1;
    int32_t outsideLimit = SoakChecker::kDefaultOutsideUpdates;
    bool keepLog = false;
};

struct Choice {
    std::string name;
    int32_t index = 0;  // position in the menu's list
};

bool parseNumber(const char* text, uint32_t& value) {
    if (text == nullptr || *text < '0' || *text > '9') return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long parsed = std::strtoull(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed > 0xFFFFFFFFull) return false;
    value = static_cast<uint32_t>(parsed);
    return true;
}

// False with a message on stderr for a bad command line.
bool parseArguments(int argc, char** argv, Settings& settings) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--all") {
            settings.level.clear();
            settings.player.clear();
            continue;
        }
        if (option == "--keep-log") {
            settings.keepLog = true;
            continue;
        }
        if (option == "--help") {
            std::fputs(kUsage, stdout);
            std::exit(kExitSuccess);
        }
        if (i + 1 >= argc) {
            std::fprintf(stderr, "voltaro_soak: %s needs a value\n%s", option.c_str(), kUsage);
            return false;
        }
        const char* value = argv[++i];
        uint32_t number = 0;
        if (option == "--data") {
            settings.dataDirectory = value;
        } else if (option == "--level") {
            settings.level = value;
        } else if (option == "--player") {
            settings.player = value;
        } else if (option == "--frames" && parseNumber(value, number) && number > 0) {
            settings.frames = number;
        } else if (option == "--seed" && parseNumber(value, number)) {
            settings.seed = number;
        } else if (option == "--outside-limit" && parseNumber(value, number) && number <= 0x7FFFFFFFu) {
            settings.outsideLimit = static_cast<int32_t>(number);
        } else if (option == "--frames" || option == "--seed" || option == "--outside-limit") {
            std::fprintf(stderr, "voltaro_soak: %s: '%s' is not a valid number\n", option.c_str(), value);
            return false;
        } else {
            std::fprintf(stderr, "voltaro_soak: unknown option '%s'\n%s", option.c_str(), kUsage);
            return false;
        }
    }
    return true;
}

// The entries of one list of stageselect.ini, read as the stage select reads them.
std::vector<Choice> readList(const IniDictionary& menu, const char* section, const char* prefix) {
    const int32_t amount = std::min(menu.getInt("amount", section, 0), StageSelect::kMaxEntries);
    std::vector<Choice> list;
    for (int32_t i = 0; i < amount; ++i) {
        list.push_back({menu.getString(prefix + std::to_string(i), section, "empty"), i});
    }
    return list;
}

// The chosen entries; all of them for an empty name, none for an unknown one.
std::vector<Choice> select(const std::vector<Choice>& list, const std::string& name) {
    if (name.empty()) return list;
    std::vector<Choice> chosen;
    for (const Choice& entry : list) {
        if (entry.name == name) {
            chosen.push_back(entry);
            break;  // the menu's cursor stops at the first entry of that name
        }
    }
    return chosen;
}

// A file-name-safe form of a level or player name.
std::string fileSafe(const std::string& name) {
    std::string safe = name;
    for (char& c : safe) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
        if (!plain) c = '_';
    }
    return safe;
}

// Ends the run after the current frame through the engine's own quit path.
void requestQuit() {
    SDL_Event quit;
    std::memset(&quit, 0, sizeof quit);
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

// One level with one character. True when every frame kept the rules.
bool soak(const Settings& settings, const std::string& dataDirectory, const Choice& level, const Choice& player) {
    const SoakInput input(settings.seed, level.index, player.index, settings.frames);
    const std::string run = level.name + " with " + player.name + ", seed " + std::to_string(settings.seed);
    std::error_code ignored;
    const std::filesystem::path logPath =
        std::filesystem::temp_directory_path(ignored) /
        ("voltaro-soak-" + fileSafe(level.name) + "-" + fileSafe(player.name) + "-seed" +
         std::to_string(settings.seed) + "-" + std::to_string(static_cast<long>(getpid())) + ".log");
    {
        std::ofstream log(logPath, std::ios::out | std::ios::binary | std::ios::trunc);
        log << input.text();
        if (!log) {
            std::fprintf(stderr, "voltaro_soak: cannot write the input log %s\n", logPath.c_str());
            return false;
        }
    }
    // Printed first, so that the log can be found after a sanitizer abort.
    std::printf("soak: %s, %u frames, input log %s\n", run.c_str(), settings.frames, logPath.c_str());
    std::fflush(stdout);

    Options options;
    options.dataDirectory = dataDirectory;
    options.headless = true;
    options.frameLimit = settings.frames;
    options.replayFile = logPath.string();
    Application application(options, defaultStateFactory());

    std::unique_ptr<SoakChecker> checker;
    std::string failure;
    uint32_t failedFrame = 0;
    application.setFrameObserver([&](uint32_t frame, const GameStateManager& manager) {
        if (!failure.empty()) return;  // the quit is on its way
        const Level* current = dynamic_cast<const Level*>(manager.currentState());
        if (current == nullptr) {
            if (frame >= input.levelFrame()) {
                failure = "frame " + std::to_string(frame) + ": the menu input did not start the level";
            }
        } else if (!checker) {
            if (manager.getName(0) != level.name || manager.getName(1) != player.name) {
                failure = "frame " + std::to_string(frame) + ": the menu started " + manager.getName(0) + " with " +
                          manager.getName(1);
            }
            SoakChecker::Limits limits;
            limits.outsideUpdates = settings.outsideLimit;
            limits.ready = Level::kReadyDuration;
            limits.beforeScrolling = std::max(current->beforeScrollingDuration(), 0);
            limits.scrolling = current->scrollingDuration();
            limits.afterScrolling = current->afterScrollingDuration();
            std::vector<SDL_Rect> boundaries;
            const Map& map = current->map();
            for (int32_t i = 0; i < map.boundaryCount(); ++i) boundaries.push_back(map.boundary(i));
            checker = std::make_unique<SoakChecker>(std::move(boundaries), limits);
        }
        if (current != nullptr && checker && failure.empty()) {
            const Voltaro& hero = current->player();
            SoakSample sample;
            sample.frame = frame;
            sample.phase = current->phase();
            sample.phaseUpdates = current->frameCounter();
            sample.x = hero.getX();
            sample.y = hero.getY();
            sample.boundaryIndex = current->map().currentBoundaryIndex();
            if (!checker->check(sample)) failure = checker->failure() + ", player state " + hero.stateName();
        }
        if (!failure.empty()) {
            failedFrame = frame;
            requestQuit();
        }
    });

    const int status = application.run();
    if (status != Application::kExitSuccess && failure.empty()) {
        failure = "the game stopped with exit status " + std::to_string(status);
    }
    if (failure.empty() && !checker && settings.frames >= input.levelFrame()) {
        failure = "the level never started";
    }
    if (!failure.empty()) {
        std::printf("soak: FAILED %s: %s\n", run.c_str(), failure.c_str());
        std::printf("soak: input log kept: %s\n", logPath.c_str());
        std::printf("soak: replay it with: voltaro --data %s --headless --replay %s --frames %u"
                    " --trace soak-trace.csv\n",
                    dataDirectory.c_str(), logPath.c_str(), failedFrame != 0 ? failedFrame : settings.frames);
        std::fflush(stdout);
        return false;
    }
    std::string visited;
    for (const int32_t index : checker->boundariesVisited()) {
        visited += (visited.empty() ? "" : ",") + std::to_string(index);
    }
    std::printf("soak: passed %s: %u updates of play, %u respawns, %u screen transitions, boundaries {%s} of %d, "
                "longest time outside every boundary %d updates\n",
                run.c_str(), checker->playingUpdates(), checker->respawns(), checker->transitions(), visited.c_str(),
                checker->boundaryCount(), checker->longestOutside());
    std::fflush(stdout);
    if (!settings.keepLog) std::filesystem::remove(logPath, ignored);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Settings settings;
    if (!parseArguments(argc, argv, settings)) return kExitUsage;

    std::error_code error;
    const std::filesystem::path dataDirectory = std::filesystem::absolute(settings.dataDirectory, error);
    const IniDictionary menu((dataDirectory / "stageselect.ini").string());
    if (error || !menu.isLoaded()) {
        std::fprintf(stderr, "voltaro_soak: %s: cannot be read\n", (dataDirectory / "stageselect.ini").c_str());
        return kExitUsage;
    }
    const std::vector<Choice> levels = select(readList(menu, "Levels", "level"), settings.level);
    const std::vector<Choice> players = select(readList(menu, "Voltaros", "voltaro"), settings.player);
    if (levels.empty() || players.empty()) {
        std::fprintf(stderr, "voltaro_soak: %s: no %s named '%s' in stageselect.ini\n", dataDirectory.c_str(),
                     levels.empty() ? "level" : "character",
                     levels.empty() ? settings.level.c_str() : settings.player.c_str());
        return kExitUsage;
    }

    int failures = 0;
    for (const Choice& level : levels) {
        for (const Choice& player : players) {
            if (!soak(settings, dataDirectory.string(), level, player)) failures += 1;
        }
    }
    const int runs = static_cast<int>(levels.size() * players.size());
    std::printf("soak: %d of %d runs passed\n", runs - failures, runs);
    return failures == 0 ? kExitSuccess : kExitFailure;
}
