// voltaro --check on the player-file template used as a character: filled in
// with a working character's values it checks as clean as that character, so
// it holds no key the checker calls unknown and leaves out none it needs.
#include "check/content_checker.h"
#include "level/level.h"
#include "resources/ini_dictionary.h"
#include "support/file_contents.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace {

const std::string kBaseGame = std::string(VOLTARO_SOURCE_DIR) + "/tests/check/broken_games/base";
const char* const kPlayerFile = "hero";  // the base game's only character

// The base game with its character's file replaced by `player`.
void writeGame(const TempDir& game, const std::string& player) {
    for (const auto& entry : std::filesystem::directory_iterator(kBaseGame)) {
        const std::string name = entry.path().filename().string();
        game.write(name, name == kPlayerFile ? player : fileContents(entry.path().string()));
    }
}

// The template with every key the character sets given the character's
// value, and the character's keys the template does not show (the further
// indices) added at the end.
std::string filledIn(const std::string& templateText, const IniDictionary& character) {
    std::set<std::pair<std::string, std::string>> written;
    std::istringstream in(templateText);
    std::string out;
    std::string section;
    for (std::string line; std::getline(in, line);) {
        const size_t equals = line.find('=');
        if (line[0] == '[') {
            section = line.substr(1, line.size() - 2);
        } else if (line[0] != ';' && equals != std::string::npos) {
            const std::string key = line.substr(0, equals);
            if (character.lineOf(key, section) != 0) line = key + "=" + character.getString(key, section, "");
            written.emplace(section, key);
        }
        out += line + "\n";
    }
    for (const std::string& name : character.sectionNames()) {
        out += "[" + name + "]\n";
        for (const std::string& key : character.keysOf(name)) {
            if (written.count({name, key}) == 0) out += key + "=" + character.getString(key, name, "") + "\n";
        }
    }
    return out;
}

}  // namespace

TEST(PlayerTemplateCheck, FilledInWithAWorkingCharacterItChecksClean) {
    ASSERT_EQ(ContentChecker(kBaseGame).run().text(), "");
    const IniDictionary character(kBaseGame + "/" + kPlayerFile);
    ASSERT_TRUE(character.isLoaded());
    TempDir game;
    writeGame(game, filledIn(Level::playerFileTemplate(), character));
    EXPECT_EQ(ContentChecker(game.path()).run().text(), "");
}
