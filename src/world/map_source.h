#pragma once

#include "world/map_source_error.h"
#include "world/tile_map_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The map source: a text form of the binary tile map that people write and
// read, one character per 16x16 cell with a legend that gives each character
// its tile number and solid byte ('~' marks the cells of an absent screen).
// compile and decompile are exact inverses for every binary they accept:
// compile(decompile(x)) == x byte for byte. docs/map-format.md describes the
// syntax. A legend entry may also mark its character as the level's beam
// start or enemy ("S 0 open start"); such a character may stand in one cell
// only, and compileLevel reports where.
class MapSource {
public:
    struct Cell {
        int32_t column = 0;  // from 0, left to right
        int32_t row = 0;     // from 0, top to bottom
    };
    // A compiled source with the cells of its marker characters, if any.
    struct Level {
        std::vector<uint8_t> binary;
        std::optional<Cell> start;
        std::optional<Cell> enemy;
    };

    // Compiles map source text into the binary tile map format. Throws
    // MapSourceError naming sourceName, the line and the column.
    static std::vector<uint8_t> compile(const std::string& text, const std::string& sourceName);
    // The same, also giving the cells of the start and enemy characters.
    static Level compileLevel(const std::string& text, const std::string& sourceName);
    // Turns a valid binary tile map back into source text. Throws
    // MapSourceError (line and column 0, the byte offset in the message) for
    // an invalid binary or one whose bytes the source cannot reproduce.
    static std::string decompile(const std::vector<uint8_t>& binary, const std::string& sourceName);
    // Decodes a binary for a converter that must reproduce it byte for byte:
    // besides a malformed file it refuses bytes after the last row, non-zero
    // bytes in absent chunks and tile byte 0 in present chunks, saying that
    // `form` (e.g. "a map source") cannot hold them. Throws MapSourceError.
    static TileMapFile decodeFaithfully(const std::vector<uint8_t>& binary, const std::string& sourceName,
                                        const std::string& form);
};
