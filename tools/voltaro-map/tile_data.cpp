#include "tile_data.h"

#include <zlib.h>

#include <array>
#include <stdexcept>

namespace {

constexpr size_t kBytesPerGid = 4;
constexpr uint64_t kMaxGid = 0xFFFFFFFFu;

std::string cellCount(size_t count) {
    return std::to_string(count) + (count == 1 ? " cell" : " cells");
}

void expectCount(size_t found, size_t count) {
    if (found != count) {
        throw std::invalid_argument("the layer data holds " + cellCount(found) + ", expected " + cellCount(count) +
                                    " (the layer's width x height)");
    }
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string decodeBase64(const std::string& text) {
    static const std::array<int8_t, 256> kValues = [] {
        std::array<int8_t, 256> values{};
        values.fill(-1);
        const char* const alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i) values[static_cast<unsigned char>(alphabet[i])] = static_cast<int8_t>(i);
        return values;
    }();
    std::string bytes;
    uint32_t buffer = 0;
    int bits = 0;
    size_t padding = 0;
    for (const char c : text) {
        if (isSpace(c)) continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        const int value = kValues[static_cast<unsigned char>(c)];
        if (value < 0 || padding > 0) {
            throw std::invalid_argument(std::string("the base64 data holds '") + (value < 0 ? c : '=') +
                                        "', which is not part of base64");
        }
        buffer = (buffer << 6) | static_cast<uint32_t>(value);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<char>((buffer >> bits) & 0xFF));
        }
    }
    if (padding > 2 || bits >= 6) throw std::invalid_argument("the base64 data ends in the middle of a byte");
    return bytes;
}

// Inflates zlib (or, with `gzip`, gzip) data that should unpack to exactly `expected` bytes.
std::string inflateData(const std::string& packed, bool gzip, size_t expected) {
    const char* const kind = gzip ? "gzip" : "zlib";
    z_stream stream{};
    if (inflateInit2(&stream, gzip ? 16 + MAX_WBITS : MAX_WBITS) != Z_OK) {
        throw std::invalid_argument(std::string("cannot start ") + kind + " decompression");
    }
    std::string unpacked(expected + 1, '\0');  // one spare byte reveals data that is too long
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(&unpacked[0]);
    stream.avail_out = static_cast<uInt>(unpacked.size());
    const int result = inflate(&stream, Z_FINISH);
    const size_t produced = unpacked.size() - stream.avail_out;
    inflateEnd(&stream);
    if (result == Z_DATA_ERROR || result == Z_NEED_DICT) {
        throw std::invalid_argument(std::string("the layer data is not valid ") + kind + " data");
    }
    if (result != Z_STREAM_END) {
        if (produced > expected) {
            throw std::invalid_argument(std::string("the ") + kind + " data unpacks to more than " +
                                        std::to_string(expected) + " bytes (4 per cell)");
        }
        throw std::invalid_argument(std::string("the ") + kind + " data ends early");
    }
    unpacked.resize(produced);
    return unpacked;
}

}  // namespace

std::vector<uint32_t> TileData::fromCsv(const std::string& text, size_t count) {
    std::vector<uint32_t> gids;
    gids.reserve(count);
    size_t i = 0;
    while (true) {
        while (i < text.size() && isSpace(text[i])) ++i;
        if (i == text.size()) break;  // a trailing comma or an empty layer
        uint64_t value = 0;
        const size_t start = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
            value = value * 10 + static_cast<uint64_t>(text[i] - '0');
            if (value > kMaxGid) throw std::invalid_argument("CSV value " + std::to_string(gids.size() + 1) + " is larger than 32 bits");
            ++i;
        }
        if (i == start) {
            throw std::invalid_argument("CSV value " + std::to_string(gids.size() + 1) + " is not a whole number (found '" +
                                        text.substr(i, 1) + "')");
        }
        gids.push_back(static_cast<uint32_t>(value));
        while (i < text.size() && isSpace(text[i])) ++i;
        if (i == text.size()) break;
        if (text[i] != ',') {
            throw std::invalid_argument("CSV value " + std::to_string(gids.size()) + " is followed by '" + text.substr(i, 1) +
                                        "' instead of a comma");
        }
        ++i;
    }
    expectCount(gids.size(), count);
    return gids;
}

std::vector<uint32_t> TileData::fromBase64(const std::string& text, const std::string& compression, size_t count) {
    std::string bytes = decodeBase64(text);
    const size_t expected = count * kBytesPerGid;
    if (compression == "zlib" || compression == "gzip") {
        bytes = inflateData(bytes, compression == "gzip", expected);
    } else if (!compression.empty()) {
        throw std::invalid_argument("unknown compression \"" + compression + "\" (voltaro-map reads zlib, gzip or none)");
    }
    if (bytes.size() % kBytesPerGid != 0) {
        throw std::invalid_argument("the layer data is " + std::to_string(bytes.size()) +
                                    " bytes, not a whole number of 4-byte cells");
    }
    expectCount(bytes.size() / kBytesPerGid, count);
    std::vector<uint32_t> gids(count);
    for (size_t cell = 0; cell < count; ++cell) {
        uint32_t gid = 0;
        for (size_t b = 0; b < kBytesPerGid; ++b) {
            gid |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[cell * kBytesPerGid + b])) << (8 * b);
        }
        gids[cell] = gid;
    }
    return gids;
}

std::string TileData::toCsv(const std::vector<uint32_t>& gids, int32_t width) {
    std::string text = "\n";
    for (size_t i = 0; i < gids.size(); ++i) {
        text += std::to_string(gids[i]);
        const bool last = i + 1 == gids.size();
        if (!last) text += ',';
        if (width > 0 && ((i + 1) % static_cast<size_t>(width) == 0 || last)) text += '\n';
    }
    return text;
}
