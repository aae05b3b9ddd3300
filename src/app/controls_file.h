#pragma once

#include "platform/control_bindings.h"
#include "platform/standard_keys.h"

#include <string>
#include <vector>

class IniDictionary;

// The player's controls.ini: which keys and gamepad controls drive the eight
// game inputs, on top of the defaults (ControlBindings::defaults). The file
// used is the first that exists of $XDG_CONFIG_HOME/voltaro/controls.ini
// (~/.config when XDG_CONFIG_HOME is unset) and controls.ini in the game
// folder.
//
// [Keyboard] gives each input a comma-separated list of SDL key names,
// [Gamepad] a list of pad controls ("button 0", "axis 1-", "hat 0 up") and
// the stick's "deadzone". A key or control given to an input is taken from
// any other input's defaults. Every bad entry is listed once, naming the
// file, the line and the entry, and its input keeps its default.
class ControlsFile {
public:
    static constexpr const char* kFileName = "controls.ini";

    // The file to read, looked up with the process's environment in the
    // working directory (the game folder); "" when there is none.
    static std::string locate();
    // The same with the environment given: either variable may be null.
    static std::string locate(const char* xdgConfigHome, const char* home, const std::string& gameFolder);

    // Reads the file. Keys that are standard keys cannot be bound. SDL's
    // video must be running, for the key names.
    ControlsFile(const std::string& fileName, const StandardKeys& standardKeys);

    const ControlBindings& bindings() const { return m_bindings; }
    // One line per bad entry, "FILE:LINE: [Section] key = value: reason; ...".
    const std::vector<std::string>& problems() const { return m_problems; }

private:
    // Reads the bindings of one section (keys or pad controls).
    template <typename Control, typename Parse, typename Describe, typename Get, typename Set>
    void readSection(const IniDictionary& ini, const char* section, const char* what, size_t maximum, Parse parse,
                     Describe describe, Get get, Set set);
    void readDeadZone(const IniDictionary& ini);
    void reportStrayEntries(const IniDictionary& ini);
    // Records a problem with the entry `key` of `section`.
    void report(const IniDictionary& ini, const std::string& section, const std::string& key,
                const std::string& reason);

    std::string m_fileName;
    ControlBindings m_bindings = ControlBindings::defaults();
    std::vector<std::string> m_problems;
};
