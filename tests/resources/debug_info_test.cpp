#include "resources/debug_info.h"
#include "support/recording_video_service.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <map>
#include <string>

namespace {

constexpr int kCell = 8;        // pixels, the test font's cell size
constexpr int kMinusY = 10 * kCell;  // the "-" cell follows the ten digits

class DebugInfoTest : public ::testing::Test {
protected:
    DebugInfoTest() {
        dir.enter();
        dir.write("font.ini",
                  "[Properties]\nsheet = glyphs.bmp\ncharacterHeight = 8\ncharacterWidth = 8\n"
                  "[Characters]\n- = 80\n");
        video.setBitmapSize("glyphs.bmp", 8, 88);
    }

    // What the overlay showed, as one text line per row (keyed by screen y),
    // one character per 8-pixel cell from x = 0; blank cells are spaces.
    std::map<int, std::string> screenRows() const {
        std::map<int, std::string> rows;
        for (const RecordingVideoService::DrawCall& call : video.calls()) {
            EXPECT_EQ(call.kind, RecordingVideoService::Kind::BlitRaw);
            std::string& row = rows[call.y];
            const size_t column = static_cast<size_t>(call.x / kCell);
            if (row.size() <= column) row.resize(column + 1, ' ');
            row[column] = call.sourceRect.y == kMinusY ? '-' : static_cast<char>('0' + call.sourceRect.y / kCell);
        }
        return rows;
    }

    TempDir dir;
    RecordingVideoService video;
};

}  // namespace

TEST_F(DebugInfoTest, ShowsAllNineNumbersAtTheirPlaces) {
    DebugInfo overlay;
    overlay.draw(300 * 256 + 5, 250 * 256, -384, -256, 5);
    const std::map<int, std::string> expected{
        {8, "  044 005"},   // x pixel within the screen width, x fraction
        {16, "  010 000"},  // y pixel within the screen height, y fraction
        {24, "  -01 128"},  // x speed whole pixels with sign, fraction
        {32, "  255 000"},  // y speed whole-pixel byte, fraction
        {48, "   05"},      // ladder flags 0 and 2
    };
    EXPECT_EQ(screenRows(), expected);
}

TEST_F(DebugInfoTest, NegativePositionsKeepTheirSignInTheRemainder) {
    DebugInfo overlay;
    overlay.draw(-(300 * 256 + 5), -1, 0, 0, 0);
    const std::map<int, std::string> rows = screenRows();
    EXPECT_EQ(rows.at(8), " -044 251");   // truncating division, remainder takes the dividend's sign
    EXPECT_EQ(rows.at(16), " -001 255");  // the shift rounds down: -1 is pixel -1
}

TEST_F(DebugInfoTest, SmallNegativeXSpeedShowsZeroWithoutSign) {
    DebugInfo overlay;
    overlay.draw(0, 0, -128, -128, 0);
    const std::map<int, std::string> rows = screenRows();
    EXPECT_EQ(rows.at(24), "   00 128");
    EXPECT_EQ(rows.at(32), "  255 128");  // the y speed's shift rounds down to -1
}

TEST_F(DebugInfoTest, ExtremeValuesAreDefined) {
    DebugInfo overlay;
    const int32_t min = std::numeric_limits<int32_t>::min();
    overlay.draw(min, min, min, min, 31);
    const std::map<int, std::string> rows = screenRows();
    EXPECT_EQ(rows.at(8), "  000 000");
    EXPECT_EQ(rows.at(16), " -128 000");  // -8388608 remainder 240
    EXPECT_EQ(rows.at(32), "  000 000");
    EXPECT_EQ(rows.at(48), "   31");
}

TEST_F(DebugInfoTest, HiddenOverlayDrawsNothingAndShowsAgainUnchanged) {
    DebugInfo overlay;
    video.setDebugOverlayShown(false);
    overlay.draw(300 * 256 + 5, 250 * 256, -384, -256, 5);
    EXPECT_TRUE(video.calls().empty());
    video.setDebugOverlayShown(true);
    overlay.draw(300 * 256 + 5, 250 * 256, -384, -256, 5);
    EXPECT_EQ(screenRows().at(8), "  044 005");
}
