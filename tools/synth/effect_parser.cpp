#include "effect_parser.h"

#include "pitch.h"

namespace {

bool isToneDirective(const std::string& word) {
    return SourceLine::isOneOf(word, {"wave", "freq", "slide", "vibrato", "length", "attack", "decay", "volume", "at"});
}

std::string hertzText(int hertz) { return std::to_string(hertz) + " Hz"; }

}  // namespace

EffectParser::EffectParser(const std::string& sourceName) : m_sourceName(sourceName) {}

SoundEffect EffectParser::parseText(const std::string& text, const std::string& sourceName) {
    EffectParser parser(sourceName);
    for (const SourceLine& line : SourceLine::splitText(text, sourceName)) {
        if (!line.empty()) parser.readLine(line);
    }
    return parser.finish();
}

bool EffectParser::isDirective(const std::string& word) { return word == "tone" || isToneDirective(word); }

void EffectParser::readLine(const SourceLine& line) {
    const std::string& directive = line.word(0);
    if (directive == "tone") {
        line.expectWords(1, 1, "tone");
        if (m_toneOpen) closeTone();
        openTone(line.lineNumber());
        return;
    }
    if (!isToneDirective(directive)) throw line.error(0, "unknown directive '" + directive + "'");
    if (!m_toneOpen) openTone(line.lineNumber());  // the first tone needs no "tone" line
    const auto earlier = m_open.lines.find(directive);
    if (earlier != m_open.lines.end()) {
        throw line.error(0, "'" + directive + "' is already given for this tone at " + earlier->second.where());
    }
    readToneDirective(line);
    m_open.lines.emplace(directive, line);
}

void EffectParser::readToneDirective(const SourceLine& line) {
    SoundEffect::Tone& tone = m_open.tone;
    const std::string& directive = line.word(0);
    if (directive == "wave") {
        tone.wave = WaveShape::parse(line);
    } else if (directive == "freq") {
        line.expectWords(2, 2, "freq HZ|NOTE");
        tone.startCents = readPitch(line);
    } else if (directive == "slide") {
        line.expectWords(2, 2, "slide HZ|NOTE");
        tone.endCents = readPitch(line);
    } else if (directive == "vibrato") {
        line.expectWords(3, 3, "vibrato RATE_HZ DEPTH_CENTS");
        tone.vibratoRateHz = line.integer(1, 1, 50, "the vibrato rate (Hz)");
        tone.vibratoDepthCents = line.integer(2, 1, 1200, "the vibrato depth (cents)");
    } else if (directive == "length") {
        line.expectWords(2, 2, "length MS");
        tone.lengthMs = line.integer(1, 1, kMaxEffectMs, "the length (ms)");
    } else if (directive == "attack") {
        line.expectWords(2, 2, "attack MS");
        tone.attackMs = line.integer(1, 0, kMaxEffectMs, "the attack (ms)");
    } else if (directive == "decay") {
        line.expectWords(2, 2, "decay MS");
        tone.decayMs = line.integer(1, 0, kMaxEffectMs, "the decay (ms)");
    } else if (directive == "volume") {
        line.expectWords(2, 2, "volume PERCENT");
        tone.volumePercent = line.integer(1, 0, 100, "the volume (percent)");
    } else {  // "at"
        line.expectWords(2, 2, "at MS");
        tone.startMs = line.integer(1, 0, kMaxEffectMs, "the start time (ms)");
    }
}

int EffectParser::readPitch(const SourceLine& line) {
    const std::string& word = line.word(1);
    const int note = Pitch::parseNote(word);
    if (note >= 0) return note * 100;
    if (!word.empty() && word[0] >= '0' && word[0] <= '9') {
        return Pitch::centsOfHertz(line.integer(1, kMinHertz, kMaxNoiseHertz, "a frequency (Hz)"));
    }
    throw line.error(1, "'" + word + "' is neither a frequency in Hz nor a note name such as A4, C#5 or Eb3");
}

void EffectParser::openTone(int lineNumber) {
    if (m_effect.tones.size() == kMaxTones) {
        throw SourceError(m_sourceName, lineNumber, 1, "an effect has at most " + std::to_string(kMaxTones) + " tones");
    }
    m_open = OpenTone();
    m_open.firstLine = lineNumber;
    m_toneOpen = true;
}

void EffectParser::closeTone() {
    m_toneOpen = false;
    SoundEffect::Tone& tone = m_open.tone;
    for (const char* required : {"freq", "length"}) {
        if (m_open.lines.count(required) == 0) {
            throw SourceError(m_sourceName, m_open.firstLine, 1,
                              std::string("the tone starting here has no '") + required + "'");
        }
    }
    if (m_open.lines.count("slide") == 0) tone.endCents = tone.startCents;
    const int highest = tone.wave.kind() == WaveShape::Kind::Noise ? kMaxNoiseHertz : kMaxToneHertz;
    checkFrequency("freq", tone.startCents, highest);
    checkFrequency("slide", tone.endCents, highest);
    if (tone.attackMs + tone.decayMs > tone.lengthMs) {
        throw latestOf({"attack", "decay", "length"})
            .error(1, "attack (" + std::to_string(tone.attackMs) + " ms) and decay (" + std::to_string(tone.decayMs) +
                          " ms) do not fit in the tone's length (" + std::to_string(tone.lengthMs) + " ms)");
    }
    if (m_open.lines.count("at") == 0) tone.startMs = m_endMs;
    if (tone.startMs + tone.lengthMs > kMaxEffectMs) {
        throw latestOf({"at", "length"})
            .error(1, "the tone ends at " + std::to_string(tone.startMs + tone.lengthMs) +
                          " ms, but an effect lasts at most " + std::to_string(kMaxEffectMs) + " ms");
    }
    m_endMs = tone.startMs + tone.lengthMs;
    m_effect.tones.push_back(tone);
}

void EffectParser::checkFrequency(const std::string& directive, int cents, int highestHertz) const {
    const auto given = m_open.lines.find(directive);
    if (given == m_open.lines.end()) return;
    const uint64_t hertzQ24 = Pitch::hertzQ24(cents);
    if (hertzQ24 < (uint64_t{kMinHertz} << 24) - (uint64_t{1} << 23)) {
        throw given->second.error(1, "'" + given->second.word(1) + "' is below " + hertzText(kMinHertz));
    }
    if (hertzQ24 > (static_cast<uint64_t>(highestHertz) << 24) + (uint64_t{1} << 23)) {
        throw given->second.error(1, "'" + given->second.word(1) + "' is above " + hertzText(highestHertz) +
                                         (highestHertz == kMaxToneHertz ? ", the highest tone" : ", the fastest noise"));
    }
}

const SourceLine& EffectParser::latestOf(std::initializer_list<const char*> directives) const {
    const SourceLine* latest = nullptr;
    for (const char* directive : directives) {
        const auto given = m_open.lines.find(directive);
        if (given != m_open.lines.end() && (latest == nullptr || given->second.lineNumber() > latest->lineNumber())) {
            latest = &given->second;
        }
    }
    return *latest;  // callers name directives of which at least one was given
}

SoundEffect EffectParser::finish() {
    if (m_toneOpen) closeTone();
    if (m_effect.tones.empty()) throw SourceError(m_sourceName, 0, 0, "the effect has no tone");
    return m_effect;
}
