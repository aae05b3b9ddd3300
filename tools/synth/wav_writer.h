#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Encodes 16-bit mono samples as a WAV file (RIFF, uncompressed PCM, the
// 44-byte canonical header), the format SDL_mixer's Mix_LoadWAV reads.
// Every header field follows from the samples, so equal samples give equal
// bytes.
class WavWriter {
public:
    static std::string encode(const std::vector<int16_t>& samples, int sampleRate);
};
