#include "resources/font.h"
#include "support/recording_video_service.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {

using Kind = RecordingVideoService::Kind;

// 8 by 8 cells; the digits fill y 0 to 79, the other glyphs follow.
const char* const kFontFile =
    "[Properties]\n"
    "sheet = glyphs.bmp\n"
    "characterHeight = 8\n"
    "characterWidth = 8\n"
    "[Characters]\n"
    "- = 80\n"
    "A = 88\n"
    "space = 96\n"
    "B = 104\n"
    "C = not a number\n";

class FontTest : public ::testing::Test {
protected:
    FontTest() {
        dir.enter();
        video.setBitmapSize("glyphs.bmp", 8, 128);
    }

    // Sheet y of every recorded cell, in drawing order.
    std::vector<int> drawnCellYs() const {
        std::vector<int> ys;
        for (const RecordingVideoService::DrawCall& call : video.calls()) ys.push_back(call.sourceRect.y);
        return ys;
    }

    std::vector<int> drawnXs() const {
        std::vector<int> xs;
        for (const RecordingVideoService::DrawCall& call : video.calls()) xs.push_back(call.x);
        return xs;
    }

    TempDir dir;
    RecordingVideoService video;
};

}  // namespace

TEST_F(FontTest, LoadsTheNamedSheetAndFreesItOnDestruction) {
    dir.write("font.ini", kFontFile);
    {
        Font font("font.ini");
        EXPECT_EQ(video.loadedNames(), (std::vector<std::string>{"glyphs.bmp"}));
        EXPECT_EQ(font.getCharacterWidth(), 8);
        EXPECT_EQ(font.getCharacterHeight(), 8);
        EXPECT_EQ(video.liveSurfaces(), 1);
    }
    EXPECT_EQ(video.liveSurfaces(), 0);
}

TEST_F(FontTest, MissingSheetKeyLoadsEmpty) {
    dir.write("font.ini", "[Properties]\ncharacterHeight = 8\n");
    Font font("font.ini");
    EXPECT_EQ(video.loadedNames(), (std::vector<std::string>{"empty"}));
}

TEST_F(FontTest, DrawTextAdvancesOneCellPerCharacterAndUsesSpaceKey) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    font.drawText("A B", 10, 20);
    ASSERT_EQ(video.calls().size(), 3u);
    EXPECT_EQ(drawnXs(), (std::vector<int>{10, 18, 26}));
    EXPECT_EQ(drawnCellYs(), (std::vector<int>{88, 96, 104}));
    for (const RecordingVideoService::DrawCall& call : video.calls()) {
        EXPECT_EQ(call.kind, Kind::Blit);
        EXPECT_EQ(call.source, video.surfaceFor("glyphs.bmp"));
        EXPECT_EQ(call.y, 20);
        EXPECT_EQ(call.sourceRect.x, 0);
        EXPECT_EQ(call.sourceRect.w, 8);
        EXPECT_EQ(call.sourceRect.h, 8);
    }
}

TEST_F(FontTest, CharactersWithoutANumericEntryDrawTheTopCell) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    font.drawText("Z=C\n", 0, 0);  // no entry, never an entry, not a number, no entry
    EXPECT_EQ(drawnCellYs(), (std::vector<int>{0, 0, 0, 0}));
}

TEST_F(FontTest, HasGlyphOnlyForCharactersWithAnEntry) {
    dir.write("font.ini", kFontFile);
    const Font font("font.ini");
    EXPECT_TRUE(font.hasGlyph('A'));
    EXPECT_TRUE(font.hasGlyph(' '));  // through its "space" key
    EXPECT_TRUE(font.hasGlyph('C'));  // an entry, even one that reads as 0
    EXPECT_FALSE(font.hasGlyph('Z'));
    EXPECT_FALSE(font.hasGlyph('a'));  // keys are case-sensitive
    EXPECT_FALSE(font.hasGlyph('0'));  // the digits are drawn by position, not by entry
}

TEST_F(FontTest, DrawTextToBlitsOntoTheTarget) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    const SurfaceHandle target = video.createSurface(64, 8);
    font.drawTextTo("AB", target.get(), 4, 0);
    ASSERT_EQ(video.calls().size(), 2u);
    for (const RecordingVideoService::DrawCall& call : video.calls()) {
        EXPECT_EQ(call.kind, Kind::BlitTo);
        EXPECT_EQ(call.target, target.get());
    }
    EXPECT_EQ(drawnXs(), (std::vector<int>{4, 12}));
    EXPECT_EQ(drawnCellYs(), (std::vector<int>{88, 104}));
}

TEST_F(FontTest, NegativeNumberDrawsSignThenDigitsWithLeadingZeros) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    font.drawNumber(-5, 8, 8, 2);
    EXPECT_EQ(drawnXs(), (std::vector<int>{8, 16, 24}));
    EXPECT_EQ(drawnCellYs(), (std::vector<int>{80, 0, 40}));
    for (const RecordingVideoService::DrawCall& call : video.calls()) EXPECT_EQ(call.kind, Kind::BlitRaw);
}

TEST_F(FontTest, PositiveNumberLeavesTheSignCellEmpty) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    font.drawNumber(5, 8, 8, 2);
    EXPECT_EQ(drawnXs(), (std::vector<int>{16, 24}));
    EXPECT_EQ(drawnCellYs(), (std::vector<int>{0, 40}));
}

TEST_F(FontTest, NumberTooWideForItsDigitsSelectsACellBelowTheDigits) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    font.drawNumber(1234, 0, 0, 3);
    EXPECT_EQ(drawnCellYs(), (std::vector<int>{12 * 8, 3 * 8, 4 * 8}));
}

TEST_F(FontTest, NoDigitsDrawsOnlyTheSignOfANegativeValue) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    font.drawNumber(42, 0, 0, 0);
    font.drawNumber(42, 0, 0, -3);
    EXPECT_TRUE(video.calls().empty());
    font.drawNumber(-42, 0, 0, 0);
    EXPECT_EQ(drawnCellYs(), (std::vector<int>{80}));
}

TEST_F(FontTest, MostNegativeValueDrawsItsFullMagnitude) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    font.drawNumber(std::numeric_limits<int32_t>::min(), 0, 0, 10);
    std::vector<int> expected{80};
    for (int digit : {2, 1, 4, 7, 4, 8, 3, 6, 4, 8}) expected.push_back(digit * 8);
    EXPECT_EQ(drawnCellYs(), expected);
}

TEST_F(FontTest, MostNegativeValueWithFewDigitsFollowsThePerPositionRule) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    font.drawNumber(std::numeric_limits<int32_t>::min(), 0, 0, 3);
    // 2147483648 / 100 = 21474836; 21474836 * 8 cut to 16 bits is 28832.
    EXPECT_EQ(drawnCellYs(), (std::vector<int>{80, 28832, 4 * 8, 8 * 8}));
}

TEST_F(FontTest, DigitsBeyondTheTenthAreLeadingZeros) {
    dir.write("font.ini", kFontFile);
    Font font("font.ini");
    font.drawNumber(std::numeric_limits<int32_t>::max(), 0, 0, 20);
    std::vector<int> expected(10, 0);
    for (int digit : {2, 1, 4, 7, 4, 8, 3, 6, 4, 7}) expected.push_back(digit * 8);
    EXPECT_EQ(drawnCellYs(), expected);
    EXPECT_EQ(video.calls().back().x, 20 * 8);
}

TEST_F(FontTest, MissingSizesDrawEmptyCellsWithoutAdvancing) {
    dir.write("font.ini", "[Properties]\nsheet = glyphs.bmp\n[Characters]\nA = 88\n");
    Font font("font.ini");
    font.drawText("AA", 5, 5);
    font.drawNumber(-12, 5, 5, 2);
    ASSERT_EQ(video.calls().size(), 5u);
    for (const RecordingVideoService::DrawCall& call : video.calls()) {
        EXPECT_EQ(call.x, 5);
        EXPECT_EQ(call.sourceRect.w, 0);
        EXPECT_EQ(call.sourceRect.h, 0);
    }
}

TEST_F(FontTest, NegativeSizesAreReportedAndReadAsZero) {
    dir.write("font.ini",
              "[Properties]\nsheet = glyphs.bmp\ncharacterHeight = -8\ncharacterWidth = -1\n[Characters]\nA = 8\n");
    testing::internal::CaptureStderr();
    Font font("font.ini");
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("font.ini [Properties] characterHeight"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find("font.ini [Properties] characterWidth"), std::string::npos) << warnings;
    EXPECT_EQ(font.getCharacterHeight(), 0);
    EXPECT_EQ(font.getCharacterWidth(), 0);
    font.drawText("A", 0, 0);
    font.drawNumber(99, 0, 0, 2);
    for (const RecordingVideoService::DrawCall& call : video.calls()) {
        EXPECT_EQ(call.sourceRect.w, 0);
        EXPECT_EQ(call.sourceRect.h, 0);
    }
}

TEST_F(FontTest, MissingFileIsReportedAndDrawsNothing) {
    testing::internal::CaptureStderr();
    Font font("nofont.ini");
    const std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("nofont.ini"), std::string::npos) << warnings;
    EXPECT_EQ(video.loadedNames(), (std::vector<std::string>{"empty"}));
    font.drawText("AB", 0, 0);
    font.drawTextTo("AB", nullptr, 0, 0);
    font.drawNumber(-1, 0, 0, 3);
    EXPECT_TRUE(video.calls().empty());
}
