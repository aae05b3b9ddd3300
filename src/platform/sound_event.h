#pragma once

#include <cstdint>
#include <string>

// The moments of the game that make a sound. The player, the level, the
// menu and the engine raise them as they happen in the update (or, for
// pause, in the input poll); "sound.ini" names the effect each one plays.
// The order is fixed: it is the index of an event's mixer channel and of its
// entry in tables, and the names below are the section names of
// "sound.ini" and the words of the trace's sounds column.
enum class SoundEvent : uint8_t {
    Jump,         // "jump"
    Land,         // "land"
    Shoot,        // "shoot"
    Hurt,         // "hurt"
    Ladder,       // "ladder"
    Transition,   // "transition"
    Ready,        // "ready"
    Beam,         // "beam"
    MenuMove,     // "menuMove"
    MenuConfirm,  // "menuConfirm"
    MenuBack,     // "menuBack"
    Pause,        // "pause"
};

constexpr int kSoundEventCount = 12;

constexpr SoundEvent soundEventAt(int index) {
    return static_cast<SoundEvent>(index);
}
constexpr int indexOf(SoundEvent event) {
    return static_cast<int>(event);
}

// The event's name as "sound.ini" and the trace write it ("jump", "menuMove").
const char* soundEventName(SoundEvent event);
// The event with exactly that name (case matters); false for any other text.
bool soundEventFromName(const std::string& name, SoundEvent& event);
