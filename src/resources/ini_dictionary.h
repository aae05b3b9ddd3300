#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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
    // Largest INI file read, in bytes. The sample game's files are a few
    // kilobytes and a sprite file with thousands of cells a few hundred; the
    // limit keeps a runaway file (or /dev/urandom) from costing unbounded
    // memory: a parsed file takes up to about 16 times its size.
    static constexpr size_t kMaxFileBytes = 1024 * 1024;

    // Reads the named file. A file that cannot be opened, is not a regular
    // file or is larger than kMaxFileBytes leaves the dictionary empty (every
    // lookup answers its default); isLoaded tells, loadProblem says why.
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
    // Why the file was not loaded ("cannot be opened", "is not a regular
    // file (a FIFO)", "is N bytes, more than ..."); empty when it was.
    const std::string& loadProblem() const { return m_loadProblem; }
    // True when the text began with a UTF-8 byte-order mark, which is skipped.
    bool hadByteOrderMark() const { return m_byteOrderMark; }

    // One stored key, for a reader that looks for keys nobody reads.
    struct KeyLocation {
        std::string section;
        std::string key;
        int32_t line = 0;  // from 1
    };
    // Every stored key, by section and key in byte order.
    std::vector<KeyLocation> keys() const;

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

    // Sees every lookup of every dictionary while set: the file the
    // dictionary was read from ("" for text), the section and the key. Tests
    // use it to prove that a file's schema covers every key its loaders read.
    using LookupObserver =
        std::function<void(const std::string& file, const std::string& section, const std::string& key)>;
    static void observeLookups(LookupObserver observer);

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
    std::string m_fileName;  // for the lookup observer only
    bool m_loaded = false;
    bool m_byteOrderMark = false;
    std::string m_loadProblem;
};
