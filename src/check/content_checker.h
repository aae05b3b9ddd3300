#pragma once

#include "check/content_report.h"
#include "resources/ini_dictionary.h"
#include "resources/ini_schema.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

class TileMapFile;

// Reads a whole game the way the engine will, starting from
// "stageselect.ini": every listed level's section of "levels.ini" with its
// tile sheet and tile map, every listed character's player file with its
// sprite sheets and shot image, "enemy.ini", "font.ini", "selector.bmp",
// and the sound: "sound.ini" and the tunes the menu and the levels name.
// It reports every problem it finds instead of stopping at the first, and it
// never runs the game: nothing it reads can crash it.
class ContentChecker {
public:
    // `directory` is the game's directory; the files it names are taken relative to it.
    explicit ContentChecker(std::string directory);

    // Checks everything; errors are what stops the engine or leaves a part of
    // the game never working, warnings what runs but is probably not meant.
    ContentReport run();

private:
    struct Bitmap {
        bool loaded = false;
        int32_t width = 0;   // pixels
        int32_t height = 0;  // pixels
        std::string reason;  // why it did not load
    };
    // A text the menu or the level draws with the font, and where it comes from.
    struct DrawnText {
        std::string text;
        std::string file;
        long line = -1;
        std::string where;
    };
    // What a sprite file must hold for its owner.
    struct SpriteNeeds {
        std::vector<std::string> sheets;      // names of the sheets the owner draws, by index
        std::vector<std::string> animations;  // names of the animations the owner shows, by index
    };

    std::string pathOf(const std::string& name) const;
    // Why an INI file cannot be read ("cannot be opened", "is not a regular
    // file (a FIFO)", "is N bytes, more than ..."); empty when it can.
    std::string iniProblem(const std::string& name) const;
    // Loads an INI file and checks its keys against the schema; null (and an
    // error) when it cannot be read.
    std::unique_ptr<IniDictionary> loadIni(const std::string& name, const std::string& consequence,
                                           const IniSchema& schema);
    // Warns about a byte-order mark and about every key the engine never reads.
    void checkKeys(const IniDictionary& file, const std::string& fileName, const IniSchema& schema);
    // Each image is loaded once, however many keys name it.
    Bitmap loadBitmap(const std::string& name);

    void checkStageSelect();
    void checkFont();
    void checkSelector();
    void checkReadyMessage();
    void checkLevel(const IniDictionary& levels, const std::string& levelName);
    // Returns the number of whole tile images in the sheet (0 when it did not load).
    int32_t checkTileSheet(const IniDictionary& levels, const std::string& levelName);
    bool loadTileMap(const IniDictionary& levels, const std::string& levelName, TileMapFile& map,
                     std::string& mapName);
    void checkTiles(const TileMapFile& map, const std::string& mapName, const std::string& levelName,
                    int32_t sheetImages);
    void checkBoundaries(const IniDictionary& levels, const std::string& levelName, const TileMapFile& map);
    void checkArrival(const IniDictionary& levels, const std::string& levelName, const TileMapFile& map);
    void checkPlayer(const std::string& fileName);
    void checkEnemy();
    void checkSound();
    void checkSprite(const IniDictionary& file, const std::string& fileName, const SpriteNeeds& needs);

    // Reads a count key the way the engine does; reports negative and huge ones.
    int32_t readCount(const IniDictionary& file, const std::string& fileName, const std::string& section,
                      const std::string& key, int32_t limit, const std::string& emptyConsequence,
                      bool cutToLimit = false);

    void error(const std::string& file, long line, const std::string& where, const std::string& message);
    void warning(const std::string& file, long line, const std::string& where, const std::string& message);
    // The line of a key, else of its section, else -1 (the whole file).
    static long lineOf(const IniDictionary& file, const std::string& section, const std::string& key);

    std::string m_directory;
    ContentReport m_report;
    std::unique_ptr<IniDictionary> m_levels;  // "levels.ini"; null when unreadable
    std::map<std::string, Bitmap> m_bitmaps;  // by name, as loaded
    std::vector<DrawnText> m_drawnTexts;
    std::string m_readyMessage;
    long m_readyMessageLine = 0;  // 0 = no ready message key
    std::vector<std::string> m_levelNames;   // distinct, in menu order
    std::vector<std::string> m_playerFiles;  // distinct, in menu order
};
