#pragma once

#include "platform/replay_event.h"

#include <SDL.h>

#include <cstddef>
#include <string>
#include <vector>

// The input events of one run, in order, as read from or written to a
// plain-text input log: one event per line, "FRAME KEY down|up" or
// "FRAME quit", frames never decreasing; blank lines and lines starting with
// '#' are ignored. The loader rejects a malformed line with the file name
// and line number.
class ReplayLog {
public:
    // More events than this in one frame is not something a keyboard makes
    // (and would overflow SDL's event queue on playback).
    static constexpr size_t kMaxEventsPerFrame = 64;

    // Parses a log's text; on a malformed line returns false with
    // "FILE:LINE: reason" in `error`.
    static bool parse(const std::string& text, const std::string& fileName, ReplayLog& log, std::string& error);
    // Reads and parses a log file; false with the reason in `error`.
    static bool load(const std::string& fileName, ReplayLog& log, std::string& error);

    // One log line for an event, without the line end.
    static std::string formatLine(const ReplayEvent& event);
    // The first lines of a written log.
    static std::string header();

    // The log's name for a game key; null for keys the game does not use.
    static const char* keyName(SDLKey key);
    // The game key with that log name; false for unknown names.
    static bool keyFromName(const std::string& name, SDLKey& key);

    const std::vector<ReplayEvent>& events() const { return m_events; }

private:
    std::vector<ReplayEvent> m_events;
};
