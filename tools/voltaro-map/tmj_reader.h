#pragma once

#include "tiled_map.h"

#include <string>

// Reads Tiled's JSON map format (.tmj, also .json) into the same TiledMap as
// TmxReader, under the same rules: embedded tile sets, external ones in XML
// (.tsx) or JSON (.tsj, .json), layer data as an array of gids or as base64
// (raw, zlib or gzip). JSON parse errors name the line; other errors name the
// layer, cell or object, since JSON values carry no line.
class TmjReader {
public:
    static TiledMap read(const std::string& path);
};
