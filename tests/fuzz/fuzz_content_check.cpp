// Fuzzes the content checker: a whole game made of fuzzer-chosen
// "stageselect.ini", "levels.ini", "font.ini", "enemy.ini", player file
// "hero" and tile map "room.map", beside a fixed set of small, valid BMPs
// (the checker's business is the game's files, not SDL's BMP reader). The
// checker must report, never crash, leak or hang, whatever it is given.
// Input: the six files in that order, separated by separator lines.

#include "check/content_checker.h"
#include "fuzz/fuzz_parts.h"
#include "fuzz/fuzz_workspace.h"

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const char* const kFileNames[] = {"stageselect.ini", "levels.ini", "font.ini", "enemy.ini", "hero", "room.map"};
constexpr size_t kFileCount = sizeof kFileNames / sizeof kFileNames[0];

struct Image {
    const char* name;
    int width;   // pixels
    int height;  // pixels
};
const Image kImages[] = {{"tiles.bmp", 16, 32}, {"sprite.bmp", 16, 16}, {"shot.bmp", 4, 4},
                         {"selector.bmp", 8, 8}, {"font.bmp", 8, 152}};

void writeImages() {
    FuzzWorkspace& workspace = FuzzWorkspace::instance();
    workspace.enter();
    for (const Image& image : kImages) {
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, image.width, image.height, 24, 0, 0, 0, 0);
        if (surface == nullptr || SDL_SaveBMP(surface, image.name) != 0) std::abort();  // the harness itself is broken
        SDL_FreeSurface(surface);
    }
    workspace.leave();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool imagesWritten = (writeImages(), true);
    (void)imagesWritten;
    const std::vector<std::string> parts = splitFuzzParts(data, size, kFileCount);
    FuzzWorkspace& workspace = FuzzWorkspace::instance();
    for (size_t i = 0; i < kFileCount; ++i) workspace.write(kFileNames[i], parts[i]);
    workspace.enter();
    const ContentReport report = ContentChecker(".").run();
    // Every problem is one line: a line feed inside a message would split it.
    for (const ContentProblem& problem : report.problems()) {
        if (ContentReport::formatLine(problem).find('\n') != std::string::npos) std::abort();
    }
    workspace.leave();
    return 0;
}
