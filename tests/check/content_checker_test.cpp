// The content checker against the sample game, the broken-game corpus and
// data no loader should ever choke on.
#include "check/content_checker.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

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

// The base game with one case's files laid over it and its `remove` list deleted.
void assembleCase(const std::string& caseName, const TempDir& game) {
    copyFiles(kCorpus + "/base", game);
    const std::string caseDir = kCorpus + "/cases/" + caseName;
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

INSTANTIATE_TEST_SUITE_P(Corpus, BrokenGame, testing::ValuesIn(entriesOf(kCorpus + "/cases")),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

TEST(ContentChecker, AnEmptyDirectoryReportsEveryTopLevelFile) {
    TempDir game;
    const ContentReport report = checkText(game);
    EXPECT_EQ(report.text(),
              "levels.ini: error: cannot be read; no level can be played\n"
              "stageselect.ini: error: cannot be read; the menu shows two empty lists and no level can be started\n"
              "font.ini: error: cannot be read; the menu, the ready message and the debug overlay draw no text\n"
              "selector.bmp: error: cannot be read; the menu draws no cursor\n"
              "enemy.ini: error: cannot be read; the enemy is invisible\n");
}

TEST(ContentChecker, ADirectoryWhereAFileBelongsCannotBeRead) {
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    std::remove(game.file("room.map").c_str());
    ASSERT_EQ(mkdir(game.file("room.map").c_str(), 0700), 0);
    EXPECT_EQ(checkText(game).text(),
              "levels.ini:6: ROOM/tileMap: error: the tile map \"room.map\" cannot be read; the level stops with a "
              "fatal data error\n");
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
              "stageselect.ini:2: Levels/amount: warning: 2000000000 entries; only the first 1024 are listed");
    // Entries 1 to 1023 are missing: one error each, and nothing more.
    EXPECT_EQ(report.errorCount(), 1023);
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

TEST(ContentChecker, BytesAfterTheLastRowAreCountedEvenBeyondTheLongestMap) {
    TempDir game;
    copyFiles(kCorpus + "/base", game);
    const std::string map = readFile(game.file("room.map"));
    game.write("room.map", map + std::string(200000, '\x07'));
    EXPECT_EQ(checkText(game).text(),
              "room.map:483: ROOM/tileMap: warning: 200000 bytes after the last row; the engine ignores them\n");
}

TEST(ContentReport, ControlCharactersFromTheDataAreShownEscaped) {
    ContentReport report;
    report.addError("stageselect.ini", 3, "Levels/level0", "levels.ini has no section [A\rB\x1b]");
    EXPECT_EQ(report.text(), "stageselect.ini:3: Levels/level0: error: levels.ini has no section [A\\x0dB\\x1b]\n");
}
