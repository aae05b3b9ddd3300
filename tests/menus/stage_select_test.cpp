#include "menus/stage_select.h"

#include "platform/game_state_manager.h"
#include "support/recording_audio_service.h"
#include "support/recording_video_service.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const kFontIni =
    "[Properties]\nsheet = glyphs.bmp\ncharacterHeight = 10\ncharacterWidth = 8\n"
    "[Characters]\nA = 100\nB = 110\nC = 120\n";

const char* const kThreeByTwo =
    "[Levels]\namount = 3\nlevel0 = Pendix\nlevel1 = Caves\nlevel2 = Tower\n"
    "[Voltaros]\namount = 2\nvoltaro0 = voltaro1\nvoltaro0title = Classic\nvoltaro1 = voltaro2\n"
    "voltaro1title = Floaty\n";

// A level stand-in that remembers the names it was built with.
class RecordedLevel : public GameState {
public:
    explicit RecordedLevel(GameStateManager* manager) : level(manager->getName(0)), player(manager->getName(1)) {}
    void draw() override {}
    void update(InputState) override {}
    std::string level;
    std::string player;
};

class StageSelectTest : public ::testing::Test {
protected:
    void start(const std::string& stageSelectIni) {
        m_dir.enter();
        if (!stageSelectIni.empty()) m_dir.write("stageselect.ini", stageSelectIni);
        m_dir.write("font.ini", kFontIni);
        video.setBitmapSize("glyphs.bmp", 8, 200);
        video.setBitmapSize("selector.bmp", 6, 8);
        StateFactory factory;
        factory.createFirstState = [](GameStateManager* manager) { return new StageSelect(manager); };
        factory.createLevel = [](GameStateManager* manager) { return new RecordedLevel(manager); };
        manager = std::make_unique<GameStateManager>(factory);
    }

    StageSelect& menu() { return *dynamic_cast<StageSelect*>(manager->currentState()); }

    // One frame's input with the vertical direction now and one frame before.
    void frame(Direction vertical, Direction previous, bool confirm = false, bool back = false) {
        InputState input;
        input.vertical = vertical;
        input.previousVertical = previous;
        input.shootPressed = confirm;
        input.shootHeld = confirm;
        input.jumpPressed = back;
        input.jumpHeld = back;
        manager->update(input);
    }
    void press(Direction direction) {
        frame(direction, Direction::None);
        frame(Direction::None, direction);
    }
    void confirm() { frame(Direction::None, Direction::None, true); }

    // Where the cursor image was drawn in the latest draw.
    std::vector<std::pair<int, int>> cursorsDrawn() {
        video.clearCalls();
        manager->draw();
        std::vector<std::pair<int, int>> places;
        for (const auto& call : video.calls()) {
            if (call.source == video.surfaceFor("selector.bmp")) places.emplace_back(call.x, call.y);
        }
        return places;
    }

    void writeFile(const std::string& name, const std::string& contents) { m_dir.write(name, contents); }

    // The sounds of one frame, by name.
    std::string heard(Direction vertical, Direction previous, bool confirm = false, bool back = false) {
        audio.clearPlayed();
        frame(vertical, previous, confirm, back);
        return audio.playedNames();
    }

    RecordingAudioService audio;
    RecordingVideoService video;
    std::unique_ptr<GameStateManager> manager;

private:
    TempDir m_dir;
};

}  // namespace

TEST_F(StageSelectTest, ListsComeFromTheFileAtFixedColumns) {
    start(kThreeByTwo);
    ASSERT_EQ(menu().levelCount(), 3);
    ASSERT_EQ(menu().playerCount(), 2);
    const MenuItem& caves = menu().levelItems()[1];
    EXPECT_EQ(caves.getTitle(), "Caves");
    EXPECT_EQ(caves.getName(), "Caves");
    EXPECT_EQ(caves.getX(), 32);
    EXPECT_EQ(caves.getY(), 42);  // 32 + 1 x characterHeight
    const MenuItem& floaty = menu().playerItems()[1];
    EXPECT_EQ(floaty.getTitle(), "Floaty");
    EXPECT_EQ(floaty.getName(), "voltaro2");
    EXPECT_EQ(floaty.getX(), 128);
    EXPECT_EQ(floaty.getY(), 42);
    EXPECT_TRUE(menu().problems().empty());
}

TEST_F(StageSelectTest, MissingKeyInsideTheCountReadsEmpty) {
    start("[Levels]\namount = 2\nlevel0 = Pendix\n[Voltaros]\namount = 1\n");
    EXPECT_EQ(menu().levelItems()[1].getName(), "empty");
    EXPECT_EQ(menu().playerItems()[0].getName(), "empty");
    EXPECT_EQ(menu().playerItems()[0].getTitle(), "empty");
}

TEST_F(StageSelectTest, CursorStopsAtBothEnds) {
    start(kThreeByTwo);
    for (int i = 0; i < 5; ++i) press(Direction::Down);
    EXPECT_EQ(menu().selectedLevel(), 2);
    for (int i = 0; i < 5; ++i) press(Direction::Up);
    EXPECT_EQ(menu().selectedLevel(), 0);
}

TEST_F(StageSelectTest, HoldingAKeyMovesOnce) {
    start(kThreeByTwo);
    frame(Direction::Down, Direction::None);
    for (int i = 0; i < 10; ++i) frame(Direction::Down, Direction::Down);
    EXPECT_EQ(menu().selectedLevel(), 1);
    frame(Direction::None, Direction::Down);
    frame(Direction::Down, Direction::None);
    EXPECT_EQ(menu().selectedLevel(), 2);
}

TEST_F(StageSelectTest, ReleasingDownWhileUpIsHeldMovesUpAgain) {
    start(kThreeByTwo);
    press(Direction::Down);
    frame(Direction::Up, Direction::None);  // Up held: 1 -> 0
    frame(Direction::Down, Direction::Up);  // Down pressed on top: 0 -> 1
    frame(Direction::Up, Direction::Down);  // Down released, Up still held: 1 -> 0
    EXPECT_EQ(menu().selectedLevel(), 0);
}

TEST_F(StageSelectTest, ConfirmingBothListsStoresTheNamesAndSwitches) {
    start(kThreeByTwo);
    press(Direction::Down);
    confirm();
    EXPECT_TRUE(menu().isChoosingPlayer());
    press(Direction::Down);
    confirm();
    manager->update(InputState{});  // the switch happens at the next update
    auto* level = dynamic_cast<RecordedLevel*>(manager->currentState());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->level, "Caves");
    EXPECT_EQ(level->player, "voltaro2");
}

TEST_F(StageSelectTest, ConfirmAndBackInOneFrameWhileChoosingALevelStaysOnLevels) {
    start(kThreeByTwo);
    frame(Direction::None, Direction::None, true, true);
    EXPECT_FALSE(menu().isChoosingPlayer());
}

TEST_F(StageSelectTest, ConfirmAndBackInOneFrameWhileChoosingAPlayerStillSwitches) {
    start(kThreeByTwo);
    confirm();
    frame(Direction::None, Direction::None, true, true);
    EXPECT_FALSE(menu().isChoosingPlayer());
    EXPECT_EQ(cursorsDrawn().size(), 1u);
    manager->update(InputState{});
    EXPECT_NE(dynamic_cast<RecordedLevel*>(manager->currentState()), nullptr);
}

TEST_F(StageSelectTest, GoingBackKeepsBothCursors) {
    start(kThreeByTwo);
    press(Direction::Down);
    confirm();
    press(Direction::Down);
    frame(Direction::None, Direction::None, false, true);
    EXPECT_FALSE(menu().isChoosingPlayer());
    EXPECT_EQ(menu().selectedLevel(), 1);
    confirm();
    EXPECT_EQ(menu().selectedPlayer(), 1);
}

TEST_F(StageSelectTest, DrawsTitlesThenOneCursorPerActiveList) {
    start(kThreeByTwo);
    video.clearCalls();
    manager->draw();
    EXPECT_EQ(video.clearScreenCount(), 1);
    ASSERT_FALSE(video.calls().empty());
    EXPECT_EQ(video.calls().back().source, video.surfaceFor("selector.bmp"));
    EXPECT_EQ(cursorsDrawn(), (std::vector<std::pair<int, int>>{{26, 32}}));  // 32 - selector width 6
    press(Direction::Down);
    confirm();
    press(Direction::Down);
    EXPECT_EQ(cursorsDrawn(), (std::vector<std::pair<int, int>>{{26, 42}, {122, 42}}));
}

TEST_F(StageSelectTest, EmptyLevelListShowsAProblemAndNeverConfirms) {
    start("[Levels]\namount = 0\n[Voltaros]\namount = 1\nvoltaro0 = voltaro1\n");
    ASSERT_EQ(menu().problems().size(), 1u);
    EXPECT_EQ(menu().problems()[0], "STAGESELECT.INI: NO LEVELS");
    press(Direction::Down);
    confirm();
    confirm();
    manager->update(InputState{});
    ASSERT_NE(dynamic_cast<StageSelect*>(manager->currentState()), nullptr) << "no switch into an empty list";
    EXPECT_FALSE(menu().isChoosingPlayer());
    EXPECT_TRUE(cursorsDrawn().empty());
}

TEST_F(StageSelectTest, EmptyPlayerListNeverConfirms) {
    testing::internal::CaptureStderr();
    start("[Levels]\namount = 1\nlevel0 = Pendix\n[Voltaros]\namount = -3\n");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "stageselect.ini: the character list [Voltaros] is empty (amount is negative: -3)\n");
    EXPECT_EQ(menu().playerCount(), 0);
    ASSERT_EQ(menu().problems().size(), 1u);
    EXPECT_EQ(menu().problems()[0], "STAGESELECT.INI: NO CHARACTERS");
    confirm();
    confirm();
    manager->update(InputState{});
    ASSERT_NE(dynamic_cast<StageSelect*>(manager->currentState()), nullptr);
    EXPECT_EQ(cursorsDrawn().size(), 1u) << "only the level cursor";
}

TEST_F(StageSelectTest, UnreadableFileIsReportedOnScreen) {
    start("");
    ASSERT_EQ(menu().problems().size(), 1u);
    EXPECT_EQ(menu().problems()[0], "CANNOT READ STAGESELECT.INI");
    video.clearCalls();
    manager->draw();
    int glyphs = 0;
    for (const auto& call : video.calls()) {
        if (call.source == video.surfaceFor("glyphs.bmp")) {
            EXPECT_EQ(call.y, 200);
            ++glyphs;
        }
    }
    EXPECT_EQ(glyphs, 27);
}

// The hint line's glyph draws, as (x, y), in the latest draw.
std::vector<std::pair<int, int>> glyphsBelow(const RecordingVideoService& video, int top) {
    std::vector<std::pair<int, int>> glyphs;
    for (const auto& call : video.calls()) {
        if (call.source == video.surfaceFor("glyphs.bmp") && call.y >= top) glyphs.emplace_back(call.x, call.y);
    }
    return glyphs;
}

TEST_F(StageSelectTest, HintIsOneCentredLineAtTheBottom) {
    start(std::string(kThreeByTwo) + "[Menu]\nhint = ABCAB\n");
    EXPECT_EQ(menu().hint(), "ABCAB");
    video.clearCalls();
    manager->draw();
    // Five 8-pixel cells centred on 128, their top 8 pixels plus a 10-pixel
    // cell above the bottom.
    EXPECT_EQ(glyphsBelow(video, 200),
              (std::vector<std::pair<int, int>>{{108, 222}, {116, 222}, {124, 222}, {132, 222}, {140, 222}}));
}

TEST_F(StageSelectTest, NoHintDrawsNothingMore) {
    start(kThreeByTwo);
    EXPECT_EQ(menu().hint(), "");
    video.clearCalls();
    manager->draw();
    EXPECT_TRUE(glyphsBelow(video, 200).empty());
}

TEST_F(StageSelectTest, HintWiderThanTheScreenStartsAtItsLeftEdge) {
    start(std::string(kThreeByTwo) + "[Menu]\nhint = " + std::string(40, 'A') + "\n");
    video.clearCalls();
    manager->draw();
    const std::vector<std::pair<int, int>> glyphs = glyphsBelow(video, 200);
    ASSERT_FALSE(glyphs.empty());
    EXPECT_EQ(glyphs.front().first, 0);
}

TEST_F(StageSelectTest, AbsurdCountIsCut) {
    start("[Levels]\namount = 2000000000\n[Voltaros]\namount = 1\n");
    EXPECT_EQ(menu().levelCount(), StageSelect::kMaxEntries);
    // Only the entries that start on the screen are drawn, each "empty".
    const int rowHeight = menu().levelItems()[1].getY() - menu().levelItems()[0].getY();
    ASSERT_GT(rowHeight, 0);
    const int rows = (240 - StageSelect::kListTop + rowHeight - 1) / rowHeight;
    video.clearCalls();
    manager->draw();
    int levelTitles = 0;
    for (const auto& call : video.calls()) {
        if (call.source == video.surfaceFor("glyphs.bmp") && call.x >= StageSelect::kLevelListX &&
            call.x < StageSelect::kPlayerListX) {
            ++levelTitles;
        }
    }
    EXPECT_EQ(levelTitles, rows * 5);
}

TEST_F(StageSelectTest, ALongMenuIsLegal) {
    // The bound on a list comes from memory: a menu of 1100 levels is read whole.
    EXPECT_GE(StageSelect::kMaxEntries, 100000);
    std::string text = "[Levels]\namount = 1100\n";
    for (int i = 0; i < 1100; ++i) text += "level" + std::to_string(i) + " = L" + std::to_string(i) + "\n";
    text += "[Voltaros]\namount = 1\nvoltaro0 = v\nvoltaro0title = V\n";
    testing::internal::CaptureStderr();
    start(text);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(menu().levelCount(), 1100);
    for (int i = 0; i < 1099; ++i) press(Direction::Down);
    EXPECT_EQ(menu().selectedLevel(), 1099);
    EXPECT_EQ(menu().levelItems().back().getName(), "L1099");
}

TEST_F(StageSelectTest, DestructionFreesTheCursorAndFont) {
    start(kThreeByTwo);
    manager.reset();
    EXPECT_EQ(video.liveSurfaces(), 0);
}

TEST_F(StageSelectTest, AReloadedMenuKeepsItsCursorsAsFarAsTheNewListsReach) {
    start(kThreeByTwo);
    press(Direction::Down);
    press(Direction::Down);
    confirm();
    press(Direction::Down);
    ASSERT_TRUE(menu().isChoosingPlayer());

    StageSelect same(manager.get());
    same.continueFrom(menu());
    EXPECT_EQ(same.selectedLevel(), 2);
    EXPECT_EQ(same.selectedPlayer(), 1);
    EXPECT_TRUE(same.isChoosingPlayer());

    writeFile("stageselect.ini", "[Levels]\namount = 1\nlevel0 = Pendix\n[Voltaros]\namount = 0\n");
    StageSelect shorter(manager.get());
    shorter.continueFrom(menu());
    EXPECT_EQ(shorter.selectedLevel(), 0);
    EXPECT_EQ(shorter.selectedPlayer(), 0);
    EXPECT_TRUE(shorter.isChoosingPlayer()) << "an empty character list is never confirmed into anyway";

    writeFile("stageselect.ini", "[Voltaros]\namount = 1\nvoltaro0 = voltaro1\n");
    StageSelect noLevels(manager.get());
    noLevels.continueFrom(menu());
    EXPECT_FALSE(noLevels.isChoosingPlayer()) << "no level to have chosen";
}

// --- Sound ---------------------------------------------------------------------

TEST_F(StageSelectTest, MenuMoveSoundsOnlyWhenTheCursorChangesItsEntry) {
    start(kThreeByTwo);
    EXPECT_EQ(heard(Direction::Up, Direction::None), "") << "already at the top";
    EXPECT_EQ(heard(Direction::None, Direction::Up), "");
    EXPECT_EQ(heard(Direction::Down, Direction::None), "menuMove");
    EXPECT_EQ(heard(Direction::Down, Direction::Down), "") << "held: no move";
    EXPECT_EQ(heard(Direction::None, Direction::Down), "");
    press(Direction::Down);
    EXPECT_EQ(menu().selectedLevel(), 2);
    EXPECT_EQ(heard(Direction::Down, Direction::None), "") << "already at the bottom";
}

TEST_F(StageSelectTest, ConfirmSoundsForEachStepOnAndBackForReturningToTheLevels) {
    start(kThreeByTwo);
    const Direction none = Direction::None;
    EXPECT_EQ(heard(none, none, true), "menuConfirm");
    EXPECT_EQ(heard(none, none, false, true), "menuBack");
    EXPECT_EQ(heard(none, none, false, true), "") << "nothing to go back to";
    EXPECT_EQ(heard(none, none, true, true), "menuConfirm menuBack") << "both in one frame, in the menu's order";
    EXPECT_EQ(heard(none, none, true), "menuConfirm");
    EXPECT_EQ(heard(Direction::Down, none), "menuMove") << "the character list's cursor";
    EXPECT_EQ(heard(none, Direction::Down, true), "menuConfirm") << "the switch to the level";
}

TEST_F(StageSelectTest, ConfirmingIntoAnEmptyListIsSilent) {
    start("[Levels]\namount = 0\n[Voltaros]\namount = 1\nvoltaro0 = voltaro1\n");
    EXPECT_EQ(heard(Direction::None, Direction::None, true), "");
    EXPECT_EQ(heard(Direction::Down, Direction::None), "");
}

TEST_F(StageSelectTest, TheMenuPlaysTheTuneItsMenuSectionNames) {
    start(std::string("[Menu]\nmusic = music/menu.xm\n") + kThreeByTwo);
    EXPECT_EQ(audio.musicRequests(), std::vector<std::string>{"music/menu.xm"});
}

TEST_F(StageSelectTest, WithoutAMenuTuneNoMusicPlays) {
    start(kThreeByTwo);
    EXPECT_EQ(audio.musicRequests(), std::vector<std::string>{""});
}
