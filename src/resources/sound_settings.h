#pragma once

#include "platform/audio_service.h"
#include "platform/sound_event.h"
#include "resources/ini_dictionary.h"
#include "resources/ini_schema.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The game's "sound.ini": for each sound event, the file its effect is
// loaded from and how loud it plays. One section per event, named as the
// event ("jump", "menuMove"), with the keys "file" (relative to the game
// folder) and "volume" (0 to 100 percent, 100 when absent). An event without
// a section plays nothing, as does every event of a game without the file.
//
// A section that names no event, a key other than those two, a section
// without "file" and a volume that is not a whole number from 0 to 100 are
// problems: the engine says them on stderr when it loads the effects, the
// content checker reports them; the rest of the file is used all the same.
class SoundSettings {
public:
    static const char* const kFileName;  // "sound.ini"

    struct Effect {
        std::string file;        // empty: the event plays nothing
        int32_t volume = 100;    // percent, 0 to 100
        int32_t line = 0;        // of the "file" key, else of the section; 0 when the event has no section
    };
    struct Problem {
        int32_t line = 0;     // from 1; 0 for the whole file
        std::string section;
        std::string key;      // empty when the whole section is meant
        std::string message;  // what is wrong and what the engine does
    };

    explicit SoundSettings(const IniDictionary& file);
    // Reads the named file. A file that is not there is a silent game, not
    // a problem; one that is there but cannot be read (not a regular file,
    // too large) is.
    static SoundSettings read(const std::string& fileName);

    // The keys the file may hold: "file" and "volume" in a section per event.
    static const IniSchema& fileKeys();

    const Effect& effect(SoundEvent event) const { return m_effects[static_cast<size_t>(indexOf(event))]; }
    const std::vector<Problem>& problems() const { return m_problems; }

    // Loads every event's effect into the audio service. Says each problem
    // and each file that cannot be loaded on stderr, once, naming the file,
    // the section and the key; such an event plays silence.
    void loadInto(AudioService& audio) const;

    // The event whose name is nearest to `name` (a slip or two of typing, or
    // another case), or empty when none is near.
    static std::string closestEventName(const std::string& name);

private:
    void readSection(const IniDictionary& file, SoundEvent event);
    void addProblem(int32_t line, const std::string& section, const std::string& key, const std::string& message);

    std::array<Effect, kSoundEventCount> m_effects;
    std::vector<Problem> m_problems;
};
