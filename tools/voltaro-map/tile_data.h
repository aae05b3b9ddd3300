#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The cell data of a Tiled tile layer in its text forms: comma-separated
// decimal gids, or base64 of little-endian 32-bit gids, raw or compressed
// with zlib or gzip. Each decoder checks that the layer holds exactly
// `count` cells and throws std::invalid_argument with a message (no file
// name; the reader adds it) for anything it cannot decode.
class TileData {
public:
    static std::vector<uint32_t> fromCsv(const std::string& text, size_t count);
    // `compression` is Tiled's attribute: "" (none), "zlib" or "gzip".
    static std::vector<uint32_t> fromBase64(const std::string& text, const std::string& compression, size_t count);
    // Tiled's own CSV layout: one line per row, every gid followed by a comma
    // except the last one of the layer.
    static std::string toCsv(const std::vector<uint32_t>& gids, int32_t width);
};
