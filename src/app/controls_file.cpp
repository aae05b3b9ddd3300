#include "app/controls_file.h"

#include "resources/ini_dictionary.h"

#include <strings.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

const char* const kKeyboard = "Keyboard";
const char* const kGamepad = "Gamepad";
const char* const kDeadZoneKey = "deadzone";
const char* const kNone = "none";  // the value that leaves an input without keys or controls
const char* const kCommaKey = "comma";

std::string trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string> splitList(const std::string& value) {
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        const size_t comma = value.find(',', start);
        items.push_back(trimmed(value.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}

bool isFile(const std::filesystem::path& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(path, ignored);
}

std::string inputNames() {
    std::string names;
    for (int i = 0; i < kGameInputCount; ++i) names += std::string(i == 0 ? "" : " ") + gameInputName(gameInputAt(i));
    return names;
}

template <typename Control, typename Describe>
std::string listText(const std::vector<Control>& controls, Describe describe) {
    if (controls.empty()) return kNone;
    std::string text;
    for (const Control& control : controls) text += (text.empty() ? "" : ", ") + describe(control);
    return text;
}

// Who took a key or control first.
template <typename Control>
struct Claim {
    Control control;
    GameInput input;
    int32_t line;
};

}  // namespace

std::string ControlsFile::locate() {
    return locate(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"), ".");
}

std::string ControlsFile::locate(const char* xdgConfigHome, const char* home, const std::string& gameFolder) {
    std::filesystem::path configHome;
    if (xdgConfigHome != nullptr && *xdgConfigHome != '\0') {
        configHome = xdgConfigHome;
    } else if (home != nullptr && *home != '\0') {
        configHome = std::filesystem::path(home) / ".config";
    }
    if (!configHome.empty()) {
        const std::filesystem::path user = configHome / "voltaro" / kFileName;
        if (isFile(user)) return user.string();
    }
    const std::filesystem::path game = std::filesystem::path(gameFolder) / kFileName;
    return isFile(game) ? game.string() : std::string();
}

ControlsFile::ControlsFile(const std::string& fileName, const StandardKeys& standardKeys) : m_fileName(fileName) {
    const IniDictionary ini(fileName);
    if (!ini.isLoaded()) {
        m_problems.push_back(fileName + ": cannot be read; the default controls stay");
        return;  // nothing to apply
    }
    readSection<SDLKey>(
        ini, kKeyboard, "key", ControlBindings::kMaxKeys,
        [&standardKeys](const std::string& name, SDLKey& key, std::string& error) {
            // The comma separates the keys of a list, so the comma key has a word.
            if (strcasecmp(name.c_str(), kCommaKey) == 0) {
                key = SDLK_COMMA;
            } else if (!ControlBindings::keyFromName(name, key)) {
                error = "unknown key name '" + name + "' (docs/controls.md lists them)";
                return false;  // no such key
            }
            std::string purpose;
            if (standardKeys.isReserved(key, purpose)) {
                error = "'" + name + "' is the " + purpose + " key and cannot be bound";
                return false;  // kept for its own job
            }
            return true;
        },
        [](SDLKey key) { return ControlBindings::keyName(key); },
        [](const ControlBindings& bindings, GameInput input) { return bindings.keys(input); },
        [](ControlBindings& bindings, GameInput input, const std::vector<SDLKey>& keys) { bindings.setKeys(input, keys); });
    readSection<PadControl>(
        ini, kGamepad, "pad control", ControlBindings::kMaxPadControls,
        [](const std::string& text, PadControl& control, std::string& error) {
            return ControlBindings::padControlFromText(text, control, error);
        },
        [](const PadControl& control) { return ControlBindings::padControlText(control); },
        [](const ControlBindings& bindings, GameInput input) { return bindings.padControls(input); },
        [](ControlBindings& bindings, GameInput input, const std::vector<PadControl>& controls) {
            bindings.setPadControls(input, controls);
        });
    readDeadZone(ini);
    reportStrayEntries(ini);
}

template <typename Control, typename Parse, typename Describe, typename Get, typename Set>
void ControlsFile::readSection(const IniDictionary& ini, const char* section, const char* what, size_t maximum,
                               Parse parse, Describe describe, Get get, Set set) {
    const ControlBindings defaults = ControlBindings::defaults();
    bool given[kGameInputCount] = {};
    std::vector<Control> asked[kGameInputCount];
    std::vector<Claim<Control>> claims;

    for (const std::string& key : ini.keysOf(section)) {
        GameInput input;
        if (!gameInputFromName(key, input)) {
            if (std::string(section) == kGamepad && key == kDeadZoneKey) continue;  // read on its own
            report(ini, section, key, "unknown input '" + key + "' (inputs: " + inputNames() + "); ignored");
            continue;
        }
        const std::string keeps = "; " + key + " keeps its default (" + listText(get(defaults, input), describe) + ")";
        const std::string value = ini.getString(key, section, "");
        if (value.empty()) {
            report(ini, section, key, std::string("no ") + what + " given (write '" + kNone + "' for none)" + keeps);
            continue;
        }
        std::vector<Control> controls;
        std::string error;
        if (value != kNone) {
            for (const std::string& item : splitList(value)) {
                Control control{};
                if (item.empty()) {
                    error = std::string("an empty ") + what + " in the list";
                } else if (parse(item, control, error)) {
                    const auto sameControl = [&control](const Claim<Control>& claim) { return claim.control == control; };
                    const auto earlier = std::find_if(claims.begin(), claims.end(), sameControl);
                    if (std::find(controls.begin(), controls.end(), control) != controls.end()) {
                        error = "'" + item + "' is given twice";
                    } else if (earlier != claims.end()) {
                        error = "'" + item + "' is already bound to " + gameInputName(earlier->input) + " (line " +
                                std::to_string(earlier->line) + ")";
                    } else {
                        controls.push_back(control);
                        continue;  // this one is fine
                    }
                }
                break;  // the first problem is the one reported
            }
            if (error.empty() && controls.size() > maximum) {
                error = "more than " + std::to_string(maximum) + " " + what + "s";
            }
        }
        if (!error.empty()) {
            report(ini, section, key, error + keeps);
            continue;
        }
        given[indexOf(input)] = true;
        asked[indexOf(input)] = controls;
        for (const Control& control : controls) claims.push_back({control, input, ini.lineOf(key, section)});
    }

    // Inputs the file does not set keep their defaults, less whatever the
    // file gave to another input.
    for (int i = 0; i < kGameInputCount; ++i) {
        const GameInput input = gameInputAt(i);
        if (given[i]) {
            set(m_bindings, input, asked[i]);
            continue;
        }
        std::vector<Control> kept;
        const Claim<Control>* taken = nullptr;
        for (const Control& control : get(defaults, input)) {
            const auto claimed = std::find_if(claims.begin(), claims.end(),
                                              [&control](const Claim<Control>& claim) { return claim.control == control; });
            if (claimed == claims.end()) {
                kept.push_back(control);
            } else {
                taken = &*claimed;
            }
        }
        if (kept.empty() && taken != nullptr) {
            report(ini, section, gameInputName(taken->input),
                   std::string("took ") + gameInputName(input) + "'s default " + what + ", so " + gameInputName(input) +
                       " has no " + what + " now (give it one in [" + section + "])");
        }
        set(m_bindings, input, kept);
    }
}

void ControlsFile::readDeadZone(const IniDictionary& ini) {
    if (ini.lineOf(kDeadZoneKey, kGamepad) == 0) return;  // the default stays
    const std::string value = ini.getString(kDeadZoneKey, kGamepad, "");
    const bool digitsOnly = !value.empty() && value.size() <= 5 &&
                            value.find_first_not_of("0123456789") == std::string::npos;
    const int deadZone = digitsOnly ? std::atoi(value.c_str()) : 0;
    if (deadZone < 1 || deadZone > ControlBindings::kMaxDeadZone) {
        report(ini, kGamepad, kDeadZoneKey,
               "not a whole number from 1 to " + std::to_string(ControlBindings::kMaxDeadZone) +
                   "; the dead zone stays " + std::to_string(ControlBindings::kDefaultDeadZone));
        return;
    }
    m_bindings.setDeadZone(deadZone);
}

void ControlsFile::reportStrayEntries(const IniDictionary& ini) {
    for (const std::string& section : ini.sectionNames()) {
        if (section == kKeyboard || section == kGamepad) continue;  // read above
        if (section.empty()) {
            for (const std::string& key : ini.keysOf(section)) {
                report(ini, section, key, "outside [Keyboard] and [Gamepad]; ignored");
            }
            continue;
        }
        m_problems.push_back(m_fileName + ":" + std::to_string(ini.sectionLine(section)) + ": [" + section +
                             "]: unknown section (sections: Keyboard, Gamepad); its entries are ignored");
    }
}

void ControlsFile::report(const IniDictionary& ini, const std::string& section, const std::string& key,
                          const std::string& reason) {
    const std::string where = section.empty() ? std::string() : "[" + section + "] ";
    m_problems.push_back(m_fileName + ":" + std::to_string(ini.lineOf(key, section)) + ": " + where + key + " = " +
                         ini.getString(key, section, "") + ": " + reason);
}
