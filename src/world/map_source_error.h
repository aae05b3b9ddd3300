#pragma once

#include <stdexcept>
#include <string>

// An error in a map source (or in a binary tile map being turned into one).
// what() is "FILE:LINE:COLUMN: message"; for a binary, which has no lines,
// line and column are 0, what() is "FILE: message" and the message gives the
// byte offset.
class MapSourceError : public std::runtime_error {
public:
    MapSourceError(const std::string& file, int line, int column, const std::string& message);

    const std::string& file() const { return m_file; }
    int line() const { return m_line; }      // 1-based; 0 for a binary
    int column() const { return m_column; }  // 1-based; 0 for a binary
    const std::string& message() const { return m_message; }

private:
    std::string m_file;
    int m_line;
    int m_column;
    std::string m_message;
};
