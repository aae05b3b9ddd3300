#pragma once

#include <string>

// Reading whole files for voltaro-map, with errors that name the file.
class TextFile {
public:
    // The file's bytes; throws MapToolError when it cannot be read.
    static std::string read(const std::string& path);
    // `relative` taken from the folder of `path` (as Tiled resolves a tile
    // set's or an image's source), or unchanged when it is absolute.
    static std::string beside(const std::string& path, const std::string& relative);
    // The 1-based line of byte `offset` in `text`.
    static int lineAt(const std::string& text, size_t offset);
};
