#pragma once

#include <vector>

#include "wave_shape.h"

// A sound effect as its source describes it (docs/sound.md): tones, each
// starting at its own time, mixed together.
struct SoundEffect {
    struct Tone {
        WaveShape wave;
        int startCents = 0;          // pitch at the start (Pitch)
        int endCents = 0;            // pitch at the end; the slide is linear in cents between them
        int vibratoRateHz = 0;       // 0: no vibrato
        int vibratoDepthCents = 0;   // peak pitch deviation
        int lengthMs = 0;
        int attackMs = 0;            // rise from silence at the start
        int decayMs = 0;             // fall to silence at the end
        int volumePercent = 100;
        int startMs = 0;             // from the start of the effect
    };

    std::vector<Tone> tones;
};
