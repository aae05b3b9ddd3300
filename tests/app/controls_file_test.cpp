#include "app/controls_file.h"

#include "platform/game_engine.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

GameEngine::Settings headless() {
    GameEngine::Settings settings;
    settings.headless = true;
    settings.inputDeviceList = "";
    return settings;
}

void pushKey(SDLKey key, bool down) {
    SDL_Event event;
    SDL_memset(&event, 0, sizeof event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.keysym.sym = key;
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

// Reads controls.ini from text with the engine's standard keys reserved.
class ControlsFileTest : public ::testing::Test {
protected:
    ControlsFile read(const std::string& text) {
        dir.write("controls.ini", text);
        return ControlsFile(dir.file("controls.ini"), engine.standardKeys());
    }

    // The one problem reported, without the file name.
    std::string onlyProblem(const std::string& text) {
        const ControlsFile controls = read(text);
        if (controls.problems().size() != 1) {
            ADD_FAILURE() << controls.problems().size() << " problems for: " << text;
            return "";
        }
        const std::string& problem = controls.problems()[0];
        const std::string prefix = dir.file("controls.ini") + ":";
        EXPECT_EQ(problem.compare(0, prefix.size(), prefix), 0) << problem;
        return problem.substr(prefix.size());
    }

    TempDir dir;
    GameEngine engine{headless()};
};

}  // namespace

// --- Where the file is found --------------------------------------------

TEST(ControlsFileLocation, TheUsersFileComesFirstThenTheGameFolders) {
    TempDir dir;
    for (const char* folder : {"config/voltaro", "home/.config/voltaro", "game"}) {
        std::filesystem::create_directories(dir.file(folder));
    }
    dir.write("config/voltaro/controls.ini", "");
    dir.write("home/.config/voltaro/controls.ini", "");
    dir.write("game/controls.ini", "");
    const std::string config = dir.file("config");
    const std::string home = dir.file("home");
    const std::string game = dir.file("game");
    EXPECT_EQ(ControlsFile::locate(config.c_str(), home.c_str(), game), config + "/voltaro/controls.ini");
    EXPECT_EQ(ControlsFile::locate(nullptr, home.c_str(), game), home + "/.config/voltaro/controls.ini");
    EXPECT_EQ(ControlsFile::locate("", home.c_str(), game), home + "/.config/voltaro/controls.ini")
        << "an empty XDG_CONFIG_HOME counts as unset";
    EXPECT_EQ(ControlsFile::locate(dir.file("nothing").c_str(), nullptr, game), game + "/controls.ini");
    EXPECT_EQ(ControlsFile::locate(nullptr, nullptr, dir.file("nowhere")), "");
}

// --- Good entries ---------------------------------------------------------

TEST_F(ControlsFileTest, RemappedKeysDriveTheGameAndAreLoggedAsTheGamesKeys) {
    const ControlsFile controls =
        read("[Keyboard]\njump = x, Left Ctrl\nleft = a\nright = d\n[Gamepad]\nshoot = button 1, axis 2+\n");
    EXPECT_TRUE(controls.problems().empty());
    engine.setControls(controls.bindings());
    std::vector<SDLKey> logged;
    engine.setEventObserver([&logged](const SDL_Event& event) { logged.push_back(event.key.keysym.sym); });
    pushKey(SDLK_LCTRL, true);
    pushKey(SDLK_a, true);
    pushKey(SDLK_SPACE, true);  // not jump any more
    pushKey(SDLK_LEFT, true);   // nor left
    engine.pollInput();
    EXPECT_TRUE(engine.getInput().jumpPressed);
    EXPECT_EQ(engine.getInput().horizontal, Direction::Left);
    EXPECT_EQ(logged, (std::vector<SDLKey>{SDLK_SPACE, SDLK_LEFT}));
    EXPECT_EQ(controls.bindings().padControls(GameInput::Shoot),
              (std::vector<PadControl>{PadControl::button(1), PadControl::axis(2, true)}));
    EXPECT_EQ(controls.bindings().keys(GameInput::Up), std::vector<SDLKey>{SDLK_UP}) << "the rest keep their defaults";
}

TEST_F(ControlsFileTest, SwappingTwoKeysAndLeavingOneOutWork) {
    const ControlsFile controls = read("[Keyboard]\njump = b\nshoot = space\nstep = none\n[Gamepad]\npause = none\n");
    EXPECT_TRUE(controls.problems().empty());
    EXPECT_EQ(controls.bindings().keys(GameInput::Jump), std::vector<SDLKey>{SDLK_b});
    EXPECT_EQ(controls.bindings().keys(GameInput::Shoot), std::vector<SDLKey>{SDLK_SPACE});
    EXPECT_TRUE(controls.bindings().keys(GameInput::Step).empty());
    EXPECT_TRUE(controls.bindings().padControls(GameInput::Pause).empty());
}

TEST_F(ControlsFileTest, ADefaultTakenByAnotherInputIsDroppedAndSaidSo) {
    const ControlsFile controls = read("[Keyboard]\njump = b\n[Gamepad]\nup = hat 0 up\ndown = axis 1-\n");
    EXPECT_TRUE(controls.bindings().keys(GameInput::Shoot).empty());
    EXPECT_EQ(controls.bindings().padControls(GameInput::Down), std::vector<PadControl>{PadControl::axis(1, false)});
    ASSERT_EQ(controls.problems().size(), 1u);
    EXPECT_NE(controls.problems()[0].find(":2: [Keyboard] jump = b: took shoot's default key, so shoot has no key"),
              std::string::npos)
        << controls.problems()[0];
}

TEST_F(ControlsFileTest, TheCommaKeyHasAWordSinceCommasSeparateTheList) {
    const ControlsFile controls = read("[Keyboard]\nshoot = Comma, .\n");
    EXPECT_TRUE(controls.problems().empty());
    EXPECT_EQ(controls.bindings().keys(GameInput::Shoot), (std::vector<SDLKey>{SDLK_COMMA, SDLK_PERIOD}));
}

TEST_F(ControlsFileTest, DeadZoneIsRead) {
    EXPECT_EQ(read("[Gamepad]\ndeadzone = 12000\n").bindings().deadZone(), 12000);
}

// --- Bad entries: each reported once, the input keeps its default -------

TEST_F(ControlsFileTest, UnknownKeyNameKeepsTheDefault) {
    EXPECT_EQ(onlyProblem("[Keyboard]\n\njump = spcae\n"),
              "3: [Keyboard] jump = spcae: unknown key name 'spcae' (docs/controls.md lists them); "
              "jump keeps its default (space)");
    EXPECT_EQ(read("[Keyboard]\njump = spcae\n").bindings().keys(GameInput::Jump), std::vector<SDLKey>{SDLK_SPACE});
}

TEST_F(ControlsFileTest, EveryKindOfBadEntryIsNamedAndKeepsTheDefault) {
    struct Case {
        const char* text;
        const char* problem;
        const char* keeps = nullptr;  // the one input that keeps its default; null: all of them
    };
    const Case cases[] = {
        {"[Keyboard]\njmup = x\n", "2: [Keyboard] jmup = x: unknown input 'jmup' (inputs: up down left right jump "
                                   "shoot pause step); ignored"},
        {"[Keyboard]\nshoot = escape\n",
         "2: [Keyboard] shoot = escape: 'escape' is the quit key and cannot be bound; shoot keeps its default (b)"},
        {"[Keyboard]\nshoot = f3\n",
         "2: [Keyboard] shoot = f3: 'f3' is the debug overlay key and cannot be bound; shoot keeps its default (b)"},
        {"[Keyboard]\nup =\n", "2: [Keyboard] up = : no key given (write 'none' for none); up keeps its default (up)"},
        {"[Keyboard]\nup = w, , i\n", "2: [Keyboard] up = w, , i: an empty key in the list; up keeps its default (up)"},
        {"[Keyboard]\nup = w, w\n", "2: [Keyboard] up = w, w: 'w' is given twice; up keeps its default (up)"},
        {"[Keyboard]\nup = w, i, k, 8, u\n", "2: [Keyboard] up = w, i, k, 8, u: more than 4 keys; up keeps its default (up)"},
        {"[Keyboard]\nleft = a\nright = a\n",
         "3: [Keyboard] right = a: 'a' is already bound to left (line 2); right keeps its default (right)", "right"},
        {"[Gamepad]\njump = button 40\n",
         "2: [Gamepad] jump = button 40: expected 'button N', button numbers are 0 to 31; jump keeps its default "
         "(button 0)"},
        {"[Gamepad]\nup = stick up\n",
         "2: [Gamepad] up = stick up: 'stick up' is not a pad control (button N, axis N-, axis N+ or hat N "
         "up/down/left/right); up keeps its default (hat 0 up, axis 1-)"},
        {"[Gamepad]\ndeadzone = 0\n",
         "2: [Gamepad] deadzone = 0: not a whole number from 1 to 32767; the dead zone stays 8000"},
        {"[Gamepad]\ndeadzone = lots\n",
         "2: [Gamepad] deadzone = lots: not a whole number from 1 to 32767; the dead zone stays 8000"},
        {"[Keybaord]\njump = x\n", "1: [Keybaord]: unknown section (sections: Keyboard, Gamepad); its entries are "
                                   "ignored"},
        {"jump = x\n[Keyboard]\n", "1: jump = x: outside [Keyboard] and [Gamepad]; ignored"},
    };
    for (const Case& entry : cases) {
        EXPECT_EQ(onlyProblem(entry.text), entry.problem);
        const ControlBindings read = this->read(entry.text).bindings();
        const ControlBindings defaults = ControlBindings::defaults();
        for (int i = 0; i < kGameInputCount; ++i) {
            if (entry.keeps != nullptr && entry.keeps != std::string(gameInputName(gameInputAt(i)))) continue;
            EXPECT_EQ(read.keys(gameInputAt(i)), defaults.keys(gameInputAt(i))) << entry.text;
            EXPECT_EQ(read.padControls(gameInputAt(i)), defaults.padControls(gameInputAt(i))) << entry.text;
        }
        EXPECT_EQ(read.deadZone(), defaults.deadZone()) << entry.text;
    }
}

TEST_F(ControlsFileTest, OneBadEntryLeavesTheGoodOnesWorking) {
    const ControlsFile controls = read("[Keyboard]\njump = z\nshoot = nokey\nleft = a\n");
    EXPECT_EQ(controls.problems().size(), 1u);
    EXPECT_EQ(controls.bindings().keys(GameInput::Jump), std::vector<SDLKey>{SDLK_z});
    EXPECT_EQ(controls.bindings().keys(GameInput::Shoot), std::vector<SDLKey>{SDLK_b});
    EXPECT_EQ(controls.bindings().keys(GameInput::Left), std::vector<SDLKey>{SDLK_a});
}

TEST_F(ControlsFileTest, AnUnreadableFileKeepsEveryDefault) {
    const ControlsFile controls(dir.file("missing.ini"), engine.standardKeys());
    ASSERT_EQ(controls.problems().size(), 1u);
    EXPECT_EQ(controls.problems()[0], dir.file("missing.ini") + ": cannot be read; the default controls stay");
    EXPECT_EQ(controls.bindings().keys(GameInput::Jump), std::vector<SDLKey>{SDLK_SPACE});
}
