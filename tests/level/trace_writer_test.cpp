#include "level/trace_writer.h"

#include "e2e/trace_reader.h"
#include "level/enemy.h"
#include "level/level.h"
#include "platform/game_state.h"
#include "platform/menu_selection.h"
#include "player/player_fixture.h"
#include "player/voltaro.h"
#include "resources/sprite.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {
class MenuStandIn : public GameState {
public:
    void draw() override {}
    void update(InputState) override {}
};

class SelectingMenu : public GameState, public MenuSelection {
public:
    void draw() override {}
    void update(InputState) override {}
    int32_t selectedLevel() const override { return 2; }
    int32_t selectedPlayer() const override { return 1; }
    bool isChoosingPlayer() const override { return true; }
};
}  // namespace

TEST(TraceWriter, HeaderNamesTheOriginalColumnsFirstThenTheCountersAndLastTheSounds) {
    const std::vector<std::string> columns = splitCsvLine(TraceWriter::kHeader);
    ASSERT_EQ(columns.size(), 28u);
    EXPECT_EQ(columns[16], "shots");
    EXPECT_EQ(std::vector<std::string>(columns.begin() + 17, columns.end()),
              (std::vector<std::string>{"stateFrame", "animation", "animationFrame", "screenScroll", "shootingTimer",
                                        "phaseFrame", "enemyFrame", "menuLevel", "menuCharacter",
                                        "menuCharacterActive", "sounds"}));
}

TEST(TraceWriter, NonLevelStateIsAMenuRowWithEmptyLevelColumns) {
    MenuStandIn menu;
    const SoundEventLog silence;
    const std::string line = TraceWriter::formatFrame(12, &menu, silence);
    EXPECT_EQ(line, "12,menu,,,,,,,,,,,,,,,,,,,,,,,,,,");
    EXPECT_EQ(splitCsvLine(line).size(), 28u);
    EXPECT_EQ(TraceWriter::formatFrame(1, nullptr, silence), "1,menu,,,,,,,,,,,,,,,,,,,,,,,,,,");
    SelectingMenu selecting;
    EXPECT_EQ(TraceWriter::formatFrame(3, &selecting, silence), "3,menu,,,,,,,,,,,,,,,,,,,,,,,2,1,1,");
}

TEST(TraceWriter, LevelRowsShowTheCountersAndLeaveTheMenuColumnsEmpty) {
    TempDir dir;
    dir.enter();
    RecordingVideoService video;
    writeWorldFiles(dir, video, kFlatScreen, PlayerFile::standard(), kOneScreenLevel, "[Common]\nreadyMessage = R\n");
    Level level("test", "player.ini");
    for (int frame = 0; frame < 200; ++frame) {
        level.update(InputState{});
        level.draw();
    }
    const std::vector<std::string> row = splitCsvLine(TraceWriter::formatFrame(200, &level, SoundEventLog()));
    ASSERT_EQ(row.size(), 28u);
    const Voltaro& player = level.player();
    EXPECT_EQ(row[17], std::to_string(player.stateFrame()));
    EXPECT_EQ(row[18], std::to_string(player.sprite().currentAnimation()));
    EXPECT_EQ(row[19], std::to_string(player.sprite().currentFrame()));
    EXPECT_EQ(row[20], "0");
    EXPECT_EQ(row[21], std::to_string(player.shootingTimer()));
    EXPECT_EQ(row[22], std::to_string(level.frameCounter()));
    EXPECT_EQ(row[23], std::to_string(level.enemy().sprite().currentFrame()));
    EXPECT_EQ(row[24] + row[25] + row[26] + row[27], "");
    // 180 updates of the ready message, then 20 of play: the player has
    // beamed in and stands (animation 0), and the enemy's two-frame
    // animation has moved on.
    EXPECT_EQ(row[2], "Playing");
    EXPECT_EQ(row[22], "20");
    EXPECT_EQ(row[7], "Standing");
    EXPECT_EQ(row[18], "0");
    EXPECT_EQ(row[23], std::to_string((20 - 1) / 2 % 2));
}

TEST(TraceWriter, SoundsColumnListsTheFramesEventsInOrderAndCountsAnOverflow) {
    MenuStandIn menu;
    SoundEventLog sounds;
    sounds.add(SoundEvent::MenuConfirm);
    sounds.add(SoundEvent::MenuBack);
    EXPECT_EQ(TraceWriter::formatFrame(7, &menu, sounds), "7,menu,,,,,,,,,,,,,,,,,,,,,,,,,,menuConfirm menuBack");

    SoundEventLog flood;
    for (int i = 0; i < SoundEventLog::kCapacity + 3; ++i) flood.add(soundEventAt(i % kSoundEventCount));
    const std::vector<std::string> cells = splitCsvLine(TraceWriter::formatFrame(8, &menu, flood));
    ASSERT_EQ(cells.size(), 28u);
    EXPECT_EQ(cells.back().substr(0, 10), "jump land ");
    EXPECT_EQ(cells.back().substr(cells.back().size() - 13), "shoot hurt +3");  // 16 kept, 3 counted
}

TEST(TraceWriter, WritesHeaderAndOneLinePerFrame) {
    TempDir dir;
    {
        TraceWriter writer(dir.file("trace.csv"));
        ASSERT_TRUE(writer.isOpen());
        MenuStandIn menu;
        writer.writeFrame(1, &menu);
        writer.writeFrame(2, &menu);
    }
    const std::vector<TraceRow> rows = readTrace(dir.file("trace.csv"));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].frame(), 2);
    EXPECT_EQ(rows[1].text("state"), "menu");
}

TEST(TraceWriter, UnwritableFileIsReportedAsNotOpen) {
    TempDir dir;
    const TraceWriter writer(dir.file("missing-folder/trace.csv"));
    EXPECT_FALSE(writer.isOpen());
}
