#pragma once

#include "platform/sound_event.h"

#include <array>
#include <cstdint>

// The sound events raised during one frame, in the order they were raised,
// for the per-frame trace. Fixed storage: raising an event never allocates.
// A frame that raises more than kCapacity events (no game logic does) keeps
// the first kCapacity and counts the rest.
class SoundEventLog {
public:
    static constexpr int kCapacity = 16;

    void add(SoundEvent event);
    void clear();
    int size() const { return m_size; }
    // Event `index` (0 to size() - 1) of the frame.
    SoundEvent at(int index) const { return m_events[static_cast<size_t>(index)]; }
    // Events raised beyond kCapacity.
    int32_t dropped() const { return m_dropped; }

private:
    std::array<SoundEvent, kCapacity> m_events{};
    int m_size = 0;
    int32_t m_dropped = 0;
};

// The events of the current frame. The main loop clears it when a frame begins.
SoundEventLog& frameSoundEvents();

// A sound event happens now: it is added to the frame's events and handed to
// the audio service to play. The caller never learns whether anything was
// heard, so sound can never change what the game does.
void raiseSoundEvent(SoundEvent event);
