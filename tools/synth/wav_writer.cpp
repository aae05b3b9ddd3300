#include "wav_writer.h"

#include "byte_writer.h"

namespace {

constexpr uint32_t kFormatChunkBytes = 16;
constexpr uint32_t kPcmFormat = 1;
constexpr uint32_t kChannels = 1;
constexpr uint32_t kBytesPerSample = 2;

}  // namespace

std::string WavWriter::encode(const std::vector<int16_t>& samples, int sampleRate) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size()) * kBytesPerSample;
    ByteWriter out;
    out.fixedText("RIFF", 4);
    out.u32(4 + (8 + kFormatChunkBytes) + (8 + dataBytes));  // everything after this field
    out.fixedText("WAVE", 4);
    out.fixedText("fmt ", 4);
    out.u32(kFormatChunkBytes);
    out.u16(kPcmFormat);
    out.u16(kChannels);
    out.u32(static_cast<uint32_t>(sampleRate));
    out.u32(static_cast<uint32_t>(sampleRate) * kChannels * kBytesPerSample);  // bytes per second
    out.u16(kChannels * kBytesPerSample);                                      // bytes per frame
    out.u16(kBytesPerSample * 8);                                              // bits per sample
    out.fixedText("data", 4);
    out.u32(dataBytes);
    for (const int16_t sample : samples) out.u16(static_cast<uint16_t>(sample));
    return out.bytes();
}
