#pragma once

#include <string>
#include <vector>

// Changes single keys of an INI file's text and leaves every other byte as
// it was: comments, blank lines, spacing, key order, other sections and each
// line's own ending (LF or CRLF). Lines are read the way the engine's
// IniDictionary reads them: ';' in column 0 starts a comment, "[name]" opens
// a section (a name used twice continues the same section), "key = value"
// is trimmed of spaces around the key and the value, and the first
// occurrence of a key wins.
class IniFileEditor {
public:
    explicit IniFileEditor(const std::string& text);

    bool hasSection(const std::string& section) const;
    bool has(const std::string& section, const std::string& key) const;
    // The section's keys in file order (each once).
    std::vector<std::string> keys(const std::string& section) const;

    // Gives the key's first occurrence the value, keeping the text before
    // the value ("key = ") as it was; a line whose value is already right is
    // not touched. A missing key is added after the last key of the
    // section's first block; a missing section is added at the end of the file.
    void set(const std::string& section, const std::string& key, const std::string& value);
    // Removes every line that gives the key a value in the section.
    void remove(const std::string& section, const std::string& key);

    std::string text() const;

private:
    struct Line {
        std::string content;  // without the line ending
        std::string ending;   // "\n", "\r\n" or "" for a last line without one
    };
    enum class Kind { Other, Header, Key };
    struct Parsed {
        Kind kind = Kind::Other;
        std::string name;       // section name or key
        size_t valueStart = 0;  // for a key: where the value (after '=' and spaces) begins
    };

    Parsed parse(const Line& line) const;
    // Line indices of the section's key lines, and of its blocks' headers.
    std::vector<size_t> keyLines(const std::string& section, const std::string& key) const;
    size_t insertionPoint(const std::string& section) const;

    std::vector<Line> m_lines;
    std::string m_newline;  // for added lines: the ending of the file's first line
};
