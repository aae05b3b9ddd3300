#include "support/disk_audio_capture.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {
constexpr int kMaxPolls = 200000;  // a safeguard against a stalled driver, far beyond need
}

DiskAudioCapture::DiskAudioCapture(const std::string& fileName) : m_fileName(fileName) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", m_fileName.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
}

DiskAudioCapture::~DiskAudioCapture() {
    unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
    std::remove(m_fileName.c_str());
}

size_t DiskAudioCapture::outputSize() const {
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(m_fileName, error);
    return error ? 0 : static_cast<size_t>(size);
}

bool DiskAudioCapture::waitForOutput(size_t from, size_t bytes) const {
    for (int poll = 0; poll < kMaxPolls; ++poll) {
        if (outputSize() >= from + bytes) return true;
        SDL_Delay(1);
    }
    return false;
}

size_t DiskAudioCapture::quietStart(size_t bufferBytes) const {
    waitForOutput(outputSize(), 3 * bufferBytes);
    return outputSize();
}

int DiskAudioCapture::loudestIn(size_t from, size_t bytes) const {
    std::ifstream file(m_fileName, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(from));
    if (bytes == 0) bytes = outputSize() > from ? outputSize() - from : 0;
    std::vector<int16_t> samples(bytes / 2);
    file.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
    samples.resize(static_cast<size_t>(file.gcount()) / 2);
    int loudest = 0;
    for (const int16_t sample : samples) loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
    return loudest;
}
