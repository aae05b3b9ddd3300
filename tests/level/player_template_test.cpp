// The player-file template (voltaro --player-template, docs/player-template.ini)
// read back as a player file: it names every key of the player file's schema
// and nothing else, each at its default, and the engine plays it.
#include "level/level.h"

#include "platform/input_state.h"
#include "resources/ini_dictionary.h"
#include "support/recording_video_service.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// A declared name as it is written for index 0.
std::string atIndexZero(const std::string& name) {
    std::string written;
    for (char c : name) written += c == '#' ? std::string("0") : std::string(1, c);
    return written;
}

}  // namespace

TEST(PlayerTemplate, HoldsEveryKeyOfThePlayerFileAtItsDefaultAndNothingElse) {
    const std::string text = Level::playerFileTemplate();
    const IniDictionary file = IniDictionary::fromText(text);
    const IniSchema& schema = Level::playerFileSchema();
    for (const IniDictionary::KeyLocation& stored : file.keys()) {
        EXPECT_TRUE(schema.knows(stored.section, stored.key))
            << "line " << stored.line << ": [" << stored.section << "] " << stored.key << " is not a player-file key";
    }
    for (const IniKey& key : schema.keys()) {
        const std::string section = atIndexZero(key.section);
        const std::string name = atIndexZero(key.key);
        EXPECT_NE(file.lineOf(name, section), 0) << "[" << section << "] " << name << " is missing";
        EXPECT_STREQ(file.getString(name, section, "(missing)"), key.defaultValue.c_str()) << section << "/" << name;
    }
    // Every index is counted by the key the engine reads the count from.
    for (const char* count : {"\n; spritesheetN (N from 0 to amount - 1): ", "\n; spriteNYPos (N from 0 to amount - 1): ",
                              "\n; [AnimationN] (N from 0 to [Animations] amount - 1): ",
                              "\n; frameNSpriteIndex (N from 0 to nFrames - 1): ",
                              "\n; frameNDuration (N from 0 to nFrames - 1): "}) {
        EXPECT_NE(text.find(count), std::string::npos) << count;
    }
    EXPECT_EQ(text.find("(N from 0 up)"), std::string::npos) << "an index without a count";
}

TEST(PlayerTemplate, PlaysAsItIsWithTheDefaultsTheEngineWouldUseForAnEmptyFile) {
    TempDir scratch;
    scratch.write("voltaro-template", Level::playerFileTemplate());
    RecordingVideoService video;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::string(VOLTARO_SOURCE_DIR) + "/game");
    {
        Level level("Pendix", scratch.file("voltaro-template"));
        InputState input;
        input.horizontal = Direction::Right;
        for (int frame = 0; frame < 300; ++frame) {
            input.jumpPressed = frame % 40 == 0;
            input.shootPressed = frame % 25 == 0;
            level.update(input);
            level.draw();
        }
        // The level read its timings from the template: 0, and at least 1 where 0 would never end.
        EXPECT_EQ(level.scrollingDuration(), 1);
        EXPECT_EQ(level.beforeScrollingDuration(), 0);
        EXPECT_EQ(level.afterScrollingDuration(), 1);
    }
    std::filesystem::current_path(previous);
}

TEST(PlayerTemplate, EndsWithTheSpriteSectionsSoAnAuthorCanPutTheirOwnInTheirPlace) {
    // docs/authoring.md cuts the template at [Spritesheets] and appends a
    // character's sprite sections: everything after the cut must be sprite.
    const std::vector<std::string> sections = IniDictionary::fromText(Level::playerFileTemplate()).sectionNames();
    ASSERT_GE(sections.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(sections.end() - 4, sections.end()),
              (std::vector<std::string>{"Spritesheets", "Sprites", "Animations", "Animation0"}));
}
