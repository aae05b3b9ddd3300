#pragma once

#include <stdexcept>
#include <string>

// An error in a file voltaro-map reads or writes: a Tiled map or tile set,
// a levels.ini, a binary map or tile sheet. what() is "FILE:LINE: message",
// or "FILE: message" when the problem has no line (a JSON file names the
// layer and cell or the object in the message instead).
class MapToolError : public std::runtime_error {
public:
    MapToolError(const std::string& file, int line, const std::string& message);

    const std::string& file() const { return m_file; }
    int line() const { return m_line; }  // from 1; 0 when there is none
    const std::string& message() const { return m_message; }

private:
    std::string m_file;
    int m_line;
    std::string m_message;
};
