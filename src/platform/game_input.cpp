#include "platform/game_input.h"

namespace {
struct InputInfo {
    const char* name;
    SDLKey key;
};

// In GameInput order.
constexpr InputInfo kInputs[kGameInputCount] = {
    {"up", SDLK_UP},       {"down", SDLK_DOWN}, {"left", SDLK_LEFT},    {"right", SDLK_RIGHT},
    {"jump", SDLK_SPACE}, {"shoot", SDLK_b},   {"pause", SDLK_RETURN}, {"step", SDLK_TAB},
};
}  // namespace

const char* gameInputName(GameInput input) {
    return kInputs[indexOf(input)].name;
}

bool gameInputFromName(const std::string& name, GameInput& input) {
    for (int i = 0; i < kGameInputCount; ++i) {
        if (name == kInputs[i].name) {
            input = gameInputAt(i);
            return true;
        }
    }
    return false;
}

SDLKey canonicalKey(GameInput input) {
    return kInputs[indexOf(input)].key;
}

bool gameInputForCanonicalKey(SDLKey key, GameInput& input) {
    for (int i = 0; i < kGameInputCount; ++i) {
        if (key == kInputs[i].key) {
            input = gameInputAt(i);
            return true;
        }
    }
    return false;
}
