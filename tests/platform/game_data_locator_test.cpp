#include "platform/game_data_locator.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {
// An installation under a temporary prefix: PREFIX/bin/voltaro and, when
// asked, its game in PREFIX/share/voltaro/game.
class GameDataLocatorTest : public ::testing::Test {
protected:
    void installGame() {
        std::filesystem::create_directories(prefix.file("share/voltaro/game"));
        prefix.write("share/voltaro/game/stageselect.ini", "[Levels]\n");
    }
    std::string executable() const { return prefix.file("bin/voltaro"); }

    TempDir prefix;
    TempDir work;
};
}  // namespace

TEST_F(GameDataLocatorTest, AWorkingDirectoryHoldingTheMenuFileIsPlayedInPlace) {
    installGame();
    work.write("stageselect.ini", "");
    const GameDataLocator locator(work.path(), executable());
    EXPECT_EQ(locator.locate(), GameDataLocator::Found::WorkingDirectory);
}

TEST_F(GameDataLocatorTest, OtherwiseTheGameInstalledBesideTheExecutable) {
    installGame();
    const GameDataLocator locator(work.path(), executable());
    EXPECT_EQ(locator.locate(), GameDataLocator::Found::Installed);
    EXPECT_EQ(locator.installedGame(), prefix.file("share/voltaro/game"));
}

TEST_F(GameDataLocatorTest, NothingWhenNeitherPlaceHoldsAGame) {
    // A folder named like the marker file is not a game.
    std::filesystem::create_directories(work.file("stageselect.ini"));
    std::filesystem::create_directories(prefix.file("share/voltaro/game"));
    EXPECT_EQ(GameDataLocator(work.path(), executable()).locate(), GameDataLocator::Found::Nothing);
}

TEST_F(GameDataLocatorTest, TheInstalledPathIsNormalisedAndUnknownWithoutAnExecutable) {
    EXPECT_EQ(GameDataLocator("/w", "/opt/games/./voltaro/bin/voltaro").installedGame(),
              "/opt/games/voltaro/share/voltaro/game");
    const GameDataLocator unknown(work.path(), "");
    EXPECT_EQ(unknown.installedGame(), "");
    EXPECT_EQ(unknown.locate(), GameDataLocator::Found::Nothing);
}

TEST_F(GameDataLocatorTest, ThisProcessLooksBesideItsOwnExecutable) {
    work.enter();
    const GameDataLocator locator = GameDataLocator::forThisProcess();
    EXPECT_EQ(std::filesystem::canonical(locator.workingDirectory()), std::filesystem::canonical(work.path()));
    const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe");
    EXPECT_EQ(locator.installedGame(),
              (self.parent_path().parent_path() / "share" / "voltaro" / "game").lexically_normal().string());
}
