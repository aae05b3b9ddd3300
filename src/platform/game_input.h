#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

// The eight inputs the game is played with, whatever drives them: keys, a
// gamepad or a replayed input log. Each has a canonical key, the key an
// input log writes for it and a replay presses, so a log does not depend on
// how the player has mapped the controls.
enum class GameInput : int32_t { Up, Down, Left, Right, Jump, Shoot, Pause, Step };

constexpr int kGameInputCount = 8;

// The input's name in controls.ini: "up", "down", "left", "right", "jump",
// "shoot", "pause" or "step".
const char* gameInputName(GameInput input);
// The input with that name; false for any other text.
bool gameInputFromName(const std::string& name, GameInput& input);
// The key that stands for the input in input logs (and drives it by default).
SDLKey canonicalKey(GameInput input);
// The input whose canonical key this is; false for every other key.
bool gameInputForCanonicalKey(SDLKey key, GameInput& input);

constexpr GameInput gameInputAt(int index) {
    return static_cast<GameInput>(index);
}
constexpr int indexOf(GameInput input) {
    return static_cast<int>(input);
}
