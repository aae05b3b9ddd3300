#include "platform/audio_service.h"
#include "platform/silent_audio_service.h"
#include "platform/sound_event.h"
#include "platform/sound_event_log.h"
#include "support/recording_audio_service.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// The sound events' names (what sound.ini and the trace write), the frame's
// event log, and the way an event reaches whatever plays it.

TEST(SoundEvent, EveryEventHasADistinctNameThatReadsBackAsItself) {
    std::set<std::string> names;
    for (int i = 0; i < kSoundEventCount; ++i) {
        const SoundEvent event = soundEventAt(i);
        const std::string name = soundEventName(event);
        EXPECT_TRUE(names.insert(name).second) << name;
        SoundEvent read = SoundEvent::Pause;
        ASSERT_TRUE(soundEventFromName(name, read)) << name;
        EXPECT_EQ(read, event);
    }
    EXPECT_EQ(names, (std::set<std::string>{"jump", "land", "shoot", "hurt", "ladder", "transition", "ready", "beam",
                                            "menuMove", "menuConfirm", "menuBack", "pause"}));
}

TEST(SoundEvent, NamesMatchExactly) {
    SoundEvent event = SoundEvent::Jump;
    for (const char* other : {"Jump", "menumove", " jump", "jump ", "", "jumps"}) {
        EXPECT_FALSE(soundEventFromName(other, event)) << other;
    }
    EXPECT_STREQ(soundEventName(soundEventAt(kSoundEventCount)), "unknown");
}

TEST(SoundEventLog, KeepsTheOrderUpToItsCapacityAndCountsTheRest) {
    SoundEventLog log;
    for (int i = 0; i < SoundEventLog::kCapacity + 5; ++i) log.add(i == 0 ? SoundEvent::Land : SoundEvent::Shoot);
    EXPECT_EQ(log.size(), SoundEventLog::kCapacity);
    EXPECT_EQ(log.at(0), SoundEvent::Land);
    EXPECT_EQ(log.dropped(), 5);
    log.clear();
    EXPECT_EQ(log.size(), 0);
    EXPECT_EQ(log.dropped(), 0);
}

TEST(SoundEventLog, ARaisedEventIsLoggedAndPlayedByTheRegisteredService) {
    frameSoundEvents().clear();
    {
        RecordingAudioService audio;
        raiseSoundEvent(SoundEvent::Hurt);
        EXPECT_EQ(audio.playedNames(), "hurt");
    }
    // With no service registered the event is still logged, and nothing plays it.
    raiseSoundEvent(SoundEvent::Beam);
    ASSERT_EQ(frameSoundEvents().size(), 2);
    EXPECT_EQ(frameSoundEvents().at(0), SoundEvent::Hurt);
    EXPECT_EQ(frameSoundEvents().at(1), SoundEvent::Beam);
}

TEST(SilentAudioService, AcceptsEverythingPlaysNothingAndKeepsTheMuteFlag) {
    setAudioService(nullptr);
    AudioService& silent = getAudioService();
    EXPECT_NE(dynamic_cast<SilentAudioService*>(&silent), nullptr);
    std::string problem;
    EXPECT_TRUE(silent.loadEffect(SoundEvent::Jump, "no/such/file.wav", 80, problem));
    EXPECT_TRUE(silent.playMusic("no/such/tune.xm", problem));
    EXPECT_EQ(problem, "");
    silent.setMuted(true);
    EXPECT_TRUE(getAudioService().isMuted());
    silent.setMuted(false);
}
