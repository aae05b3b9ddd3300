#pragma once

#include "platform/game_input.h"
#include "platform/input_router.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One control of a gamepad that can drive a game input: a button, one half
// of an axis (the stick pushed past the dead zone one way), or one direction
// of a hat (the d-pad). Indices count from 0 as SDL numbers them.
struct PadControl {
    enum class Kind : uint8_t { Button, AxisNegative, AxisPositive, Hat };

    Kind kind = Kind::Button;
    uint8_t index = 0;         // button, axis or hat number
    uint8_t hatDirection = 0;  // SDL_HAT_UP, _RIGHT, _DOWN or _LEFT; hats only

    static PadControl button(int index) { return {Kind::Button, static_cast<uint8_t>(index), 0}; }
    static PadControl axis(int index, bool positive) {
        return {positive ? Kind::AxisPositive : Kind::AxisNegative, static_cast<uint8_t>(index), 0};
    }
    static PadControl hat(int index, uint8_t direction) { return {Kind::Hat, static_cast<uint8_t>(index), direction}; }
};

inline bool operator==(const PadControl& a, const PadControl& b) {
    return a.kind == b.kind && a.index == b.index && a.hatDirection == b.hatDirection;
}

// Which keys and which gamepad controls drive each of the eight game inputs,
// and the stick's dead zone. Up to four keys and four pad controls per
// input; a key or a pad control drives at most one input. The defaults are
// the game's own keys (the canonical keys) and a pad's d-pad and left stick
// for the directions, the bottom face button (0) to jump, the left face
// button (2) to shoot, Start (7) to pause and Select (6) to step, numbered as
// Linux numbers the buttons of the common XInput-style pads.
class ControlBindings {
public:
    static constexpr int kMaxKeys = InputRouter::kKeySlots;
    static constexpr int kMaxPadControls = InputRouter::kPadSlots;
    static constexpr int kMaxButtons = 32;  // button numbers 0 to 31
    static constexpr int kMaxAxes = 16;     // axis numbers 0 to 15
    static constexpr int kMaxHats = 4;      // hat numbers 0 to 3
    static constexpr int kDefaultDeadZone = 8000;  // of SDL's axis range -32768 to 32767
    static constexpr int kMaxDeadZone = 32767;

    // The defaults described above.
    static ControlBindings defaults();
    // No key and no pad control for anything.
    static ControlBindings none();

    std::vector<SDLKey> keys(GameInput input) const;
    std::vector<PadControl> padControls(GameInput input) const;
    // Replaces the input's keys; at most kMaxKeys (the rest are dropped).
    void setKeys(GameInput input, const std::vector<SDLKey>& keys);
    // Replaces the input's pad controls; at most kMaxPadControls.
    void setPadControls(GameInput input, const std::vector<PadControl>& controls);

    // The input a key drives and the key's place among that input's keys.
    bool findKey(SDLKey key, GameInput& input, int& slot) const;
    // The input a pad control drives and its place among the input's pad controls.
    bool findPadControl(const PadControl& control, GameInput& input, int& slot) const;

    // How far (of 32767) the stick must be pushed before it counts.
    int deadZone() const { return m_deadZone; }
    void setDeadZone(int deadZone) { m_deadZone = deadZone; }

    // SDL's name of a key ("space", "left shift", "[8]"); SDL's video must be
    // running, or every key is "unknown key".
    static std::string keyName(SDLKey key);
    // The key with this SDL name, ignoring case; false for an unknown name.
    static bool keyFromName(const std::string& name, SDLKey& key);
    // A pad control as controls.ini writes it: "button 0", "axis 1-", "hat 0 up".
    static std::string padControlText(const PadControl& control);
    // Parses such a text (words separated by spaces, any case); false with
    // the reason in `error` when it is not one.
    static bool padControlFromText(const std::string& text, PadControl& control, std::string& error);

private:
    struct Entry {
        std::array<SDLKey, kMaxKeys> keys{};
        int keyCount = 0;
        std::array<PadControl, kMaxPadControls> pad{};
        int padCount = 0;
    };

    std::array<Entry, kGameInputCount> m_entries{};
    int m_deadZone = kDefaultDeadZone;
};
