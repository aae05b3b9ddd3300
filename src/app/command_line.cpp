#include "app/command_line.h"

#include "platform/sdl_version.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>

namespace {
constexpr int kMinScale = 1;
constexpr int kMaxScale = 8;
constexpr int kMaxVolume = 100;  // percent

// A whole decimal number within [low, high]; digits only, no sign or spaces.
bool parseNumber(const std::string& text, uint64_t low, uint64_t high, uint64_t& value) {
    if (text.empty() || text.size() > 10) return false;  // empty, or beyond 32 bits
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;  // not a plain decimal number
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value >= low && value <= high;
}

// Options that take no value, and those that do (--check's is optional).
const char* const kFlags[] = {"--headless", "--help",  "-h",    "--fullscreen", "--no-overlay",
                              "--version",  "--watch", "--player-template", "--mute"};
const char* const kValued[] = {"--data",  "--scale",      "--frames", "--record",
                               "--replay", "--screenshot", "--trace",  "--check", "--volume"};

template <size_t N>
bool listed(const char* const (&names)[N], const std::string& name) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}
}  // namespace

CommandLine::CommandLine(const std::vector<std::string>& arguments) {
    parse(arguments);
}

CommandLine CommandLine::fromMain(int argc, char** argv) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    return CommandLine(arguments);
}

std::string CommandLine::usage() {
    return "Usage: voltaro [options]\n"
           "\n"
           "Runs the game from the data files in the working directory or, when that\n"
           "holds no stageselect.ini, the game installed with voltaro (in\n"
           "../share/voltaro/game from the folder of the voltaro executable).\n"
           "\n"
           "Options:\n"
           "  --data DIR           read the game's data from DIR (default: as above)\n"
           "  --scale N            enlarge the 256x240 picture N times, 1 to 8 (default: 1);\n"
           "                       auto: the largest window that fits the desktop\n"
           "  --fullscreen         start on the whole screen (F11 or Alt+Enter switches)\n"
           "  --no-overlay         start with the debug numbers hidden (F3 shows them)\n"
           "  --headless           no window and no frame pacing: frames run back to back\n"
           "  --frames N           stop after frame N (the first frame is frame 1)\n"
           "  --record FILE        write every frame's input events to FILE\n"
           "  --replay FILE        play the input events in FILE back; live keys are ignored\n"
           "  --screenshot N:FILE  save the screen as a BMP after frame N is drawn (repeatable)\n"
           "  --trace FILE         write a per-frame trace to FILE\n"
           "  --watch              reload the running level or menu when one of its files\n"
           "                       changes (F5 reloads in any run)\n"
           "  --mute               start with all sound off (M turns it on and off while playing)\n"
           "  --volume N           play sound at N percent of full loudness, 0 to 100 (default: 100)\n"
           "  --check [DIR]        check the game in DIR (default: the data directory) and exit:\n"
           "                       one line per problem; status 0 without errors, 1 with\n"
           "  --player-template    print a commented player file listing every key with its\n"
           "                       unit, default and meaning, and exit\n"
           "  --version            show the versions of voltaro and SDL and exit\n"
           "  --help               show this help and exit\n"
           "\n"
           "File names are taken relative to the directory voltaro was started in.\n"
           "Exit status: 0 after quitting, 1 on a failure while running, 2 for a bad command line.\n";
}

std::string CommandLine::versionText() {
    return std::string("voltaro ") + VOLTARO_VERSION + "\n" + sdlVersionText() + "\n";
}

bool CommandLine::isKnown(const std::string& name) const {
    return listed(kFlags, name) || listed(kValued, name);
}

bool CommandLine::takesValue(const std::string& name) const {
    return listed(kValued, name);
}

void CommandLine::parse(const std::vector<std::string>& arguments) {
    for (size_t i = 0; i < arguments.size() && m_error.empty(); ++i) {
        const std::string& argument = arguments[i];
        if (argument.size() < 2 || argument[0] != '-') {
            m_error = "unexpected argument '" + argument + "'";
            return;  // the game takes no plain arguments
        }
        // Both "--scale 3" and "--scale=3".
        const size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const bool inlineValue = equals != std::string::npos;
        if (!isKnown(name)) {
            m_error = "unknown option '" + name + "'";
            return;  // nothing else is known
        }
        if (name == "--check") {
            // The directory is optional: "--check", "--check DIR" and "--check=DIR".
            std::string directory;
            if (inlineValue) {
                directory = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size() && arguments[i + 1].compare(0, 1, "-") != 0) {
                directory = arguments[++i];
            }
            apply(name, directory);
            continue;
        }
        if (!takesValue(name)) {
            if (inlineValue) {
                m_error = name + " does not take a value";
                return;  // "--headless=yes"
            }
            apply(name, std::string());
            continue;
        }
        std::string value;
        if (inlineValue) {
            value = argument.substr(equals + 1);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        } else {
            m_error = "option " + name + " needs a value";
            return;  // nothing follows
        }
        apply(name, value);
    }
    if (m_error.empty() && !m_options.recordFile.empty() && m_options.recordFile == m_options.replayFile) {
        m_error = "--record and --replay name the same file '" + m_options.recordFile + "'";
    }
}

void CommandLine::apply(const std::string& name, const std::string& value) {
    const bool repeatable = name == "--screenshot";
    if (!repeatable) {
        if (std::find(m_seen.begin(), m_seen.end(), name) != m_seen.end()) {
            m_error = "option " + name + " is given more than once";
            return;  // which one was meant is unclear
        }
        m_seen.push_back(name);
    }
    const bool isFileOption = name == "--data" || name == "--record" || name == "--replay" || name == "--trace";
    if (isFileOption && value.empty()) {
        m_error = "option " + name + " needs a non-empty name";
        return;  // the option is given once
    }

    uint64_t number = 0;
    if (name == "--help" || name == "-h") {
        m_options.helpRequested = true;
    } else if (name == "--check") {
        m_options.checkRequested = true;
        m_options.checkDirectory = value;
    } else if (name == "--version") {
        m_options.versionRequested = true;
    } else if (name == "--player-template") {
        m_options.playerTemplateRequested = true;
    } else if (name == "--headless") {
        m_options.headless = true;
    } else if (name == "--fullscreen") {
        m_options.fullscreen = true;
    } else if (name == "--no-overlay") {
        m_options.overlayShown = false;
    } else if (name == "--watch") {
        m_options.watch = true;
    } else if (name == "--mute") {
        m_options.muted = true;
    } else if (name == "--volume") {
        if (!parseNumber(value, 0, kMaxVolume, number)) {
            m_error = "--volume: '" + value + "' is not a whole number from 0 to 100";
            return;  // bad value
        }
        m_options.volume = static_cast<int>(number);
    } else if (name == "--data") {
        m_options.dataDirectory = value;
    } else if (name == "--record") {
        m_options.recordFile = value;
    } else if (name == "--replay") {
        m_options.replayFile = value;
    } else if (name == "--trace") {
        m_options.traceFile = value;
    } else if (name == "--scale") {
        if (value == "auto") {
            m_options.fitDesktop = true;
            return;  // the size is found when the display is known
        }
        if (!parseNumber(value, kMinScale, kMaxScale, number)) {
            m_error = "--scale: '" + value + "' is not a whole number from 1 to 8, nor auto";
            return;  // bad value
        }
        m_options.scale = static_cast<int>(number);
    } else if (name == "--frames") {
        if (!parseNumber(value, 1, UINT32_MAX, number)) {
            m_error = "--frames: '" + value + "' is not a whole number from 1 to 4294967295";
            return;  // bad value
        }
        m_options.frameLimit = static_cast<uint32_t>(number);
    } else if (name == "--screenshot") {
        const size_t colon = value.find(':');
        ScreenshotRequest request;
        if (colon == std::string::npos || colon + 1 == value.size() ||
            !parseNumber(value.substr(0, colon), 1, UINT32_MAX, number)) {
            m_error = "--screenshot: '" + value + "' is not FRAME:FILE with a frame of 1 or more";
            return;  // bad value
        }
        request.frame = static_cast<uint32_t>(number);
        request.file = value.substr(colon + 1);
        m_options.screenshots.push_back(request);
    }
}
