#include <gtest/gtest.h>

#include "pitch.h"

namespace {

double hertz(int cents) { return static_cast<double>(Pitch::hertzQ24(cents)) / (1 << 24); }

TEST(PitchTest, NoteNamesReadAsMidiNumbers) {
    EXPECT_EQ(Pitch::parseNote("C4"), 60);
    EXPECT_EQ(Pitch::parseNote("C-4"), 60);
    EXPECT_EQ(Pitch::parseNote("A4"), 69);
    EXPECT_EQ(Pitch::parseNote("C#5"), 73);
    EXPECT_EQ(Pitch::parseNote("Eb3"), 51);
    EXPECT_EQ(Pitch::parseNote("Cb4"), 59);  // a flat may cross into the octave below
    EXPECT_EQ(Pitch::parseNote("C0"), 12);
    EXPECT_EQ(Pitch::parseNote("B9"), 131);
    for (const char* bad : {"", "C", "H4", "c4", "C#", "Cx4", "C44", "440", "C#-4"}) {
        EXPECT_EQ(Pitch::parseNote(bad), -1) << bad;
    }
    EXPECT_EQ(Pitch::noteName(60), "C-4");
    EXPECT_EQ(Pitch::noteName(70), "A#4");
}

TEST(PitchTest, FrequenciesFollowTheEqualTemperedScale) {
    EXPECT_NEAR(hertz(6900), 440.0, 0.001);
    EXPECT_NEAR(hertz(5700), 220.0, 0.001);
    EXPECT_NEAR(hertz(6000), 261.6256, 0.001);
    EXPECT_NEAR(hertz(0), 8.1758, 0.0001);
    // Between semitones the straight line stays within a cent of the curve.
    EXPECT_NEAR(hertz(6950), 440.0 * 1.0293022, 440.0 * 0.0006);
}

TEST(PitchTest, FrequencyRisesWithEveryCentAndRoundTrips) {
    for (int cents = 1; cents <= Pitch::kMaxCents; ++cents) {
        ASSERT_GT(Pitch::hertzQ24(cents), Pitch::hertzQ24(cents - 1)) << cents;
    }
    EXPECT_EQ(Pitch::centsOfHertz(440), 6900);
    EXPECT_EQ(Pitch::centsOfHertz(880), 8100);
    EXPECT_EQ(Pitch::centsOfHertz(1), 0);  // below the lowest pitch: the lowest
    for (int hertzValue : {20, 100, 1000, 11025, 44100}) {
        EXPECT_NEAR(hertz(Pitch::centsOfHertz(hertzValue)), hertzValue, hertzValue * 0.0003) << hertzValue;
    }
    EXPECT_EQ(Pitch::hertzQ24(-5), Pitch::hertzQ24(0));
    EXPECT_EQ(Pitch::hertzQ24(Pitch::kMaxCents + 100), Pitch::hertzQ24(Pitch::kMaxCents));
}

}  // namespace
