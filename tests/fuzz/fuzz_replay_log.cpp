// Fuzzes the input log parser. Any text is parsed or rejected with
// "FILE:LINE: reason"; an accepted log keeps its rules (frames from 1, never
// decreasing, at most kMaxEventsPerFrame per frame), and writing its events
// back with formatLine (after the header) parses to the same events.

#include "platform/replay_log.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "replay_log: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ReplayLog log;
    std::string error;
    if (!ReplayLog::parse(text, "fuzz.log", log, error)) {
        check(error.rfind("fuzz.log:", 0) == 0, "a rejection does not start with the file name");
        check(log.events().empty(), "a rejected log kept events");
        return 0;
    }
    const auto& events = log.events();
    size_t inFrame = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        check(events[i].frame >= 1, "an event before frame 1");
        if (i > 0) check(events[i].frame >= events[i - 1].frame, "frames decrease");
        inFrame = (i > 0 && events[i].frame == events[i - 1].frame) ? inFrame + 1 : 1;
        check(inFrame <= ReplayLog::kMaxEventsPerFrame, "too many events in one frame");
        if (events[i].kind != ReplayEvent::Kind::Quit) {
            check(ReplayLog::keyName(events[i].key) != nullptr, "an event with a key the log cannot name");
        }
    }
    std::string written = ReplayLog::header();
    for (const ReplayEvent& event : events) written += ReplayLog::formatLine(event) + "\n";
    ReplayLog again;
    if (!ReplayLog::parse(written, "written.log", again, error)) {
        std::fprintf(stderr, "replay_log: the written log does not parse: %s\n", error.c_str());
        std::abort();
    }
    check(again.events() == events, "the written log parses to different events");
    return 0;
}
