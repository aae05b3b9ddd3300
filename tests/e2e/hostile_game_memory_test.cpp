// A game folder made the way a careless or malicious author would: a FIFO
// where the cursor image belongs, /dev/urandom and /dev/zero behind data
// file names, a sparse gigabyte as the shot image, absurd list counts, sheets
// at the size bound and beyond, a menu that claims two billion entries. The
// real executable must check it and play it headless without hanging and
// within 256 MB, measured as the peak resident size of the child process.

#include "support/temp_dir.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VOLTARO_TEST_UNDER_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VOLTARO_TEST_UNDER_ASAN 1
#endif

constexpr long kBoundKilobytes = 256 * 1024;  // the hard bound: 256 MB
#ifdef VOLTARO_TEST_UNDER_ASAN
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

const std::string kBase = std::string(VOLTARO_SOURCE_DIR) + "/tests/check/broken_games/base";

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Runs the executable with `arguments`, its output discarded; the exit
// status and the peak resident size in kilobytes.
struct ChildRun {
    int status = -1;
    long peakKilobytes = 0;
};

ChildRun runVoltaro(const std::vector<std::string>& arguments) {
    const std::string binary = std::string(VOLTARO_BINARY_DIR) + "/voltaro";
    const pid_t child = fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(binary.c_str()));
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::setenv("SDL_VIDEODRIVER", "dummy", 1);
        ::execv(binary.c_str(), argv.data());
        _exit(127);
    }
    ChildRun run;
    int status = 0;
    rusage usage{};
    if (child > 0 && ::wait4(child, &status, 0, &usage) == child) {
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        run.peakKilobytes = usage.ru_maxrss;
    }
    return run;
}

// A 32-bit BMP of width x height pixels.
void writeBitmap(const std::string& path, int width, int height) {
    SDL_Surface* surface = SDL_CreateRGBSurface(0, width, height, 32, 0xff0000, 0x00ff00, 0x0000ff, 0);
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(SDL_SaveBMP(surface, path.c_str()), 0);
    SDL_FreeSurface(surface);
}

// `text` filled up to the largest INI file the engine reads with distinct
// short keys (or sections), which cost the most memory per byte parsed.
std::string paddedToTheLimit(std::string text, bool sections) {
    constexpr size_t kLimit = 1024 * 1024;  // bytes, the INI file limit
    text += "\n";
    for (int i = 0;; ++i) {
        const std::string line = sections && i % 2 == 1 ? "[s" + std::to_string(i) + "]\n" : "k" + std::to_string(i) + "=\n";
        if (text.size() + line.size() > kLimit) break;
        text += line;
    }
    return text;
}

void buildHostileGame(const TempDir& game) {
    for (const char* name : {"room.map", "tiles.bmp", "font.bmp", "sprite.bmp"}) {
        game.write(name, readFile(kBase + "/" + name));
    }
    // INI files at their size limit, full of keys nobody reads.
    game.write("font.ini", paddedToTheLimit(readFile(kBase + "/font.ini"), true));
    game.write("levels.ini", paddedToTheLimit(readFile(kBase + "/levels.ini"), true));
    // Two billion menu entries (the menu keeps what its memory bound allows).
    game.write("stageselect.ini",
               "[Levels]\namount=2000000000\nlevel0=ROOM\n[Voltaros]\namount=2000000000\nvoltaro0=hero\n"
               "voltaro0title=HERO\nvoltaro1=hero\n");
    // A FIFO for the cursor, devices behind the enemy and a sheet, a sparse
    // gigabyte for the shot image.
    ASSERT_EQ(::mkfifo(game.file("selector.bmp").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/urandom", game.file("enemy.ini").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", game.file("zero.bmp").c_str()), 0);
    {
        std::ofstream sparse(game.file("huge.bmp"));
    }
    ASSERT_EQ(::truncate(game.file("huge.bmp").c_str(), 1L << 30), 0);
    // Sheets at the bitmap bound, more of them than a sprite may keep, and
    // every list at its bound.
    writeBitmap(game.file("big.bmp"), 1024, 1024);
    std::string hero = readFile(kBase + "/hero");
    const size_t sprites = hero.find("[Spritesheets]");
    ASSERT_NE(sprites, std::string::npos);
    hero = hero.substr(0, sprites);
    hero += "[Bullet]\nspritesheet=huge.bmp\n[Spritesheets]\namount=8\n";
    for (int i = 0; i < 7; ++i) hero += "spritesheet" + std::to_string(i) + "=big.bmp\n";
    hero += "spritesheet7=zero.bmp\n";
    hero += "[Sprites]\namount=1048576\nwidth=16\nheight=16\n";
    hero += "[Animations]\namount=262144\n[Animation0]\nnFrames=1048576\n";
    for (int a = 1; a < 9; ++a) hero += "[Animation" + std::to_string(a) + "]\nnFrames=1\nframe0Duration=4\n";
    game.write("hero", paddedToTheLimit(hero, false));
}

}  // namespace

TEST(HostileGame, CheckAndPlayStayWithinTheMemoryBound) {
    // Under the address sanitizer its own memory would be measured: the
    // Release build checks the bound, that build only that both runs end well.
    constexpr long kBound = kUnderAddressSanitizer ? 1L << 40 : kBoundKilobytes;
    TempDir game;
    buildHostileGame(game);

    const ChildRun check = runVoltaro({"--check", game.path()});
    EXPECT_EQ(check.status, 1) << "the hostile game has errors";
    EXPECT_LT(check.peakKilobytes, kBound) << "--check";

    // Into the level (B twice), then a second of play.
    game.write("enter.log", "2 b down\n3 b up\n4 b down\n5 b up\n");
    const ChildRun play = runVoltaro({"--headless", "--data", game.path(), "--replay", game.file("enter.log"), "--frames",
                                      "300", "--trace", game.file("trace.csv")});
    EXPECT_EQ(play.status, 0);
    const std::string trace = readFile(game.file("trace.csv"));
    EXPECT_EQ(trace.substr(trace.rfind("\n300,"), 12), "\n300,level,P") << "the level is played";
    EXPECT_LT(play.peakKilobytes, kBound) << "playing";
    std::printf("peak resident size: --check %ld KB, play %ld KB\n", check.peakKilobytes, play.peakKilobytes);
}
