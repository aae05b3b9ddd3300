#pragma once

// Reads the per-frame trace CSV that `voltaro --trace` writes, for tests that
// run the real executable and assert on what happened frame by frame.

#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct TraceRow {
    std::map<std::string, std::string> fields;

    const std::string& text(const std::string& column) const {
        static const std::string empty;
        const auto it = fields.find(column);
        return it != fields.end() ? it->second : empty;
    }
    int64_t number(const std::string& column) const {
        const std::string& value = text(column);
        return value.empty() ? 0 : std::stoll(value);
    }
    int64_t frame() const { return number("frame"); }
    // Whole pixels of a raw fixed-point column (rounded toward zero).
    int64_t pixels(const std::string& column) const { return number(column) / 256; }
};

inline std::vector<std::string> splitCsvLine(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream stream(line);
    while (std::getline(stream, cell, ',')) cells.push_back(cell);
    if (!line.empty() && line.back() == ',') cells.emplace_back();
    return cells;
}

// All rows of a trace file; empty when the file is missing.
inline std::vector<TraceRow> readTrace(const std::string& fileName) {
    std::vector<TraceRow> rows;
    std::ifstream file(fileName);
    std::string line;
    if (!std::getline(file, line)) return rows;
    const std::vector<std::string> header = splitCsvLine(line);
    while (std::getline(file, line)) {
        const std::vector<std::string> cells = splitCsvLine(line);
        TraceRow row;
        for (size_t i = 0; i < header.size() && i < cells.size(); ++i) row.fields[header[i]] = cells[i];
        rows.push_back(row);
    }
    return rows;
}
