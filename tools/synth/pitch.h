#pragma once

#include <cstdint>
#include <string>

// Pitches as whole cents above MIDI note 0 (C-1, about 8.18 Hz; A4 = 440 Hz
// is 6900), and their frequencies in exact integer arithmetic: an octave is a
// shift, a semitone a fixed-point constant, and the cents between two
// semitones a straight line (less than a cent away from the true curve). So
// a slide moving linearly in cents is exponential in frequency, and the same
// pitch gives the same bytes on every compiler.
class Pitch {
public:
    static constexpr int kMaxCents = 15599;  // about 65 kHz, far above anything audible

    // Frequency of `cents` (0..kMaxCents) in Hz, fixed point with 24
    // fractional bits.
    static uint64_t hertzQ24(int cents);
    // The pitch nearest to `hertz` (1..60000).
    static int centsOfHertz(int hertz);
    // A note name: a letter A to G, optionally '#' (sharp), 'b' (flat) or
    // '-' (natural, as trackers write it), and an octave digit 0 to 9
    // ("C4" is middle C, "A4" 440 Hz, "C#5", "Eb3", "C-4"). Returns the MIDI
    // note number (C4 = 60), or -1 when `word` is no note name.
    static int parseNote(const std::string& word);
    // The tracker spelling of a MIDI note: "C-4", "C#4".
    static std::string noteName(int midiNote);
};
