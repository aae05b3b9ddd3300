// Plays every sound effect and tune of the sample game through the real
// SDL_mixer, with SDL's disk audio driver writing the mixed output to a file
// instead of a sound card, and checks that each one loads and is heard.

#include "support/disk_audio_capture.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 22050;          // samples per second, as the engine opens the mixer
constexpr int kBufferFrames = 512;
constexpr size_t kFrameBytes = DiskAudioCapture::kFrameBytes;
constexpr int kAudibleLevel = DiskAudioCapture::kAudibleLevel;
constexpr size_t kBufferBytes = kBufferFrames * kFrameBytes;

std::vector<std::string> gameFiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> files;
    const fs::path directory = fs::path(VOLTARO_GAME_DIR) / folder;
    if (!fs::is_directory(directory)) return files;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory)) {
        if (entry.path().extension() == extension) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

class MixerPlaybackTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // One output file per process: ctest may run several of these tests at once.
        s_capture = std::make_unique<DiskAudioCapture>(std::string(VOLTARO_SCRATCH_DIR) + "/mixer_playback_" +
                                                       std::to_string(getpid()) + ".raw");
        s_ready = SDL_Init(SDL_INIT_AUDIO) == 0 && Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, kBufferFrames) == 0;
        if (!s_ready) s_error = Mix_GetError();
    }

    static void TearDownTestSuite() {
        if (s_ready) Mix_CloseAudio();
        SDL_Quit();
        s_capture.reset();
    }

    void SetUp() override { ASSERT_TRUE(s_ready) << "cannot open the disk audio driver: " << s_error; }

    static bool waitForOutput(size_t from, size_t bytes) { return s_capture->waitForOutput(from, bytes); }
    static size_t quietStart() { return s_capture->quietStart(kBufferBytes); }
    static int loudestIn(size_t from, size_t bytes) { return s_capture->loudestIn(from, bytes); }

    static std::unique_ptr<DiskAudioCapture> s_capture;
    static bool s_ready;
    static std::string s_error;
};

std::unique_ptr<DiskAudioCapture> MixerPlaybackTest::s_capture;
bool MixerPlaybackTest::s_ready = false;
std::string MixerPlaybackTest::s_error;

TEST_F(MixerPlaybackTest, EveryGameSoundLoadsAndIsHeard) {
    const std::vector<std::string> sounds = gameFiles("sounds", ".wav");
    EXPECT_GE(sounds.size(), 12u) << "the game has one sound per event";
    for (const std::string& path : sounds) {
        Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
        ASSERT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
        const size_t start = quietStart();
        ASSERT_NE(Mix_PlayChannel(-1, chunk, 0), -1) << path << ": " << Mix_GetError();
        // The chunk holds the sound converted to the output format.
        const size_t bytes = chunk->alen + 4 * kBufferFrames * kFrameBytes;  // and a little latency
        ASSERT_TRUE(waitForOutput(start, bytes)) << "the disk audio driver stopped writing";
        Mix_HaltChannel(-1);
        EXPECT_GT(loudestIn(start, bytes), kAudibleLevel) << path << " is silent";
        Mix_FreeChunk(chunk);
    }
    EXPECT_LE(loudestIn(quietStart(), kBufferFrames * kFrameBytes), 0) << "sound went on after every channel halted";
}

TEST_F(MixerPlaybackTest, EveryGameTuneLoadsAndPlaysAsLoopingMusic) {
    const std::vector<std::string> tunes = gameFiles("music", ".xm");
    EXPECT_GE(tunes.size(), 4u) << "the game has a menu tune and one per level";
    const size_t twoSeconds = 2 * kRate * kFrameBytes;
    for (const std::string& path : tunes) {
        Mix_Music* music = Mix_LoadMUS(path.c_str());
        ASSERT_NE(music, nullptr) << path << ": " << Mix_GetError();
        const size_t start = quietStart();
        ASSERT_EQ(Mix_PlayMusic(music, -1), 0) << path << ": " << Mix_GetError();
        ASSERT_TRUE(waitForOutput(start, twoSeconds)) << "the disk audio driver stopped writing";
        EXPECT_TRUE(Mix_PlayingMusic()) << path;
        Mix_HaltMusic();
        // Every half second of the first two is heard: the tune starts at once, no long silence.
        for (size_t half = 0; half < 4; ++half) {
            EXPECT_GT(loudestIn(start + half * twoSeconds / 4, twoSeconds / 4), kAudibleLevel)
                << path << " is silent in its half second " << half;
        }
        Mix_FreeMusic(music);
    }
}

}  // namespace
