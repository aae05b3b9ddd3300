#pragma once

#include <stdexcept>
#include <string>

// An error in a tool's text source. what() reads "FILE:LINE:COLUMN: message"
// (or "FILE: message" when no line applies, line 0), the form compilers use
// so that editors can jump to the spot.
class SourceError : public std::runtime_error {
public:
    SourceError(const std::string& file, int line, int column, const std::string& message);

    const std::string& file() const { return m_file; }
    int line() const { return m_line; }
    int column() const { return m_column; }

private:
    std::string m_file;
    int m_line;
    int m_column;
};
