#include "xm_writer.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "byte_writer.h"
#include "instrument_sampler.h"

namespace {

constexpr uint32_t kHeaderBytes = 276;            // from the header-size field to the end of the order table
constexpr uint32_t kPatternHeaderBytes = 9;
constexpr uint32_t kInstrumentHeaderBytes = 263;  // what trackers write; the tail is reserved
constexpr uint32_t kSampleHeaderBytes = 40;
constexpr size_t kOrderTableEntries = 256;
constexpr size_t kNameBytes = 22;
constexpr uint32_t kLinearFrequencies = 1;
constexpr uint32_t kFullEnvelope = 64;
constexpr size_t kEnvelopePoints = 12;
constexpr uint32_t kEnvelopeOn = 1;
constexpr uint32_t kEnvelopeSustain = 2;
constexpr uint32_t kForwardLoop = 1;
constexpr uint32_t kVolumeColumnSet = 0x10;  // volume column value of "set volume 0"

// The volume envelope's points (tick, level) and the index of its sustain point.
std::pair<std::vector<std::pair<int, int>>, int> envelopePoints(const Song::Envelope& envelope) {
    std::vector<std::pair<int, int>> points;
    // Without a decay the attack rises straight to the sustain level.
    const int peak = envelope.decayTicks > 0 ? static_cast<int>(kFullEnvelope) : envelope.sustainLevel;
    int tick = envelope.attackTicks;
    if (tick > 0) points.emplace_back(0, 0);
    points.emplace_back(tick, peak);
    if (envelope.decayTicks > 0) {
        tick += envelope.decayTicks;
        points.emplace_back(tick, envelope.sustainLevel);
    }
    const int sustain = static_cast<int>(points.size()) - 1;
    points.emplace_back(tick + std::max(envelope.releaseTicks, 1), 0);
    return {points, sustain};
}

}  // namespace

std::string XmWriter::encode(const Song& song) {
    ByteWriter header;
    header.fixedText("Extended Module: ", 17);
    header.fixedText(song.title, 20);
    header.u8(0x1A);
    header.fixedText("voltaro-music", 20);
    header.u16(0x0104);  // format version 1.04
    header.u32(kHeaderBytes);
    header.u16(static_cast<uint32_t>(song.order.size()));
    header.u16(static_cast<uint32_t>(song.loopPosition));
    header.u16(static_cast<uint32_t>(moduleChannels(song)));
    header.u16(static_cast<uint32_t>(song.patterns.size()));
    header.u16(static_cast<uint32_t>(song.instruments.size()));
    header.u16(kLinearFrequencies);
    header.u16(static_cast<uint32_t>(song.speed));
    header.u16(static_cast<uint32_t>(song.tempo));
    for (size_t i = 0; i < kOrderTableEntries; ++i) {
        header.u8(i < song.order.size() ? static_cast<uint32_t>(song.order[i]) : 0);
    }

    std::string out = header.bytes();
    for (const Song::Pattern& pattern : song.patterns) writePattern(pattern, moduleChannels(song), out);
    for (const Song::Instrument& instrument : song.instruments) writeInstrument(instrument, out);
    return out;
}

int XmWriter::moduleChannels(const Song& song) { return song.channels + song.channels % 2; }

void XmWriter::writePattern(const Song::Pattern& pattern, int channels, std::string& out) {
    // Packed cells: a flag byte with the top bit set says which of note,
    // instrument, volume, effect type and parameter follow.
    ByteWriter cells;
    for (const std::vector<Song::Cell>& row : pattern.rows) {
        for (const Song::Cell& cell : row) {
            uint32_t flags = 0x80;
            if (cell.note != 0) flags |= 0x01;
            if (cell.instrument != 0) flags |= 0x02;
            if (cell.volume >= 0) flags |= 0x04;
            if (cell.effect >= 0) flags |= 0x18;
            cells.u8(flags);
            if (cell.note != 0) cells.u8(static_cast<uint32_t>(cell.note));
            if (cell.instrument != 0) cells.u8(static_cast<uint32_t>(cell.instrument));
            if (cell.volume >= 0) cells.u8(kVolumeColumnSet + static_cast<uint32_t>(cell.volume));
            if (cell.effect >= 0) {
                cells.u8(static_cast<uint32_t>(cell.effect));
                cells.u8(static_cast<uint32_t>(cell.parameter));
            }
        }
        for (size_t pad = row.size(); pad < static_cast<size_t>(channels); ++pad) cells.u8(0x80);  // an empty cell
    }
    ByteWriter header;
    header.u32(kPatternHeaderBytes);
    header.u8(0);  // packing type
    header.u16(static_cast<uint32_t>(pattern.rows.size()));
    header.u16(static_cast<uint32_t>(cells.size()));
    out += header.bytes();
    out += cells.bytes();
}

void XmWriter::writeInstrument(const Song::Instrument& instrument, std::string& out) {
    const InstrumentSampler::Sample sample = InstrumentSampler::render(instrument);

    ByteWriter head;
    head.u32(kInstrumentHeaderBytes);
    head.fixedText(instrument.name, kNameBytes);
    head.u8(0);  // type
    head.u16(1);  // one sample
    head.u32(kSampleHeaderBytes);
    for (int note = 0; note < 96; ++note) head.u8(0);  // every note plays sample 0

    const auto [points, sustain] = envelopePoints(instrument.envelope);
    for (size_t i = 0; i < kEnvelopePoints; ++i) {
        head.u16(i < points.size() ? static_cast<uint32_t>(points[i].first) : 0);
        head.u16(i < points.size() ? static_cast<uint32_t>(points[i].second) : 0);
    }
    for (size_t i = 0; i < kEnvelopePoints; ++i) head.u32(0);  // no panning envelope
    const bool enveloped = instrument.envelope.enabled;
    head.u8(enveloped ? static_cast<uint32_t>(points.size()) : 0);
    head.u8(0);  // panning points
    head.u8(enveloped ? static_cast<uint32_t>(sustain) : 0);
    head.u8(0);  // volume loop start
    head.u8(0);  // volume loop end
    head.u8(0);  // panning sustain
    head.u8(0);  // panning loop start
    head.u8(0);  // panning loop end
    head.u8(enveloped ? kEnvelopeOn | kEnvelopeSustain : 0);
    head.u8(0);  // panning envelope off
    // No automatic vibrato (wave, sweep, depth, rate): SDL_mixer's player
    // ignores the sine one, so the patterns' effect 4 does vibrato instead.
    for (int i = 0; i < 4; ++i) head.u8(0);
    head.u16(0);  // no fade-out: the envelope's release ends the note
    while (head.size() < kInstrumentHeaderBytes) head.u8(0);

    const uint32_t length = static_cast<uint32_t>(sample.data.size());
    head.u32(length);
    head.u32(0);  // loop start
    head.u32(static_cast<uint32_t>(sample.loopLength));
    head.u8(static_cast<uint32_t>(instrument.volume));
    head.u8(static_cast<uint8_t>(static_cast<int8_t>(InstrumentSampler::kFinetune)));
    head.u8(sample.loopLength > 0 ? kForwardLoop : 0);  // 8-bit
    head.u8(static_cast<uint32_t>(instrument.pan));
    head.u8(static_cast<uint8_t>(static_cast<int8_t>(InstrumentSampler::kRelativeNote)));
    head.u8(0);  // reserved
    head.fixedText(instrument.name, kNameBytes);

    // Sample data: each byte is the difference from the previous sample.
    int previous = 0;
    for (const int8_t value : sample.data) {
        head.u8(static_cast<uint32_t>((value - previous) & 0xFF));
        previous = value;
    }
    out += head.bytes();
}
