// Fuzzes a whole level: Level("Fuzz", "player.ini") loaded from fuzzed
// "levels.ini", tile map, player file, "enemy.ini" and "font.ini", then run
// for 600 frames (update and draw) of fuzzer-chosen keyboard input. The only
// accepted failure is the documented FatalDataError for an unusable map.
// Input: the five files and the keyboard control bytes, in that order,
// separated by separator lines (levels.ini names the map "level.map").

#include "fuzz/fuzz_keyboard.h"
#include "fuzz/fuzz_parts.h"
#include "fuzz/fuzz_video_service.h"
#include "fuzz/fuzz_workspace.h"
#include "level/level.h"
#include "platform/fatal_data_error.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {
constexpr int kFrames = 600;
const char* const kFileNames[] = {"levels.ini", "level.map", "player.ini", "enemy.ini", "font.ini"};
constexpr size_t kFileCount = sizeof kFileNames / sizeof kFileNames[0];
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> parts = splitFuzzParts(data, size, kFileCount + 1);
    FuzzWorkspace& workspace = FuzzWorkspace::instance();
    for (size_t i = 0; i < kFileCount; ++i) workspace.write(kFileNames[i], parts[i]);
    FuzzVideoService video;
    workspace.enter();
    try {
        Level level("Fuzz", "player.ini");
        FuzzKeyboard keyboard(parts[kFileCount]);
        for (int frame = 0; frame < kFrames; ++frame) {
            level.update(keyboard.nextFrame());
            level.draw();
        }
    } catch (const FatalDataError&) {
        // documented: a map that cannot be loaded ends the level
    }
    workspace.leave();
    video.expectAllFreed();
    return 0;
}
