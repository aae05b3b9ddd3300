#include "player_fixture.h"
#include "platform/sound_event_log.h"
#include "support/recording_audio_service.h"

// The sound events the player raises, update by update: each at the moment
// its state change happens, and nothing else. The standard character stands
// at (128, 196) on the flat screen after beamIn.

namespace {

// A world whose every update's sounds are kept apart.
class SoundWorld {
public:
    explicit SoundWorld(const std::string& mapRows, const PlayerFile& file = PlayerFile::standard(),
                        const std::string& levelKeys = kOneScreenLevel)
        : world(mapRows, file, levelKeys) {}

    // One update; the sounds it raised, by name.
    std::string step(const InputState& input = InputState{}) {
        audio.clearPlayed();
        world.step(input);
        return audio.playedNames();
    }
    // Updates until the player's state is `state` (at most `limit`); every update's sounds.
    std::vector<std::string> stepUntil(const char* state, const InputState& input = InputState{}, int limit = 200) {
        std::vector<std::string> sounds;
        for (int i = 0; i < limit && world.player().stateName() != std::string(state); ++i) {
            sounds.push_back(step(input));
        }
        return sounds;
    }

    RecordingAudioService audio;
    PlayerWorld world;
};

std::string ladderScreen() {
    std::string rows;
    for (int row = 0; row < 15; ++row) {
        rows += row >= 13 ? "################\n" : row >= 6 ? "........H.......\n" : "................\n";
    }
    return rows;
}

}  // namespace

TEST(PlayerSounds, TheBeamInIsSilentUntilItsArrivalMeetsTheGroundWithBeamNotLand) {
    SoundWorld sounds(kFlatScreen);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(sounds.step(), "") << "update " << i + 1;
    EXPECT_STREQ(sounds.world.player().stateName(), "Teleporting");
    EXPECT_EQ(sounds.step(), "beam");  // appears and lands in the same update
    EXPECT_STREQ(sounds.world.player().stateName(), "Standing");
    EXPECT_EQ(sounds.step(), "");
}

TEST(PlayerSounds, AnAppearingPlayerThatFallsFirstSoundsOnlyWhenItLands) {
    // A beam stop 16 pixels above the floor: the player appears in the air.
    SoundWorld sounds(kFlatScreen, PlayerFile::standard(),
                      "boundaries = 1\nboundary0x = 0\nboundary0y = 0\nboundary0w = 256\nteleportStopPosY = 180\n");
    std::vector<std::string> heard = sounds.stepUntil("Standing");
    ASSERT_STREQ(sounds.world.player().stateName(), "Standing");
    EXPECT_GT(heard.size(), 14u);  // it fell for a while after it appeared
    EXPECT_EQ(heard.back(), "beam");
    heard.pop_back();
    for (const std::string& update : heard) EXPECT_EQ(update, "");
}

TEST(PlayerSounds, JumpSoundsInThePressedUpdateAndLandWhereTheArcMeetsTheGround) {
    for (const bool noJumpDelay : {false, true}) {
        PlayerFile file = PlayerFile::standard();
        file.set("Options", "noJumpDelay", noJumpDelay ? "true" : "false");
        SoundWorld sounds(kFlatScreen, file);
        sounds.world.beamIn();
        EXPECT_EQ(sounds.step(Keys().jump()), "jump") << "noJumpDelay " << noJumpDelay;
        EXPECT_STREQ(sounds.world.player().stateName(), "Airborne");
        const std::vector<std::string> arc = sounds.stepUntil("Standing");
        ASSERT_STREQ(sounds.world.player().stateName(), "Standing");
        EXPECT_EQ(arc.back(), "land");
        for (size_t i = 0; i + 1 < arc.size(); ++i) EXPECT_EQ(arc[i], "") << "airborne update " << i + 1;
    }
}

TEST(PlayerSounds, HoldingJumpOnTheGroundJumpsOnceAndAPressDuringTheFlightIsSilent) {
    SoundWorld sounds(kFlatScreen);
    sounds.world.beamIn();
    EXPECT_EQ(sounds.step(Keys().jump()), "jump");
    EXPECT_EQ(sounds.step(Keys().jump()), "");  // pressed again in the air: no jump
}

TEST(PlayerSounds, WalkingOffAnEdgeLandsWithoutAJump) {
    // Floor only under the left half: walking right drops the player off its edge.
    const std::string rows = openRows(13) + "##########......\n" + "##########......\n";
    SoundWorld sounds(rows);
    PlayerWorld& world = sounds.world;
    world.beamIn();
    std::vector<std::string> heard = sounds.stepUntil("Airborne", Keys().right());
    ASSERT_STREQ(world.player().stateName(), "Airborne");
    for (const std::string& update : heard) EXPECT_EQ(update, "");
    // Nothing below: the fall ends in the pit, which sounds nothing in the player.
    heard = sounds.stepUntil("Teleporting");
    for (const std::string& update : heard) EXPECT_EQ(update, "");
}

TEST(PlayerSounds, ShootSoundsForEveryAcceptedShotOnly) {
    SoundWorld sounds(kFlatScreen);
    sounds.world.beamIn();
    EXPECT_EQ(sounds.step(Keys().shoot()), "shoot");
    EXPECT_EQ(sounds.step(Keys().shoot()), "shoot");
    EXPECT_EQ(sounds.step(Keys().shoot()), "shoot");
    EXPECT_EQ(sounds.step(Keys().shoot()), "");  // all three in flight: no shot, no sound
    EXPECT_EQ(sounds.step(), "");
}

TEST(PlayerSounds, HurtSoundsForATakenHitAndNotWhileInvincible) {
    SoundWorld sounds(kFlatScreen);
    sounds.world.beamIn();
    sounds.audio.clearPlayed();
    sounds.world.player().hurt();
    EXPECT_EQ(sounds.audio.playedNames(), "hurt");
    EXPECT_EQ(sounds.step(), "");  // the knock-back starts silently
    sounds.audio.clearPlayed();
    sounds.world.player().hurt();
    EXPECT_EQ(sounds.audio.playedNames(), "");  // invincible: the hit is ignored
    // The knock-back itself, up and down against the floor, is silent.
    for (int i = 0; i < 20 && std::string(sounds.world.player().stateName()) == "Reeling"; ++i) {
        EXPECT_EQ(sounds.step(), "") << "reeling update " << i + 1;
    }
}

TEST(PlayerSounds, GrabbingALadderSoundsAndClimbingDownOntoTheFloorIsNoLanding) {
    SoundWorld sounds(ladderScreen());
    sounds.world.beamIn();
    EXPECT_EQ(sounds.step(Keys().up()), "ladder");
    for (int i = 0; i < 10; ++i) EXPECT_EQ(sounds.step(Keys().up()), "");
    for (const std::string& update : sounds.stepUntil("Standing", Keys().down())) EXPECT_EQ(update, "");
    ASSERT_STREQ(sounds.world.player().stateName(), "Standing");
}

TEST(PlayerSounds, EveryEventRaisedGoesToTheFramesLogInOrder) {
    SoundWorld sounds(kFlatScreen);
    sounds.world.beamIn();
    frameSoundEvents().clear();
    sounds.step(Keys().jump().shoot());
    ASSERT_EQ(frameSoundEvents().size(), 2);
    EXPECT_EQ(frameSoundEvents().at(0), SoundEvent::Shoot);  // shots come before the jump in the update
    EXPECT_EQ(frameSoundEvents().at(1), SoundEvent::Jump);
    EXPECT_EQ(sounds.audio.playedNames(), "shoot jump");
}
