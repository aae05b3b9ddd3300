#pragma once

#include "check/content_report.h"
#include "resources/ini_dictionary.h"

#include <cstddef>
#include <string>

// Checks a game's sound data for the content checker: "sound.ini" (a game
// without one is silent by design and has nothing to check) and the tunes
// that the "music" keys of "levels.ini" and "stageselect.ini" name. Formats
// are told by content, as SDL_mixer tells them.
class SoundChecker {
public:
    // `directory` is the game's; problems go to `report`.
    SoundChecker(std::string directory, ContentReport& report);

    // Every section names a sound event (an unknown name gets the nearest
    // event as a suggestion), volumes are 0 to 100, and every file named
    // can be read and is a WAV or OGG file.
    void checkSoundSettings();
    // The section's "music" key, when present, names a readable OGG, WAV or
    // tracker module (MOD, XM, S3M, IT).
    void checkMusic(const IniDictionary& file, const std::string& fileName, const std::string& section);

private:
    // The first bytes of a file of `kind` (as DataFile names it, with its
    // size limit); false with the reason when the engine would not read it.
    bool readHead(const std::string& name, size_t maxBytes, const char* kind, std::string& head,
                  std::string& reason) const;

    std::string m_directory;
    ContentReport& m_report;
};
