#include "world/map_source.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kLegend = "tiles 6\nlegend\n. 0 open\n# 1 solid\nH 4 open\n= 2 7\n";

// `height` rows of `width` copies of `c`, one per line.
std::string rows(int width, int height, char c = '.') {
    std::string text;
    for (int row = 0; row < height; ++row) text += std::string(static_cast<size_t>(width), c) + "\n";
    return text;
}

std::string withMap(const std::string& mapRows) {
    return std::string(kLegend) + "map\n" + mapRows;
}

// Compiles and expects a MapSourceError at (line, column) whose message contains `fragment`.
void expectError(const std::string& text, int line, int column, const std::string& fragment) {
    try {
        MapSource::compile(text, "level.vmap");
        ADD_FAILURE() << "no error; expected '" << fragment << "'";
    } catch (const MapSourceError& error) {
        EXPECT_EQ(error.file(), "level.vmap");
        EXPECT_EQ(error.line(), line) << error.what();
        EXPECT_EQ(error.column(), column) << error.what();
        EXPECT_NE(error.message().find(fragment), std::string::npos) << error.what();
    }
}

// Decompiles and expects a MapSourceError whose message contains `fragment`.
void expectRefused(const std::vector<uint8_t>& binary, const std::string& fragment) {
    try {
        MapSource::decompile(binary, "level.map");
        ADD_FAILURE() << "no error; expected '" << fragment << "'";
    } catch (const MapSourceError& error) {
        EXPECT_EQ(error.line(), 0);
        EXPECT_EQ(error.column(), 0);
        EXPECT_EQ(std::string(error.what()).rfind("level.map: ", 0), 0u) << error.what();
        EXPECT_NE(error.message().find(fragment), std::string::npos) << error.what();
    }
}

// One screen (16 x 15) of present chunks, every cell the same.
std::vector<uint8_t> oneScreen(uint8_t tileByte, uint8_t solidByte) {
    std::vector<uint8_t> bytes = {16, 15, 7};
    for (int cell = 0; cell < 16 * 15; ++cell) {
        bytes.push_back(tileByte);
        bytes.push_back(solidByte);
    }
    return bytes;
}

// ---------------------------------------------------------------- compile

TEST(MapSourceCompile, WritesHeaderAndCellBytes) {
    std::string mapRows = "#.H=" + std::string(12, '.') + "\n" + rows(16, 14);
    const std::vector<uint8_t> bytes = MapSource::compile(withMap(mapRows), "level.vmap");
    ASSERT_EQ(bytes.size(), 3u + 15 * 32);
    EXPECT_EQ(bytes[0], 16);
    EXPECT_EQ(bytes[1], 15);
    EXPECT_EQ(bytes[2], 7);  // tiles 6 + 1
    const std::vector<uint8_t> firstCells(bytes.begin() + 3, bytes.begin() + 11);
    EXPECT_EQ(firstCells, (std::vector<uint8_t>{2, 1, 1, 0, 5, 0, 3, 7}));
}

TEST(MapSourceCompile, WritesAbsentScreensAsZeroChunks) {
    std::string mapRows;
    for (int row = 0; row < 15; ++row) mapRows += std::string(16, '#') + std::string(16, '~') + "\n";
    const std::vector<uint8_t> bytes = MapSource::compile(withMap(mapRows), "level.vmap");
    ASSERT_EQ(bytes.size(), 3u + 15 * 2 * 32);
    for (int row = 0; row < 15; ++row) {
        const size_t chunk = 3 + static_cast<size_t>(row) * 64;
        EXPECT_EQ(bytes[chunk], 2) << "row " << row;
        for (size_t i = 32; i < 64; ++i) ASSERT_EQ(bytes[chunk + i], 0) << "row " << row;
    }
}

TEST(MapSourceCompile, IgnoresCommentsBlankLinesTrailingBlanksAndCarriageReturns) {
    const std::string plain = withMap(rows(16, 15));
    std::string noisy =
        "; a level\r\n\r\ntiles 6   ; six images\r\n   \r\nlegend ; entries follow\r\n. 0 open ; background\r\n"
        "# 1 solid\r\n\tH\t4\topen\r\n= 2 7\r\n; a comment\r\nmap ; rows follow\r\n";
    for (int row = 0; row < 15; ++row) {
        noisy += std::string(16, '.') + (row % 2 == 0 ? "  \t\r\n" : "\r\n");
        if (row == 7) noisy += "; halfway\r\n\r\n";
    }
    EXPECT_EQ(MapSource::compile(noisy, "noisy.vmap"), MapSource::compile(plain, "plain.vmap"));
}

TEST(MapSourceCompile, AcceptsAWholeMapOfAbsentScreens) {
    const std::vector<uint8_t> bytes = MapSource::compile("tiles 1\nlegend\nmap\n" + rows(16, 15, '~'), "x");
    EXPECT_EQ(bytes[2], 2);
    for (size_t i = 3; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0);
}

TEST(MapSourceCompile, AcceptsTheLargestMap) {
    const std::vector<uint8_t> bytes = MapSource::compile(withMap(rows(240, 255)), "big.vmap");
    EXPECT_EQ(bytes[0], 240);
    EXPECT_EQ(bytes[1], 255);
    EXPECT_EQ(bytes.size(), 3u + 255 * 15 * 32);
}

TEST(MapSourceError, WhatNamesFileLineAndColumn) {
    try {
        MapSource::compile(withMap("..x.............\n"), "maps/level.vmap");
        FAIL() << "no error";
    } catch (const MapSourceError& error) {
        EXPECT_STREQ(error.what(), "maps/level.vmap:8:3: unknown legend character 'x'");
    }
}

TEST(MapSourceCompile, RejectsUnknownLegendCharacter) {
    expectError(withMap(rows(16, 3) + "......Q.........\n" + rows(16, 11)), 11, 7, "unknown legend character 'Q'");
}

TEST(MapSourceCompile, RejectsRaggedRows) {
    expectError(withMap(rows(16, 2) + std::string(15, '.') + "\n" + rows(16, 12)), 10, 16,
                "ragged row: map row 3 is 15 cells wide, expected 16 (the width of map row 1, line 8)");
    // Comment and blank lines do not count as map rows.
    expectError(withMap(rows(16, 2) + "; note\n\n" + std::string(17, '.') + "\n" + rows(16, 12)), 12, 17,
                "map row 3 is 17 cells wide, expected 16");
}

// ---------------------------------------------------------------- markers

const char* const kMarkedLegend = "tiles 6\nlegend\n. 0 open\n# 1 solid\nS 0 open start\nE 0 open enemy\n";

TEST(MapSourceMarkers, GiveTheCellsOfStartAndEnemyAndCompileThemAsTheirTiles) {
    std::string mapRows = rows(32, 15);
    mapRows[3 * 33 + 8] = 'S';    // row 3, column 8
    mapRows[14 * 33 + 20] = 'E';  // row 14, column 20
    const MapSource::Level level = MapSource::compileLevel(std::string(kMarkedLegend) + "map\n" + mapRows, "m.vmap");
    ASSERT_TRUE(level.start.has_value());
    ASSERT_TRUE(level.enemy.has_value());
    EXPECT_EQ(level.start->column, 8);
    EXPECT_EQ(level.start->row, 3);
    EXPECT_EQ(level.enemy->column, 20);
    EXPECT_EQ(level.enemy->row, 14);
    EXPECT_EQ(level.binary, MapSource::compile(std::string(kMarkedLegend) + "map\n" + rows(32, 15), "plain.vmap"));
}

TEST(MapSourceMarkers, AreOptional) {
    const MapSource::Level level = MapSource::compileLevel(withMap(rows(16, 15)), "m.vmap");
    EXPECT_FALSE(level.start.has_value());
    EXPECT_FALSE(level.enemy.has_value());
}

TEST(MapSourceMarkers, RejectMisuse) {
    std::string twice = rows(16, 15);
    twice[2 * 17 + 1] = 'S';
    twice[4 * 17 + 9] = 'S';
    expectError(std::string(kMarkedLegend) + "map\n" + twice, 12, 10,
                "the start character stands in a second cell (the first is at line 10, column 2)");
    expectError("tiles 6\nlegend\nS 0 open start\nT 1 solid start\n", 4, 11,
                "a second 'start' character (the first is defined on line 3)");
    expectError("tiles 6\nlegend\nS 0 open begin\n", 3, 10, "unexpected 'begin' after the legend entry");
    expectError("tiles 6\nlegend\nS 0 open start now\n", 3, 16, "unexpected 'now' after the legend entry");
}

TEST(MapSourceCompile, RejectsPartlyAbsentScreenAtItsFirstOddCell) {
    std::string mostlyPresent = rows(32, 4) + std::string(20, '.') + "~" + std::string(11, '.') + "\n" + rows(32, 10);
    expectError(withMap(mostlyPresent), 12, 21, "screen (1, 0) is partly absent");
    std::string mostlyAbsent = rows(16, 15, '~');
    mostlyAbsent[5 * 17 + 3] = '#';
    expectError(withMap(mostlyAbsent), 13, 4, "screen (0, 0) is partly absent");
}

TEST(MapSourceCompile, RejectsDimensionsThatDoNotMakeWholeScreens) {
    expectError(withMap(rows(20, 15)), 8, 21, "20 cells wide, not a multiple of 16");
    expectError(withMap(rows(16, 16)), 23, 1, "16 rows, not a multiple of 15");
    expectError(withMap(""), 7, 1, "no rows");
}

TEST(MapSourceCompile, RejectsMoreThan255TilesInADirection) {
    expectError(withMap(rows(256, 15)), 8, 241, "more than 255 tiles");
    expectError(withMap(rows(16, 270)), 7 + 256, 1, "more than 255 map rows");
}

TEST(MapSourceCompile, RejectsSpacesInsideMapRows) {
    expectError(withMap(". .............\n"), 8, 2, "a space inside a map row");
}

TEST(MapSourceCompile, RejectsDuplicateAndReservedLegendCharacters) {
    expectError("tiles 6\nlegend\n. 0 open\n# 1 solid\n. 2 open\n", 5, 1, "duplicate legend character '.' (first defined on line 3)");
    expectError("tiles 6\nlegend\n~ 0 open\n", 3, 1, "'~' marks absent cells");
    expectError("tiles 6\nlegend\nab 0 open\n", 3, 1, "more than one character");
}

TEST(MapSourceCompile, RejectsMissingSections) {
    expectError("legend\n. 0 open\nmap\n" + rows(16, 15), 3, 1, "'map' comes before the 'tiles' directive");
    expectError("tiles 6\nmap\n" + rows(16, 15), 2, 1, "'map' comes before the 'legend' section");
    expectError(std::string(kLegend), 6, 1, "missing 'map' section");
    expectError("; nothing\n", 1, 1, "missing 'tiles' directive");
    expectError("tiles 3\n", 1, 1, "missing 'legend' section");
}

TEST(MapSourceCompile, RejectsBadNumbers) {
    expectError("tiles 0\n", 1, 7, "bad tile image count '0'");
    expectError("tiles 255\n", 1, 7, "bad tile image count '255'");
    expectError("tiles six\n", 1, 7, "bad tile image count 'six'");
    expectError("tiles\n", 1, 1, "'tiles' needs the number");
    expectError("tiles 6\nlegend\n. 255 open\n", 3, 3, "bad tile number '255'");
    expectError("tiles 6\nlegend\n. -1 open\n", 3, 3, "bad tile number '-1'");
    expectError("tiles 6\nlegend\n. 0 256\n", 3, 5, "bad solidity '256'");
    expectError("tiles 6\nlegend\n. 0 hard\n", 3, 5, "bad solidity 'hard'");
    expectError("tiles 6\nlegend\n. 0\n", 3, 1, "<character> <tile number> <open|solid|solid byte>");
}

TEST(MapSourceCompile, RejectsStrayWordsAndDirectives) {
    expectError("tiles 6 7\n", 1, 9, "unexpected '7'");
    expectError("tiles 6\nlegend\n. 0 open extra\n", 3, 10, "unexpected 'extra'");
    expectError("tiles 6\nlegends\n", 2, 1, "unknown directive 'legends'");
    expectError("tiles 6\n. 0 open\n", 2, 1, "outside the legend section");
    expectError("tiles 6\ntiles 7\n", 2, 1, "a second 'tiles' directive (the first is on line 1)");
}

// ---------------------------------------------------------------- decompile

TEST(MapSourceDecompile, RoundTripsACompiledMapWithReadableCharacters) {
    std::string mapRows;
    for (int row = 0; row < 15; ++row) {
        mapRows += (row == 14 ? std::string(16, '#') : "#...H.....=....#") + std::string(16, '~') + "\n";
    }
    mapRows += rows(32, 15, '=');
    const std::vector<uint8_t> binary = MapSource::compile(withMap(mapRows), "level.vmap");
    const std::string text = MapSource::decompile(binary, "level.map");
    EXPECT_NE(text.find("\n. 0 open\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n# 1 solid\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nH 4 open\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n#...H.....=....#~~~~~~~~~~~~~~~~\n"), std::string::npos) << text;
    EXPECT_EQ(MapSource::compile(text, "again.vmap"), binary);
}

TEST(MapSourceDecompile, RoundTripsRandomBinariesByteForByte) {
    std::mt19937 random(20240611);
    for (int trial = 0; trial < 40; ++trial) {
        const int width = 16 * (1 + static_cast<int>(random() % 15));
        const int height = 15 * (1 + static_cast<int>(random() % 17));
        const uint8_t tileBytes = static_cast<uint8_t>(2 + random() % 254);
        std::vector<std::pair<uint8_t, uint8_t>> palette;
        for (int i = 0; i < 92; ++i) {
            palette.emplace_back(static_cast<uint8_t>(1 + random() % 255), static_cast<uint8_t>(random() % 256));
        }
        std::vector<bool> present(static_cast<size_t>(width / 16 * height / 15));
        for (size_t i = 0; i < present.size(); ++i) present[i] = random() % 4 != 0;
        std::vector<uint8_t> binary = {static_cast<uint8_t>(width), static_cast<uint8_t>(height), tileBytes};
        for (int row = 0; row < height; ++row) {
            for (int column = 0; column < width; ++column) {
                const bool isPresent = present[static_cast<size_t>(row / 15 * (width / 16) + column / 16)];
                const auto cell = palette[random() % palette.size()];
                binary.push_back(isPresent ? cell.first : 0);
                binary.push_back(isPresent ? cell.second : 0);
            }
        }
        const std::string text = MapSource::decompile(binary, "random.map");
        ASSERT_EQ(MapSource::compile(text, "random.vmap"), binary) << "trial " << trial << "\n" << text;
    }
}

TEST(MapSourceDecompile, UsesAtMost92LegendCharacters) {
    std::vector<uint8_t> binary = {32, 15, 7};
    std::set<std::pair<int, int>> used;
    for (int cell = 0; cell < 32 * 15; ++cell) {
        const int index = cell % 92;
        binary.push_back(static_cast<uint8_t>(1 + index % 10));
        binary.push_back(static_cast<uint8_t>(index / 10));
    }
    const std::string text = MapSource::decompile(binary, "many.map");
    EXPECT_EQ(MapSource::compile(text, "many.vmap"), binary);

    binary[3 + 2 * 100] = 200;  // a 93rd distinct cell
    expectRefused(binary, "93 distinct");
}

TEST(MapSourceDecompile, RefusesMalformedBinaries) {
    expectRefused({16, 15}, "ends at byte offset 2");
    std::vector<uint8_t> truncated = oneScreen(1, 0);
    truncated.pop_back();
    expectRefused(truncated, "ends at byte offset 482");
    expectRefused({0, 15, 7}, "width 0");
    expectRefused({16, 14, 7}, "height 14");
    expectRefused({16, 15, 1}, "tile count byte 1");
    std::vector<uint8_t> partly = oneScreen(1, 0);
    partly[3 + 32 * 3] = 0;
    expectRefused(partly, "screen (0, 0) is partly absent");
}

TEST(MapSourceDecompile, RefusesBytesTheSourceCannotHold) {
    std::vector<uint8_t> trailing = oneScreen(1, 0);
    trailing.push_back(0);
    expectRefused(trailing, "1 byte follows the last row at byte offset 483");

    std::vector<uint8_t> stray = {32, 15, 7};
    for (int row = 0; row < 15; ++row) {
        for (int i = 0; i < 16; ++i) stray.insert(stray.end(), {1, 0});
        for (int i = 0; i < 16; ++i) stray.insert(stray.end(), {0, static_cast<uint8_t>(row == 2 && i == 3)});
    }
    expectRefused(stray, "non-zero byte at byte offset " + std::to_string(3 + 2 * 64 + 32 + 7));

    std::vector<uint8_t> blank = oneScreen(1, 0);
    blank[3 + 2] = 0;  // the second cell's tile byte
    expectRefused(blank, "tile byte 0 at byte offset 5");
}

}  // namespace
