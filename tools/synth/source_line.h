#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

#include "source_error.h"

// One line of a sound or music source, ready to read: the comment (from ';'
// to the end) and a CR line end removed, split into words at spaces and
// tabs. Every word keeps its 1-based column so that messages point at it.
class SourceLine {
public:
    // `firstColumn` is the column of `text`'s first character, for a piece
    // cut out of a longer line.
    SourceLine(const std::string& file, int lineNumber, const std::string& text, int firstColumn = 1);

    // True when `word` is one of `words` (a directive list, say).
    static bool isOneOf(const std::string& word, std::initializer_list<const char*> words);
    // Every line of `text`, blank ones included, numbered from 1.
    static std::vector<SourceLine> splitText(const std::string& text, const std::string& file);

    const std::string& file() const { return m_file; }
    int lineNumber() const { return m_lineNumber; }
    // The line without its comment and line end.
    const std::string& text() const { return m_text; }
    int firstColumn() const { return m_firstColumn; }
    size_t size() const { return m_words.size(); }
    bool empty() const { return m_words.empty(); }
    const std::string& word(size_t index) const { return m_words.at(index); }
    int column(size_t index) const { return m_columns.at(index); }
    // "FILE:LINE", for messages that point back at this line.
    std::string where() const;

    // An error at word `index` (at the end of the line past the last word).
    SourceError error(size_t index, const std::string& message) const;
    // Throws "usage: ..." unless the line has `low` to `high` words.
    void expectWords(size_t low, size_t high, const std::string& usage) const;
    // Word `index` read as a whole number from `low` to `high`; throws
    // "WHAT must be a whole number from LOW to HIGH, not 'WORD'" otherwise.
    int integer(size_t index, int low, int high, const std::string& what) const;

private:
    std::string m_file;
    int m_lineNumber;
    std::string m_text;
    int m_firstColumn;
    std::vector<std::string> m_words;
    std::vector<int> m_columns;
};
