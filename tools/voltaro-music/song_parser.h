#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "effect_parser.h"
#include "song.h"
#include "source_line.h"

// Reads the music format (docs/sound.md): settings, instruments (a looped
// wave with an envelope), samples (one-shot sounds in the sound-effect
// format), patterns of rows with one cell per channel, and the order list.
// Names must be defined before they are used. The first problem throws a
// SourceError naming the file, line and column.
class SongParser {
public:
    static constexpr int kMaxChannels = 16;
    static constexpr int kMaxRows = 256;         // per pattern
    static constexpr int kMaxInstruments = 128;  // instruments and samples together
    static constexpr int kMaxPatterns = 256;
    static constexpr int kMaxOrder = 256;
    static constexpr size_t kMaxTitle = 20;      // characters
    static constexpr int kMaxEnvelopeTicks = 1000;

    static Song parseText(const std::string& text, const std::string& sourceName);

private:
    enum class Block { None, Instrument, Sample, Pattern };

    explicit SongParser(const std::string& sourceName);

    void readLine(const SourceLine& line);
    void readSetting(const SourceLine& line);
    void openBlock(const SourceLine& line);
    void closeBlock();
    void readInstrumentLine(const SourceLine& line);
    void readEnvelope(const SourceLine& line, Song::Envelope& envelope);
    void readOrder(const SourceLine& line);
    void readRow(const SourceLine& line);
    Song::Cell readCell(const SourceLine& cell, size_t channel);
    bool readCellWord(const SourceLine& cell, size_t index, Song::Cell& result, std::set<char>& kinds);
    Song finish();

    static bool isDirective(const std::string& word);

    std::string m_sourceName;
    Song m_song;
    Block m_block = Block::None;
    std::optional<SourceLine> m_blockLine;  // the line that opened the current block
    std::optional<EffectParser> m_sample;   // the current sample's lines
    std::map<std::string, std::string> m_given;       // setting -> "FILE:LINE"
    std::map<std::string, std::string> m_blockGiven;  // directive of the current instrument -> "FILE:LINE"
    std::map<std::string, std::string> m_instrumentWhere;
    std::map<std::string, std::string> m_patternWhere;
    std::vector<int> m_lastInstrument;  // per channel, within the current pattern
    std::optional<SourceLine> m_loopLine;
};
