#include "platform/control_bindings.h"
#include "platform/game_engine.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

// SDL's key names exist only while its video runs.
class ControlBindingsTest : public ::testing::Test {
protected:
    static GameEngine::Settings headless() {
        GameEngine::Settings settings;
        settings.headless = true;
        settings.inputDeviceList = "";
        return settings;
    }

    GameEngine engine{headless()};
};

}  // namespace

TEST_F(ControlBindingsTest, DefaultsAreTheGamesKeysAndTheCommonPadLayout) {
    const ControlBindings defaults = ControlBindings::defaults();
    for (int i = 0; i < kGameInputCount; ++i) {
        EXPECT_EQ(defaults.keys(gameInputAt(i)), std::vector<SDLKey>{canonicalKey(gameInputAt(i))});
    }
    EXPECT_EQ(defaults.padControls(GameInput::Left),
              (std::vector<PadControl>{PadControl::hat(0, SDL_HAT_LEFT), PadControl::axis(0, false)}));
    GameInput input;
    int slot = -1;
    ASSERT_TRUE(defaults.findPadControl(PadControl::axis(1, true), input, slot));
    EXPECT_EQ(input, GameInput::Down);
    EXPECT_EQ(slot, 1);
    ASSERT_TRUE(defaults.findPadControl(PadControl::button(7), input, slot));
    EXPECT_EQ(input, GameInput::Pause);
    EXPECT_FALSE(defaults.findPadControl(PadControl::button(1), input, slot));
    EXPECT_EQ(defaults.deadZone(), ControlBindings::kDefaultDeadZone);
}

TEST_F(ControlBindingsTest, KeyNamesAreSdlsInAnyCase) {
    SDLKey key = SDLK_UNKNOWN;
    EXPECT_TRUE(ControlBindings::keyFromName("space", key));
    EXPECT_EQ(key, SDLK_SPACE);
    EXPECT_TRUE(ControlBindings::keyFromName("Left Shift", key));
    EXPECT_EQ(key, SDLK_LSHIFT);
    EXPECT_TRUE(ControlBindings::keyFromName("[8]", key));
    EXPECT_EQ(key, SDLK_KP8);
    EXPECT_TRUE(ControlBindings::keyFromName("return", key));
    EXPECT_EQ(ControlBindings::keyName(SDLK_RETURN), "return");
    EXPECT_FALSE(ControlBindings::keyFromName("enter key", key));
    EXPECT_FALSE(ControlBindings::keyFromName("unknown key", key));
    EXPECT_FALSE(ControlBindings::keyFromName("", key));
}

// The key names docs/controls.md lists: the code block after "### Key
// names", names separated by two or more spaces, group headings ending in ':'.
std::set<std::string> documentedKeyNames() {
    std::ifstream doc(std::string(VOLTARO_SOURCE_DIR) + "/docs/controls.md");
    std::set<std::string> names;
    std::string line;
    bool inSection = false;
    bool inBlock = false;
    while (std::getline(doc, line)) {
        if (line == "### Key names") inSection = true;
        if (!inSection) continue;
        if (line.compare(0, 3, "```") == 0) {
            if (inBlock) break;  // the end of the list
            inBlock = true;
            continue;
        }
        if (!inBlock || line.empty() || line.back() == ':') continue;
        const std::regex separator(" {2,}");
        for (std::sregex_token_iterator it(line.begin(), line.end(), separator, -1), end; it != end; ++it) {
            if (it->length() > 0) names.insert(*it);
        }
    }
    return names;
}

TEST_F(ControlBindingsTest, TheDocumentedKeyNamesAreExactlySdls) {
    std::set<std::string> sdl;
    for (int code = SDLK_FIRST; code < SDLK_LAST; ++code) {
        const std::string name = ControlBindings::keyName(static_cast<SDLKey>(code));
        if (name != "unknown key") sdl.insert(name);
    }
    const std::set<std::string> documented = documentedKeyNames();
    for (const std::string& name : sdl) EXPECT_EQ(documented.count(name), 1u) << "'" << name << "' is not documented";
    for (const std::string& name : documented) {
        EXPECT_EQ(sdl.count(name), 1u) << "'" << name << "' is no SDL key name";
        SDLKey key = SDLK_UNKNOWN;
        EXPECT_TRUE(ControlBindings::keyFromName(name, key) && ControlBindings::keyName(key) == name) << name;
    }
}

TEST(PadControlText, ReadsAndWritesEveryKind) {
    const std::vector<PadControl> controls{PadControl::button(31), PadControl::axis(0, false),
                                           PadControl::axis(15, true), PadControl::hat(3, SDL_HAT_LEFT),
                                           PadControl::hat(0, SDL_HAT_UP)};
    for (const PadControl& control : controls) {
        PadControl read;
        std::string error;
        const std::string text = ControlBindings::padControlText(control);
        ASSERT_TRUE(ControlBindings::padControlFromText(text, read, error)) << text << ": " << error;
        EXPECT_EQ(read, control) << text;
    }
    PadControl read;
    std::string error;
    EXPECT_TRUE(ControlBindings::padControlFromText("  AXIS 2 +  ", read, error));
    EXPECT_EQ(read, PadControl::axis(2, true));
    EXPECT_EQ(ControlBindings::padControlText(PadControl::hat(1, SDL_HAT_DOWN)), "hat 1 down");
}

TEST(PadControlText, RejectsWhatIsNoPadControlWithAReason) {
    for (const char* text : {"button", "button -1", "button 32", "button 1 2", "button x", "axis 1", "axis 16-",
                             "axis -", "axis 1*", "hat 0", "hat 4 up", "hat 0 sideways", "trigger 1", ""}) {
        PadControl read;
        std::string error;
        EXPECT_FALSE(ControlBindings::padControlFromText(text, read, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
    }
}
