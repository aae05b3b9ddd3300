#include "instrument_sampler.h"

#include "effect_renderer.h"

namespace {

// 16-bit full scale to 8-bit full scale, truncating toward zero.
int8_t toEightBits(int16_t value) { return static_cast<int8_t>(value * 127 / WaveShape::kPeak); }

}  // namespace

InstrumentSampler::Sample InstrumentSampler::render(const Song::Instrument& instrument) {
    std::vector<int16_t> samples;
    if (instrument.oneShot) {
        samples = EffectRenderer::render(instrument.effect, kReferenceRate);
    } else if (instrument.wave.kind() == WaveShape::Kind::Noise) {
        samples = instrument.wave.loop(instrument.wave.shortNoise() ? kShortNoiseLoopSamples : kNoiseLoopSamples);
    } else {
        samples = instrument.wave.loop(kCycleSamples);
    }
    Sample sample;
    sample.data.reserve(samples.size());
    for (const int16_t value : samples) sample.data.push_back(toEightBits(value));
    if (!instrument.oneShot) sample.loopLength = static_cast<int>(sample.data.size());
    return sample;
}
