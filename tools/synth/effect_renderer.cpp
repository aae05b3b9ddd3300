#include "effect_renderer.h"

#include <algorithm>

#include "lfsr.h"
#include "pitch.h"

namespace {

constexpr int64_t kUnity = 65536;             // envelope and vibrato values are 16.16 fixed point
constexpr int64_t kFullVolumeNumerator = 3;   // a tone at 100 % peaks at 3/4 of full scale
constexpr int64_t kFullVolumeDenominator = 4;
constexpr uint64_t kFractionMask = 0xFFFFFFFFu;  // the phase's fraction of a cycle

int64_t samplesOf(int milliseconds, int sampleRate) {
    return static_cast<int64_t>(milliseconds) * sampleRate / 1000;
}

// Triangle from -kUnity to kUnity, 0 at phase 0, rising first.
int64_t triangle(uint64_t phase) {
    const int64_t top = static_cast<int64_t>((phase & kFractionMask) >> 16);  // 0..65535
    if (top < 16384) return top * 4;
    if (top < 49152) return kUnity - (top - 16384) * 4;
    return -kUnity + (top - 49152) * 4;
}

}  // namespace

std::vector<int16_t> EffectRenderer::render(const SoundEffect& effect, int sampleRate) {
    int64_t total = 0;
    for (const SoundEffect::Tone& tone : effect.tones) {
        total = std::max(total, samplesOf(tone.startMs, sampleRate) + samplesOf(tone.lengthMs, sampleRate));
    }
    std::vector<int64_t> mix(static_cast<size_t>(total), 0);
    for (const SoundEffect::Tone& tone : effect.tones) addTone(tone, sampleRate, mix);

    std::vector<int16_t> samples;
    samples.reserve(mix.size());
    for (const int64_t value : mix) samples.push_back(static_cast<int16_t>(std::clamp<int64_t>(value, -32768, 32767)));
    return samples;
}

void EffectRenderer::addTone(const SoundEffect::Tone& tone, int sampleRate, std::vector<int64_t>& mix) {
    const int64_t start = samplesOf(tone.startMs, sampleRate);
    const int64_t length = samplesOf(tone.lengthMs, sampleRate);
    const int64_t attack = samplesOf(tone.attackMs, sampleRate);
    const int64_t decay = samplesOf(tone.decayMs, sampleRate);
    const uint64_t vibratoStep = (static_cast<uint64_t>(tone.vibratoRateHz) << 32) / static_cast<uint64_t>(sampleRate);
    const bool noise = tone.wave.kind() == WaveShape::Kind::Noise;
    Lfsr generator(tone.wave.shortNoise());
    uint64_t phase = 0;         // 32.32: whole cycles above the fraction
    uint64_t vibratoPhase = 0;  // the same for the vibrato

    for (int64_t i = 0; i < length; ++i) {
        int64_t cents = tone.startCents + (tone.endCents - tone.startCents) * i / length;
        cents += tone.vibratoDepthCents * triangle(vibratoPhase) / kUnity;
        vibratoPhase += vibratoStep;
        cents = std::clamp<int64_t>(cents, 0, Pitch::kMaxCents);
        const uint64_t step = (Pitch::hertzQ24(static_cast<int>(cents)) << 8) / static_cast<uint64_t>(sampleRate);

        int64_t value = 0;
        if (noise) {
            value = generator.high() ? WaveShape::kPeak : -WaveShape::kPeak;
        } else {
            value = tone.wave.valueAt(static_cast<uint32_t>(phase & kFractionMask));
        }
        phase += step;
        if (noise) {
            for (uint64_t steps = phase >> 32; steps > 0; --steps) generator.step();
            phase &= kFractionMask;
        }

        int64_t envelope = kUnity;
        if (i < attack) envelope = std::min(envelope, i * kUnity / attack);
        if (length - i <= decay) envelope = std::min(envelope, (length - i) * kUnity / decay);
        value = value * envelope / kUnity * tone.volumePercent * kFullVolumeNumerator / (100 * kFullVolumeDenominator);
        mix[static_cast<size_t>(start + i)] += value;
    }
}
