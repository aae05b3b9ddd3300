#include "resources/sound_settings.h"

#include "support/recording_audio_service.h"

#include <gtest/gtest.h>

#include <string>

// Reading "sound.ini": which effect each event plays, how loud, and every
// way the file can say something the engine cannot use.

namespace {

SoundSettings read(const std::string& text) {
    return SoundSettings(IniDictionary::fromText(text));
}

// The problems as "line section/key: message" lines.
std::string problemsOf(const SoundSettings& settings) {
    std::string text;
    for (const SoundSettings::Problem& problem : settings.problems()) {
        text += std::to_string(problem.line) + " " + problem.section + (problem.key.empty() ? "" : "/") + problem.key +
                ": " + problem.message + "\n";
    }
    return text;
}

}  // namespace

TEST(SoundSettings, EachEventSectionNamesItsFileAndVolume) {
    const SoundSettings settings = read("; the game's sounds\n[jump]\nfile=sounds/jump.wav\nvolume=80\n"
                                        "[menuMove]\nfile = sounds/move.ogg\n");
    EXPECT_EQ(settings.effect(SoundEvent::Jump).file, "sounds/jump.wav");
    EXPECT_EQ(settings.effect(SoundEvent::Jump).volume, 80);
    EXPECT_EQ(settings.effect(SoundEvent::Jump).line, 3);
    EXPECT_EQ(settings.effect(SoundEvent::MenuMove).file, "sounds/move.ogg");
    EXPECT_EQ(settings.effect(SoundEvent::MenuMove).volume, 100) << "full volume when absent";
    EXPECT_EQ(settings.effect(SoundEvent::Land).file, "") << "no section: silent";
    EXPECT_EQ(problemsOf(settings), "");
}

TEST(SoundSettings, AnEmptyOrMissingFileMeansASilentGameWithoutProblems) {
    EXPECT_EQ(problemsOf(read("")), "");
    const SoundSettings missing(IniDictionary("no/such/sound.ini"));
    EXPECT_EQ(problemsOf(missing), "");
    for (int i = 0; i < kSoundEventCount; ++i) EXPECT_EQ(missing.effect(soundEventAt(i)).file, "");
}

TEST(SoundSettings, UnknownSectionsGetTheNearestEventAsASuggestion) {
    const SoundSettings settings =
        read("[jmup]\nfile=a.wav\n[menumove]\nfile=b.wav\n[Shot]\nfile=c.wav\n[explosion]\nfile=d.wav\nvolume=3\n");
    EXPECT_EQ(problemsOf(settings),
              "1 jmup: is not a sound event (did you mean jump?); the section plays nothing\n"
              "3 menumove: is not a sound event (did you mean menuMove?); the section plays nothing\n"
              "5 Shot: is not a sound event (did you mean shoot?); the section plays nothing\n"
              "7 explosion: is not a sound event; the section plays nothing\n");
    EXPECT_EQ(settings.effect(SoundEvent::Jump).file, "") << "a misspelt section plays nothing";
}

TEST(SoundSettings, VolumesOutsideZeroToAHundredAreCutAndReported) {
    const SoundSettings settings = read("[jump]\nfile=a.wav\nvolume=150\n[land]\nfile=a.wav\nvolume=-5\n"
                                        "[shoot]\nfile=a.wav\nvolume=loud\n[hurt]\nfile=a.wav\nvolume=0\n"
                                        "[beam]\nfile=a.wav\nvolume=100\n");
    EXPECT_EQ(settings.effect(SoundEvent::Jump).volume, 100);
    EXPECT_EQ(settings.effect(SoundEvent::Land).volume, 0);
    EXPECT_EQ(settings.effect(SoundEvent::Shoot).volume, 0) << "read as the engine reads numbers";
    EXPECT_EQ(settings.effect(SoundEvent::Hurt).volume, 0);
    EXPECT_EQ(settings.effect(SoundEvent::Beam).volume, 100);
    EXPECT_EQ(problemsOf(settings),
              "3 jump/volume: '150' is not a whole number from 0 to 100; the effect plays at 100\n"
              "6 land/volume: '-5' is not a whole number from 0 to 100; the effect plays at 0\n"
              "9 shoot/volume: 'loud' is not a whole number from 0 to 100; the effect plays at 0\n");
}

TEST(SoundSettings, SectionsWithoutAFileAndKeysNobodyReadsAreReported) {
    const SoundSettings settings = read("stray=1\n[ready]\nvolume=50\n[beam]\nfile=b.wav\nloop=true\n");
    EXPECT_EQ(problemsOf(settings),
              "1 /stray: a key before the first [event] section; it is not read\n"
              "2 ready/file: no sound file is named; the event plays nothing\n"
              "6 beam/loop: the engine never reads this key; it has no effect\n");
    EXPECT_EQ(settings.effect(SoundEvent::Beam).file, "b.wav");
}

TEST(SoundSettings, LoadingHandsEveryNamedEffectToTheServiceAndReportsFailuresOnce) {
    RecordingAudioService audio;
    audio.failOn("gone.wav", "cannot be opened");
    const SoundSettings settings = read("[jump]\nfile=jump.wav\nvolume=80\n[pause]\nfile=gone.wav\n[jmup]\nfile=x\n");
    testing::internal::CaptureStderr();
    settings.loadInto(audio);
    const std::string errors = testing::internal::GetCapturedStderr();
    ASSERT_EQ(audio.loads().size(), 2u);
    EXPECT_EQ(audio.loads()[0].event, SoundEvent::Jump);
    EXPECT_EQ(audio.loads()[0].file, "jump.wav");
    EXPECT_EQ(audio.loads()[0].volume, 80);
    EXPECT_EQ(audio.loads()[1].event, SoundEvent::Pause);
    EXPECT_EQ(errors,
              "sound.ini:6: [jmup]: is not a sound event (did you mean jump?); the section plays nothing\n"
              "sound.ini:5: [pause] file: cannot load \"gone.wav\": cannot be opened; the event plays nothing\n");
}

TEST(SoundSettings, SuggestionsNeedTheNameToBeClose) {
    EXPECT_EQ(SoundSettings::closestEventName("lader"), "ladder");
    EXPECT_EQ(SoundSettings::closestEventName("transtion"), "transition");
    EXPECT_EQ(SoundSettings::closestEventName("MENUBACK"), "menuBack");
    EXPECT_EQ(SoundSettings::closestEventName("xyz"), "");
    EXPECT_EQ(SoundSettings::closestEventName(""), "");
}
