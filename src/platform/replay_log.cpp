#include "platform/replay_log.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
struct KeyName {
    SDLKey key;
    const char* name;
};

constexpr KeyName kKeyNames[] = {
    {SDLK_UP, "up"},       {SDLK_DOWN, "down"},   {SDLK_LEFT, "left"}, {SDLK_RIGHT, "right"},
    {SDLK_SPACE, "space"}, {SDLK_b, "b"},         {SDLK_RETURN, "enter"}, {SDLK_TAB, "tab"},
};

bool parseFrame(const std::string& text, uint32_t& frame) {
    if (text.empty() || text.size() > 10) return false;  // empty, or beyond 32 bits
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;  // not a plain decimal number
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    if (value < 1 || value > UINT32_MAX) return false;  // frames start at 1
    frame = static_cast<uint32_t>(value);
    return true;
}

std::vector<std::string> splitWords(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

// Parses one event line; false with the reason in `error`.
bool parseEvent(const std::vector<std::string>& words, ReplayEvent& event, std::string& error) {
    if (!parseFrame(words[0], event.frame)) {
        error = "'" + words[0] + "' is not a frame number (1 or more)";
        return false;  // malformed line
    }
    if (words.size() >= 2 && words[1] == "quit") {
        if (words.size() > 2) {
            error = "expected nothing after 'quit'";
            return false;  // malformed line
        }
        event.kind = ReplayEvent::Kind::Quit;
        return true;
    }
    if (words.size() != 3) {
        error = "expected 'FRAME KEY down|up' or 'FRAME quit'";
        return false;  // malformed line
    }
    if (!ReplayLog::keyFromName(words[1], event.key)) {
        error = "unknown key '" + words[1] + "' (keys: up down left right space b enter tab)";
        return false;  // malformed line
    }
    if (words[2] == "down") {
        event.kind = ReplayEvent::Kind::KeyDown;
    } else if (words[2] == "up") {
        event.kind = ReplayEvent::Kind::KeyUp;
    } else {
        error = "expected 'down' or 'up' after the key, not '" + words[2] + "'";
        return false;  // malformed line
    }
    return true;
}
}  // namespace

bool ReplayLog::parse(const std::string& text, const std::string& fileName, ReplayLog& log, std::string& error) {
    std::vector<ReplayEvent> events;
    std::istringstream in(text);
    std::string line;
    size_t eventsInFrame = 0;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber) {
        const std::vector<std::string> words = splitWords(line);
        if (words.empty() || words[0][0] == '#') continue;  // blank or comment
        const std::string where = fileName + ":" + std::to_string(lineNumber) + ": ";
        ReplayEvent event;
        std::string reason;
        if (!parseEvent(words, event, reason)) {
            error = where + reason;
            return false;  // the whole log is rejected
        }
        if (!events.empty() && event.frame < events.back().frame) {
            error = where + "frame " + std::to_string(event.frame) + " comes after frame " +
                    std::to_string(events.back().frame) + "; frames must not decrease";
            return false;  // the whole log is rejected
        }
        eventsInFrame = (!events.empty() && event.frame == events.back().frame) ? eventsInFrame + 1 : 1;
        if (eventsInFrame > kMaxEventsPerFrame) {
            error = where + "more than " + std::to_string(kMaxEventsPerFrame) + " events in frame " +
                    std::to_string(event.frame);
            return false;  // the whole log is rejected
        }
        events.push_back(event);
    }
    log.m_events = std::move(events);
    return true;
}

bool ReplayLog::load(const std::string& fileName, ReplayLog& log, std::string& error) {
    std::error_code ignored;
    if (std::filesystem::is_directory(fileName, ignored)) {
        error = fileName + ": is a directory, not an input log";
        return false;  // nothing to parse
    }
    std::ifstream file(fileName, std::ios::binary);
    if (!file) {
        error = fileName + ": cannot open: " + std::strerror(errno);
        return false;  // nothing to parse
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) {
        error = fileName + ": cannot read";
        return false;  // nothing to parse
    }
    return parse(text.str(), fileName, log, error);
}

std::string ReplayLog::formatLine(const ReplayEvent& event) {
    std::string line = std::to_string(event.frame);
    if (event.kind == ReplayEvent::Kind::Quit) return line + " quit";
    const char* name = keyName(event.key);
    line += " ";
    line += name != nullptr ? name : "?";
    line += event.kind == ReplayEvent::Kind::KeyDown ? " down" : " up";
    return line;
}

std::string ReplayLog::header() {
    return "# voltaro input log: one event per line, \"FRAME KEY down|up\" or \"FRAME quit\"\n";
}

const char* ReplayLog::keyName(SDLKey key) {
    for (const KeyName& entry : kKeyNames) {
        if (entry.key == key) return entry.name;
    }
    return nullptr;
}

bool ReplayLog::keyFromName(const std::string& name, SDLKey& key) {
    for (const KeyName& entry : kKeyNames) {
        if (name == entry.name) {
            key = entry.key;
            return true;
        }
    }
    return false;
}
