#include <gtest/gtest.h>

#include <algorithm>

#include "instrument_sampler.h"
#include "song_parser.h"
#include "xm_writer.h"

namespace {

// Reads little-endian fields of a module and walks its parts by their sizes.
class ModuleReader {
public:
    explicit ModuleReader(std::string bytes) : m_bytes(std::move(bytes)) {}

    uint32_t u8(size_t at) const { return static_cast<uint8_t>(m_bytes.at(at)); }
    uint32_t u16(size_t at) const { return u8(at) | u8(at + 1) << 8; }
    uint32_t u32(size_t at) const { return u16(at) | u16(at + 2) << 16; }
    std::string text(size_t at, size_t length) const { return m_bytes.substr(at, length); }
    size_t size() const { return m_bytes.size(); }

    // Offsets of every pattern and instrument, checking that the sizes in the
    // headers add up to the whole file.
    void walk(std::vector<size_t>& patterns, std::vector<size_t>& instruments) const {
        size_t at = 60 + u32(60);
        for (uint32_t i = 0; i < u16(70); ++i) {
            patterns.push_back(at);
            at += u32(at) + u16(at + 7);
        }
        for (uint32_t i = 0; i < u16(72); ++i) {
            instruments.push_back(at);
            const size_t sampleHeader = at + u32(at);
            at = sampleHeader + u32(at + 29) + u32(sampleHeader);  // headers, then the sample data
        }
        EXPECT_EQ(at, m_bytes.size());
    }

    // The sample data of the instrument at `instrument`, delta decoding undone.
    std::vector<int8_t> sampleData(size_t instrument) const {
        const size_t sampleHeader = instrument + u32(instrument);
        size_t at = sampleHeader + u32(instrument + 29);
        std::vector<int8_t> data;
        int value = 0;
        for (uint32_t i = 0; i < u32(sampleHeader); ++i) {
            value = static_cast<int8_t>(value + static_cast<int>(u8(at++)));
            data.push_back(static_cast<int8_t>(value));
        }
        return data;
    }

private:
    std::string m_bytes;
};

ModuleReader encode(const std::string& source) { return ModuleReader(XmWriter::encode(SongParser::parseText(source, "t.song"))); }

const std::string kInstruments =
    "instrument lead\nwave square 25\nvolume 40\nenvelope 2 6 32 10\npan 96\n"
    "sample kick\nwave triangle\nfreq 150\nslide 40\nlength 100\n"
    "instrument hold\nwave noise short\n";

TEST(XmWriterTest, HeaderDescribesTheSong) {
    const ModuleReader xm = encode("title Gears\nspeed 5\ntempo 140\nchannels 3\n" + kInstruments +
                                   "pattern a\n.|.|.\npattern b\n.|.|.\n.|.|.\norder b a b\nloop 2\n");
    EXPECT_EQ(xm.text(0, 17), "Extended Module: ");
    EXPECT_EQ(xm.text(17, 20), std::string("Gears") + std::string(15, '\0'));
    EXPECT_EQ(xm.u8(37), 0x1Au);
    EXPECT_EQ(xm.text(38, 13), "voltaro-music");
    EXPECT_EQ(xm.u16(58), 0x0104u);
    EXPECT_EQ(xm.u32(60), 276u);
    EXPECT_EQ(xm.u16(64), 3u);  // song length
    EXPECT_EQ(xm.u16(66), 1u);  // restart position
    EXPECT_EQ(xm.u16(68), 4u);  // three channels and a silent one: trackers want an even count
    EXPECT_EQ(xm.u16(70), 2u);  // patterns
    EXPECT_EQ(xm.u16(72), 3u);  // instruments
    EXPECT_EQ(xm.u16(74), 1u);  // linear frequency table
    EXPECT_EQ(xm.u16(76), 5u);  // speed
    EXPECT_EQ(xm.u16(78), 140u);
    EXPECT_EQ(xm.u8(80), 1u);
    EXPECT_EQ(xm.u8(81), 0u);
    EXPECT_EQ(xm.u8(82), 1u);
    EXPECT_EQ(xm.u8(83), 0u);
    std::vector<size_t> patterns;
    std::vector<size_t> instruments;
    xm.walk(patterns, instruments);
    ASSERT_EQ(patterns.size(), 2u);
    EXPECT_EQ(patterns[0], 336u);
    EXPECT_EQ(xm.u16(patterns[1] + 5), 2u);  // rows of pattern b
    EXPECT_EQ(xm.u16(patterns[1] + 7), 8u);  // two rows of four empty cells
}

TEST(XmWriterTest, PatternsArePackedCellByCell) {
    const ModuleReader xm = encode("channels 2\n" + kInstruments +
                                   "pattern a\n"
                                   "C-4 lead v48 447 | .\n"
                                   "off              | C#1 kick\n"
                                   "v12              | 0A0\n"
                                   "order a\n");
    const size_t pattern = 336;
    EXPECT_EQ(xm.u32(pattern), 9u);
    EXPECT_EQ(xm.u8(pattern + 4), 0u);
    EXPECT_EQ(xm.u16(pattern + 5), 3u);
    const std::string expected = std::string("\x9F\x31\x01\x40\x04\x47\x80", 7) +  // C-4 lead v48 447, empty
                                 std::string("\x81\x61\x83\x0E\x02", 5) +            // off, C#1 kick
                                 std::string("\x84\x1C\x98\x00\xA0", 5);             // v12, effect 0A0
    EXPECT_EQ(xm.u16(pattern + 7), expected.size());
    EXPECT_EQ(xm.text(pattern + 9, expected.size()), expected);
}

TEST(XmWriterTest, InstrumentsHoldALoopedCycleAndTheirEnvelope) {
    const ModuleReader xm = encode(kInstruments + "pattern a\n.|.|.|.\norder a\n");
    std::vector<size_t> patterns;
    std::vector<size_t> instruments;
    xm.walk(patterns, instruments);
    ASSERT_EQ(instruments.size(), 3u);
    const size_t lead = instruments[0];
    EXPECT_EQ(xm.u32(lead), 263u);
    EXPECT_EQ(xm.text(lead + 4, 5), std::string("lead\0", 5));
    EXPECT_EQ(xm.u16(lead + 27), 1u);   // one sample
    EXPECT_EQ(xm.u32(lead + 29), 40u);  // sample header size
    // Envelope 2 6 32 10: up to full in 2 ticks, down to 32 by tick 8 (held), silent 10 ticks after release.
    const uint32_t points[][2] = {{0, 0}, {2, 64}, {8, 32}, {18, 0}};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(xm.u16(lead + 129 + 4 * i), points[i][0]) << i;
        EXPECT_EQ(xm.u16(lead + 131 + 4 * i), points[i][1]) << i;
    }
    EXPECT_EQ(xm.u8(lead + 225), 4u);  // points
    EXPECT_EQ(xm.u8(lead + 227), 2u);  // sustain point
    EXPECT_EQ(xm.u8(lead + 233), 3u);  // envelope on, with sustain
    const size_t sample = lead + 263;
    EXPECT_EQ(xm.u32(sample), 64u);       // one cycle
    EXPECT_EQ(xm.u32(sample + 4), 0u);    // looped from the start
    EXPECT_EQ(xm.u32(sample + 8), 64u);   // over the whole cycle
    EXPECT_EQ(xm.u8(sample + 12), 40u);   // volume
    EXPECT_EQ(xm.u8(sample + 13), 2u);    // finetune
    EXPECT_EQ(xm.u8(sample + 14), 1u);    // forward loop, 8-bit
    EXPECT_EQ(xm.u8(sample + 15), 96u);   // panning
    EXPECT_EQ(xm.u8(sample + 16), 12u);   // relative note: C-4 plays the cycle at middle C
    const std::vector<int8_t> cycle = xm.sampleData(lead);
    ASSERT_EQ(cycle.size(), 64u);
    for (size_t i = 0; i < 64; ++i) EXPECT_EQ(cycle[i], i < 16 ? 127 : -127) << i;  // 25 % duty

    const size_t hold = instruments[2];
    EXPECT_EQ(xm.u8(hold + 225), 0u);  // no envelope: "off" cuts the note
    EXPECT_EQ(xm.u8(hold + 233), 0u);
    EXPECT_EQ(xm.u32(hold + 263 + 8), 93u);  // the short noise's whole loop
}

TEST(XmWriterTest, SamplesAreRenderedOnceAtTheReferenceRate) {
    const ModuleReader xm = encode(kInstruments + "pattern a\n.|.|.|.\norder a\n");
    std::vector<size_t> patterns;
    std::vector<size_t> instruments;
    xm.walk(patterns, instruments);
    const size_t kick = instruments[1];
    const size_t sample = kick + 263;
    EXPECT_EQ(xm.u32(sample), 100u * InstrumentSampler::kReferenceRate / 1000);
    EXPECT_EQ(xm.u32(sample + 8), 0u);  // no loop
    EXPECT_EQ(xm.u8(sample + 14), 0u);
    EXPECT_EQ(xm.u8(sample + 12), 64u);
    const std::vector<int8_t> data = xm.sampleData(kick);
    // A triangle starting at zero, peaking near three quarters of full scale.
    EXPECT_EQ(data[0], 0);
    EXPECT_GT(*std::max_element(data.begin(), data.end()), 90);
}

TEST(XmWriterTest, EnvelopeWithoutAttackOrDecayHoldsTheSustainLevel) {
    const ModuleReader xm = encode("instrument pad\nenvelope 0 0 40 0\npattern a\n.|.|.|.\norder a\n");
    const size_t pad = 336 + 9 + 4;  // after one pattern of four empty cells
    EXPECT_EQ(xm.u16(pad + 129), 0u);
    EXPECT_EQ(xm.u16(pad + 131), 40u);
    EXPECT_EQ(xm.u16(pad + 133), 1u);  // a release of 0 still takes one tick
    EXPECT_EQ(xm.u16(pad + 135), 0u);
    EXPECT_EQ(xm.u8(pad + 225), 2u);
    EXPECT_EQ(xm.u8(pad + 227), 0u);
}

}  // namespace
