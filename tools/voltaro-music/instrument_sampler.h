#pragma once

#include <cstdint>
#include <vector>

#include "song.h"

// Makes the 8-bit sample data of an instrument. An "instrument" is one cycle
// of its wave (64 samples), or a stretch of noise, looped for as long as the
// note lasts; a "sample" is its sound effect rendered once. Both are tuned
// alike: played at C-4 they run at kReferenceRate, so a cycle sounds as
// middle C (261.63 Hz) and a sample sounds exactly as its source describes.
class InstrumentSampler {
public:
    static constexpr int kCycleSamples = 64;
    static constexpr int kNoiseLoopSamples = 4096;      // steps of the long noise generator
    static constexpr int kShortNoiseLoopSamples = 93;   // the short generator's whole loop
    static constexpr int kReferenceRate = 16744;        // samples per second at C-4: 64 x 261.63 Hz
    // The module plays a sample at 8363 Hz x 2^((note - C-4 + relative note) / 12 + finetune / 1536);
    // these two bring C-4 to 16741 Hz, 0.3 cents from kReferenceRate.
    static constexpr int kRelativeNote = 12;
    static constexpr int kFinetune = 2;

    struct Sample {
        std::vector<int8_t> data;
        int loopLength = 0;  // the loop is the whole sample; 0: played once
    };

    static Sample render(const Song::Instrument& instrument);
};
