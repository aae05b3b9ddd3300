// The content checker against the sample game, the broken-game corpus and
// data no loader should ever choke on.
#include "check/content_checker.h"
#include "menus/stage_select.h"
#include "world/tile_map_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kCorpus = std::string(VOLTARO_SOURCE_DIR) + "/tests/check/broken_games";

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> entriesOf(const std::string& directory) {
    std::vector<std::string> names;
    DIR* dir = opendir(directory.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void copyFiles(const std::string& from, const TempDir& to) {
    for (const std::string& name : entriesOf(from)) to.write(name, readFile(from + "/" + name));
}

// The base game with one case's files laid over it and its `remove` list
// deleted; `folder` is "cases" or "clean".
void assembleCase(const std::string& caseName, const TempDir& game, const std::string& folder = "cases") {
    copyFiles(kCorpus + "/base", game);
    const std::string caseDir = kCorpus + "/" + folder + "/" + caseName;
    for (const std::string& name : entriesOf(caseDir)) {
        if (name != "expected" && name != "remove") game.write(name, readFile(caseDir + "/" + name));
    }
    std::istringstream removals(readFile(caseDir + "/remove"));
    std::string name;
    while (std::getline(removals, name)) {
        if (!name.empty()) std::remove(game.file(name).c_str());
    }
}

ContentReport checkText(const TempDir& game) {
    return ContentChecker(game.path()).run();
}

}  // namespace

TEST(ContentChecker, SampleGameHasNoErrorAndNoWarning) {
    const ContentReport report = ContentChecker(std::string(VOLTARO_SOURCE_DIR) + "/game").run();
    EXPECT_EQ(report.text(), "");
    EXPECT_EQ(report.errorCount(), 0);
    EXPECT_EQ(report.warningCount(), 0);
}

TEST(ContentChecker, CorpusBaseGameHasNoProblem) {
    EXPECT_EQ(ContentChecker(kCorpus + "/base").run().text(), "");
}

class BrokenGame : public testing::TestWithParam<std::string> {};

TEST_P(BrokenGame, ReportsExactlyTheExpectedLines) {
    TempDir game;
    assembleCase(GetParam(), game);
    const ContentReport report = checkText(game);
    const std::string expected = readFile(kCorpus + "/cases/" + GetParam() + "/expected");
    ASSERT_FALSE(expected.empty()) << "every case must report something";
    EXPECT_EQ(report.text(), expected);
    EXPECT_EQ(report.errorCount() > 0, expected.find(": error: ") != std::string::npos);
}

// Unusual but sound data that the checker once reported wrongly.
class CleanGame : public testing::TestWithParam<std::string> {};

TEST_P(CleanGame, ReportsNothing) {
    TempDir game;
    assembleCase(GetParam(), game, "clean");
    EXPECT_EQ(checkText(game).text(), "");
}

INSTANTIATE_TEST_SUITE_P(Corpus, CleanGame, testing::ValuesIn(entriesOf(kCorpus + "/clean")),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

INSTANTIATE_TEST_SUITE_P(Corpus, BrokenGame, testing::ValuesIn(entriesOf(kCorpus + "/cases")),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(ContentChecker, AnEmptyDirectoryReportsEveryTopLevelFile) {
    TempDir game;
    const ContentReport report = checkText(game);
    EXPECT_EQ(report.text(),
              "levels.ini: error: cannot be opened; no level can be played\n"
              "stageselect.ini: error: cannot be opened; the menu shows two empty lists and no level can be started\n"
              "font.ini: error: cannot be opened; the menu, the ready message and the debug overlay draw no text\n"
              "selector.bmp: error: cannot be opened; the menu draws no cursor\n"
              "enemy.ini: error: cannot be opened; the enemy is invisible\n");
}

TEST(ContentChecker, ADirectoryWhereAFileBelongsCannotBeRead) {
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    std::remove(game.file("room.map").c_str());
    ASSERT_EQ(mkdir(game.file("room.map").c_str(), 0700), 0);
    EXPECT_EQ(checkText(game).text(),
              "levels.ini:6: ROOM/tileMap: error: the tile map \"room.map\" is not a regular file (a directory); the "
              "level stops with a fatal data error\n");
    rmdir(game.file("room.map").c_str());
}

TEST(ContentChecker, AHugeMenuListIsCutToWhatTheMenuAccepts) {
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    game.write("stageselect.ini",
               "[Levels]\namount=2000000000\nlevel0=ROOM\n[Voltaros]\namount=1\nvoltaro0=hero\nvoltaro0title=HERO\n");
    const ContentReport report = checkText(game);
    ASSERT_FALSE(report.problems().empty());
    EXPECT_EQ(ContentReport::formatLine(report.problems()[0]),
              "stageselect.ini:2: Levels/amount: warning: 2000000000 entries; only the first " +
                  std::to_string(StageSelect::kMaxEntries) + " are listed");
    // The menu takes at least a hundred thousand entries; the ones missing
    // are reported one by one for the first eight, then in one line.
    EXPECT_GE(StageSelect::kMaxEntries, 100000);
    EXPECT_EQ(report.errorCount(), 9);
    EXPECT_EQ(ContentReport::formatLine(report.problems()[9]),
              "stageselect.ini:2: Levels/amount: error: " + std::to_string(StageSelect::kMaxEntries - 9) +
                  " more level entries are missing; each shows and starts the level \"empty\"");
}

TEST(ContentChecker, GarbageInEveryFileIsReportedNotFatal) {
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage += static_cast<char>((i * 7919 + 13) % 256);
    for (const char* name : {"levels.ini", "font.ini", "enemy.ini", "hero", "room.map", "tiles.bmp"}) {
        game.write(name, garbage);
    }
    const ContentReport report = checkText(game);
    EXPECT_GT(report.errorCount(), 0);
}

TEST(ContentChecker, SoundFilesThatAreNotRegularFilesAreReportedWithoutReadingThem) {
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    ASSERT_EQ(mkfifo(game.file("pipe.wav").c_str(), 0600), 0);  // reading it would block for ever
    ASSERT_EQ(mkdir(game.file("tunes").c_str(), 0700), 0);
    game.write("sound.ini", "[jump]\nfile=pipe.wav\n");
    game.write("stageselect.ini", "[Menu]\nmusic=tunes\n" + readFile(kCorpus + "/base/stageselect.ini"));
    EXPECT_EQ(checkText(game).text(),
              "sound.ini:2: jump/file: error: the sound file \"pipe.wav\" is not a regular file (a FIFO); the event "
              "plays nothing\n"
              "stageselect.ini:2: Menu/music: error: the music \"tunes\" is not a regular file (a directory); no "
              "music plays\n");
    rmdir(game.file("tunes").c_str());
}

TEST(ContentChecker, ASoundIniThatCannotBeReadIsAnError) {
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    ASSERT_EQ(mkdir(game.file("sound.ini").c_str(), 0700), 0);
    EXPECT_EQ(checkText(game).text(),
              "sound.ini: error: is not a regular file (a directory); the game plays no sound effects\n");
    rmdir(game.file("sound.ini").c_str());
}

TEST(ContentReport, FormatsFileLocationPlaceAndSeverity) {
    ContentReport report;
    report.addError("levels.ini", 12, "Pendix/tileMap", "cannot be read");
    report.addWarning("pendix.map", 0, "Pendix/tileMap", "odd");
    report.addError("selector.bmp", -1, "", "missing");
    EXPECT_EQ(report.text(),
              "levels.ini:12: Pendix/tileMap: error: cannot be read\n"
              "pendix.map:0: Pendix/tileMap: warning: odd\n"
              "selector.bmp: error: missing\n");
    EXPECT_EQ(report.summary(), "2 errors, 1 warning");
}

TEST(ContentChecker, BytesAfterTheLastRowAreCountedUpToTheLongestMapAndBeyondItTheMapIsRefused) {
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    const std::string map = readFile(game.file("room.map"));
    const size_t room = TileMapFile::kMaxBytes - map.size();
    game.write("room.map", map + std::string(room, '\x07'));
    EXPECT_EQ(checkText(game).text(), "room.map:483: ROOM/tileMap: warning: " + std::to_string(room) +
                                          " bytes after the last row; the engine ignores them\n");
    game.write("room.map", map + std::string(200000, '\x07'));
    EXPECT_EQ(checkText(game).text(),
              "levels.ini:6: ROOM/tileMap: error: the tile map \"room.map\" is 200483 bytes, more than the " +
                  std::to_string(TileMapFile::kMaxBytes) +
                  " bytes a tile map may have; the level stops with a fatal data error\n");
}

TEST(ContentChecker, HostileFilesAreReportedWithoutHangingOrReadingThem) {
    // A FIFO where the cursor belongs, the player file a link to
    // /dev/urandom, a sparse gigabyte for levels.ini, a directory for the
    // enemy and a BMP header declaring 30000 x 30000 pixels for the font.
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    for (const char* name : {"selector.bmp", "hero", "levels.ini", "font.bmp"}) std::remove(game.file(name).c_str());
    ASSERT_EQ(mkfifo(game.file("selector.bmp").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/urandom", game.file("hero").c_str()), 0);
    {
        std::ofstream sparse(game.file("levels.ini"));
    }
    ASSERT_EQ(truncate(game.file("levels.ini").c_str(), 1 << 30), 0);
    std::remove(game.file("enemy.ini").c_str());
    ASSERT_EQ(mkdir(game.file("enemy.ini").c_str(), 0700), 0);
    std::string header = "BM" + std::string(12, '\0') + std::string("\x28\0\0\0", 4) +
                         std::string("\x30\x75\0\0\x30\x75\0\0\x01\0\x18\0", 12) + std::string(28, '\0');
    game.write("font.bmp", header);
    const std::string report = checkText(game).text();
    for (const char* line :
         {"levels.ini: error: is 1073741824 bytes, more than the 1048576 bytes an INI file may have; no level can be "
          "played\n",
          "stageselect.ini:8: Voltaros/voltaro0: error: the player file \"hero\" is not a regular file (a character "
          "device); the character is built from defaults and cannot move or be seen\n",
          "font.ini:2: Properties/sheet: error: the glyph sheet \"font.bmp\" declares 30000x30000 pixels, more than the "
          "1048576 a bitmap may have; no text is drawn\n",
          "selector.bmp: error: is not a regular file (a FIFO); the menu draws no cursor\n",
          "enemy.ini: error: is not a regular file (a directory); the enemy is invisible\n"}) {
        EXPECT_NE(report.find(line), std::string::npos) << line << "\nin:\n" << report;
    }
    rmdir(game.file("enemy.ini").c_str());
}

TEST(ContentReport, ControlCharactersFromTheDataAreShownEscaped) {
    ContentReport report;
    report.addError("stageselect.ini", 3, "Levels/level0", "levels.ini has no section [A\rB\x1b]");
    EXPECT_EQ(report.text(), "stageselect.ini:3: Levels/level0: error: levels.ini has no section [A\\x0dB\\x1b]\n");
}

TEST(ContentChecker, ManyUnknownKeysAreSummedUpAfterTheFirstFew) {
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    std::string junk = "[Junk]\n";
    for (int i = 0; i < 40; ++i) junk += "key" + std::to_string(i) + "=1\n";
    game.write("enemy.ini", readFile(kCorpus + "/base/enemy.ini") + junk);
    const ContentReport report = checkText(game);
    EXPECT_EQ(report.warningCount(), 33);
    EXPECT_EQ(ContentReport::formatLine(report.problems().back()),
              "enemy.ini: warning: 8 more keys the engine never reads; they have no effect");
}
