// The known keys of every data file come from the loaders' own declarations:
// playing the sample game with every level and character must look up no
// key that its file's schema does not declare, so the checker's list of
// keys the engine reads cannot drift from what the engine reads.

#include "level/enemy.h"
#include "level/level.h"
#include "menus/stage_select.h"
#include "platform/input_state.h"
#include "player/voltaro.h"
#include "resources/font.h"
#include "resources/ini_dictionary.h"
#include "resources/sound_settings.h"
#include "resources/sprite.h"
#include "support/recording_video_service.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <tuple>

namespace {

const std::string kGameDir = std::string(VOLTARO_SOURCE_DIR) + "/game";

const IniSchema* schemaFor(const std::string& file) {
    if (file == "stageselect.ini") return &StageSelect::fileKeys();
    if (file == "font.ini") return &Font::fileKeys();
    if (file == "levels.ini") return &Level::levelsFileSchema();
    if (file == "enemy.ini") return &Enemy::fileKeys();
    if (file == "sound.ini") return &SoundSettings::fileKeys();
    if (file.rfind("voltaro", 0) == 0) return &Level::playerFileSchema();
    return nullptr;
}

}  // namespace

TEST(KnownKeys, EveryKeyTheEngineLooksUpIsDeclaredForItsFile) {
    RecordingVideoService video;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(kGameDir);
    std::set<std::tuple<std::string, std::string, std::string>> lookups;
    IniDictionary::observeLookups([&lookups](const std::string& file, const std::string& section,
                                             const std::string& key) { lookups.emplace(file, section, key); });
    {
        StageSelect menu(nullptr);
        menu.draw();
    }
    const SoundSettings sounds = SoundSettings::read("sound.ini");
    EXPECT_TRUE(sounds.problems().empty());
    for (const char* levelName : {"Pendix", "Mossgate", "Gearworks"}) {
        for (const char* player : {"voltaro1", "voltaro2", "voltaro3"}) {
            Level level(levelName, player);
            InputState input;
            input.horizontal = Direction::Right;
            for (int frame = 0; frame < 200; ++frame) {
                level.update(input);
                level.draw();
            }
        }
    }
    IniDictionary::observeLookups(nullptr);
    std::filesystem::current_path(previous);

    std::set<std::string> files;
    for (const auto& lookup : lookups) {
        const std::string& file = std::get<0>(lookup);
        files.insert(file);
        const IniSchema* schema = schemaFor(file);
        ASSERT_NE(schema, nullptr) << "no schema for " << file;
        EXPECT_TRUE(schema->knows(std::get<1>(lookup), std::get<2>(lookup)))
            << file << ": [" << std::get<1>(lookup) << "] " << std::get<2>(lookup) << " is read but not declared";
    }
    EXPECT_EQ(files, (std::set<std::string>{"stageselect.ini", "font.ini", "levels.ini", "enemy.ini", "sound.ini",
                                            "voltaro1", "voltaro2", "voltaro3"}));
}

TEST(KnownKeys, EveryPlayerFileKeyHasAUnitADefaultAndAMeaning) {
    std::set<std::string> seen;
    for (const IniKey& key : Level::playerFileSchema().keys()) {
        const std::string name = key.section + "/" + key.key;
        EXPECT_TRUE(seen.insert(name).second) << name << " is declared twice";
        EXPECT_FALSE(key.unit.empty()) << name;
        EXPECT_FALSE(key.defaultValue.empty()) << name;
        EXPECT_FALSE(key.meaning.empty()) << name;
    }
    // The player's, the level's and the sprite's keys are all there.
    EXPECT_TRUE(Level::playerFileSchema().knows("YSpeed", "gravityFraction"));
    EXPECT_TRUE(Level::playerFileSchema().knows("ScrollConstants", "startPosBottom"));
    EXPECT_TRUE(Level::playerFileSchema().knows("Animation8", "frame0Duration"));
    EXPECT_EQ(Level::playerFileSchema().keys().size(),
              Voltaro::fileKeys().keys().size() + Level::playerFileKeys().keys().size() + Sprite::fileKeys().keys().size());
}
