#include <gtest/gtest.h>

#include "effect_parser.h"
#include "source_error_text.h"

namespace {

// The message of the SourceError that parsing `text` throws, or "" when it parses.
std::string errorOf(const std::string& text) {
    return sourceErrorText([&text] { EffectParser::parseText(text, "fx.sfx"); });
}

TEST(EffectParserTest, ReadsEveryDirectiveOfATone) {
    const SoundEffect effect = EffectParser::parseText(
        "; a chirp\r\n"
        "wave square 25   ; thin\r\n"
        "freq A4\n"
        "slide 880\n"
        "vibrato 6 30\n"
        "length 200\n"
        "attack 5\n"
        "decay 100\n"
        "volume 70\n"
        "at 40\n",
        "fx.sfx");
    ASSERT_EQ(effect.tones.size(), 1u);
    const SoundEffect::Tone& tone = effect.tones[0];
    EXPECT_EQ(tone.wave.kind(), WaveShape::Kind::Square);
    EXPECT_EQ(tone.wave.dutyPercent(), 25);
    EXPECT_EQ(tone.startCents, 6900);
    EXPECT_EQ(tone.endCents, 8100);
    EXPECT_EQ(tone.vibratoRateHz, 6);
    EXPECT_EQ(tone.vibratoDepthCents, 30);
    EXPECT_EQ(tone.lengthMs, 200);
    EXPECT_EQ(tone.attackMs, 5);
    EXPECT_EQ(tone.decayMs, 100);
    EXPECT_EQ(tone.volumePercent, 70);
    EXPECT_EQ(tone.startMs, 40);
}

TEST(EffectParserTest, DefaultsAndTonesInSequence) {
    const SoundEffect effect = EffectParser::parseText(
        "freq C5\nlength 80\n"
        "tone\nwave noise short\nfreq 4000\nlength 50\n"
        "tone\nwave triangle\nfreq E5\nlength 30\nat 10\n"
        "tone\nwave sawtooth\nfreq G5\nlength 20\n",
        "fx.sfx");
    ASSERT_EQ(effect.tones.size(), 4u);
    EXPECT_EQ(effect.tones[0].wave.kind(), WaveShape::Kind::Square);
    EXPECT_EQ(effect.tones[0].wave.dutyPercent(), 50);
    EXPECT_EQ(effect.tones[0].endCents, effect.tones[0].startCents);  // no slide
    EXPECT_EQ(effect.tones[0].volumePercent, 100);
    EXPECT_EQ(effect.tones[0].startMs, 0);
    EXPECT_TRUE(effect.tones[1].wave.shortNoise());
    EXPECT_EQ(effect.tones[1].startMs, 80);  // right after the previous tone
    EXPECT_EQ(effect.tones[2].wave.kind(), WaveShape::Kind::Triangle);
    EXPECT_EQ(effect.tones[2].startMs, 10);  // placed explicitly, overlapping
    EXPECT_EQ(effect.tones[3].wave.kind(), WaveShape::Kind::Sawtooth);
    EXPECT_EQ(effect.tones[3].startMs, 40);  // after the tone placed before it
}

TEST(EffectParserTest, ReportsBadWordsWithLineAndColumn) {
    EXPECT_EQ(errorOf("freq 440\nlength 10\nloudness 3\n"), "fx.sfx:3:1: unknown directive 'loudness'");
    EXPECT_EQ(errorOf("freq 440 880\nlength 10\n"), "fx.sfx:1:10: usage: freq HZ|NOTE");
    EXPECT_EQ(errorOf("freq\n"), "fx.sfx:1:5: usage: freq HZ|NOTE");
    EXPECT_EQ(errorOf("freq H4\nlength 10\n"),
              "fx.sfx:1:6: 'H4' is neither a frequency in Hz nor a note name such as A4, C#5 or Eb3");
    EXPECT_EQ(errorOf("freq 12\nlength 10\n"), "fx.sfx:1:6: a frequency (Hz) must be a whole number from 16 to 44100, not '12'");
    EXPECT_EQ(errorOf("freq 440\n  length 0\n"), "fx.sfx:2:10: the length (ms) must be a whole number from 1 to 10000, not '0'");
    EXPECT_EQ(errorOf("freq 440\nlength 10\nvolume 101\n"),
              "fx.sfx:3:8: the volume (percent) must be a whole number from 0 to 100, not '101'");
    EXPECT_EQ(errorOf("freq 440\nlength 10\nvolume 5x\n"),
              "fx.sfx:3:8: the volume (percent) must be a whole number from 0 to 100, not '5x'");
    EXPECT_EQ(errorOf("wave sine\n"), "fx.sfx:1:6: unknown wave 'sine' (square, triangle, sawtooth or noise)");
    EXPECT_EQ(errorOf("wave square 100\n"),
              "fx.sfx:1:13: the duty cycle (percent) must be a whole number from 1 to 99, not '100'");
    EXPECT_EQ(errorOf("wave noise long\n"),
              "fx.sfx:1:12: usage: wave square [DUTY] | triangle | sawtooth | noise [short]");
    EXPECT_EQ(errorOf("wave triangle 50\n"),
              "fx.sfx:1:15: usage: wave square [DUTY] | triangle | sawtooth | noise [short]");
    EXPECT_EQ(errorOf("vibrato 0 10\n"), "fx.sfx:1:9: the vibrato rate (Hz) must be a whole number from 1 to 50, not '0'");
    EXPECT_EQ(errorOf("tone 2\n"), "fx.sfx:1:6: usage: tone");
}

TEST(EffectParserTest, ReportsToneProblemsAtTheLineThatCausedThem) {
    EXPECT_EQ(errorOf("freq 440\nlength 10\nfreq 220\n"),
              "fx.sfx:3:1: 'freq' is already given for this tone at fx.sfx:1");
    EXPECT_EQ(errorOf("freq 440\nlength 10\ntone\nwave noise\nlength 5\n"),
              "fx.sfx:3:1: the tone starting here has no 'freq'");
    EXPECT_EQ(errorOf("; nothing yet\nwave triangle\nfreq 440\n"), "fx.sfx:2:1: the tone starting here has no 'length'");
    EXPECT_EQ(errorOf("freq 440\nlength 100\nattack 60\ndecay 50\n"),
              "fx.sfx:4:7: attack (60 ms) and decay (50 ms) do not fit in the tone's length (100 ms)");
    EXPECT_EQ(errorOf("freq 440\nattack 60\ndecay 50\nlength 100\n"),
              "fx.sfx:4:8: attack (60 ms) and decay (50 ms) do not fit in the tone's length (100 ms)");
    EXPECT_EQ(errorOf("freq 9000\nslide 12000\nlength 10\n"), "fx.sfx:2:7: '12000' is above 11025 Hz, the highest tone");
    EXPECT_EQ(errorOf("freq B9\nlength 10\n"), "fx.sfx:1:6: 'B9' is above 11025 Hz, the highest tone");
    EXPECT_EQ(errorOf("wave noise\nfreq 44100\nlength 10\n"), "");  // noise may step faster
    EXPECT_EQ(errorOf("freq 440\nlength 6000\ntone\nfreq 440\nlength 5000\n"),
              "fx.sfx:5:8: the tone ends at 11000 ms, but an effect lasts at most 10000 ms");
    EXPECT_EQ(errorOf("; only a comment\n\n"), "fx.sfx: the effect has no tone");
    std::string many;
    for (size_t i = 0; i <= EffectParser::kMaxTones; ++i) many += "tone\nfreq 440\nlength 1\nat 0\n";
    EXPECT_EQ(errorOf(many), "fx.sfx:257:1: an effect has at most 64 tones");
}

}  // namespace
