#include "check/content_checker.h"

#include "check/sound_checker.h"
#include "level/enemy.h"
#include "level/level.h"
#include "menus/stage_select.h"
#include "platform/data_file.h"
#include "resources/font.h"
#include "resources/sprite.h"
#include "world/map.h"
#include "world/tile_map_file.h"

#include <SDL.h>

#include <algorithm>

namespace {

constexpr int32_t kMaxMenuEntries = StageSelect::kMaxEntries;  // entries one menu list accepts
constexpr int32_t kMaxBoundaries = 4096;
constexpr int32_t kTileSize = 16;          // pixels
constexpr int32_t kScreenWidth = 256;      // pixels
constexpr int32_t kScreenHeight = 240;     // pixels
constexpr int32_t kArrivalColumnX = 128;   // pixels right of boundary 0's left edge
constexpr int64_t kMaxReadyMessageWidth = 16 * kScreenWidth;  // pixels

const char* const kEmpty = "empty";  // what the engine reads for a missing name
// Bad frames of one animation, animations without frames and missing menu
// entries are reported one by one up to this many; the rest get one line, so
// a hostile file cannot swell the report.
constexpr int32_t kFrameReports = 8;
constexpr int32_t kKeyReports = 32;  // keys the engine never reads, reported one by one per file

// Called as ::quoted with a non-const string: unqualified, argument-dependent
// lookup would pick std::quoted where <iomanip> is visible (as with libc++).
std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string where(const std::string& section, const std::string& key) {
    return section + "/" + key;
}

// A 16-bit store, as the engine's rectangles keep their coordinates.
int32_t cutTo16Bits(int32_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(value) & 0xFFFFu));
}

// A value as written, and what the engine's 16-bit field keeps of it when
// that differs: "2147483392 (the engine keeps -256)".
std::string asWritten(int32_t value) {
    const int32_t kept = cutTo16Bits(value);
    if (kept == value) return std::to_string(value);
    return std::to_string(value) + " (the engine keeps " + std::to_string(kept) + ")";
}

// Rounds toward minus infinity, for rows of positions above the map.
int64_t floorDiv(int64_t value, int64_t divisor) {
    const int64_t quotient = value / divisor;
    return (value % divisor != 0 && value < 0) ? quotient - 1 : quotient;
}

// "3 cells", "1 cell".
std::string counted(int32_t count, const std::string& noun) {
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// "2 (left)", "2 (left) and 3 (right)", "1 (a), 2 (b) and 3 (c)".
std::string listed(const std::vector<std::string>& items) {
    std::string text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
        text += items[i];
    }
    return text;
}

// The entries from `first` on that a sprite file lacks, named for the message.
std::string missingEntries(const char* noun, const std::vector<std::string>& names, int32_t first) {
    std::vector<std::string> items;
    for (size_t i = static_cast<size_t>(first); i < names.size(); ++i) {
        items.push_back(std::to_string(i) + " (" + names[i] + ")");
    }
    return std::string(noun) + (items.size() == 1 ? " " : "s ") + listed(items) +
           (items.size() == 1 ? " is" : " are");
}

std::string characterName(char character) {
    if (character == ' ') return "space";
    const unsigned char byte = static_cast<unsigned char>(character);
    if (byte < 32 || byte >= 127) {
        static const char kHex[] = "0123456789abcdef";
        return std::string("byte 0x") + kHex[byte >> 4] + kHex[byte & 15];
    }
    return std::string("'") + character + "'";
}

}  // namespace

ContentChecker::ContentChecker(std::string directory) : m_directory(std::move(directory)) {
    if (m_directory.empty()) m_directory = ".";
}

ContentReport ContentChecker::run() {
    m_levels = loadIni("levels.ini", "no level can be played", Level::levelsFileSchema());
    checkStageSelect();
    checkReadyMessage();
    checkFont();
    checkSelector();
    if (m_levels) {
        for (const std::string& levelName : m_levelNames) {
            if (m_levels->sectionLine(levelName) > 0) checkLevel(*m_levels, levelName);
        }
    }
    for (const std::string& fileName : m_playerFiles) {
        checkPlayer(fileName);
    }
    checkEnemy();
    checkSound();
    return m_report;
}

void ContentChecker::checkSound() {
    SoundChecker sound(m_directory, m_report);
    sound.checkSoundSettings();
    const std::string menuFile = "stageselect.ini";
    if (iniProblem(menuFile).empty()) sound.checkMusic(IniDictionary(pathOf(menuFile)), menuFile, "Menu");
    if (!m_levels) return;  // reported already
    for (const std::string& levelName : m_levelNames) sound.checkMusic(*m_levels, "levels.ini", levelName);
}

// ---------------------------------------------------------------- files

std::string ContentChecker::pathOf(const std::string& name) const {
    if (!name.empty() && name[0] == '/') return name;
    return m_directory + "/" + name;
}

std::string ContentChecker::iniProblem(const std::string& name) const {
    const IniDictionary file(pathOf(name));
    return file.isLoaded() ? std::string() : file.loadProblem();
}

std::unique_ptr<IniDictionary> ContentChecker::loadIni(const std::string& name, const std::string& consequence,
                                                       const IniSchema& schema) {
    auto file = std::make_unique<IniDictionary>(pathOf(name));
    if (!file->isLoaded()) {
        error(name, -1, "", file->loadProblem() + "; " + consequence);
        return nullptr;
    }
    checkKeys(*file, name, schema);
    return file;
}

void ContentChecker::checkKeys(const IniDictionary& file, const std::string& fileName, const IniSchema& schema) {
    if (file.hadByteOrderMark()) {
        warning(fileName, 1, "", "starts with a UTF-8 byte-order mark; the engine skips it, but some tools do not");
    }
    std::vector<IniDictionary::KeyLocation> keys = file.keys();
    std::stable_sort(keys.begin(), keys.end(),
                     [](const IniDictionary::KeyLocation& a, const IniDictionary::KeyLocation& b) { return a.line < b.line; });
    int32_t unknown = 0;
    for (const IniDictionary::KeyLocation& stored : keys) {
        if (schema.knows(stored.section, stored.key)) continue;
        if (++unknown > kKeyReports) continue;  // summed up below
        const std::string suggestion = schema.closest(stored.section, stored.key);
        std::string message = "the engine never reads this key";
        if (stored.key.find('\t') != std::string::npos) message += ", whose name holds a tab (one before the '=' belongs to the key)";
        if (!suggestion.empty()) message += " (did you mean " + suggestion + "?)";
        warning(fileName, stored.line, where(stored.section, stored.key), message + "; it has no effect");
    }
    if (unknown > kKeyReports) {
        warning(fileName, -1, "",
                std::to_string(unknown - kKeyReports) + " more keys the engine never reads; they have no effect");
    }
}

ContentChecker::Bitmap ContentChecker::loadBitmap(const std::string& name) {
    const auto known = m_bitmaps.find(name);
    if (known != m_bitmaps.end()) return known->second;
    Bitmap& bitmap = m_bitmaps[name];
    const DataFile file = DataFile::readBitmap(pathOf(name));
    if (!file.ok()) {
        bitmap.reason = file.problem();
        return bitmap;
    }
    SDL_Surface* surface =
        SDL_LoadBMP_RW(SDL_RWFromConstMem(file.bytes().data(), static_cast<int>(file.bytes().size())), 1);
    if (surface == nullptr) {
        bitmap.reason = std::string("is not a BMP image the engine can load (") + SDL_GetError() + ")";
        return bitmap;
    }
    bitmap.loaded = true;
    bitmap.width = surface->w;
    bitmap.height = surface->h;
    SDL_FreeSurface(surface);
    return bitmap;
}

// ---------------------------------------------------------------- menu

void ContentChecker::checkStageSelect() {
    const std::string file = "stageselect.ini";
    const auto menu =
        loadIni(file, "the menu shows two empty lists and no level can be started", StageSelect::fileKeys());
    if (!menu) return;

    // A huge list may leave most entries missing: the first few are
    // reported one by one, the rest in one line per kind.
    int32_t missingLevels = 0;
    const int32_t levelCount = readCount(*menu, file, "Levels", "amount", kMaxMenuEntries,
                                         "the level list is empty and no level can be started", true);
    std::set<std::string> levelNames;
    for (int32_t i = 0; i < levelCount; ++i) {
        const std::string key = "level" + std::to_string(i);
        const long line = lineOf(*menu, "Levels", key);
        const std::string name = menu->getString(key, "Levels", kEmpty);
        if (menu->lineOf(key, "Levels") == 0) {
            if (++missingLevels <= kFrameReports) {
                error(file, line, where("Levels", key),
                      "missing; the entry shows and starts the level " + quoted(kEmpty));
            }
            continue;  // "empty" names no level either
        }
        m_drawnTexts.push_back({name, file, line, where("Levels", key)});
        if (m_levels && m_levels->sectionLine(name) == 0) {
            error(file, line, where("Levels", key),
                  "levels.ini has no section [" + name + "]; choosing this entry stops the game with a fatal data error");
        }
        if (levelNames.insert(name).second) m_levelNames.push_back(name);
    }
    if (missingLevels > kFrameReports) {
        error(file, lineOf(*menu, "Levels", "amount"), where("Levels", "amount"),
              std::to_string(missingLevels - kFrameReports) + " more level entries are missing; each shows and starts "
              "the level " + quoted(kEmpty));
    }

    const int32_t playerCount = readCount(*menu, file, "Voltaros", "amount", kMaxMenuEntries,
                                          "the character list is empty and no level can be started", true);
    std::set<std::string> playerFiles;
    std::map<std::string, std::string> problems;  // each file is read once, however many entries name it
    int32_t missingPlayers = 0;
    int32_t missingTitles = 0;
    for (int32_t i = 0; i < playerCount; ++i) {
        const std::string key = "voltaro" + std::to_string(i);
        const std::string titleKey = key + "title";
        const long line = lineOf(*menu, "Voltaros", key);
        const std::string fileName = menu->getString(key, "Voltaros", kEmpty);
        const bool named = menu->lineOf(key, "Voltaros") > 0;
        if (!named) {
            if (++missingPlayers <= kFrameReports) {
                error(file, line, where("Voltaros", key),
                      "missing; the entry names no player file, so choosing it builds the character from defaults "
                      "and it cannot move or be seen");
            }
        } else {
            const auto known = problems.find(fileName);
            const std::string problem =
                known != problems.end() ? known->second : (problems[fileName] = iniProblem(fileName));
            if (!problem.empty()) {
                error(file, line, where("Voltaros", key),
                      "the player file " + quoted(fileName) + " " + problem +
                          "; the character is built from defaults and cannot move or be seen");
            }
        }
        const std::string title = menu->getString(titleKey, "Voltaros", kEmpty);
        if (menu->lineOf(titleKey, "Voltaros") == 0) {
            if (++missingTitles <= kFrameReports) {
                warning(file, lineOf(*menu, "Voltaros", titleKey), where("Voltaros", titleKey),
                        "missing; the entry shows " + quoted(kEmpty));
            }
        } else {
            m_drawnTexts.push_back({title, file, lineOf(*menu, "Voltaros", titleKey), where("Voltaros", titleKey)});
        }
        if (named && playerFiles.insert(fileName).second) m_playerFiles.push_back(fileName);
    }
    if (missingPlayers > kFrameReports) {
        error(file, lineOf(*menu, "Voltaros", "amount"), where("Voltaros", "amount"),
              std::to_string(missingPlayers - kFrameReports) + " more character entries name no player file; each "
              "builds the character from defaults");
    }
    if (missingTitles > kFrameReports) {
        warning(file, lineOf(*menu, "Voltaros", "amount"), where("Voltaros", "amount"),
                std::to_string(missingTitles - kFrameReports) + " more character titles are missing; each entry shows " +
                    quoted(kEmpty));
    }

    // The key hint at the bottom of the menu is drawn with the font too.
    if (menu->lineOf("hint", "Menu") != 0) {
        m_drawnTexts.push_back(
            {menu->getString("hint", "Menu", ""), file, lineOf(*menu, "Menu", "hint"), where("Menu", "hint")});
    }
}

void ContentChecker::checkReadyMessage() {
    if (!m_levels) return;
    const std::string key = "readyMessage";
    const long line = lineOf(*m_levels, "Common", key);
    if (m_levels->lineOf(key, "Common") == 0) {
        warning("levels.ini", line, where("Common", key), "missing; every level shows the word " + quoted(kEmpty));
        return;
    }
    m_readyMessage = m_levels->getString(key, "Common", kEmpty);
    m_readyMessageLine = line;
    m_drawnTexts.push_back({m_readyMessage, "levels.ini", line, where("Common", key)});
}

void ContentChecker::checkFont() {
    const std::string file = "font.ini";
    const auto font =
        loadIni(file, "the menu, the ready message and the debug overlay draw no text", Font::fileKeys());
    if (!font) return;

    const std::string sheetName = font->getString("sheet", "Properties", kEmpty);
    const long sheetLine = lineOf(*font, "Properties", "sheet");
    Bitmap sheet;
    if (font->lineOf("sheet", "Properties") == 0) {
        error(file, sheetLine, where("Properties", "sheet"), "missing; no text is drawn");
    } else {
        sheet = loadBitmap(sheetName);
        if (!sheet.loaded) {
            error(file, sheetLine, where("Properties", "sheet"),
                  "the glyph sheet " + quoted(sheetName) + " " + sheet.reason + "; no text is drawn");
        }
    }
    const int32_t width = font->getInt("characterWidth", "Properties", 0);
    const int32_t height = font->getInt("characterHeight", "Properties", 0);
    if (width <= 0) {
        error(file, lineOf(*font, "Properties", "characterWidth"), where("Properties", "characterWidth"),
              std::to_string(width) + " pixels; no text is visible");
    }
    if (height <= 0) {
        error(file, lineOf(*font, "Properties", "characterHeight"), where("Properties", "characterHeight"),
              std::to_string(height) + " pixels; no text is visible");
    }

    // The level renders its ready message once into a surface of its own,
    // and leaves out one larger than sixteen screens across or one screen high.
    if (m_readyMessageLine != 0 && width > 0 && height > 0) {
        const int64_t messageWidth = static_cast<int64_t>(m_readyMessage.size()) * width;
        if (messageWidth > kMaxReadyMessageWidth || height > kScreenHeight) {
            warning("levels.ini", m_readyMessageLine, where("Common", "readyMessage"),
                    "with font.ini's cells the message would be " + std::to_string(messageWidth) + "x" +
                        std::to_string(height) + " pixels, more than " + std::to_string(kMaxReadyMessageWidth) +
                        "x" + std::to_string(kScreenHeight) + "; no ready message is shown");
        }
    }

    // Glyphs of drawn characters that reach beyond the sheet, reported once.
    std::set<std::string> glyphsChecked;
    int32_t overrunCount = 0;
    std::string firstOverrun;
    int32_t firstOverrunY = 0;
    for (const DrawnText& text : m_drawnTexts) {
        std::string missing;
        std::set<char> seen;
        for (char character : text.text) {
            if (!seen.insert(character).second) continue;  // each character once per text
            const std::string key = character == ' ' ? "space" : std::string(1, character);
            if (font->lineOf(key, "Characters") == 0) {
                missing += (missing.empty() ? "" : ", ") + characterName(character);
                continue;
            }
            if (!sheet.loaded || width <= 0 || height <= 0 || !glyphsChecked.insert(key).second) continue;
            const int32_t y = font->getInt(key, "Characters", 0);
            if (y < 0 || y > sheet.height - height || width > sheet.width) {
                if (overrunCount++ == 0) {
                    firstOverrun = key;
                    firstOverrunY = y;
                }
            }
        }
        if (!missing.empty()) {
            warning(text.file, text.line, text.where,
                    "font.ini has no entry for " + missing + "; the top cell of the glyph sheet is drawn instead");
        }
    }
    if (overrunCount > 0) {
        warning(file, lineOf(*font, "Characters", firstOverrun), where("Characters", firstOverrun),
                quoted(sheetName) + " is " + std::to_string(sheet.width) + "x" + std::to_string(sheet.height) +
                    " pixels, too small for " + counted(overrunCount, "drawn glyph") + " of " +
                    std::to_string(width) + "x" + std::to_string(height) + " (the first: " + firstOverrun + " at y " +
                    std::to_string(firstOverrunY) + "); " + (overrunCount == 1 ? "it is" : "they are") + " drawn cut off");
    }
}

void ContentChecker::checkSelector() {
    const Bitmap selector = loadBitmap("selector.bmp");
    if (!selector.loaded) error("selector.bmp", -1, "", selector.reason + "; the menu draws no cursor");
}

// ---------------------------------------------------------------- levels

void ContentChecker::checkLevel(const IniDictionary& levels, const std::string& levelName) {
    const int32_t sheetImages = checkTileSheet(levels, levelName);
    TileMapFile map;
    std::string mapName;
    const bool mapLoaded = loadTileMap(levels, levelName, map, mapName);
    if (mapLoaded) checkTiles(map, mapName, levelName, sheetImages);

    const int32_t count = levels.getInt("boundaries", levelName, 0);
    if (count < 1 || count > kMaxBoundaries) {
        error("levels.ini", lineOf(levels, levelName, "boundaries"), where(levelName, "boundaries"),
              std::to_string(count) + " is not from 1 to " + std::to_string(kMaxBoundaries) +
                  "; the level stops with a fatal data error");
        return;  // nothing to place the camera or the player in
    }
    if (!mapLoaded) return;  // the boundaries can only be checked against a map
    checkBoundaries(levels, levelName, map);
    checkArrival(levels, levelName, map);
}

int32_t ContentChecker::checkTileSheet(const IniDictionary& levels, const std::string& levelName) {
    const long line = lineOf(levels, levelName, "tileSheet");
    const std::string name = levels.getString("tileSheet", levelName, kEmpty);
    if (levels.lineOf("tileSheet", levelName) == 0) {
        error("levels.ini", line, where(levelName, "tileSheet"), "missing; the level stops with a fatal data error");
        return 0;
    }
    const Bitmap sheet = loadBitmap(name);
    if (!sheet.loaded) {
        error("levels.ini", line, where(levelName, "tileSheet"),
              "the tile sheet " + quoted(name) + " " + sheet.reason + "; the level stops with a fatal data error");
        return 0;
    }
    if (sheet.width < kTileSize) {
        warning("levels.ini", line, where(levelName, "tileSheet"),
                "the tile sheet " + quoted(name) + " is " + std::to_string(sheet.width) +
                    " pixels wide, less than one 16-pixel tile; every tile is drawn cut off");
    }
    return sheet.height / kTileSize;
}

bool ContentChecker::loadTileMap(const IniDictionary& levels, const std::string& levelName, TileMapFile& map,
                                 std::string& mapName) {
    const long line = lineOf(levels, levelName, "tileMap");
    mapName = levels.getString("tileMap", levelName, kEmpty);
    if (levels.lineOf("tileMap", levelName) == 0) {
        error("levels.ini", line, where(levelName, "tileMap"), "missing; the level stops with a fatal data error");
        return false;
    }
    // Like the engine, read no more than the longest well-formed map.
    const DataFile file = DataFile::read(pathOf(mapName), TileMapFile::kMaxBytes, "a tile map");
    if (!file.ok()) {
        error("levels.ini", line, where(levelName, "tileMap"),
              "the tile map " + ::quoted(mapName) + " " + file.problem() + "; the level stops with a fatal data error");
        return false;
    }
    const std::vector<uint8_t> bytes(file.bytes().begin(), file.bytes().end());
    std::string problem;
    size_t offset = 0;
    if (!TileMapFile::decode(bytes, map, problem, offset)) {
        error(mapName, static_cast<long>(offset), where(levelName, "tileMap"),
              problem + "; the level stops with a fatal data error");
        return false;
    }
    if (map.trailingByteCount() > 0) {
        warning(mapName, map.trailingOffset(), where(levelName, "tileMap"),
                std::to_string(map.trailingByteCount()) + " bytes after the last row; the engine ignores them");
    }
    return true;
}

void ContentChecker::checkTiles(const TileMapFile& map, const std::string& mapName, const std::string& levelName,
                                int32_t sheetImages) {
    const int32_t declaredImages = map.tileByteCount() - 1;
    long noImageOffset = -1;
    int32_t noImageCount = 0;
    int32_t firstNoImage = 0;
    long beyondSheetOffset = -1;
    int32_t beyondSheetCount = 0;
    int32_t firstBeyondSheet = 0;
    const int32_t chunksPerRow = map.width() / TileMapFile::kChunkCells;
    for (int32_t row = 0; row < map.height(); ++row) {
        for (int32_t column = 0; column < map.width(); ++column) {
            if (!map.isScreenPresent(column / TileMapFile::kScreenCellsX, row / TileMapFile::kScreenCellsY)) continue;
            const int32_t tile = map.cell(column, row).tileByte - 1;
            const long offset = TileMapFile::kHeaderBytes +
                                (static_cast<long>(row) * chunksPerRow + column / TileMapFile::kChunkCells) *
                                    TileMapFile::kChunkBytes +
                                2L * (column % TileMapFile::kChunkCells);
            if (tile < 0 || tile >= declaredImages) {
                if (noImageCount++ == 0) {
                    noImageOffset = offset;
                    firstNoImage = tile;
                }
            } else if (sheetImages > 0 && tile >= sheetImages) {
                if (beyondSheetCount++ == 0) {
                    beyondSheetOffset = offset;
                    firstBeyondSheet = tile;
                }
            }
        }
    }
    if (noImageCount > 0) {
        warning(mapName, noImageOffset, where(levelName, "tileMap"),
                counted(noImageCount, "cell") + (noImageCount == 1 ? " names" : " name") + " no tile image (the first: tile " +
                    std::to_string(firstNoImage) + "; the map declares " + std::to_string(declaredImages) +
                    " images); they draw nothing but keep their solid flag");
    }
    if (beyondSheetCount > 0) {
        warning(mapName, beyondSheetOffset, where(levelName, "tileMap"),
                counted(beyondSheetCount, "cell") + (beyondSheetCount == 1 ? " uses" : " use") +
                    " tiles beyond the tile sheet's " +
                    std::to_string(sheetImages) + " images (the first: tile " + std::to_string(firstBeyondSheet) +
                    "); they draw nothing");
    }
}

void ContentChecker::checkBoundaries(const IniDictionary& levels, const std::string& levelName,
                                     const TileMapFile& map) {
    const int32_t count = levels.getInt("boundaries", levelName, 0);
    for (int32_t i = 0; i < count; ++i) {
        const std::string stem = "boundary" + std::to_string(i);
        // The engine keeps x and y in signed and w in unsigned 16 bits; the
        // message shows what was written.
        const int32_t writtenX = levels.getInt(stem + "x", levelName, 0);
        const int32_t writtenY = levels.getInt(stem + "y", levelName, 0);
        const int32_t writtenW = levels.getInt(stem + "w", levelName, 0);
        const int32_t x = cutTo16Bits(writtenX);
        const int32_t y = cutTo16Bits(writtenY);
        const int32_t w = static_cast<int32_t>(static_cast<uint32_t>(writtenW) & 0xFFFFu);
        const std::string key = stem + (levels.lineOf(stem + "x", levelName) > 0 ? "x" : "w");
        const long line = lineOf(levels, levelName, stem + "x");
        const std::string keptW = w == writtenW ? std::to_string(w)
                                                : std::to_string(writtenW) + " (the engine keeps " + std::to_string(w) + ")";
        const std::string rect = "boundary " + std::to_string(i) + " (x " + asWritten(writtenX) + ", y " +
                                 asWritten(writtenY) + ", w " + keptW + ")";
        if (w <= 0) {
            error("levels.ini", lineOf(levels, levelName, stem + "w"), where(levelName, stem + "w"),
                  rect + " has no width; the camera and the player cannot stay in it");
            continue;
        }
        if (w < kScreenWidth) {
            warning("levels.ini", lineOf(levels, levelName, stem + "w"), where(levelName, stem + "w"),
                    rect + " is narrower than the 256-pixel screen; the view shows what lies beside it");
        }
        if (y % kScreenHeight != 0) {
            warning("levels.ini", lineOf(levels, levelName, stem + "y"), where(levelName, stem + "y"),
                    rect + " is not on the 240-pixel screen grid; the map draws parts of screens that do not fit");
        }
        // Every screen the band covers must exist: an absent or outside one
        // is drawn as nothing and its cells are solid walls.
        const int32_t firstX = x < 0 ? -1 : x / kScreenWidth;
        const int32_t lastX = (x + w - 1) / kScreenWidth;
        const int32_t firstY = y < 0 ? -1 : y / kScreenHeight;
        const int32_t lastY = (y + kScreenHeight - 1) / kScreenHeight;
        bool reported = false;
        for (int32_t screenY = firstY; screenY <= lastY && !reported; ++screenY) {
            for (int32_t screenX = firstX; screenX <= lastX && !reported; ++screenX) {
                const bool inside = screenX >= 0 && screenY >= 0 && screenX < map.screensX() && screenY < map.screensY();
                if (inside && map.isScreenPresent(screenX, screenY)) continue;
                error("levels.ini", line, where(levelName, key),
                      rect + " covers screen (" + std::to_string(screenX) + ", " + std::to_string(screenY) + "), " +
                          (inside ? "which is absent" : "which is outside the map") +
                          "; nothing is drawn there and its cells are solid walls");
                reported = true;
            }
        }
    }
}

void ContentChecker::checkArrival(const IniDictionary& levels, const std::string& levelName, const TileMapFile& map) {
    const int32_t bandX = cutTo16Bits(levels.getInt("boundary0x", levelName, 0));
    const int32_t bandY = cutTo16Bits(levels.getInt("boundary0y", levelName, 0));
    const int32_t stop = levels.getInt("teleportStopPosY", levelName, 0);
    const long line = lineOf(levels, levelName, "teleportStopPosY");
    const std::string at = where(levelName, "teleportStopPosY");

    // The beam stops exactly on the stop position, wherever that is: it
    // falls in 16-pixel steps and its last step ends on the stop.
    const int64_t stopY = static_cast<int64_t>(bandY) + stop;  // world pixels
    const int32_t worldX = bandX + kArrivalColumnX;
    const int32_t column = worldX / kTileSize;
    if (worldX < 0 || column >= map.width()) {
        error("levels.ini", lineOf(levels, levelName, "boundary0x"), where(levelName, "boundary0x"),
              "the player beams in at x " + std::to_string(worldX) + ", outside the map");
        return;
    }
    auto screenAt = [&map, column](int64_t y) {
        if (y < 0) return false;
        const int64_t screenY = y / kScreenHeight;
        return screenY < map.screensY() &&
               map.isScreenPresent(column / TileMapFile::kScreenCellsX, static_cast<int32_t>(screenY));
    };
    const std::string stopText = "y " + std::to_string(stopY);
    if (stop >= kScreenHeight) {
        // Below boundary 0: the appearing player's first move reaches the
        // bottom scroll start, and the screen it is in decides what follows.
        if (screenAt(stopY)) {
            warning("levels.ini", line, at,
                    "the beam stops at " + stopText + ", below boundary 0; the player scrolls into the screen below "
                    "as soon as it appears");
        } else {
            error("levels.ini", line, at,
                  "the beam stops at " + stopText + ", below boundary 0 where no screen is; the player falls out as "
                  "soon as it appears and beams in again, forever");
        }
        return;
    }

    // A cell the player can stand on: a solid cell, or any cell of an absent
    // screen inside the band (the engine treats those as walls).
    auto standable = [&map, column](int32_t row) {
        if (row < 0 || row >= map.height()) return true;  // outside the map everything is a wall
        if (!map.isScreenPresent(column / TileMapFile::kScreenCellsX, row / TileMapFile::kScreenCellsY)) return true;
        return map.cell(column, row).solidByte != 0;
    };
    const int64_t stopRow = floorDiv(stopY, kTileSize);
    // Only the band's own rows hold a falling player: above the band nothing
    // is solid, and the row just below it reports solid cells, but a falling
    // player passes through it.
    const int64_t bandTopRow = floorDiv(bandY, kTileSize);
    const int32_t firstRow = static_cast<int32_t>(std::max(stopRow + 1, bandTopRow));
    const int32_t lastRow = static_cast<int32_t>(floorDiv(bandY + kScreenHeight - 1, kTileSize));
    bool ground = false;
    for (int32_t row = firstRow; row <= lastRow && !ground; ++row) ground = standable(row);
    if (!ground) {
        // With a screen below the band the player falls (or scrolls) into it and plays there.
        if (!screenAt(static_cast<int64_t>(bandY) + kScreenHeight)) {
            error("levels.ini", line, at,
                  "no ground under the beam in tile column " + std::to_string(column) + " below " + stopText +
                      " and no screen below boundary 0; the player falls out and beams in again, forever");
        }
    } else if (stopRow >= bandTopRow && standable(static_cast<int32_t>(stopRow))) {
        warning("levels.ini", line, at,
                "the beam stops inside a solid cell (column " + std::to_string(column) + ", row " +
                    std::to_string(stopRow) + "); the player appears stuck in the wall");
    }
}

// ---------------------------------------------------------------- player and enemy

void ContentChecker::checkPlayer(const std::string& fileName) {
    const IniDictionary player(pathOf(fileName));
    if (!player.isLoaded()) return;  // reported with the menu entry that names it
    checkKeys(player, fileName, Level::playerFileSchema());
    static const SpriteNeeds kPlayerNeeds = {
        {"facing right", "facing left", "shooting to the right", "shooting to the left"},
        {"standing", "walking", "running", "airborne", "climbing", "climbing at the top", "hurt", "teleporting",
         "appearing"}};
    checkSprite(player, fileName, kPlayerNeeds);

    const long bulletLine = lineOf(player, "Bullet", "spritesheet");
    const std::string bulletName = player.getString("spritesheet", "Bullet", kEmpty);
    if (player.lineOf("spritesheet", "Bullet") == 0) {
        error(fileName, bulletLine, where("Bullet", "spritesheet"), "missing; shots are invisible");
    } else {
        const Bitmap bullet = loadBitmap(bulletName);
        if (!bullet.loaded) {
            error(fileName, bulletLine, where("Bullet", "spritesheet"),
                  "the shot image " + quoted(bulletName) + " " + bullet.reason + "; shots are invisible");
        }
    }

    // Gravity is subtracted from the vertical speed after every free move:
    // without a positive value a jump never comes down and a fall never speeds up.
    const int64_t gravity = static_cast<int64_t>(player.getInt("gravityInt", "YSpeed", 0)) * 256 +
                            player.getInt("gravityFraction", "YSpeed", 0);
    if (gravity <= 0) {
        const std::string key = player.lineOf("gravityInt", "YSpeed") > 0 || player.lineOf("gravityFraction", "YSpeed") == 0
                                    ? "gravityInt"
                                    : "gravityFraction";
        warning(fileName, lineOf(player, "YSpeed", key), where("YSpeed", key),
                gravity == 0 ? std::string("gravity is 0; a jump never comes back down and the player floats away")
                             : "gravity is negative (" + std::to_string(gravity) +
                                   "/256 pixel per update per update); the player falls upwards and floats away");
    }

    // The walking phases test their update count for equality, the
    // animation switch first: at the phase's length the switch returns
    // before the end test, and past it the switch is never reached.
    for (const char* phase : {"accelerating", "decelerating"}) {
        const std::string previousKey = std::string(phase) + "PreviousAnimation";
        const int32_t duration = player.getInt(phase, "Durations", 0);
        const int32_t previous = player.getInt(previousKey, "Durations", 0);
        const std::string compared = std::to_string(previous) + " is " + (previous == duration ? "equal to" : "past") +
                                     " Durations/" + phase + " (" + std::to_string(duration) + "); ";
        const char* holds = phase[0] == 'a' ? "while a direction is held" : "until a direction is pressed";
        if (previous == duration) {
            warning(fileName, lineOf(player, "Durations", previousKey), where("Durations", previousKey),
                    compared + "the " + phase + " phase never ends " + holds);
        } else if (previous > duration) {
            warning(fileName, lineOf(player, "Durations", previousKey), where("Durations", previousKey),
                    compared + "the walking animation never shows in the " + phase + " phase");
        }
    }

    for (const char* key : {"scrolling", "afterScrolling"}) {
        const int32_t duration = player.getInt(key, "Durations", 0);
        if (duration < 1) {
            const std::string value = player.lineOf(key, "Durations") == 0 ? "missing (0)" : std::to_string(duration);
            warning(fileName, lineOf(player, "Durations", key), where("Durations", key),
                    value + " updates; a screen transition phase lasts at least 1, so 1 is used");
        }
    }
}

void ContentChecker::checkEnemy() {
    const std::string file = "enemy.ini";
    const auto enemy = loadIni(file, "the enemy is invisible", Enemy::fileKeys());
    if (!enemy) return;
    static const SpriteNeeds kEnemyNeeds = {{"the enemy's"}, {"the enemy's"}};
    checkSprite(*enemy, file, kEnemyNeeds);
}

void ContentChecker::checkSprite(const IniDictionary& file, const std::string& fileName, const SpriteNeeds& needs) {
    // Sheets: each is loaded, and its size is kept for the cell checks below.
    const int32_t sheetCount =
        readCount(file, fileName, "Spritesheets", "amount", Sprite::kMaxSheets, "the sprite draws nothing");
    if (sheetCount > 0 && sheetCount < static_cast<int32_t>(needs.sheets.size())) {
        error(fileName, lineOf(file, "Spritesheets", "amount"), where("Spritesheets", "amount"),
              counted(sheetCount, "sheet") + "; " + missingEntries("sheet", needs.sheets, sheetCount) +
                  " missing and draw nothing");
    }
    std::vector<Bitmap> sheets;
    std::vector<std::string> sheetNames;
    std::vector<long> sheetLines;
    for (int32_t i = 0; i < sheetCount; ++i) {
        const std::string key = "spritesheet" + std::to_string(i);
        const std::string name = file.getString(key, "Spritesheets", kEmpty);
        const long line = lineOf(file, "Spritesheets", key);
        Bitmap sheet;
        if (file.lineOf(key, "Spritesheets") == 0) {
            error(fileName, line, where("Spritesheets", key), "missing; this sheet draws nothing");
        } else {
            sheet = loadBitmap(name);
            if (!sheet.loaded) {
                error(fileName, line, where("Spritesheets", key),
                      "the sheet " + quoted(name) + " " + sheet.reason + "; this sheet draws nothing");
            }
        }
        sheets.push_back(sheet);
        sheetNames.push_back(name);
        sheetLines.push_back(line);
    }

    // Cells.
    const int32_t cellCount =
        readCount(file, fileName, "Sprites", "amount", Sprite::kMaxCells, "every frame draws nothing");
    const int32_t width = file.getInt("width", "Sprites", 0);
    const int32_t height = file.getInt("height", "Sprites", 0);
    if (width <= 0 || height <= 0) {
        const char* key = width <= 0 ? "width" : "height";
        error(fileName, lineOf(file, "Sprites", key), where("Sprites", key),
              "cells are " + std::to_string(width) + "x" + std::to_string(height) + " pixels; nothing visible is drawn");
    }
    std::vector<int32_t> cellTops;  // each cell's "YPos", read once for all sheets
    if (width > 0 && height > 0) {
        cellTops.reserve(static_cast<size_t>(cellCount));
        for (int32_t c = 0; c < cellCount; ++c) {
            cellTops.push_back(file.getInt("sprite" + std::to_string(c) + "YPos", "Sprites", 0));
        }
    }
    std::set<std::string> sizesChecked;
    for (size_t s = 0; s < sheets.size() && width > 0 && height > 0; ++s) {
        if (!sheets[s].loaded || !sizesChecked.insert(sheetNames[s]).second) continue;  // each image once
        int32_t beyond = 0;
        int32_t first = 0;
        for (int32_t c = 0; c < cellCount; ++c) {
            const int32_t y = cellTops[static_cast<size_t>(c)];
            if (y >= 0 && y <= sheets[s].height - height && width <= sheets[s].width) continue;
            if (beyond++ == 0) first = c;
        }
        if (beyond > 0) {
            warning(fileName, sheetLines[s], where("Spritesheets", "spritesheet" + std::to_string(s)),
                    ::quoted(sheetNames[s]) + " is " + std::to_string(sheets[s].width) + "x" +
                        std::to_string(sheets[s].height) + " pixels, too small for " + std::to_string(beyond) +
                        " of the " + std::to_string(width) + "x" + std::to_string(height) + " cells (the first: cell " +
                        std::to_string(first) + "); " + (beyond == 1 ? "it is" : "they are") + " drawn cut off");
        }
    }

    // Animations.
    const int32_t animationCount =
        readCount(file, fileName, "Animations", "amount", Sprite::kMaxAnimations, "the sprite draws nothing");
    if (animationCount > 0 && animationCount < static_cast<int32_t>(needs.animations.size())) {
        error(fileName, lineOf(file, "Animations", "amount"), where("Animations", "amount"),
              counted(animationCount, "animation") + "; " +
                  missingEntries("animation", needs.animations, animationCount) +
                  " missing and the player is invisible while they are shown");
    }
    int32_t framesLeft = Sprite::kMaxFrames;  // like the engine, all animations share one bound
    int32_t emptyAnimations = 0;
    for (int32_t a = 0; a < animationCount; ++a) {
        const std::string section = "Animation" + std::to_string(a);
        const int32_t frames = file.getInt("nFrames", section, 0);
        if (frames <= 0) {
            if (++emptyAnimations <= kFrameReports) {
                error(fileName, lineOf(file, section, "nFrames"), where(section, "nFrames"),
                      (frames < 0 ? "negative (" + std::to_string(frames) + ")" : std::string("0")) +
                          " frames; the animation draws nothing while it is shown");
            }
            continue;
        }
        if (frames > framesLeft) {
            error(fileName, lineOf(file, section, "nFrames"), where(section, "nFrames"),
                  std::to_string(frames) + " frames, more than the " + std::to_string(framesLeft) +
                      " the sprite's frame table has left; the engine reads it as 0 and the animation draws nothing");
            continue;
        }
        framesLeft -= frames;
        // A broken file may hold a million bad frames: the first few are
        // reported one by one, the rest in one line.
        int32_t badCells = 0;
        int32_t holdingFrames = 0;
        for (int32_t j = 0; j < frames; ++j) {
            const std::string stem = "frame" + std::to_string(j);
            const int32_t cell = file.getInt(stem + "SpriteIndex", section, 0);
            if ((cell < 0 || cell >= cellCount) && ++badCells <= kFrameReports) {
                error(fileName, lineOf(file, section, stem + "SpriteIndex"), where(section, stem + "SpriteIndex"),
                      "cell " + std::to_string(cell) + " is not one of the " + std::to_string(cellCount) +
                          " cells of Sprites/amount; the frame draws nothing");
            }
            const int32_t duration = file.getInt(stem + "Duration", section, 0);
            if (duration <= 0 && frames > 1 && ++holdingFrames <= kFrameReports) {
                warning(fileName, lineOf(file, section, stem + "Duration"), where(section, stem + "Duration"),
                        std::to_string(duration) +
                            " updates; once the animation steps onto this frame it stays there until restarted");
            }
        }
        if (badCells > kFrameReports) {
            error(fileName, lineOf(file, section, "nFrames"), where(section, "nFrames"),
                  std::to_string(badCells - kFrameReports) + " more frames show cells that do not exist; they draw nothing");
        }
        if (holdingFrames > kFrameReports) {
            warning(fileName, lineOf(file, section, "nFrames"), where(section, "nFrames"),
                    std::to_string(holdingFrames - kFrameReports) +
                        " more frames last 0 updates or less; the animation stays on any of them until restarted");
        }
    }
    if (emptyAnimations > kFrameReports) {
        error(fileName, lineOf(file, "Animations", "amount"), where("Animations", "amount"),
              std::to_string(emptyAnimations - kFrameReports) +
                  " more animations have no frames; they draw nothing while they are shown");
    }
}

int32_t ContentChecker::readCount(const IniDictionary& file, const std::string& fileName, const std::string& section,
                                  const std::string& key, int32_t limit, const std::string& emptyConsequence,
                                  bool cutToLimit) {
    const long line = lineOf(file, section, key);
    if (file.lineOf(key, section) == 0) {
        error(fileName, line, where(section, key), "missing; " + emptyConsequence);
        return 0;
    }
    const int32_t count = file.getInt(key, section, 0);
    if (count < 0) {
        error(fileName, line, where(section, key), "is negative (" + std::to_string(count) + "); " + emptyConsequence);
        return 0;
    }
    if (count == 0) {
        error(fileName, line, where(section, key), "is 0; " + emptyConsequence);
        return 0;
    }
    if (count > limit) {
        if (cutToLimit) {
            warning(fileName, line, where(section, key),
                    std::to_string(count) + " entries; only the first " + std::to_string(limit) + " are listed");
            return limit;
        }
        error(fileName, line, where(section, key),
              "is " + std::to_string(count) + ", more than " + std::to_string(limit) + "; the engine reads it as 0 and " +
                  emptyConsequence);
        return 0;
    }
    return count;
}

// ---------------------------------------------------------------- reporting

void ContentChecker::error(const std::string& file, long line, const std::string& where, const std::string& message) {
    m_report.addError(file, line, where, message);
}

void ContentChecker::warning(const std::string& file, long line, const std::string& where,
                             const std::string& message) {
    m_report.addWarning(file, line, where, message);
}

long ContentChecker::lineOf(const IniDictionary& file, const std::string& section, const std::string& key) {
    const int32_t line = file.lineOf(key, section);
    if (line > 0) return line;
    const int32_t sectionLine = file.sectionLine(section);
    return sectionLine > 0 ? sectionLine : -1;
}
