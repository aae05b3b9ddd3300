#include "source_line.h"

#include <sstream>

SourceLine::SourceLine(const std::string& file, int lineNumber, const std::string& text, int firstColumn)
    : m_file(file), m_lineNumber(lineNumber), m_text(text), m_firstColumn(firstColumn) {
    const size_t comment = m_text.find(';');
    if (comment != std::string::npos) m_text.erase(comment);
    if (!m_text.empty() && m_text.back() == '\r') m_text.pop_back();
    size_t i = 0;
    while (i < m_text.size()) {
        if (m_text[i] == ' ' || m_text[i] == '\t') {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < m_text.size() && m_text[i] != ' ' && m_text[i] != '\t') ++i;
        m_words.push_back(m_text.substr(start, i - start));
        m_columns.push_back(firstColumn + static_cast<int>(start));
    }
}

bool SourceLine::isOneOf(const std::string& word, std::initializer_list<const char*> words) {
    for (const char* candidate : words) {
        if (word == candidate) return true;
    }
    return false;
}

std::vector<SourceLine> SourceLine::splitText(const std::string& text, const std::string& file) {
    std::vector<SourceLine> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) lines.emplace_back(file, static_cast<int>(lines.size()) + 1, line);
    return lines;
}

std::string SourceLine::where() const { return m_file + ":" + std::to_string(m_lineNumber); }

SourceError SourceLine::error(size_t index, const std::string& message) const {
    const int column = index < m_columns.size() ? m_columns[index]
                                                : m_firstColumn + static_cast<int>(m_text.size());
    return SourceError(m_file, m_lineNumber, column, message);
}

void SourceLine::expectWords(size_t low, size_t high, const std::string& usage) const {
    if (m_words.size() < low) throw error(m_words.size(), "usage: " + usage);
    if (m_words.size() > high) throw error(high, "usage: " + usage);
}

int SourceLine::integer(size_t index, int low, int high, const std::string& what) const {
    const std::string& text = word(index);
    long long value = 0;
    bool valid = !text.empty() && text.size() <= 9;
    size_t i = 0;
    bool negative = false;
    if (valid && text[0] == '-') {
        negative = true;
        i = 1;
        valid = text.size() > 1;
    }
    for (; valid && i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') valid = false;
        value = value * 10 + (text[i] - '0');
    }
    if (negative) value = -value;
    if (!valid || value < low || value > high) {
        throw error(index, what + " must be a whole number from " + std::to_string(low) + " to " +
                               std::to_string(high) + ", not '" + text + "'");
    }
    return static_cast<int>(value);
}
