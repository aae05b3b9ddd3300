#include "world/map_source.h"

#include "world/tile_map_file.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

namespace {

constexpr char kAbsentCell = '~';
constexpr char kComment = ';';
constexpr int32_t kMaxTiles = 254;        // tile images: N = tiles + 1 must fit a byte
constexpr int32_t kMaxTileNumber = 254;   // the tile byte is number + 1
constexpr int32_t kMaxSolidByte = 255;
constexpr int32_t kScreenCellsX = TileMapFile::kScreenCellsX;
constexpr int32_t kScreenCellsY = TileMapFile::kScreenCellsY;

// Legend characters for decompiling, most readable first; '.', '#' and 'H'
// come last because they are kept for open background, solid ground and
// ladders when the map has them. Holds every legal legend character once.
const char kLegendPool[] =
    "=%&@$*+-:!?<>/\\|^_`'\",()[]{}"
    "0123456789"
    "ABCDEFGIJKLMNOPQRSTUVWXYZ"
    "abcdefghijklmnopqrstuvwxyz"
    ".#H";

bool isLegendCharacter(char c) {
    return c > ' ' && c < 127 && c != kAbsentCell && c != kComment;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string describe(char c) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte > ' ' && byte < 127) return std::string("'") + c + "'";
    if (byte == ' ') return "a space";
    if (byte == '\t') return "a tab";
    char text[16];
    std::snprintf(text, sizeof text, "byte 0x%02X", byte);
    return text;
}

// A decimal number of digits only (no sign), at most `maximum`.
bool parseNumber(const std::string& text, int32_t maximum, int32_t& value) {
    if (text.empty() || text.size() > 9) return false;  // nine digits cannot overflow
    int32_t parsed = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return false;
        parsed = parsed * 10 + (c - '0');
    }
    if (parsed > maximum) return false;
    value = parsed;
    return true;
}

struct Token {
    std::string text;
    int column;  // 1-based
};

std::vector<Token> tokenize(const std::string& line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < line.size()) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < line.size() && !isBlank(line[i])) ++i;
        tokens.push_back(Token{line.substr(start, i - start), static_cast<int>(start) + 1});
    }
    return tokens;
}

// Reads source text line by line: directives and the legend first, then the
// map rows to the end of the text, then checks the map as a whole.
class SourceCompiler {
public:
    explicit SourceCompiler(const std::string& sourceName) : m_sourceName(sourceName) {}

    MapSource::Level compile(const std::string& text) {
        int lineNumber = 0;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            start = end + 1;
            ++lineNumber;
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty() && line[0] == kComment) continue;  // comment line
            if (m_section == Section::Map) {
                mapRow(line, lineNumber);
            } else {
                directiveLine(line, lineNumber);
            }
        }
        return finish(std::max(lineNumber, 1));
    }

private:
    enum class Section { None, Legend, Map };
    enum class Marker { None, Start, Enemy };

    struct LegendEntry {
        TileMapFile::Cell cell;
        int line;
        Marker marker;
    };

    // Where a marker character was found, for the result and for reporting a second one.
    struct MarkerPlace {
        MapSource::Cell cell;
        int line = 0;  // 0 until found
        int column = 0;
    };

    struct Row {
        std::string cells;
        int line;
    };

    [[noreturn]] void fail(int line, int column, const std::string& message) const {
        throw MapSourceError(m_sourceName, line, column, message);
    }

    void directiveLine(std::string line, int lineNumber) {
        const size_t comment = line.find(kComment);
        if (comment != std::string::npos) line.erase(comment);
        const std::vector<Token> tokens = tokenize(line);
        if (tokens.empty()) return;  // blank line
        const Token& first = tokens[0];
        if (first.text == "tiles") {
            tilesDirective(tokens, lineNumber);
        } else if (first.text == "legend") {
            if (m_legendLine != 0) {
                fail(lineNumber, first.column,
                     "a second 'legend' section (the first is on line " + std::to_string(m_legendLine) + ")");
            }
            expectNoMore(tokens, 1, lineNumber, "after 'legend'");
            m_legendLine = lineNumber;
            m_section = Section::Legend;
        } else if (first.text == "map") {
            expectNoMore(tokens, 1, lineNumber, "after 'map' (the map rows start on the next line)");
            if (m_tilesLine == 0) fail(lineNumber, first.column, "'map' comes before the 'tiles' directive");
            if (m_legendLine == 0) fail(lineNumber, first.column, "'map' comes before the 'legend' section");
            m_mapLine = lineNumber;
            m_section = Section::Map;
        } else if (m_section == Section::Legend) {
            legendEntry(tokens, lineNumber);
        } else if (first.text.size() == 1) {
            fail(lineNumber, first.column,
                 "legend entry " + describe(first.text[0]) + " outside the legend section (write 'legend' first)");
        } else {
            fail(lineNumber, first.column, "unknown directive '" + first.text + "' (expected tiles, legend or map)");
        }
    }

    void tilesDirective(const std::vector<Token>& tokens, int lineNumber) {
        if (m_tilesLine != 0) {
            fail(lineNumber, tokens[0].column,
                 "a second 'tiles' directive (the first is on line " + std::to_string(m_tilesLine) + ")");
        }
        if (tokens.size() < 2) {
            fail(lineNumber, tokens[0].column,
                 "'tiles' needs the number of tile images in the sheet, 1.." + std::to_string(kMaxTiles));
        }
        if (!parseNumber(tokens[1].text, kMaxTiles, m_tiles) || m_tiles < 1) {
            fail(lineNumber, tokens[1].column,
                 "bad tile image count '" + tokens[1].text + "': expected 1.." + std::to_string(kMaxTiles));
        }
        expectNoMore(tokens, 2, lineNumber, "after the tile image count");
        m_tilesLine = lineNumber;
    }

    void legendEntry(const std::vector<Token>& tokens, int lineNumber) {
        const Token& key = tokens[0];
        if (key.text.size() != 1) {
            fail(lineNumber, key.column,
                 "legend character '" + key.text + "' is more than one character (or an unknown directive)");
        }
        const char c = key.text[0];
        if (c == kAbsentCell) fail(lineNumber, key.column, "'~' marks absent cells and cannot be a legend character");
        if (!isLegendCharacter(c)) {
            fail(lineNumber, key.column, describe(c) + " cannot be a legend character (printable ASCII only)");
        }
        const auto known = m_legend.find(c);
        if (known != m_legend.end()) {
            fail(lineNumber, key.column,
                 "duplicate legend character " + describe(c) + " (first defined on line " +
                     std::to_string(known->second.line) + ")");
        }
        if (tokens.size() < 3) {
            fail(lineNumber, key.column, "a legend entry is <character> <tile number> <open|solid|solid byte> [start|enemy]");
        }
        int32_t tileNumber = 0;
        if (!parseNumber(tokens[1].text, kMaxTileNumber, tileNumber)) {
            fail(lineNumber, tokens[1].column,
                 "bad tile number '" + tokens[1].text + "': expected 0.." + std::to_string(kMaxTileNumber));
        }
        int32_t solidByte = 0;
        if (tokens[2].text == "open") {
            solidByte = 0;
        } else if (tokens[2].text == "solid") {
            solidByte = 1;
        } else if (!parseNumber(tokens[2].text, kMaxSolidByte, solidByte)) {
            fail(lineNumber, tokens[2].column,
                 "bad solidity '" + tokens[2].text + "': expected open, solid or a solid byte 0..255");
        }
        const Marker marker = tokens.size() > 3 ? legendMarker(tokens[3], lineNumber) : Marker::None;
        expectNoMore(tokens, 4, lineNumber, "after the legend entry");
        const TileMapFile::Cell cell{static_cast<uint8_t>(tileNumber + 1), static_cast<uint8_t>(solidByte)};
        m_legend.emplace(c, LegendEntry{cell, lineNumber, marker});
    }

    // The optional fourth word of a legend entry; each marker names one character only.
    Marker legendMarker(const Token& token, int lineNumber) {
        Marker marker = Marker::None;
        if (token.text == "start") {
            marker = Marker::Start;
        } else if (token.text == "enemy") {
            marker = Marker::Enemy;
        } else {
            fail(lineNumber, token.column, "unexpected '" + token.text + "' after the legend entry (only start or enemy may follow)");
        }
        int& markerLine = marker == Marker::Start ? m_startLegendLine : m_enemyLegendLine;
        if (markerLine != 0) {
            fail(lineNumber, token.column,
                 "a second '" + token.text + "' character (the first is defined on line " + std::to_string(markerLine) + ")");
        }
        markerLine = lineNumber;
        return marker;
    }

    void placeMarker(const LegendEntry& entry, MapSource::Cell cell, int lineNumber, int column) {
        MarkerPlace& place = entry.marker == Marker::Start ? m_start : m_enemy;
        const char* const word = entry.marker == Marker::Start ? "start" : "enemy";
        if (place.line != 0) {
            fail(lineNumber, column,
                 std::string("the ") + word + " character stands in a second cell (the first is at line " +
                     std::to_string(place.line) + ", column " + std::to_string(place.column) + ")");
        }
        place = MarkerPlace{cell, lineNumber, column};
    }

    void expectNoMore(const std::vector<Token>& tokens, size_t count, int lineNumber, const std::string& where) const {
        if (tokens.size() > count) fail(lineNumber, tokens[count].column, "unexpected '" + tokens[count].text + "' " + where);
    }

    void mapRow(std::string row, int lineNumber) {
        while (!row.empty() && isBlank(row.back())) row.pop_back();  // editors leave trailing blanks
        if (row.empty()) return;  // blank line
        const int32_t length = static_cast<int32_t>(row.size());
        for (int32_t i = 0; i < length; ++i) {
            if (isBlank(row[static_cast<size_t>(i)])) {
                fail(lineNumber, i + 1,
                     describe(row[static_cast<size_t>(i)]) +
                         " inside a map row (one legend character per cell; 'map' is the last section)");
            }
        }
        if (m_rows.empty()) {
            if (length > TileMapFile::kMaxWidth) {
                fail(lineNumber, TileMapFile::kMaxWidth + 1,
                     "map rows are " + std::to_string(length) + " cells wide, more than 255 tiles: at most " +
                         std::to_string(TileMapFile::kMaxWidth) + " (15 screens of 16)");
            }
            if (length % kScreenCellsX != 0) {
                fail(lineNumber, length + 1,
                     "map rows are " + std::to_string(length) +
                         " cells wide, not a multiple of 16 (a screen is 16 cells across)");
            }
        } else if (length != width()) {
            fail(lineNumber, std::min(length, width()) + 1,
                 "ragged row: map row " + std::to_string(m_rows.size() + 1) + " is " + std::to_string(length) +
                     " cells wide, expected " + std::to_string(width()) + " (the width of map row 1, line " +
                     std::to_string(m_rows[0].line) + ")");
        }
        if (static_cast<int32_t>(m_rows.size()) == TileMapFile::kMaxHeight) {
            fail(lineNumber, 1,
                 "more than 255 map rows: a map is at most " + std::to_string(TileMapFile::kMaxHeight) +
                     " tiles (17 screens of 15) high");
        }
        for (int32_t i = 0; i < length; ++i) {
            const char c = row[static_cast<size_t>(i)];
            if (c == kAbsentCell) continue;
            const auto entry = m_legend.find(c);
            if (entry == m_legend.end()) fail(lineNumber, i + 1, "unknown legend character " + describe(c));
            if (entry->second.marker != Marker::None) {
                placeMarker(entry->second, MapSource::Cell{i, static_cast<int32_t>(m_rows.size())}, lineNumber, i + 1);
            }
        }
        m_rows.push_back(Row{row, lineNumber});
    }

    int32_t width() const { return m_rows.empty() ? 0 : static_cast<int32_t>(m_rows[0].cells.size()); }
    int32_t height() const { return static_cast<int32_t>(m_rows.size()); }

    MapSource::Level finish(int lastLine) const {
        if (m_tilesLine == 0) fail(lastLine, 1, "missing 'tiles' directive");
        if (m_legendLine == 0) fail(lastLine, 1, "missing 'legend' section");
        if (m_mapLine == 0) fail(lastLine, 1, "missing 'map' section");
        if (m_rows.empty()) fail(m_mapLine, 1, "the map section has no rows");
        if (height() % kScreenCellsY != 0) {
            fail(m_rows.back().line, 1,
                 "the map has " + std::to_string(height()) +
                     " rows, not a multiple of 15 (a screen is 15 cells down)");
        }
        const int32_t screensX = width() / kScreenCellsX;
        const int32_t screensY = height() / kScreenCellsY;
        std::vector<bool> screenPresent(static_cast<size_t>(screensX) * screensY);
        for (int32_t screenY = 0; screenY < screensY; ++screenY) {
            for (int32_t screenX = 0; screenX < screensX; ++screenX) {
                screenPresent[static_cast<size_t>(screenY) * screensX + screenX] = checkScreen(screenX, screenY);
            }
        }
        std::vector<TileMapFile::Cell> cells;
        cells.reserve(static_cast<size_t>(width()) * height());
        for (const Row& row : m_rows) {
            for (const char c : row.cells) {
                cells.push_back(c == kAbsentCell ? TileMapFile::Cell{} : m_legend.at(c).cell);
            }
        }
        MapSource::Level level;
        level.binary = TileMapFile(width(), height(), m_tiles + 1, std::move(cells), std::move(screenPresent)).encode();
        if (m_start.line != 0) level.start = m_start.cell;
        if (m_enemy.line != 0) level.enemy = m_enemy.cell;
        return level;
    }

    // True for a present screen, false for an absent one; a mixture is an
    // error, reported at the first cell of the smaller kind.
    bool checkScreen(int32_t screenX, int32_t screenY) const {
        int32_t absentCount = 0;
        int firstAbsentLine = 0, firstAbsentColumn = 0, firstPresentLine = 0, firstPresentColumn = 0;
        for (int32_t y = 0; y < kScreenCellsY; ++y) {
            const Row& row = m_rows[static_cast<size_t>(screenY * kScreenCellsY + y)];
            for (int32_t x = 0; x < kScreenCellsX; ++x) {
                const int32_t column = screenX * kScreenCellsX + x;
                if (row.cells[static_cast<size_t>(column)] == kAbsentCell) {
                    if (absentCount++ == 0) {
                        firstAbsentLine = row.line;
                        firstAbsentColumn = column + 1;
                    }
                } else if (firstPresentLine == 0) {
                    firstPresentLine = row.line;
                    firstPresentColumn = column + 1;
                }
            }
        }
        constexpr int32_t kScreenCells = kScreenCellsX * kScreenCellsY;
        if (absentCount == 0) return true;
        if (absentCount == kScreenCells) return false;
        const bool mostlyAbsent = absentCount * 2 > kScreenCells;
        fail(mostlyAbsent ? firstPresentLine : firstAbsentLine, mostlyAbsent ? firstPresentColumn : firstAbsentColumn,
             "screen (" + std::to_string(screenX) + ", " + std::to_string(screenY) +
                 ") is partly absent: a screen's cells must be all '~' or none");
    }

    std::string m_sourceName;
    Section m_section = Section::None;
    int32_t m_tiles = 0;
    int m_tilesLine = 0;   // 0 until seen
    int m_legendLine = 0;  // 0 until seen
    int m_mapLine = 0;     // 0 until seen
    int m_startLegendLine = 0;  // 0 until a legend entry marks the start
    int m_enemyLegendLine = 0;  // 0 until a legend entry marks the enemy
    std::map<char, LegendEntry> m_legend;
    std::vector<Row> m_rows;
    MarkerPlace m_start;
    MarkerPlace m_enemy;
};

using CellKey = std::pair<uint8_t, uint8_t>;  // (tile byte, solid byte)

// Gives every distinct cell a legend character: '.', '#' and 'H' for open
// background (tile 0), solid ground (tile 1) and ladders (tile 4), then the
// pool in order.
std::map<CellKey, char> chooseLegend(const std::set<CellKey>& keys) {
    // Keys hold tile bytes (tile number + 1).
    const std::map<CellKey, char> preferred = {{{1, 0}, '.'}, {{2, 1}, '#'}, {{5, 0}, 'H'}};
    std::map<CellKey, char> legend;
    std::set<char> used;
    for (const auto& [key, c] : preferred) {
        if (keys.count(key) != 0) {
            legend[key] = c;
            used.insert(c);
        }
    }
    const char* next = kLegendPool;
    for (const CellKey& key : keys) {
        if (legend.count(key) != 0) continue;  // has its preferred character
        while (used.count(*next) != 0) ++next;
        legend[key] = *next;
        used.insert(*next);
    }
    return legend;
}

std::string solidWord(uint8_t solidByte) {
    if (solidByte == 0) return "open";
    if (solidByte == 1) return "solid";
    return std::to_string(solidByte);
}

}  // namespace

std::vector<uint8_t> MapSource::compile(const std::string& text, const std::string& sourceName) {
    return compileLevel(text, sourceName).binary;
}

MapSource::Level MapSource::compileLevel(const std::string& text, const std::string& sourceName) {
    return SourceCompiler(sourceName).compile(text);
}

TileMapFile MapSource::decodeFaithfully(const std::vector<uint8_t>& binary, const std::string& sourceName,
                                        const std::string& form) {
    TileMapFile file;
    std::string problem;
    if (!TileMapFile::decode(binary, file, problem)) throw MapSourceError(sourceName, 0, 0, problem);
    if (file.trailingByteCount() > 0) {
        throw MapSourceError(sourceName, 0, 0,
                             std::to_string(file.trailingByteCount()) +
                                 (file.trailingByteCount() == 1 ? " byte follows" : " bytes follow") +
                                 " the last row at byte offset " + std::to_string(file.trailingOffset()) + "; " +
                                 form + " cannot hold them");
    }
    if (file.strayByteOffset() >= 0) {
        throw MapSourceError(sourceName, 0, 0,
                             "non-zero byte at byte offset " + std::to_string(file.strayByteOffset()) +
                                 " inside an absent chunk; " + form + " writes absent chunks as zeros");
    }
    if (file.blankTileOffset() >= 0) {
        throw MapSourceError(sourceName, 0, 0,
                             "tile byte 0 at byte offset " + std::to_string(file.blankTileOffset()) +
                                 " inside a present chunk names no tile; " + form + " cannot write it");
    }
    return file;
}

std::string MapSource::decompile(const std::vector<uint8_t>& binary, const std::string& sourceName) {
    const TileMapFile file = decodeFaithfully(binary, sourceName, "a map source");

    std::set<CellKey> keys;
    for (int32_t row = 0; row < file.height(); ++row) {
        for (int32_t column = 0; column < file.width(); ++column) {
            if (!file.isScreenPresent(column / kScreenCellsX, row / kScreenCellsY)) continue;  // '~'
            const TileMapFile::Cell cell = file.cell(column, row);
            keys.insert(CellKey(cell.tileByte, cell.solidByte));
        }
    }
    const size_t characterCount = sizeof kLegendPool - 1;
    if (keys.size() > characterCount) {
        throw MapSourceError(sourceName, 0, 0,
                             "the map has " + std::to_string(keys.size()) +
                                 " distinct (tile, solid byte) cells; a map source has only " +
                                 std::to_string(characterCount) + " legend characters");
    }
    const std::map<CellKey, char> legend = chooseLegend(keys);

    std::string text;
    text += "; " + std::to_string(file.width()) + " x " + std::to_string(file.height()) + " cells, " +
            std::to_string(file.screensX()) + " x " + std::to_string(file.screensY()) + " screens\n";
    text += "tiles " + std::to_string(file.tileByteCount() - 1) + "\n\nlegend\n";
    for (const auto& [key, c] : legend) {
        text += std::string(1, c) + " " + std::to_string(key.first - 1) + " " + solidWord(key.second) + "\n";
    }
    text += "\nmap\n";
    for (int32_t row = 0; row < file.height(); ++row) {
        for (int32_t column = 0; column < file.width(); ++column) {
            if (!file.isScreenPresent(column / kScreenCellsX, row / kScreenCellsY)) {
                text += kAbsentCell;
            } else {
                const TileMapFile::Cell cell = file.cell(column, row);
                text += legend.at(CellKey(cell.tileByte, cell.solidByte));
            }
        }
        text += '\n';
    }
    return text;
}
