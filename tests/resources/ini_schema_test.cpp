#include "resources/ini_schema.h"

#include <gtest/gtest.h>

namespace {

const IniSchema kSchema({
    {"YSpeed", "gravityInt", "pixels", "0", "gravity"},
    {"YSpeed", "gravityFraction", "1/256 pixel", "0", "gravity"},
    {"YSpeed", "minInt", "pixels", "0", "fastest fall"},
    {"XSpeed", "runningInt", "pixels", "0", "walking speed"},
    {"Animation#", "frame#SpriteIndex", "cell index", "0", "cell of a frame"},
    {"Characters", "?", "pixels", "0", "a glyph"},
    {"*", "tileSheet", "file name", "empty", "tiles"},
});

}  // namespace

TEST(IniSchema, PatternsStandForIndicesAndSingleCharacters) {
    EXPECT_TRUE(IniSchema::matches("frame#SpriteIndex", "frame12SpriteIndex"));
    EXPECT_FALSE(IniSchema::matches("frame#SpriteIndex", "frameSpriteIndex"));
    EXPECT_FALSE(IniSchema::matches("frame#SpriteIndex", "frame1SpriteIndex2"));
    EXPECT_FALSE(IniSchema::matches("frame#SpriteIndex", "frame-1SpriteIndex"));
    EXPECT_TRUE(IniSchema::matches("?", "A"));
    EXPECT_FALSE(IniSchema::matches("?", "AB"));
    EXPECT_TRUE(kSchema.knows("Animation3", "frame0SpriteIndex"));
    EXPECT_TRUE(kSchema.knows("Characters", "%"));
    EXPECT_TRUE(kSchema.knows("AnyLevel", "tileSheet"));
    EXPECT_FALSE(kSchema.knows("YSpeed", "gravityint"));  // keys are case-sensitive
    EXPECT_FALSE(kSchema.knows("XSpeed", "minInt"));
}

TEST(IniSchema, SuggestsTheNearestKeyOfTheSectionFirstThenOfAnother) {
    EXPECT_EQ(kSchema.closest("YSpeed", "gravityFracton"), "gravityFraction");
    EXPECT_EQ(kSchema.closest("YSpeed", "gravityint"), "gravityInt");
    EXPECT_EQ(kSchema.closest("YSpeed", "gravityInt\t"), "gravityInt");
    EXPECT_EQ(kSchema.closest("YSpeed", "gravtiyInt"), "gravityInt");  // two letters swapped
    EXPECT_EQ(kSchema.closest("XSpeed", "minInt"), "YSpeed/minInt");
    EXPECT_EQ(kSchema.closest("Animation7", "frame3SpriteIndx"), "frame3SpriteIndex");
    EXPECT_EQ(kSchema.closest("Animaton7", "frame3SpriteIndex"), "Animation7/frame3SpriteIndex");
    EXPECT_EQ(kSchema.closest("YSpeed", "speed"), "");  // nothing close
    EXPECT_EQ(kSchema.closest("Characters", "AB"), "");
    EXPECT_EQ(kSchema.closest("YSpeed", std::string(1 << 20, 'g')), "");  // a whole line without '=': no comparison
}
