#pragma once

#include <string>

#include "song.h"

// Encodes a song as an extended tracker module (XM 1.04), which SDL_mixer
// plays as music: the header with the order list and the linear frequency
// table, the patterns packed cell by cell, and one instrument with one
// 8-bit delta-coded sample per instrument or sample of the song. An odd
// number of channels gets a silent one more, since some trackers open only
// even counts. Every byte follows from the song, so equal songs give equal
// files.
class XmWriter {
public:
    static std::string encode(const Song& song);

private:
    static int moduleChannels(const Song& song);
    static void writePattern(const Song::Pattern& pattern, int channels, std::string& out);
    static void writeInstrument(const Song::Instrument& instrument, std::string& out);
};
