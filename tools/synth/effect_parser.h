#pragma once

#include <initializer_list>
#include <map>
#include <string>

#include "sound_effect.h"
#include "source_line.h"

// Reads the sound-effect format (docs/sound.md): lines of directives, each
// run of tone directives describing one tone. The first problem throws a
// SourceError naming the file, line and column. The music format reuses it
// for its one-shot samples, handing over their lines one at a time.
class EffectParser {
public:
    static constexpr int kMaxEffectMs = 10000;
    static constexpr size_t kMaxTones = 64;
    static constexpr int kMinHertz = 16;
    static constexpr int kMaxToneHertz = 11025;   // half of 22050 samples per second
    static constexpr int kMaxNoiseHertz = 44100;  // noise steps per second

    explicit EffectParser(const std::string& sourceName);

    // Parses a whole source. Throws SourceError.
    static SoundEffect parseText(const std::string& text, const std::string& sourceName);
    static bool isDirective(const std::string& word);

    // Reads one line that is not blank. Throws SourceError.
    void readLine(const SourceLine& line);
    bool hasTone() const { return m_toneOpen || !m_effect.tones.empty(); }
    // Checks the last tone and returns the effect. Throws SourceError,
    // naming the file alone when there is no tone at all.
    SoundEffect finish();

private:
    // The tone being read, with the line of each directive given for it.
    struct OpenTone {
        SoundEffect::Tone tone;
        int firstLine = 0;
        std::map<std::string, SourceLine> lines;
    };

    void openTone(int lineNumber);
    void closeTone();
    void readToneDirective(const SourceLine& line);
    void checkFrequency(const std::string& directive, int cents, int highestHertz) const;
    const SourceLine& latestOf(std::initializer_list<const char*> directives) const;
    static int readPitch(const SourceLine& line);

    std::string m_sourceName;
    SoundEffect m_effect;
    OpenTone m_open;
    bool m_toneOpen = false;
    int m_endMs = 0;  // where the latest tone ended, for the next tone's default start
};
