// Gamepad input through the real event path: joystick events pushed onto
// SDL's queue (which SDL 1.2 accepts with no pad and no display), polled by
// the engine and turned into the game's input record.

#include "platform/game_engine.h"
#include "platform/input_device_watch.h"
#include "platform/replay_log.h"
#include "platform/replay_player.h"
#include "platform/replay_recorder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

void push(SDL_Event& event) {
    ASSERT_EQ(SDL_PushEvent(&event), 0);
}

void pushButton(int button, bool down, int pad = 0) {
    SDL_Event event;
    SDL_memset(&event, 0, sizeof event);
    event.type = down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.which = static_cast<Uint8>(pad);
    event.jbutton.button = static_cast<Uint8>(button);
    event.jbutton.state = down ? SDL_PRESSED : SDL_RELEASED;
    push(event);
}

void pushAxis(int axis, int value, int pad = 0) {
    SDL_Event event;
    SDL_memset(&event, 0, sizeof event);
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.which = static_cast<Uint8>(pad);
    event.jaxis.axis = static_cast<Uint8>(axis);
    event.jaxis.value = static_cast<Sint16>(value);
    push(event);
}

void pushHat(Uint8 value, int hat = 0, int pad = 0) {
    SDL_Event event;
    SDL_memset(&event, 0, sizeof event);
    event.type = SDL_JOYHATMOTION;
    event.jhat.which = static_cast<Uint8>(pad);
    event.jhat.hat = static_cast<Uint8>(hat);
    event.jhat.value = value;
    push(event);
}

void pushKey(SDLKey key, bool down) {
    SDL_Event event;
    SDL_memset(&event, 0, sizeof event);
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    push(event);
}

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The system's input device list with `joysticks` pads in it.
std::string deviceList(int joysticks) {
    std::string text = "I: Bus=0011 Vendor=0001\nN: Name=\"Keyboard\"\nH: Handlers=sysrq kbd event0 \n\n";
    for (int pad = 0; pad < joysticks; ++pad) {
        text += "N: Name=\"Pad " + std::to_string(pad) + "\"\nH: Handlers=event" + std::to_string(pad + 5) +
                " js" + std::to_string(pad) + " \n\n";
    }
    return text;
}

GameEngine::Settings headless(const std::string& deviceListFile = "") {
    GameEngine::Settings settings;
    settings.headless = true;
    settings.inputDeviceList = deviceListFile;
    return settings;
}

class GamepadTest : public ::testing::Test {
protected:
    const InputState& input() {
        m_input = engine.getInput();
        return m_input;
    }

    GameEngine engine{headless()};
    InputState m_input;
};

}  // namespace

// --- The d-pad (hat) --------------------------------------------------------

TEST_F(GamepadTest, DpadMovesAndCentringLetsGo) {
    pushHat(SDL_HAT_UP);
    engine.pollInput();
    EXPECT_EQ(input().vertical, Direction::Up);
    EXPECT_TRUE(input().upHeld);
    pushHat(SDL_HAT_CENTERED);
    engine.pollInput();
    EXPECT_EQ(input().vertical, Direction::None);
    EXPECT_FALSE(input().upHeld);
}

TEST_F(GamepadTest, DiagonalHoldsBothAxesAndRollingOverEndsOnTheNewSide) {
    pushHat(SDL_HAT_LEFTUP);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::Left);
    EXPECT_EQ(input().vertical, Direction::Up);
    pushHat(SDL_HAT_UP);
    pushHat(SDL_HAT_RIGHTUP);
    pushHat(SDL_HAT_RIGHT);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::Right);
    EXPECT_EQ(input().vertical, Direction::None);
    EXPECT_FALSE(input().leftHeld);
    EXPECT_FALSE(input().upHeld);
}

// --- The stick with its dead zone ------------------------------------------

TEST_F(GamepadTest, StickCountsOnlyBeyondTheDeadZone) {
    const int deadZone = ControlBindings::kDefaultDeadZone;
    pushAxis(0, deadZone - 1);
    pushAxis(1, -(deadZone - 1));
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::None) << "resting drift is no push";
    EXPECT_EQ(input().vertical, Direction::None);
    pushAxis(0, deadZone);
    pushAxis(1, -32768);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::Right);
    EXPECT_EQ(input().vertical, Direction::Up);
    pushAxis(0, 3000);
    pushAxis(1, 32767);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::None) << "back inside the dead zone";
    EXPECT_FALSE(input().rightHeld);
    EXPECT_EQ(input().vertical, Direction::Down);
    EXPECT_FALSE(input().upHeld);
}

TEST_F(GamepadTest, StickFlickedAcrossReleasesTheOldSide) {
    pushAxis(0, -20000);
    engine.pollInput();
    pushAxis(0, 20000);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::Right);
    EXPECT_FALSE(input().leftHeld);
    EXPECT_EQ(input().previousHorizontal, Direction::Left);
}

TEST_F(GamepadTest, StickNoiseInsideOneSideIsOnePress) {
    std::vector<std::string> seen;
    engine.setEventObserver([&seen](const SDL_Event& event) {
        seen.push_back(ReplayLog::keyName(event.key.keysym.sym) + std::string(event.type == SDL_KEYDOWN ? "+" : "-"));
    });
    for (int value : {9000, 15000, 32767, 12000, 9000}) pushAxis(0, value);
    pushAxis(0, 0);
    engine.pollInput();
    EXPECT_EQ(seen, (std::vector<std::string>{"right+", "right-"}));
}

TEST_F(GamepadTest, DeadZoneComesFromTheControls) {
    ControlBindings controls = ControlBindings::defaults();
    controls.setDeadZone(20000);
    engine.setControls(controls);
    pushAxis(0, 19999);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::None);
    pushAxis(0, 20000);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::Right);
}

// --- Buttons ----------------------------------------------------------------

TEST_F(GamepadTest, FaceButtonsJumpAndShootWithTheirEdges) {
    pushButton(0, true);
    pushButton(2, true);
    engine.pollInput();
    EXPECT_TRUE(input().jumpPressed && input().jumpHeld);
    EXPECT_TRUE(input().shootPressed && input().shootHeld);
    pushButton(0, false);
    engine.pollInput();
    EXPECT_TRUE(input().jumpReleased);
    EXPECT_FALSE(input().jumpHeld);
    EXPECT_TRUE(input().shootHeld);
    EXPECT_FALSE(input().shootPressed);
}

TEST_F(GamepadTest, StartPausesAndSelectStepsOneFrame) {
    pushButton(7, true);
    pushButton(7, false);
    engine.pollInput();
    EXPECT_TRUE(engine.isPaused());
    pushButton(6, true);
    engine.pollInput();
    EXPECT_FALSE(engine.isPaused()) << "the stepped frame";
    pushButton(6, false);
    engine.pollInput();
    EXPECT_TRUE(engine.isPaused());
}

TEST_F(GamepadTest, UnboundButtonsAndUntrackedPadsOrAxesDoNothing) {
    pushButton(5, true);
    pushButton(200, true);
    pushButton(0, true, 9);  // a pad beyond those tracked
    pushAxis(200, 32767);
    pushHat(SDL_HAT_UP, 200);
    engine.pollInput();
    const InputState record = input();
    EXPECT_FALSE(record.jumpHeld || record.shootHeld || record.upHeld || record.rightHeld);
    EXPECT_FALSE(engine.isPaused());
}

TEST_F(GamepadTest, RemappedPadControlsDriveTheirInputs) {
    ControlBindings controls = ControlBindings::defaults();
    controls.setPadControls(GameInput::Jump, {PadControl::button(3), PadControl::axis(5, true)});
    engine.setControls(controls);
    pushButton(0, true);
    engine.pollInput();
    EXPECT_FALSE(input().jumpHeld) << "button 0 is unbound now";
    pushAxis(5, 30000);  // a trigger
    engine.pollInput();
    EXPECT_TRUE(input().jumpPressed);
}

// --- Pad and keyboard together ------------------------------------------

TEST_F(GamepadTest, PadAndKeyboardHeldTogetherReleaseOnlyWhenBothLetGo) {
    pushKey(SDLK_RIGHT, true);
    pushAxis(0, 30000);
    pushKey(SDLK_SPACE, true);
    engine.pollInput();
    pushButton(0, true);  // jump is already held by Space
    engine.pollInput();
    EXPECT_FALSE(input().jumpPressed) << "no second press";
    pushAxis(0, 0);
    pushKey(SDLK_SPACE, false);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::Right) << "the key still holds right";
    EXPECT_TRUE(input().jumpHeld) << "the button still holds jump";
    EXPECT_FALSE(input().jumpReleased);
    pushKey(SDLK_RIGHT, false);
    pushButton(0, false);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::None);
    EXPECT_TRUE(input().jumpReleased);
}

TEST_F(GamepadTest, KeyAndStickOnOppositeSidesFallBackLikeTwoKeys) {
    pushKey(SDLK_LEFT, true);
    pushAxis(0, 30000);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::Right) << "the later one wins";
    pushAxis(0, 0);
    engine.pollInput();
    EXPECT_EQ(input().horizontal, Direction::Left);
}

// --- Replays and recording ------------------------------------------------

TEST_F(GamepadTest, LivePadIsIgnoredWhileAReplayPlays) {
    engine.setLiveKeyboardIgnored(true);
    pushButton(0, true);
    pushHat(SDL_HAT_LEFT);
    engine.pollInput();
    EXPECT_FALSE(input().jumpHeld);
    EXPECT_EQ(input().horizontal, Direction::None);
}

TEST(GamepadRecording, PadPlayIsLoggedAsTheCanonicalKeysAndReplaysIdentically) {
    TempDir dir;
    const std::string log = dir.file("pad.log");
    std::vector<InputState> played;
    {
        GameEngine engine(headless());
        ReplayRecorder recorder(log);
        engine.setEventObserver([&recorder](const SDL_Event& event) { recorder.record(event); });
        const auto frame = [&](uint32_t number) {
            recorder.beginFrame(number);
            engine.pollInput();
            played.push_back(engine.getInput());
        };
        pushHat(SDL_HAT_RIGHT);
        frame(1);
        pushButton(0, true);
        pushAxis(0, 25000);  // right is held by the d-pad already
        frame(2);
        pushHat(SDL_HAT_CENTERED);
        pushButton(7, true);
        frame(3);
        pushButton(7, false);
        pushButton(0, false);
        frame(4);
        pushButton(6, true);
        frame(5);
        pushAxis(0, 0);
        frame(6);
    }
    EXPECT_EQ(readFile(log), ReplayLog::header() +
                                 "1 right down\n2 space down\n3 enter down\n4 enter up\n4 space up\n5 tab down\n"
                                 "6 right up\n");

    ReplayLog parsed;
    std::string error;
    ASSERT_TRUE(ReplayLog::load(log, parsed, error)) << error;
    GameEngine engine(headless());
    engine.setLiveKeyboardIgnored(true);
    ReplayPlayer player(parsed);
    for (uint32_t number = 1; number <= played.size(); ++number) {
        player.feedFrame(number);
        engine.pollInput();
        const InputState replayed = engine.getInput();
        const InputState& original = played[number - 1];
        EXPECT_EQ(replayed.horizontal, original.horizontal) << "frame " << number;
        EXPECT_EQ(replayed.previousHorizontal, original.previousHorizontal) << "frame " << number;
        EXPECT_EQ(replayed.rightHeld, original.rightHeld) << "frame " << number;
        EXPECT_EQ(replayed.jumpPressed, original.jumpPressed) << "frame " << number;
        EXPECT_EQ(replayed.jumpHeld, original.jumpHeld) << "frame " << number;
        EXPECT_EQ(replayed.jumpReleased, original.jumpReleased) << "frame " << number;
    }
}

// --- A pad unplugged during play -------------------------------------------

TEST(GamepadRemoval, APadGoneFromTheSystemLetsGoOfEverythingItHeld) {
    TempDir dir;
    const std::string devices = dir.file("devices");
    dir.write("devices", deviceList(1));
    GameEngine engine(headless(devices));
    std::vector<std::string> seen;
    engine.setEventObserver([&seen](const SDL_Event& event) {
        seen.push_back(ReplayLog::keyName(event.key.keysym.sym) + std::string(event.type == SDL_KEYDOWN ? "+" : "-"));
    });
    pushHat(SDL_HAT_RIGHT);
    pushButton(0, true);
    pushKey(SDLK_b, true);
    pushButton(2, true);  // shoot, held by the key too
    engine.pollInput();
    ASSERT_EQ(engine.getInput().horizontal, Direction::Right);

    // The pad is pulled out: SDL 1.2 just stops sending its events.
    dir.write("devices", deviceList(0));
    for (uint32_t frame = 0; frame < Gamepads::kDeviceCheckFrames; ++frame) engine.pollInput();
    const InputState input = engine.getInput();
    EXPECT_EQ(input.horizontal, Direction::None);
    EXPECT_FALSE(input.rightHeld);
    EXPECT_FALSE(input.jumpHeld);
    EXPECT_TRUE(input.shootHeld) << "the key still holds shoot";
    EXPECT_EQ(seen, (std::vector<std::string>{"right+", "space+", "b+", "right-", "space-"}));

    // The d-pad position is forgotten: the pad plugged in again starts afresh.
    dir.write("devices", deviceList(1));
    for (uint32_t frame = 0; frame < Gamepads::kDeviceCheckFrames; ++frame) engine.pollInput();
    pushHat(SDL_HAT_RIGHT);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().horizontal, Direction::Right);
}

TEST(GamepadRemoval, AnUnchangedOrUnreadableDeviceListChangesNothing) {
    TempDir dir;
    dir.write("devices", deviceList(2));
    GameEngine engine(headless(dir.file("devices")));
    pushHat(SDL_HAT_DOWN);
    engine.pollInput();
    for (uint32_t frame = 0; frame < 3 * Gamepads::kDeviceCheckFrames; ++frame) engine.pollInput();
    EXPECT_TRUE(engine.getInput().downHeld);
    std::remove(dir.file("devices").c_str());
    for (uint32_t frame = 0; frame < 2 * Gamepads::kDeviceCheckFrames; ++frame) engine.pollInput();
    EXPECT_TRUE(engine.getInput().downHeld) << "no list is no news";
}

TEST(InputDeviceWatch, CountsTheJoystickHandlersOfTheList) {
    TempDir dir;
    dir.write("three", deviceList(3) + "H: Handlers=mouse0 event2\nH: Handlers=jsx event9\nN: Name=\"js7\"\n" +
                           "H: Handlers=" + std::string(300, 'x') + " js9\n" + "H: Handlers=event4 js3");
    EXPECT_EQ(InputDeviceWatch(dir.file("three")).countJoysticks(), 4) << "three pads and one last line without end";
    dir.write("none", deviceList(0));
    EXPECT_EQ(InputDeviceWatch(dir.file("none")).countJoysticks(), 0);
    EXPECT_EQ(InputDeviceWatch(dir.file("missing")).countJoysticks(), -1);
    EXPECT_EQ(InputDeviceWatch("").countJoysticks(), -1);
}
