#pragma once

#include "platform/replay_event.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// The input of one soak run, as the events of an input log: first the key
// presses that pick a level and a character in the stage select, then
// seeded random play until the last frame: combinations of the arrows, jump
// and shoot held for random durations, with now and then a pause stepped
// frame by frame. The same seed, choices and frame count give the same
// events on every platform (std::mt19937 is fully specified; the standard
// distributions are not, so none is used).
class SoakInput {
public:
    // levelIndex and playerIndex are positions in the menu's lists (from 0);
    // frames is the last frame of the run (the first is 1).
    SoakInput(uint32_t seed, int32_t levelIndex, int32_t playerIndex, uint32_t frames);

    const std::vector<ReplayEvent>& events() const { return m_events; }
    // The first frame after which the level is the current state.
    uint32_t levelFrame() const { return m_levelFrame; }
    // The log's text, in the format ReplayLog reads.
    std::string text() const;

private:
    void pickStage(int32_t levelIndex, int32_t playerIndex);
    void play();
    void tap(SDLKey key);
    void press(SDLKey key, bool down);
    // Presses and releases play keys at m_frame so that exactly `wanted` are down.
    void holdKeys(const bool wanted[]);
    void pauseAndStep();
    // 0..n-1 from the generator (n > 0); the slight bias of a modulo is harmless here.
    uint32_t below(uint32_t n) { return static_cast<uint32_t>(m_random() % n); }

    std::mt19937 m_random;
    uint32_t m_frames;           // the last frame that gets events
    uint32_t m_frame = 2;        // the frame the next menu or pause event goes to
    uint32_t m_levelFrame = 0;
    bool m_held[6] = {};         // the play keys down at m_frame, in kPlayKeys order
    std::vector<ReplayEvent> m_events;
};
