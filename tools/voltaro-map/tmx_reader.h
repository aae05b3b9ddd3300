#pragma once

#include "tiled_map.h"

#include <cstdint>
#include <string>

// Reads Tiled's XML formats: maps (.tmx) with embedded or external (.tsx)
// tile sets, tile layer data in XML, CSV or base64 (raw, zlib or gzip), and
// object layers. It reads what is there and leaves the engine's conventions
// to TiledImporter; it throws MapToolError naming the file and line for
// malformed XML, a missing or non-numeric attribute, an unknown encoding or
// compression, layer data of the wrong size, and an infinite map (whose
// layers are stored in chunks).
class TmxReader {
public:
    static TiledMap read(const std::string& path);
    // An external tile set file (.tsx), as a map referring to it with `firstGid` sees it.
    static TiledMap::Tileset readTileset(const std::string& path, uint32_t firstGid);
};
