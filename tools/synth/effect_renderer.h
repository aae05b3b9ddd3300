#pragma once

#include <cstdint>
#include <vector>

#include "sound_effect.h"

// Renders a sound effect into 16-bit mono samples with integer arithmetic
// only, so the same effect gives the same samples on every compiler and
// build. Each tone runs a 32.32 fixed-point phase whose step follows the
// pitch (slide and triangle-shaped vibrato, in cents), shapes the wave with
// a linear attack and decay, and is added into the mix; the sum is clipped
// to 16 bits. A tone at full volume peaks at three quarters of full scale,
// leaving room for overlapping tones.
class EffectRenderer {
public:
    static std::vector<int16_t> render(const SoundEffect& effect, int sampleRate);

private:
    static void addTone(const SoundEffect::Tone& tone, int sampleRate, std::vector<int64_t>& mix);
};
