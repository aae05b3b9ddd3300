#include "soak/soak_input.h"

#include "platform/replay_log.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

// The keys each event names, in order, until the first down of `stop`.
std::vector<SDLKey> downsBefore(const std::vector<ReplayEvent>& events, size_t& index, SDLKey stop) {
    std::vector<SDLKey> downs;
    for (; index < events.size(); ++index) {
        if (events[index].kind != ReplayEvent::Kind::KeyDown) continue;
        if (events[index].key == stop) return downs;
        downs.push_back(events[index].key);
    }
    return downs;
}

}  // namespace

TEST(SoakInput, SameSeedAndChoicesGiveTheSameEvents) {
    const SoakInput a(7, 1, 2, 5000);
    const SoakInput b(7, 1, 2, 5000);
    EXPECT_EQ(a.events(), b.events());
    EXPECT_NE(a.events(), SoakInput(8, 1, 2, 5000).events());
    EXPECT_NE(a.events(), SoakInput(7, 2, 1, 5000).events());
}

TEST(SoakInput, MenuPrefixMovesToTheChoicesAndConfirmsEach) {
    const SoakInput input(1, 2, 1, 5000);
    const std::vector<ReplayEvent>& events = input.events();
    size_t index = 0;
    EXPECT_EQ(downsBefore(events, index, SDLK_b), (std::vector<SDLKey>{SDLK_DOWN, SDLK_DOWN}));
    ++index;
    EXPECT_EQ(downsBefore(events, index, SDLK_b), (std::vector<SDLKey>{SDLK_DOWN}));
    ASSERT_LT(index, events.size());
    // The menu sees every tap as its own change: no two menu events share a frame.
    for (size_t i = 1; i <= index + 1; ++i) EXPECT_LT(events[i - 1].frame, events[i].frame);
    // The update after the confirming one builds the level.
    EXPECT_EQ(input.levelFrame(), events[index].frame + 1);
    EXPECT_EQ(events[index].frame, 10u);  // frames 2..9: the down, down, b and down taps
}

TEST(SoakInput, LogTextReadsBackAsTheSameEvents) {
    const SoakInput input(3, 0, 0, 3000);
    ReplayLog log;
    std::string error;
    ASSERT_TRUE(ReplayLog::parse(input.text(), "soak.log", log, error)) << error;
    EXPECT_EQ(log.events(), input.events());
}

TEST(SoakInput, EventsStayWithinTheRunAndAlternateDownAndUpPerKey) {
    const uint32_t frames = 20000;
    const SoakInput input(11, 0, 1, frames);
    std::map<SDLKey, bool> down;
    std::map<uint32_t, size_t> perFrame;
    uint32_t previousFrame = 1;
    for (const ReplayEvent& event : input.events()) {
        EXPECT_GE(event.frame, previousFrame);
        EXPECT_LE(event.frame, frames);
        previousFrame = event.frame;
        const bool pressing = event.kind == ReplayEvent::Kind::KeyDown;
        EXPECT_NE(down[event.key], pressing) << "frame " << event.frame;
        down[event.key] = pressing;
        EXPECT_LE(++perFrame[event.frame], ReplayLog::kMaxEventsPerFrame);
    }
}

TEST(SoakInput, RandomPlayUsesEveryGameKey) {
    const SoakInput input(5, 0, 0, 20000);
    std::set<SDLKey> pressed;
    for (const ReplayEvent& event : input.events()) {
        if (event.frame > input.levelFrame() && event.kind == ReplayEvent::Kind::KeyDown) pressed.insert(event.key);
    }
    EXPECT_EQ(pressed, (std::set<SDLKey>{SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN, SDLK_SPACE, SDLK_b, SDLK_RETURN,
                                         SDLK_TAB}));
}
