#pragma once

#include <stdexcept>
#include <string>

// A fatal data error: content that the engine cannot run on (a tile sheet or
// tile map that cannot be loaded, a malformed map). Thrown at the boundary
// where the data is read; the entry point reports it and exits with status 1.
// The report names the failed condition, the source and the line, and says
// which file (or section) is wrong and how.
class FatalDataError : public std::runtime_error {
public:
    FatalDataError(const std::string& condition, const std::string& source, int line, const std::string& detail);

    const std::string& condition() const { return m_condition; }
    const std::string& source() const { return m_source; }
    int line() const { return m_line; }
    const std::string& detail() const { return m_detail; }

private:
    std::string m_condition;
    std::string m_source;
    int m_line;
    std::string m_detail;
};

// Checks a data condition in every build type (never compiled out like
// assert). `source` is the short name of the reporting module, e.g. "map".
#define VOLTARO_DATA_CHECK(condition, source, detail)                                  \
    do {                                                                               \
        if (!(condition)) throw FatalDataError(#condition, (source), __LINE__, (detail)); \
    } while (0)
