#pragma once

#include <string>
#include <vector>

#include "sound_effect.h"
#include "wave_shape.h"

// A tune as its source describes it (docs/sound.md), already in the terms of
// the module it becomes: notes numbered as in the module (1 = C-0), volumes
// 0..64, effects as type and parameter.
struct Song {
    static constexpr int kKeyOff = 97;   // the note that releases a held note
    static constexpr int kLowestNote = 1;
    static constexpr int kHighestNote = 96;  // B-7

    struct Cell {
        int note = 0;        // 0: none; kLowestNote..kHighestNote, or kKeyOff
        int instrument = 0;  // 0: none; else 1 + the index in `instruments`
        int volume = -1;     // -1: none; 0..64
        int effect = -1;     // -1: none; 0..15
        int parameter = 0;   // 0..255
    };

    struct Pattern {
        std::string name;
        std::vector<std::vector<Cell>> rows;  // rows[row][channel]
    };

    // Volume envelope in ticks: rise to full, fall to the sustain level
    // (held while the note is held), fall to silence after "off".
    struct Envelope {
        bool enabled = false;
        int attackTicks = 0;
        int decayTicks = 0;
        int sustainLevel = 64;  // 0..64
        int releaseTicks = 0;
    };

    struct Instrument {
        std::string name;
        bool oneShot = false;  // a "sample": rendered once from `effect`, not looped
        WaveShape wave;        // an "instrument": one looped cycle of this wave
        SoundEffect effect;
        int volume = 64;  // 0..64
        int pan = 128;    // 0 left .. 255 right
        Envelope envelope;
    };

    std::string title;
    int speed = 6;     // ticks per row
    int tempo = 125;   // beats per minute in the module's sense: a tick lasts 2.5 / tempo seconds
    int channels = 4;
    std::vector<Instrument> instruments;
    std::vector<Pattern> patterns;
    std::vector<int> order;  // indices into `patterns`
    int loopPosition = 0;    // index into `order` where playback goes on after the end
};
