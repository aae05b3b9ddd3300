#include "pitch.h"

namespace {

// 2^(i/12) for i = 0..12, fixed point with 30 fractional bits.
constexpr uint64_t kSemitoneQ30[13] = {
    1073741824, 1137589835, 1205234447, 1276901417, 1352829926, 1433273380, 1518500250,
    1608794974, 1704458901, 1805811301, 1913190429, 2026954652, 2147483648,
};
// MIDI note 0: 440 Hz * 2^(-69/12) = 8.1757989 Hz, 24 fractional bits.
constexpr uint64_t kNoteZeroHertzQ24 = 137167144;
constexpr int kCentsPerOctave = 1200;
constexpr int kCentsPerSemitone = 100;

}  // namespace

uint64_t Pitch::hertzQ24(int cents) {
    if (cents < 0) cents = 0;
    if (cents > kMaxCents) cents = kMaxCents;
    const int octave = cents / kCentsPerOctave;
    const int semitone = (cents % kCentsPerOctave) / kCentsPerSemitone;
    const int fraction = cents % kCentsPerSemitone;
    const uint64_t ratio = kSemitoneQ30[semitone] +
                           (kSemitoneQ30[semitone + 1] - kSemitoneQ30[semitone]) * fraction / kCentsPerSemitone;
    return ((kNoteZeroHertzQ24 * ratio) >> 30) << octave;
}

int Pitch::centsOfHertz(int hertz) {
    const uint64_t target = static_cast<uint64_t>(hertz) << 24;
    // The first pitch at or above the target, then whichever neighbour is nearer.
    int low = 0;
    int high = kMaxCents;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (hertzQ24(middle) < target) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low > 0 && target - hertzQ24(low - 1) < hertzQ24(low) - target) return low - 1;
    return low;
}

int Pitch::parseNote(const std::string& word) {
    static const int kLetterSemitone[7] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
    if (word.size() < 2 || word.size() > 3 || word[0] < 'A' || word[0] > 'G') return -1;
    int semitone = kLetterSemitone[word[0] - 'A'];
    size_t octaveAt = 1;
    if (word.size() == 3) {
        if (word[1] == '#') {
            semitone += 1;
        } else if (word[1] == 'b') {
            semitone -= 1;
        } else if (word[1] != '-') {
            return -1;
        }
        octaveAt = 2;
    }
    const char octave = word[octaveAt];
    if (octave < '0' || octave > '9') return -1;
    return (octave - '0' + 1) * 12 + semitone;
}

std::string Pitch::noteName(int midiNote) {
    static const char* const kNames[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
    if (midiNote < 0) return "?";
    return kNames[midiNote % 12] + std::to_string(midiNote / 12 - 1);
}
