#include "level/trace_writer.h"

#include "e2e/trace_reader.h"
#include "platform/game_state.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace {
class MenuStandIn : public GameState {
public:
    void draw() override {}
    void update(InputState) override {}
};
}  // namespace

TEST(TraceWriter, HeaderNamesSeventeenColumns) {
    EXPECT_EQ(splitCsvLine(TraceWriter::kHeader).size(), 17u);
}

TEST(TraceWriter, NonLevelStateIsAMenuRowWithEmptyColumns) {
    MenuStandIn menu;
    const std::string line = TraceWriter::formatFrame(12, &menu);
    EXPECT_EQ(line, "12,menu,,,,,,,,,,,,,,,");
    EXPECT_EQ(splitCsvLine(line).size(), 17u);
    EXPECT_EQ(TraceWriter::formatFrame(1, nullptr), "1,menu,,,,,,,,,,,,,,,");
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
