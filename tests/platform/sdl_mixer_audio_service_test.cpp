// The SDL_mixer audio service against the real mixer, on SDL's disk audio
// driver: what it plays is written to a file and read back here.

#include "platform/sdl_mixer_audio_service.h"

#include "support/disk_audio_capture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace {

constexpr size_t kBufferBytes = SdlMixerAudioService::kBufferFrames * DiskAudioCapture::kFrameBytes;
constexpr size_t kWindowBytes = 8 * kBufferBytes;  // what a test listens to after an action
const std::string kMenuTune = std::string(VOLTARO_SOURCE_DIR) + "/game/music/menu.xm";

// A 16-bit mono WAV of a square wave at half of full scale.
std::string squareWave(int samples) {
    std::string data;
    for (int i = 0; i < samples; ++i) {
        const int16_t value = (i / 25) % 2 == 0 ? 16000 : -16000;
        data += static_cast<char>(value & 0xff);
        data += static_cast<char>((value >> 8) & 0xff);
    }
    auto u32 = [](uint32_t v) {
        return std::string{static_cast<char>(v & 0xff), static_cast<char>((v >> 8) & 0xff),
                           static_cast<char>((v >> 16) & 0xff), static_cast<char>(v >> 24)};
    };
    auto u16 = [](uint16_t v) { return std::string{static_cast<char>(v & 0xff), static_cast<char>(v >> 8)}; };
    return "RIFF" + u32(static_cast<uint32_t>(36 + data.size())) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
           u32(22050) + u32(44100) + u16(2) + u16(16) + "data" + u32(static_cast<uint32_t>(data.size())) + data;
}

class SdlMixerAudioServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir.write("beep.wav", squareWave(22050 / 2));
        dir.write("notes.txt", "not a sound\n");
    }

    std::unique_ptr<SdlMixerAudioService> open(const AudioSettings& settings = AudioSettings()) {
        return std::make_unique<SdlMixerAudioService>(settings);
    }

    // The loudest sample the mixer writes in the window after `action`.
    int loudestAfter(const std::function<void()>& action) {
        const size_t start = capture.quietStart(kBufferBytes);
        action();
        EXPECT_TRUE(capture.waitForOutput(start, kWindowBytes)) << "the disk audio driver stopped writing";
        return capture.loudestIn(start, kWindowBytes);
    }

    TempDir dir;
    DiskAudioCapture capture{dir.file("out.raw")};
};

}  // namespace

TEST_F(SdlMixerAudioServiceTest, AnEffectIsHeardOnItsEventAndNotWhileMuted) {
    auto audio = open();
    EXPECT_EQ(audio->driverName(), "disk");
    std::string problem;
    ASSERT_TRUE(audio->loadEffect(SoundEvent::Jump, dir.file("beep.wav"), 100, problem)) << problem;
    EXPECT_EQ(loudestAfter([] {}), 0) << "nothing plays by itself";
    EXPECT_EQ(loudestAfter([&] { audio->playEffect(SoundEvent::Land); }), 0) << "land has no effect";
    EXPECT_GT(loudestAfter([&] { audio->playEffect(SoundEvent::Jump); }), DiskAudioCapture::kAudibleLevel);

    audio->setMuted(true);
    EXPECT_TRUE(audio->isMuted());
    EXPECT_EQ(loudestAfter([&] { audio->playEffect(SoundEvent::Jump); }), 0);
    audio->setMuted(false);
    EXPECT_GT(loudestAfter([&] { audio->playEffect(SoundEvent::Jump); }), DiskAudioCapture::kAudibleLevel);
}

TEST_F(SdlMixerAudioServiceTest, TheEffectsVolumeAndTheMasterVolumeScaleTheSound) {
    std::string problem;
    int full = 0;
    {
        auto audio = open();
        ASSERT_TRUE(audio->loadEffect(SoundEvent::Jump, dir.file("beep.wav"), 100, problem)) << problem;
        ASSERT_TRUE(audio->loadEffect(SoundEvent::Land, dir.file("beep.wav"), 50, problem)) << problem;
        full = loudestAfter([&] { audio->playEffect(SoundEvent::Jump); });
        const int half = loudestAfter([&] { audio->playEffect(SoundEvent::Land); });
        EXPECT_NEAR(half, full / 2, full / 10);
    }
    AudioSettings quieter;
    quieter.volume = 50;
    {
        auto audio = open(quieter);
        ASSERT_TRUE(audio->loadEffect(SoundEvent::Jump, dir.file("beep.wav"), 100, problem)) << problem;
        EXPECT_NEAR(loudestAfter([&] { audio->playEffect(SoundEvent::Jump); }), full / 2, full / 10);
    }
    AudioSettings silent;
    silent.volume = 0;
    auto audio = open(silent);
    ASSERT_TRUE(audio->loadEffect(SoundEvent::Jump, dir.file("beep.wav"), 100, problem)) << problem;
    EXPECT_EQ(loudestAfter([&] { audio->playEffect(SoundEvent::Jump); }), 0);
}

TEST_F(SdlMixerAudioServiceTest, FilesThatCannotBePlayedAreRefusedWithTheReason) {
    auto audio = open();
    ASSERT_EQ(mkfifo(dir.file("pipe.wav").c_str(), 0600), 0);
    struct Case {
        std::string file;
        std::string reason;
    };
    for (const Case& bad : {Case{dir.file("missing.wav"), "cannot be opened"},
                            Case{dir.path(), "is not a regular file"},
                            Case{dir.file("pipe.wav"), "is not a regular file"},  // would block for ever
                            Case{dir.file("notes.txt"), "is not a sound SDL_mixer can play"}}) {
        std::string problem;
        EXPECT_FALSE(audio->loadEffect(SoundEvent::Shoot, bad.file, 100, problem)) << bad.file;
        EXPECT_EQ(problem.compare(0, bad.reason.size(), bad.reason), 0) << bad.file << ": " << problem;
        problem.clear();
        EXPECT_FALSE(audio->playMusic(bad.file, problem)) << bad.file;
        EXPECT_NE(problem.find(bad.reason == "is not a sound SDL_mixer can play" ? "is not music" : bad.reason),
                  std::string::npos)
            << bad.file << ": " << problem;
    }
    EXPECT_EQ(loudestAfter([&] { audio->playEffect(SoundEvent::Shoot); }), 0);
    EXPECT_FALSE(Mix_PlayingMusic());
}

TEST_F(SdlMixerAudioServiceTest, MusicLoopsUntilAnEmptyNameStopsIt) {
    auto audio = open();
    std::string problem;
    EXPECT_GT(loudestAfter([&] { ASSERT_TRUE(audio->playMusic(kMenuTune, problem)) << problem; }),
              DiskAudioCapture::kAudibleLevel);
    EXPECT_TRUE(audio->playMusic(kMenuTune, problem)) << "the same tune goes on";
    EXPECT_TRUE(Mix_PlayingMusic());
    ASSERT_TRUE(audio->playMusic("", problem));
    EXPECT_FALSE(Mix_PlayingMusic());
    EXPECT_EQ(loudestAfter([] {}), 0);
}

TEST_F(SdlMixerAudioServiceTest, MusicAskedForWhileMutedStartsWhenSoundReturns) {
    AudioSettings muted;
    muted.muted = true;
    auto audio = open(muted);
    std::string problem;
    EXPECT_EQ(loudestAfter([&] { ASSERT_TRUE(audio->playMusic(kMenuTune, problem)) << problem; }), 0);
    EXPECT_GT(loudestAfter([&] { audio->setMuted(false); }), DiskAudioCapture::kAudibleLevel);
    EXPECT_EQ(loudestAfter([&] { audio->setMuted(true); }), 0) << "the music pauses";
    EXPECT_GT(loudestAfter([&] { audio->setMuted(false); }), DiskAudioCapture::kAudibleLevel) << "and goes on";
}
