#include "platform/control_bindings.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

struct HatName {
    uint8_t direction;
    const char* name;
};

constexpr HatName kHatNames[] = {
    {SDL_HAT_UP, "up"}, {SDL_HAT_RIGHT, "right"}, {SDL_HAT_DOWN, "down"}, {SDL_HAT_LEFT, "left"}};

std::string lowerCase(const std::string& text) {
    std::string lower = text;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// A small whole number below `limit`, digits only.
bool parseIndex(const std::string& text, int limit, int& index) {
    if (text.empty() || text.size() > 3) return false;  // empty, or far beyond any limit
    index = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;  // not a plain decimal number
        index = index * 10 + (c - '0');
    }
    return index < limit;
}

std::string rangeText(const char* what, int limit) {
    return std::string(what) + " numbers are 0 to " + std::to_string(limit - 1);
}

}  // namespace

ControlBindings ControlBindings::none() {
    return ControlBindings();
}

ControlBindings ControlBindings::defaults() {
    ControlBindings bindings;
    for (int i = 0; i < kGameInputCount; ++i) bindings.setKeys(gameInputAt(i), {canonicalKey(gameInputAt(i))});
    bindings.setPadControls(GameInput::Up, {PadControl::hat(0, SDL_HAT_UP), PadControl::axis(1, false)});
    bindings.setPadControls(GameInput::Down, {PadControl::hat(0, SDL_HAT_DOWN), PadControl::axis(1, true)});
    bindings.setPadControls(GameInput::Left, {PadControl::hat(0, SDL_HAT_LEFT), PadControl::axis(0, false)});
    bindings.setPadControls(GameInput::Right, {PadControl::hat(0, SDL_HAT_RIGHT), PadControl::axis(0, true)});
    bindings.setPadControls(GameInput::Jump, {PadControl::button(0)});
    bindings.setPadControls(GameInput::Shoot, {PadControl::button(2)});
    bindings.setPadControls(GameInput::Pause, {PadControl::button(7)});
    bindings.setPadControls(GameInput::Step, {PadControl::button(6)});
    return bindings;
}

std::vector<SDLKey> ControlBindings::keys(GameInput input) const {
    const Entry& entry = m_entries[indexOf(input)];
    return std::vector<SDLKey>(entry.keys.begin(), entry.keys.begin() + entry.keyCount);
}

std::vector<PadControl> ControlBindings::padControls(GameInput input) const {
    const Entry& entry = m_entries[indexOf(input)];
    return std::vector<PadControl>(entry.pad.begin(), entry.pad.begin() + entry.padCount);
}

void ControlBindings::setKeys(GameInput input, const std::vector<SDLKey>& keys) {
    Entry& entry = m_entries[indexOf(input)];
    entry.keyCount = static_cast<int>(std::min<size_t>(keys.size(), kMaxKeys));
    std::copy(keys.begin(), keys.begin() + entry.keyCount, entry.keys.begin());
}

void ControlBindings::setPadControls(GameInput input, const std::vector<PadControl>& controls) {
    Entry& entry = m_entries[indexOf(input)];
    entry.padCount = static_cast<int>(std::min<size_t>(controls.size(), kMaxPadControls));
    std::copy(controls.begin(), controls.begin() + entry.padCount, entry.pad.begin());
}

bool ControlBindings::findKey(SDLKey key, GameInput& input, int& slot) const {
    for (int i = 0; i < kGameInputCount; ++i) {
        const Entry& entry = m_entries[i];
        for (int k = 0; k < entry.keyCount; ++k) {
            if (entry.keys[k] != key) continue;
            input = gameInputAt(i);
            slot = k;
            return true;
        }
    }
    return false;
}

bool ControlBindings::findPadControl(const PadControl& control, GameInput& input, int& slot) const {
    for (int i = 0; i < kGameInputCount; ++i) {
        const Entry& entry = m_entries[i];
        for (int k = 0; k < entry.padCount; ++k) {
            if (!(entry.pad[k] == control)) continue;
            input = gameInputAt(i);
            slot = k;
            return true;
        }
    }
    return false;
}

std::string ControlBindings::keyName(SDLKey key) {
    const char* name = SDL_GetKeyName(key);
    return name != nullptr ? name : "unknown key";
}

bool ControlBindings::keyFromName(const std::string& name, SDLKey& key) {
    const std::string wanted = lowerCase(name);
    if (wanted.empty() || wanted == "unknown key") return false;  // SDL's name for "no name"
#ifdef __EMSCRIPTEN__
    // The browser's SDL names no key ("unknown key" for all), so no name can be bound there.
    static_cast<void>(key);
#else
    for (int code = SDLK_FIRST; code < SDLK_LAST; ++code) {
        const char* candidate = SDL_GetKeyName(static_cast<SDLKey>(code));
        if (candidate != nullptr && wanted == lowerCase(candidate)) {
            key = static_cast<SDLKey>(code);
            return true;
        }
    }
#endif
    return false;
}

std::string ControlBindings::padControlText(const PadControl& control) {
    const std::string index = std::to_string(control.index);
    switch (control.kind) {
    case PadControl::Kind::Button:
        return "button " + index;
    case PadControl::Kind::AxisNegative:
        return "axis " + index + "-";
    case PadControl::Kind::AxisPositive:
        return "axis " + index + "+";
    case PadControl::Kind::Hat:
        break;
    }
    for (const HatName& hat : kHatNames) {
        if (hat.direction == control.hatDirection) return "hat " + index + " " + hat.name;
    }
    return "hat " + index + " ?";
}

bool ControlBindings::padControlFromText(const std::string& text, PadControl& control, std::string& error) {
    std::istringstream in(lowerCase(text));
    std::vector<std::string> words;
    std::string word;
    while (in >> word) words.push_back(word);
    const std::string kind = words.empty() ? std::string() : words[0];
    int index = 0;
    if (kind == "button") {
        if (words.size() != 2 || !parseIndex(words[1], kMaxButtons, index)) {
            error = "expected 'button N', " + rangeText("button", kMaxButtons);
            return false;  // not a button
        }
        control = PadControl::button(index);
        return true;
    }
    if (kind == "axis") {
        // "axis 1-" or "axis 1 -"
        std::string rest;
        for (size_t i = 1; i < words.size(); ++i) rest += words[i];
        const char sign = rest.empty() ? '\0' : rest.back();
        if ((sign != '-' && sign != '+') || !parseIndex(rest.substr(0, rest.size() - 1), kMaxAxes, index)) {
            error = "expected 'axis N-' or 'axis N+', " + rangeText("axis", kMaxAxes);
            return false;  // not an axis half
        }
        control = PadControl::axis(index, sign == '+');
        return true;
    }
    if (kind == "hat") {
        if (words.size() == 3 && parseIndex(words[1], kMaxHats, index)) {
            for (const HatName& hat : kHatNames) {
                if (words[2] != hat.name) continue;
                control = PadControl::hat(index, hat.direction);
                return true;
            }
        }
        error = "expected 'hat N up', 'down', 'left' or 'right', " + rangeText("hat", kMaxHats);
        return false;  // not a hat direction
    }
    error = "'" + text + "' is not a pad control (button N, axis N-, axis N+ or hat N up/down/left/right)";
    return false;
}
