// Fuzzes the map source compiler. Any text either compiles or throws
// MapSourceError; a compiled map must be a well-formed binary, decompile
// must accept it, and the decompiled text must compile to the same bytes.

#include "world/map_source.h"
#include "world/map_source_error.h"
#include "world/tile_map_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void check(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "map_source: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<uint8_t> binary;
    try {
        binary = MapSource::compile(text, "fuzz.vmap");
    } catch (const MapSourceError& error) {
        check(error.line() >= 1 && error.column() >= 0, "a source error without a line");
        return 0;  // documented rejection
    }
    TileMapFile file;
    std::string problem;
    check(TileMapFile::decode(binary, file, problem), "compile produced a binary that does not decode");
    check(file.trailingByteCount() == 0, "compile produced trailing bytes");

    std::string source;
    try {
        source = MapSource::decompile(binary, "fuzz.map");
    } catch (const MapSourceError& error) {
        std::fprintf(stderr, "map_source: decompile rejected compile's output: %s\n", error.what());
        std::abort();
    }
    std::vector<uint8_t> again;
    try {
        again = MapSource::compile(source, "decompiled.vmap");
    } catch (const MapSourceError& error) {
        std::fprintf(stderr, "map_source: decompiled text does not compile: %s\n", error.what());
        std::abort();
    }
    check(again == binary, "compile(decompile(compile(x))) differs from compile(x)");
    return 0;
}
