#include "platform/input_router.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kKey = InputRouter::keySource(0);
constexpr int kOtherKey = InputRouter::keySource(1);
constexpr int kPadButton = InputRouter::padSource(0, 0);
constexpr int kSecondPad = InputRouter::padSource(1, 0);

class InputRouterTest : public ::testing::Test {
protected:
    InputRouterTest() {
        router.setListener([this](GameInput input, bool down) {
            reached.push_back(std::string(gameInputName(input)) + (down ? "+" : "-"));
        });
    }

    InputRouter router;
    std::vector<std::string> reached;  // what the game was told, in order
};

}  // namespace

TEST_F(InputRouterTest, TwoSourcesOnOneInputGiveOnePressAndOneRelease) {
    router.press(GameInput::Jump, kKey);
    router.beginPoll();
    router.press(GameInput::Jump, kPadButton);
    EXPECT_FALSE(router.input().jumpPressed) << "a second source is no new press";
    router.release(GameInput::Jump, kKey);
    EXPECT_TRUE(router.input().jumpHeld) << "the pad still holds it";
    EXPECT_FALSE(router.input().jumpReleased);
    router.release(GameInput::Jump, kPadButton);
    EXPECT_FALSE(router.input().jumpHeld);
    EXPECT_TRUE(router.input().jumpReleased);
    EXPECT_EQ(reached, (std::vector<std::string>{"jump+", "jump-"}));
}

TEST_F(InputRouterTest, OneSourceAloneBehavesLikeAKeyboard) {
    // A repeated press and a release without a press reach the game, as
    // keys always did.
    router.press(GameInput::Shoot, kKey);
    router.press(GameInput::Shoot, kKey);
    router.release(GameInput::Left, kKey);
    EXPECT_EQ(reached, (std::vector<std::string>{"shoot+", "shoot+", "left-"}));
}

TEST_F(InputRouterTest, DirectionsFallBackAcrossSources) {
    router.press(GameInput::Right, kKey);
    router.press(GameInput::Left, kPadButton);
    EXPECT_EQ(router.input().horizontal, Direction::Left);
    router.release(GameInput::Left, kPadButton);
    EXPECT_EQ(router.input().horizontal, Direction::Right) << "the key still holds right";
}

TEST_F(InputRouterTest, TwoKeysOfOneInputHoldItTogether) {
    router.press(GameInput::Up, kKey);
    router.press(GameInput::Up, kOtherKey);
    router.release(GameInput::Up, kKey);
    EXPECT_TRUE(router.input().upHeld);
    EXPECT_EQ(router.input().vertical, Direction::Up);
}

TEST_F(InputRouterTest, ReleasingAPadsSourcesLetsGoOfWhatOnlyItHeld) {
    router.press(GameInput::Right, kKey);
    router.press(GameInput::Left, kPadButton);
    router.press(GameInput::Jump, kPadButton);
    router.press(GameInput::Shoot, kPadButton);
    router.press(GameInput::Shoot, kKey);
    router.press(GameInput::Down, kSecondPad);
    reached.clear();
    router.releaseSources(InputRouter::padSources(0));
    EXPECT_EQ(reached, (std::vector<std::string>{"left-", "jump-"}));
    EXPECT_EQ(router.input().horizontal, Direction::Right);
    EXPECT_FALSE(router.input().jumpHeld);
    EXPECT_TRUE(router.input().shootHeld) << "the key holds shoot";
    EXPECT_TRUE(router.input().downHeld) << "the other pad holds down";
    reached.clear();
    router.releaseSources(InputRouter::padSources(0));
    EXPECT_TRUE(reached.empty()) << "nothing is released twice";
}

TEST_F(InputRouterTest, PauseAndStepFromAnySourceFollowTheKeyboardsRules) {
    router.press(GameInput::Pause, kPadButton);
    EXPECT_TRUE(router.isPaused());
    router.press(GameInput::Pause, kKey);  // held by the pad already: no second toggle
    EXPECT_TRUE(router.isPaused());
    router.release(GameInput::Pause, kKey);
    router.release(GameInput::Pause, kPadButton);
    router.beginPoll();
    router.press(GameInput::Step, kPadButton);
    EXPECT_FALSE(router.isPaused()) << "this frame is updated";
    router.beginPoll();
    EXPECT_TRUE(router.isPaused()) << "and the next is not";
}
