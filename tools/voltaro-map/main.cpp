// voltaro-map: converts a level's map between its sources and the binary
// tile map the engine loads.
//
//   voltaro-map compile SRC OUT [--level SECTION --ini LEVELS]
//   voltaro-map decompile MAP SRC
//   voltaro-map import LEVEL.tmx|LEVEL.tmj OUT [--level SECTION --ini LEVELS]
//   voltaro-map export MAP OUT.tmx [--level SECTION --ini LEVELS] [--tileset SHEET.bmp]
//
// Exit status 0 on success, 1 on an error in the input or in reading or
// writing a file (message on stderr), 2 for bad arguments. Outputs are
// written only when there was no error, each replaced in one step.

#include "ini_file_editor.h"
#include "level_keys.h"
#include "map_tool_error.h"
#include "output_file.h"
#include "resources/ini_dictionary.h"
#include "text_file.h"
#include "tiled_exporter.h"
#include "tiled_importer.h"
#include "world/map_source.h"

#include <SDL.h>

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char* const kUsage =
    "usage: voltaro-map compile SRC OUT [--level SECTION --ini LEVELS]\n"
    "           compile a map source (.vmap) into a binary tile map; with --level, also write the\n"
    "           places of the source's start and enemy characters into that section of LEVELS\n"
    "       voltaro-map decompile MAP SRC\n"
    "           turn a binary tile map back into a map source\n"
    "       voltaro-map import LEVEL.tmx|LEVEL.tmj OUT [--level SECTION --ini LEVELS]\n"
    "           turn a Tiled map into a binary tile map; with --level, also write its boundaries,\n"
    "           start and enemy into that section of LEVELS\n"
    "       voltaro-map export MAP OUT.tmx [--level SECTION --ini LEVELS] [--tileset SHEET.bmp]\n"
    "           write a binary tile map (with the section's boundaries, start and enemy) as a Tiled\n"
    "           map, and its tile sheet (SHEET, or the section's tileSheet) as a tile set beside it\n"
    "       voltaro-map --help\n"
    "See docs/map-format.md and docs/tiled.md.\n";

constexpr int kExitError = 1;
constexpr int kExitUsage = 2;
constexpr int32_t kStartCellOffsetY = 4;  // pixels: a start cell's beam stops 4 below its top (feet on the row below)
constexpr int32_t kEnemyCellOffsetY = 8;  // pixels: the 8-pixel-high enemy stands in a cell's lower half
constexpr int32_t kTilePixels = 16;

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Arguments {
    std::string command;
    std::vector<std::string> files;
    std::map<std::string, std::string> options;  // "--level" -> value

    std::optional<std::string> option(const std::string& name) const {
        const auto found = options.find(name);
        if (found == options.end()) return std::nullopt;
        return found->second;
    }
};

Arguments parseArguments(int argc, char** argv) {
    static const std::map<std::string, std::vector<std::string>> kAllowed = {
        {"compile", {"--level", "--ini"}},
        {"decompile", {}},
        {"import", {"--level", "--ini"}},
        {"export", {"--level", "--ini", "--tileset"}}};
    if (argc < 2) throw UsageError("no command");
    Arguments arguments;
    arguments.command = argv[1];
    const auto allowed = kAllowed.find(arguments.command);
    if (allowed == kAllowed.end()) throw UsageError("unknown command '" + arguments.command + "'");
    for (int i = 2; i < argc; ++i) {
        const std::string word = argv[i];
        if (word.rfind("--", 0) != 0) {
            arguments.files.push_back(word);
            continue;
        }
        if (std::find(allowed->second.begin(), allowed->second.end(), word) == allowed->second.end()) {
            throw UsageError("'" + arguments.command + "' takes no option " + word);
        }
        if (i + 1 >= argc) throw UsageError(word + " needs a value");
        if (!arguments.options.emplace(word, argv[++i]).second) throw UsageError(word + " given twice");
    }
    if (arguments.files.size() != 2) throw UsageError("'" + arguments.command + "' takes two files");
    if (arguments.option("--level").has_value() != arguments.option("--ini").has_value()) {
        throw UsageError("--level and --ini go together");
    }
    return arguments;
}

std::vector<uint8_t> readBinary(const std::string& path) {
    const std::string contents = TextFile::read(path);
    return std::vector<uint8_t>(contents.begin(), contents.end());
}

void writeFile(const std::string& path, const std::string& contents) {
    try {
        OutputFile::write(path, contents);
    } catch (const std::runtime_error& error) {
        throw MapToolError(path, 0, error.what());
    }
}

std::string encode(const TileMapFile& map) {
    const std::vector<uint8_t> bytes = map.encode();
    return std::string(bytes.begin(), bytes.end());
}

// Writes the map, then the level's keys into the levels file when asked.
int writeLevel(const Arguments& arguments, const LevelLayout& layout, const std::string& binary) {
    const std::optional<std::string> section = arguments.option("--level");
    std::string iniText;
    std::optional<IniFileEditor> editor;
    std::vector<std::string> changed;
    if (section) {
        iniText = TextFile::read(*arguments.option("--ini"));
        editor.emplace(iniText);
        changed = LevelKeys::write(layout, *section, *arguments.option("--ini"), *editor);
    }
    writeFile(arguments.files[1], binary);
    if (!section) return 0;
    const std::string iniPath = *arguments.option("--ini");
    if (editor->text() == iniText) {
        std::cout << iniPath << ": [" << *section << "] already up to date\n";
        return 0;
    }
    writeFile(iniPath, editor->text());
    std::cout << iniPath << ": [" << *section << "] updated:";
    for (const std::string& key : changed) std::cout << ' ' << key;
    std::cout << '\n';
    return 0;
}

int compile(const Arguments& arguments) {
    const std::string& source = arguments.files[0];
    const MapSource::Level level = MapSource::compileLevel(TextFile::read(source), source);
    LevelLayout layout;
    auto place = [&](const MapSource::Cell& cell, int32_t offsetY, const char* word) {
        return LevelLayout::Place{cell.column * kTilePixels, cell.row * kTilePixels + offsetY,
                                  LevelLayout::Origin{source, 0, std::string("the ") + word + " character at column " +
                                                                     std::to_string(cell.column + 1) + " of map row " +
                                                                     std::to_string(cell.row + 1)}};
    };
    if (level.start) layout.start = place(*level.start, kStartCellOffsetY, "start");
    if (level.enemy) layout.enemy = place(*level.enemy, kEnemyCellOffsetY, "enemy");
    return writeLevel(arguments, layout, std::string(level.binary.begin(), level.binary.end()));
}

int importMap(const Arguments& arguments) {
    const LevelLayout layout = TiledImporter::importFile(arguments.files[0]);
    return writeLevel(arguments, layout, encode(layout.map));
}

struct SheetSize {
    int32_t width = 0;
    int32_t height = 0;
};

SheetSize measureSheet(const std::string& path) {
    SDL_Surface* surface = SDL_LoadBMP(path.c_str());
    if (surface == nullptr) throw MapToolError(path, 0, std::string("cannot load the tile sheet: ") + SDL_GetError());
    const SheetSize size{surface->w, surface->h};
    SDL_FreeSurface(surface);
    return size;
}

int exportMap(const Arguments& arguments) {
    const std::string& mapPath = arguments.files[0];
    const std::string& tmxPath = arguments.files[1];
    LevelLayout layout;
    layout.map = MapSource::decodeFaithfully(readBinary(mapPath), mapPath, "a Tiled map");
    std::optional<std::string> sheetPath = arguments.option("--tileset");
    if (arguments.option("--level")) {
        const std::string iniPath = *arguments.option("--ini");
        const std::string section = *arguments.option("--level");
        const IniDictionary levels = IniDictionary::fromText(TextFile::read(iniPath));
        if (levels.sectionLine(section) == 0) throw MapToolError(iniPath, 0, "no section [" + section + "]");
        LevelKeys::read(levels, section, iniPath, layout);
        LevelKeys::checkBoundaries(layout);
        const int line = levels.lineOf("tileSheet", section);
        if (!sheetPath && line != 0) sheetPath = TextFile::beside(iniPath, levels.getString("tileSheet", section, ""));
    }
    if (!sheetPath) {
        throw UsageError("export needs the tile sheet: give --tileset SHEET.bmp, or --level and --ini with a tileSheet key");
    }

    namespace fs = std::filesystem;
    const fs::path outputDir = fs::absolute(fs::path(tmxPath)).parent_path().lexically_normal();
    const fs::path sheet = fs::absolute(fs::path(*sheetPath)).lexically_normal();
    const SheetSize size = measureSheet(*sheetPath);
    const std::string tsxName = sheet.stem().string() + ".tsx";
    const TiledExporter::Sheet tiledSheet{*sheetPath, sheet.lexically_relative(outputDir).generic_string(),
                                          sheet.stem().string(), size.width, size.height};
    const TiledExporter::Files files = TiledExporter::write(layout, tiledSheet, tsxName, mapPath);
    writeFile((outputDir / tsxName).string(), files.tsx);
    writeFile(tmxPath, files.tmx);
    return 0;
}

int run(const Arguments& arguments) {
    if (arguments.command == "compile") return compile(arguments);
    if (arguments.command == "import") return importMap(arguments);
    if (arguments.command == "export") return exportMap(arguments);
    if (arguments.option("--level")) throw UsageError("decompile takes no --level");
    const std::string& mapPath = arguments.files[0];
    writeFile(arguments.files[1], MapSource::decompile(readBinary(mapPath), mapPath));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
        std::cout << kUsage;
        return 0;
    }
    try {
        return run(parseArguments(argc, argv));
    } catch (const UsageError& error) {
        std::cerr << "voltaro-map: " << error.what() << "\n" << kUsage;
        return kExitUsage;
    } catch (const MapSourceError& error) {
        std::cerr << error.what() << '\n';
    } catch (const MapToolError& error) {
        std::cerr << error.what() << '\n';
    }
    return kExitError;
}
