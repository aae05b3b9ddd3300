#pragma once

#include <cstdint>
#include <vector>

#include "source_line.h"

// The shape of a tone: a square with a duty cycle, a triangle, a rising
// sawtooth, or noise from the shift register (Lfsr). Values run from
// -32767 to 32767.
class WaveShape {
public:
    enum class Kind { Square, Triangle, Sawtooth, Noise };

    static constexpr int kPeak = 32767;
    static constexpr int kDefaultDutyPercent = 50;

    WaveShape() = default;
    WaveShape(Kind kind, int dutyPercent, bool shortNoise);

    // Reads "wave square [DUTY]", "wave triangle", "wave sawtooth" or
    // "wave noise [short]" (the line's first word is "wave"). Throws
    // SourceError pointing at the bad word.
    static WaveShape parse(const SourceLine& line);

    Kind kind() const { return m_kind; }
    int dutyPercent() const { return m_dutyPercent; }
    bool shortNoise() const { return m_shortNoise; }

    // The periodic wave at `phase`, a whole cycle being 2^32; 0 for noise.
    int valueAt(uint32_t phase) const;
    // One loop of `length` samples: a single cycle of a periodic wave, or
    // `length` steps of the noise generator.
    std::vector<int16_t> loop(int length) const;

private:
    Kind m_kind = Kind::Square;
    int m_dutyPercent = kDefaultDutyPercent;  // square only: the high part of the cycle
    bool m_shortNoise = false;                // noise only: the 93-step loop
};
