#include "wave_shape.h"

#include "lfsr.h"

namespace {

constexpr uint64_t kCycle = uint64_t{1} << 32;  // phase units in one cycle

}  // namespace

WaveShape::WaveShape(Kind kind, int dutyPercent, bool shortNoise)
    : m_kind(kind), m_dutyPercent(dutyPercent), m_shortNoise(shortNoise) {}

WaveShape WaveShape::parse(const SourceLine& line) {
    const std::string usage = "wave square [DUTY] | triangle | sawtooth | noise [short]";
    line.expectWords(2, 3, usage);
    const std::string& name = line.word(1);
    if (name == "square") {
        const int duty = line.size() == 3 ? line.integer(2, 1, 99, "the duty cycle (percent)") : kDefaultDutyPercent;
        return WaveShape(Kind::Square, duty, false);
    }
    if (name == "noise") {
        if (line.size() == 3 && line.word(2) != "short") throw line.error(2, "usage: " + usage);
        return WaveShape(Kind::Noise, kDefaultDutyPercent, line.size() == 3);
    }
    Kind kind = Kind::Triangle;
    if (name == "sawtooth") {
        kind = Kind::Sawtooth;
    } else if (name != "triangle") {
        throw line.error(1, "unknown wave '" + name + "' (square, triangle, sawtooth or noise)");
    }
    line.expectWords(2, 2, usage);
    return WaveShape(kind, kDefaultDutyPercent, false);
}

int WaveShape::valueAt(uint32_t phase) const {
    const int top = static_cast<int>(phase >> 16);  // 0..65535 across the cycle
    switch (m_kind) {
        case Kind::Square:
            return phase < kCycle * static_cast<uint64_t>(m_dutyPercent) / 100 ? kPeak : -kPeak;
        case Kind::Triangle:
            // Rises from the middle to the top in the first quarter, falls to
            // the bottom by the third, and rises back to the middle.
            if (top < 16384) return top * 2;
            if (top < 49152) return kPeak - (top - 16384) * 2;
            return -kPeak + (top - 49152) * 2;
        case Kind::Sawtooth:
            return top < 32768 ? top : top - 65535;
        case Kind::Noise:
            break;
    }
    return 0;
}

std::vector<int16_t> WaveShape::loop(int length) const {
    std::vector<int16_t> samples;
    samples.reserve(static_cast<size_t>(length));
    Lfsr noise(m_shortNoise);
    for (int i = 0; i < length; ++i) {
        if (m_kind == Kind::Noise) {
            samples.push_back(static_cast<int16_t>(noise.high() ? kPeak : -kPeak));
            noise.step();
        } else {
            const uint32_t phase = static_cast<uint32_t>(kCycle * static_cast<uint64_t>(i) / static_cast<uint64_t>(length));
            samples.push_back(static_cast<int16_t>(valueAt(phase)));
        }
    }
    return samples;
}
