#pragma once

#include <cstdint>
#include <istream>
#include <map>
#include <string>
#include <vector>

// One parsed INI file, read completely at construction and read-only after.
// Every lookup takes (key, section, default) in that order; a missing section
// or key is never an error and yields the caller's default. Sections and keys
// compare byte by byte (case-sensitive).
class IniDictionary {
public:
    // Reads the named file. A file that cannot be opened leaves the
    // dictionary empty (every lookup answers its default); isLoaded tells.
    explicit IniDictionary(const std::string& fileName);
    // Parses INI text from a stream (used by tools and tests).
    explicit IniDictionary(std::istream& input);

    static IniDictionary fromText(const std::string& text);

    // The stored text, or `defaultValue` itself (the same pointer) when absent.
    // The returned text stays valid while the dictionary exists.
    const char* getString(const std::string& key, const std::string& section, const char* defaultValue) const;
    // The stored text converted like atoi (32-bit wrap, no range check), or
    // the default when absent. A present but non-numeric value gives 0.
    int32_t getInt(const std::string& key, const std::string& section, int32_t defaultValue) const;
    // True only for exactly "true", false only for exactly "false"; any other
    // stored value, or an absent one, gives the default.
    bool getBool(const std::string& key, const std::string& section, bool defaultValue) const;

    // True when the file could be opened and read.
    bool isLoaded() const { return m_loaded; }

    // The line (from 1) that gave the key its value; 0 when the key is absent.
    int32_t lineOf(const std::string& key, const std::string& section) const;
    // The line of the section's first header; 0 when the section is absent
    // (and for the unnamed section before any header).
    int32_t sectionLine(const std::string& section) const;

    // The sections, in the order of their first headers ("" for keys before
    // any header, when there are some).
    std::vector<std::string> sectionNames() const;
    // The keys of a section in the order of their lines; empty for an absent section.
    std::vector<std::string> keysOf(const std::string& section) const;

    // atoi conversion with 32-bit wrap-around and no undefined behaviour.
    static int32_t toInt(const std::string& text);

private:
    void parse(std::istream& input);
    const std::string* find(const std::string& key, const std::string& section) const;

    struct Entry {
        std::string value;
        int32_t line = 0;  // from 1
    };
    struct Section {
        std::map<std::string, Entry> entries;
        int32_t line = 0;  // of the first header; 0 for the unnamed section
    };
    const Entry* findEntry(const std::string& key, const std::string& section) const;

    std::map<std::string, Section> m_sections;
    bool m_loaded = false;
};
