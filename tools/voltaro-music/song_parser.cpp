#include "song_parser.h"

#include <string>

#include "pitch.h"

namespace {

bool isTopDirective(const std::string& word) {
    return SourceLine::isOneOf(word, {"title", "speed", "tempo", "channels", "instrument", "sample", "pattern", "order", "loop"});
}

bool isInstrumentDirective(const std::string& word) {
    return SourceLine::isOneOf(word, {"wave", "volume", "envelope", "pan"});
}

// Records a new name defined by `line` ("instrument NAME", "pattern NAME");
// throws when it is defined already or the module holds no more.
void defineName(const SourceLine& line, std::map<std::string, std::string>& defined, size_t count, int limit,
                const std::string& things) {
    const std::string& name = line.word(1);
    const auto earlier = defined.find(name);
    if (earlier != defined.end()) {
        throw line.error(1, line.word(0) + " '" + name + "' is already defined at " + earlier->second);
    }
    if (count == static_cast<size_t>(limit)) {
        throw line.error(0, "a module holds at most " + std::to_string(limit) + " " + things);
    }
    defined[name] = line.where();
}

bool isDigits(const std::string& text, size_t from) {
    if (from >= text.size()) return false;
    for (size_t i = from; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A placeholder for an empty cell or part of one: only dots or dashes.
bool isFiller(const std::string& word) { return word.find_first_not_of(".-") == std::string::npos; }

bool isInstrumentName(const std::string& word) {
    if (word.empty() || word[0] < 'a' || word[0] > 'z') return false;
    for (const char c : word) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-')) return false;
    }
    return true;
}

bool isPatternName(const std::string& word) {
    for (const char c : word) {
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-')) {
            return false;
        }
    }
    return !word.empty();
}

}  // namespace

SongParser::SongParser(const std::string& sourceName) : m_sourceName(sourceName) {}

Song SongParser::parseText(const std::string& text, const std::string& sourceName) {
    SongParser parser(sourceName);
    for (const SourceLine& line : SourceLine::splitText(text, sourceName)) {
        if (!line.empty()) parser.readLine(line);
    }
    return parser.finish();
}

bool SongParser::isDirective(const std::string& word) {
    return isTopDirective(word) || isInstrumentDirective(word) || EffectParser::isDirective(word);
}

void SongParser::readLine(const SourceLine& line) {
    const std::string& word = line.word(0);
    if (isTopDirective(word)) {
        closeBlock();
        if (SourceLine::isOneOf(word, {"instrument", "sample", "pattern"})) {
            openBlock(line);
        } else if (word == "order") {
            readOrder(line);
        } else {
            readSetting(line);
        }
        return;
    }
    switch (m_block) {
        case Block::Instrument:
            readInstrumentLine(line);
            break;
        case Block::Sample:
            m_sample->readLine(line);
            break;
        case Block::Pattern:
            readRow(line);
            break;
        case Block::None:
            throw line.error(0, "unknown directive '" + word + "'");
    }
}

void SongParser::readSetting(const SourceLine& line) {
    const std::string& word = line.word(0);
    const auto earlier = m_given.find(word);
    if (earlier != m_given.end()) throw line.error(0, "'" + word + "' is already given at " + earlier->second);
    m_given[word] = line.where();
    if (word == "title") {
        if (line.size() < 2) throw line.error(1, "usage: title TEXT");
        std::string title = line.text().substr(static_cast<size_t>(line.column(1) - line.firstColumn()));
        title.erase(title.find_last_not_of(" \t") + 1);
        if (title.size() > kMaxTitle) {
            throw line.error(1, "the title is " + std::to_string(title.size()) + " characters long, at most " +
                                    std::to_string(kMaxTitle) + " fit in the module");
        }
        m_song.title = title;
    } else if (word == "speed") {
        line.expectWords(2, 2, "speed TICKS_PER_ROW");
        m_song.speed = line.integer(1, 1, 31, "the speed (ticks per row)");
    } else if (word == "tempo") {
        line.expectWords(2, 2, "tempo BPM");
        m_song.tempo = line.integer(1, 32, 255, "the tempo");
    } else if (word == "channels") {
        line.expectWords(2, 2, "channels COUNT");
        if (!m_song.patterns.empty()) throw line.error(0, "'channels' must come before the first pattern");
        m_song.channels = line.integer(1, 1, kMaxChannels, "the number of channels");
    } else {  // "loop"
        line.expectWords(2, 2, "loop POSITION");
        line.integer(1, 1, kMaxOrder, "the loop position");  // checked against the order list at the end
        m_loopLine = line;
    }
}

void SongParser::openBlock(const SourceLine& line) {
    const std::string& kind = line.word(0);
    line.expectWords(2, 2, kind + " NAME");
    const std::string& name = line.word(1);
    m_blockLine = line;
    m_blockGiven.clear();

    if (kind == "pattern") {
        if (!isPatternName(name)) throw line.error(1, "a pattern name is made of letters, digits, '_' and '-'");
        defineName(line, m_patternWhere, m_song.patterns.size(), kMaxPatterns, "patterns");
        m_song.patterns.push_back(Song::Pattern{name, {}});
        m_lastInstrument.assign(static_cast<size_t>(m_song.channels), 0);
        m_block = Block::Pattern;
        return;
    }

    if (!isInstrumentName(name) || isDirective(name) || name == "off" || (name[0] == 'v' && isDigits(name, 1))) {
        throw line.error(1, "an instrument name starts with a lower-case letter, is made of lower-case letters, "
                            "digits, '_' and '-', and is not a directive, 'off' or a volume such as 'v40'");
    }
    defineName(line, m_instrumentWhere, m_song.instruments.size(), kMaxInstruments, "instruments and samples");
    Song::Instrument instrument;
    instrument.name = name;
    instrument.oneShot = kind == "sample";
    m_song.instruments.push_back(instrument);
    if (instrument.oneShot) {
        m_sample.emplace(m_sourceName);
        m_block = Block::Sample;
    } else {
        m_block = Block::Instrument;
    }
}

void SongParser::closeBlock() {
    if (m_block == Block::Sample) {
        if (!m_sample->hasTone()) throw m_blockLine->error(1, "sample '" + m_blockLine->word(1) + "' has no tone");
        m_song.instruments.back().effect = m_sample->finish();
        m_sample.reset();
    } else if (m_block == Block::Pattern && m_song.patterns.back().rows.empty()) {
        throw m_blockLine->error(1, "pattern '" + m_blockLine->word(1) + "' has no rows");
    }
    m_block = Block::None;
}

void SongParser::readInstrumentLine(const SourceLine& line) {
    const std::string& word = line.word(0);
    if (!isInstrumentDirective(word)) {
        throw line.error(0, "unknown instrument directive '" + word + "' (wave, volume, envelope or pan)");
    }
    const auto earlier = m_blockGiven.find(word);
    if (earlier != m_blockGiven.end()) {
        throw line.error(0, "'" + word + "' is already given for this instrument at " + earlier->second);
    }
    m_blockGiven[word] = line.where();
    Song::Instrument& instrument = m_song.instruments.back();
    if (word == "wave") {
        instrument.wave = WaveShape::parse(line);
    } else if (word == "volume") {
        line.expectWords(2, 2, "volume 0..64");
        instrument.volume = line.integer(1, 0, 64, "the volume");
    } else if (word == "envelope") {
        readEnvelope(line, instrument.envelope);
    } else {  // "pan"
        line.expectWords(2, 2, "pan 0..255");
        instrument.pan = line.integer(1, 0, 255, "the panning");
    }
}

void SongParser::readEnvelope(const SourceLine& line, Song::Envelope& envelope) {
    line.expectWords(5, 5, "envelope ATTACK DECAY SUSTAIN RELEASE (ticks, ticks, 0..64, ticks)");
    envelope.enabled = true;
    envelope.attackTicks = line.integer(1, 0, kMaxEnvelopeTicks, "the attack (ticks)");
    envelope.decayTicks = line.integer(2, 0, kMaxEnvelopeTicks, "the decay (ticks)");
    envelope.sustainLevel = line.integer(3, 0, 64, "the sustain level");
    envelope.releaseTicks = line.integer(4, 0, kMaxEnvelopeTicks, "the release (ticks)");
}

void SongParser::readOrder(const SourceLine& line) {
    if (line.size() < 2) throw line.error(1, "usage: order PATTERN...");
    for (size_t i = 1; i < line.size(); ++i) {
        const auto found = m_patternWhere.find(line.word(i));
        if (found == m_patternWhere.end()) {
            throw line.error(i, "no pattern named '" + line.word(i) + "' was defined before");
        }
        if (static_cast<int>(m_song.order.size()) == kMaxOrder) {
            throw line.error(i, "the order list holds at most " + std::to_string(kMaxOrder) + " patterns");
        }
        for (size_t p = 0; p < m_song.patterns.size(); ++p) {
            if (m_song.patterns[p].name == line.word(i)) m_song.order.push_back(static_cast<int>(p));
        }
    }
}

void SongParser::readRow(const SourceLine& line) {
    Song::Pattern& pattern = m_song.patterns.back();
    if (static_cast<int>(pattern.rows.size()) == kMaxRows) {
        throw line.error(0, "a pattern has at most " + std::to_string(kMaxRows) + " rows");
    }
    std::vector<SourceLine> cells;
    const std::string& text = line.text();
    size_t start = 0;
    while (true) {
        const size_t bar = text.find('|', start);
        const size_t end = bar == std::string::npos ? text.size() : bar;
        cells.emplace_back(line.file(), line.lineNumber(), text.substr(start, end - start),
                           line.firstColumn() + static_cast<int>(start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    if (static_cast<int>(cells.size()) != m_song.channels) {
        throw line.error(0, "the row has " + std::to_string(cells.size()) + " cells, but the tune has " +
                                std::to_string(m_song.channels) + " channels (cells are separated by '|')");
    }
    std::vector<Song::Cell> row;
    for (size_t channel = 0; channel < cells.size(); ++channel) row.push_back(readCell(cells[channel], channel));
    pattern.rows.push_back(row);
}

Song::Cell SongParser::readCell(const SourceLine& cell, size_t channel) {
    Song::Cell result;
    std::set<char> kinds;  // 'n' note, 'i' instrument, 'v' volume, 'e' effect
    for (size_t i = 0; i < cell.size(); ++i) {
        if (!readCellWord(cell, i, result, kinds)) {
            throw cell.error(i, "'" + cell.word(i) +
                                    "' is not a note (C-4, F#3, Bb2), 'off', an instrument, a volume (v0..v64) "
                                    "or an effect (three hexadecimal digits)");
        }
    }
    if (result.instrument != 0) {
        m_lastInstrument[channel] = result.instrument;
    } else if (result.note != 0 && result.note != Song::kKeyOff) {
        if (m_lastInstrument[channel] == 0) {
            throw cell.error(0, "the note has no instrument: name one in this cell or earlier in this "
                                "channel of the pattern");
        }
        result.instrument = m_lastInstrument[channel];
    }
    return result;
}

bool SongParser::readCellWord(const SourceLine& cell, size_t index, Song::Cell& result, std::set<char>& kinds) {
    const std::string& word = cell.word(index);
    if (isFiller(word)) return true;
    char kind = 0;
    const int midi = Pitch::parseNote(word);
    if (midi >= 0 || word == "off") {
        kind = 'n';
        // The module numbers notes from C-0 (MIDI 12) as 1.
        const int note = midi - 11;
        if (midi >= 0 && (note < Song::kLowestNote || note > Song::kHighestNote)) {
            throw cell.error(index, "note '" + word + "' is outside C-0..B-7");
        }
        result.note = midi >= 0 ? note : Song::kKeyOff;
    } else if (word[0] == 'v' && isDigits(word, 1)) {
        kind = 'v';
        result.volume = word.size() <= 3 ? std::stoi(word.substr(1)) : 65;
        if (result.volume > 64) throw cell.error(index, "a volume is v0 to v64, not '" + word + "'");
    } else if (word.size() == 3 && hexDigit(word[0]) >= 0 && hexDigit(word[1]) >= 0 && hexDigit(word[2]) >= 0) {
        kind = 'e';
        result.effect = hexDigit(word[0]);
        result.parameter = hexDigit(word[1]) * 16 + hexDigit(word[2]);
        if (result.effect == 0xB || result.effect == 0xD) {
            throw cell.error(index, "effects B and D (jumps) are not allowed: the order list and 'loop' "
                                    "decide where the tune goes");
        }
    } else if (isInstrumentName(word)) {
        const auto found = m_instrumentWhere.find(word);
        if (found == m_instrumentWhere.end()) {
            throw cell.error(index, "no instrument or sample named '" + word + "' was defined before");
        }
        kind = 'i';
        for (size_t i = 0; i < m_song.instruments.size(); ++i) {
            if (m_song.instruments[i].name == word) result.instrument = static_cast<int>(i) + 1;
        }
    } else {
        return false;
    }
    if (!kinds.insert(kind).second) {
        static const std::map<char, std::string> kNames = {
            {'n', "a note"}, {'v', "a volume"}, {'e', "an effect"}, {'i', "an instrument"}};
        throw cell.error(index, "the cell already has " + kNames.at(kind));
    }
    return true;
}

Song SongParser::finish() {
    closeBlock();
    if (m_song.order.empty()) throw SourceError(m_sourceName, 0, 0, "the tune has no 'order' line");
    if (m_loopLine) {
        const int position = m_loopLine->integer(1, 1, static_cast<int>(m_song.order.size()),
                                                 "the loop position (in the order list)");
        m_song.loopPosition = position - 1;
    }
    return m_song;
}
