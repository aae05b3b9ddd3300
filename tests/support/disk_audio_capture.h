#pragma once

#include <cstddef>
#include <string>

// Points SDL's "disk" audio driver at a file, so that whatever the mixer
// plays is written there instead of to a sound card, and reads it back.
// Construct it before SDL's audio starts; the driver (re)creates the file
// whenever an audio device is opened. The driver writes as fast as it can
// (SDL_DISKAUDIODELAY=1), so a test waits for bytes, never for time.
class DiskAudioCapture {
public:
    static constexpr size_t kFrameBytes = 4;  // 16-bit stereo
    static constexpr int kAudibleLevel = 1000;  // of 32767; anything quieter counts as silence

    // The output goes to `fileName`.
    explicit DiskAudioCapture(const std::string& fileName);
    ~DiskAudioCapture();
    DiskAudioCapture(const DiskAudioCapture&) = delete;
    DiskAudioCapture& operator=(const DiskAudioCapture&) = delete;

    const std::string& fileName() const { return m_fileName; }
    size_t outputSize() const;
    // Waits until the driver has written `bytes` beyond `from`; false if it stalls.
    bool waitForOutput(size_t from, size_t bytes) const;
    // Where the next capture starts: after what is mixed already has been written.
    size_t quietStart(size_t bufferBytes) const;
    // The loudest sample in [from, from + bytes) of the file (the whole file from `from` when bytes is 0).
    int loudestIn(size_t from, size_t bytes = 0) const;

private:
    std::string m_fileName;
};
