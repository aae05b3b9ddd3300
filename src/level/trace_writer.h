#pragma once

#include "platform/sound_event_log.h"

#include <cstdint>
#include <fstream>
#include <string>

class GameState;

// Writes one CSV line per frame describing the current state: which screen
// is up; in a level, the phase, the player's raw physics values, state,
// ladder bits, the camera, the shots, the state and animation counters and
// the enemy's animation frame; in the menu, what is selected; and in every
// frame the sound events it raised. Content authors use it to tune physics
// numbers and see which frame made which sound; scenario tests assert on it.
class TraceWriter {
public:
    static const char* const kHeader;

    // Opens (truncates) the file and writes the header line.
    explicit TraceWriter(const std::string& fileName);

    bool isOpen() const { return m_file.is_open() && m_file.good(); }
    // One line for `frame`, after it was drawn; `sounds` are the frame's sound events.
    void writeFrame(uint32_t frame, const GameState* state, const SoundEventLog& sounds = frameSoundEvents());
    // The line writeFrame would write, without the line feed.
    static std::string formatFrame(uint32_t frame, const GameState* state,
                                   const SoundEventLog& sounds = frameSoundEvents());

private:
    std::ofstream m_file;
};
