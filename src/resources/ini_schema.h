#pragma once

#include <string>
#include <vector>

// One key a loader reads from an INI file, with what an author needs to
// know about it. In the section and key names '#' stands for a decimal index
// ("spritesheet#", section "Animation#"), '?' for any one character (a
// glyph key of the font), and a section of "*" for any section (a level's
// own section of "levels.ini").
struct IniKey {
    std::string section;
    std::string key;
    std::string unit;          // "pixels", "updates", "1/256 pixel per update", "true or false", "file name", ...
    std::string defaultValue;  // what a missing key reads as
    std::string meaning;       // one line
};

// The keys one kind of data file may hold: declared next to each loader (the
// player's keys beside Voltaro, a sprite's beside Sprite, a map's beside
// Map), combined per file, and queried by the content checker so that a key
// the engine never reads (misspelt, in the wrong section, or with a tab
// before its '=') is reported instead of silently reading as its default.
class IniSchema {
public:
    IniSchema() = default;
    explicit IniSchema(std::vector<IniKey> keys);

    // Appends another schema's keys (the player file holds the player's, the
    // level's and a sprite's).
    IniSchema& add(const IniSchema& other);
    const std::vector<IniKey>& keys() const { return m_keys; }

    // True when some declared key matches the stored section and key.
    bool knows(const std::string& section, const std::string& key) const;
    // The declared key nearest to a stored one that is not known, written
    // as the author would type it ("gravityFraction", or "YSpeed/gravityInt"
    // when the key belongs to another section); empty when none is close.
    std::string closest(const std::string& section, const std::string& key) const;

    // True when `name` fits `pattern` ('#' a run of digits, '?' one character).
    static bool matches(const std::string& pattern, const std::string& name);
    // The candidate nearest to `name` as the key suggestions measure it (a
    // slip or two of typing, any change of case), or empty when none is near.
    // For names that are not keys: "sound.ini"'s sections name sound events.
    static std::string nearest(const std::string& name, const std::vector<std::string>& candidates);

private:
    std::vector<IniKey> m_keys;
};
