#pragma once

#include <SDL.h>

#include <cstdint>
#include <cstdio>
#include <string>

// Writes an input log while the game runs: every key and quit event the
// engine acts on, under the number of the frame whose poll handled it.
class ReplayRecorder {
public:
    // Creates (or truncates) the log file and writes its header.
    explicit ReplayRecorder(const std::string& fileName);
    // Flushes and closes the log.
    ~ReplayRecorder();
    ReplayRecorder(const ReplayRecorder&) = delete;
    ReplayRecorder& operator=(const ReplayRecorder&) = delete;

    // False when the file could not be created; `openError` says why.
    bool isOpen() const { return m_file != nullptr; }
    const std::string& openError() const { return m_openError; }

    // Events recorded from now on belong to this frame.
    void beginFrame(uint32_t frame) { m_frame = frame; }
    // Logs a game key's down or up, or a quit; other events are skipped.
    void record(const SDL_Event& event);

private:
    std::string m_fileName;
    std::FILE* m_file;
    std::string m_openError;
    uint32_t m_frame = 0;
};
