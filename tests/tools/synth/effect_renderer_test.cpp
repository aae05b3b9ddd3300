#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "effect_parser.h"
#include "effect_renderer.h"
#include "wav_writer.h"

namespace {

constexpr int kRate = 22050;

std::vector<int16_t> render(const std::string& source) {
    return EffectRenderer::render(EffectParser::parseText(source, "fx.sfx"), kRate);
}

// Rising zero crossings in [from, to).
int risingCrossings(const std::vector<int16_t>& samples, size_t from, size_t to) {
    int crossings = 0;
    for (size_t i = std::max<size_t>(from, 1); i < to; ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) ++crossings;
    }
    return crossings;
}

int peak(const std::vector<int16_t>& samples, size_t from, size_t to) {
    int highest = 0;
    for (size_t i = from; i < to; ++i) highest = std::max(highest, std::abs(static_cast<int>(samples[i])));
    return highest;
}

TEST(EffectRendererTest, SquareHasItsPitchDutyAndLevel) {
    const std::vector<int16_t> samples = render("wave square 25\nfreq 1000\nlength 1000\n");
    ASSERT_EQ(samples.size(), 22050u);
    EXPECT_NEAR(risingCrossings(samples, 0, samples.size()), 1000, 1);
    const long high = std::count_if(samples.begin(), samples.end(), [](int16_t s) { return s > 0; });
    EXPECT_NEAR(static_cast<double>(high) / samples.size(), 0.25, 0.01);
    // Full volume peaks at three quarters of full scale.
    EXPECT_EQ(peak(samples, 0, samples.size()), 32767 * 3 / 4);
}

TEST(EffectRendererTest, EveryWaveKeepsItsPitch) {
    for (const char* wave : {"triangle", "sawtooth", "square"}) {
        const std::vector<int16_t> samples = render(std::string("wave ") + wave + "\nfreq A4\nlength 500\n");
        EXPECT_NEAR(risingCrossings(samples, 0, samples.size()), 220, 1) << wave;
    }
}

TEST(EffectRendererTest, SlideRisesExponentiallyAndVibratoWobbles) {
    // Two octaves in one second: the middle is one octave up, not halfway in Hz.
    const std::vector<int16_t> slide = render("freq 220\nslide 880\nlength 1000\n");
    const size_t tenth = kRate / 10;
    EXPECT_NEAR(risingCrossings(slide, 0, tenth), 23, 2);                    // around 230 Hz
    EXPECT_NEAR(risingCrossings(slide, 5 * tenth - tenth / 2, 5 * tenth + tenth / 2), 44, 2);  // 440 Hz
    EXPECT_NEAR(risingCrossings(slide, 9 * tenth, 10 * tenth), 82, 2);       // approaching 880 Hz

    // A 5 Hz vibrato of a semitone: the pitch over each 100 ms alternates.
    const std::vector<int16_t> vibrato = render("freq 1000\nvibrato 5 100\nlength 400\n");
    const int rising = risingCrossings(vibrato, 0, tenth);
    const int falling = risingCrossings(vibrato, tenth, 2 * tenth);
    EXPECT_GT(rising, falling + 3);
    EXPECT_NEAR(risingCrossings(vibrato, 0, vibrato.size()), 400, 2);  // centred on the base pitch
}

TEST(EffectRendererTest, EnvelopeRisesAndFalls) {
    const std::vector<int16_t> samples = render("wave square\nfreq 2000\nlength 100\nattack 20\ndecay 50\n");
    ASSERT_EQ(samples.size(), 2205u);
    EXPECT_LT(peak(samples, 0, 44), 32767 * 3 / 4 / 8);             // first 2 ms of a 20 ms attack
    EXPECT_EQ(peak(samples, 441, 1102), 32767 * 3 / 4);                // sustained between attack and decay
    EXPECT_LT(peak(samples, 2160, 2205), 32767 * 3 / 4 / 20);         // last 2 ms of a 50 ms decay
    EXPECT_GT(peak(samples, 1323, 1400), peak(samples, 1800, 1900));  // falling during the decay
}

TEST(EffectRendererTest, TonesArePlacedMixedAndClipped) {
    const std::vector<int16_t> samples = render(
        "wave square\nfreq 100\nlength 100\nat 50\n"
        "tone\nwave square\nfreq 100\nlength 100\nat 50\n");
    ASSERT_EQ(samples.size(), 3307u);  // 150 ms
    EXPECT_EQ(peak(samples, 0, 1102), 0);  // silence before the tones start
    // Two full squares in phase add up past full scale and clip.
    EXPECT_EQ(*std::max_element(samples.begin(), samples.end()), 32767);
    EXPECT_EQ(*std::min_element(samples.begin(), samples.end()), -32768);
}

TEST(EffectRendererTest, NoiseIsDeterministicAndFollowsItsRate) {
    const std::string source = "wave noise\nfreq 2000\nlength 200\n";
    const std::vector<int16_t> first = render(source);
    EXPECT_EQ(first, render(source));
    // Stepped 2000 times a second, the value holds for about 11 samples.
    int changes = 0;
    for (size_t i = 1; i < first.size(); ++i) changes += first[i] != first[i - 1];
    EXPECT_GT(changes, 100);
    EXPECT_LT(changes, 400);
}

TEST(EffectRendererTest, NoiseGeneratorsRepeatAfterTheirLoop) {
    const std::vector<int16_t> buzz = WaveShape(WaveShape::Kind::Noise, 50, true).loop(300);
    for (size_t i = 0; i + 93 < buzz.size(); ++i) ASSERT_EQ(buzz[i], buzz[i + 93]) << i;
    const std::vector<int16_t> hiss = WaveShape(WaveShape::Kind::Noise, 50, false).loop(2 * 32767);
    for (size_t i = 0; i < 32767; ++i) ASSERT_EQ(hiss[i], hiss[i + 32767]) << i;
    int differences = 0;
    for (size_t i = 0; i < 1000; ++i) differences += hiss[i] != hiss[i + 93];
    EXPECT_GT(differences, 300);  // the long generator does not repeat after 93 steps
}

TEST(WavWriterTest, CanonicalHeaderThenLittleEndianSamples) {
    const std::string bytes = WavWriter::encode({1, -2, 0x1234}, 22050);
    ASSERT_EQ(bytes.size(), 44u + 6u);
    auto u32 = [&bytes](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
    };
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(u32(4), 42u);  // file size less 8
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(u32(16), 16u);
    EXPECT_EQ(u32(20), 1u | 1u << 16);  // PCM, mono
    EXPECT_EQ(u32(24), 22050u);
    EXPECT_EQ(u32(28), 44100u);
    EXPECT_EQ(u32(32), 2u | 16u << 16);  // 2 bytes per frame, 16 bits
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(u32(40), 6u);
    EXPECT_EQ(bytes.substr(44), std::string("\x01\x00\xfe\xff\x34\x12", 6));
}

}  // namespace
