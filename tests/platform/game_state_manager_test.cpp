#include "platform/game_state_manager.h"

#include "platform/fatal_data_error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
using Journal = std::vector<std::string>;

// A state that writes what happens to it into a shared journal.
class JournalState : public GameState {
public:
    JournalState(Journal& journal, std::string name) : m_journal(journal), m_name(std::move(name)) {
        m_journal.push_back(m_name + " built");
    }
    ~JournalState() override { m_journal.push_back(m_name + " deleted"); }
    void draw() override { m_journal.push_back(m_name + " draw"); }
    void update(InputState input) override {
        m_journal.push_back(m_name + " update" + (input.jumpPressed ? " jump" : ""));
    }

private:
    Journal& m_journal;
    std::string m_name;
};

class GameStateManagerTest : public ::testing::Test {
protected:
    StateFactory factory() {
        StateFactory factory;
        factory.createFirstState = [this](GameStateManager* manager) -> GameState* {
            namesSeenByFirstState = {manager->getName(0), manager->getName(1)};
            return new JournalState(journal, "menu");
        };
        factory.createLevel = [this](GameStateManager* manager) -> GameState* {
            ++levelsBuilt;
            return new JournalState(journal, "level " + manager->getName(0) + "/" + manager->getName(1));
        };
        return factory;
    }

    static InputState jump() {
        InputState input;
        input.jumpPressed = true;
        return input;
    }

    Journal journal;
    std::vector<std::string> namesSeenByFirstState;
    int levelsBuilt = 0;
};
}  // namespace

TEST_F(GameStateManagerTest, InitialNamesAreSetBeforeTheFirstStateIsBuilt) {
    GameStateManager manager(factory());
    EXPECT_EQ(namesSeenByFirstState, (std::vector<std::string>{"Pendix", "voltaro1"}));
    EXPECT_EQ(journal, Journal{"menu built"});
    EXPECT_NE(manager.currentState(), nullptr);
}

TEST_F(GameStateManagerTest, UpdateAndDrawGoToTheCurrentState) {
    GameStateManager manager(factory());
    manager.update(jump());
    manager.draw();
    EXPECT_EQ(journal, (Journal{"menu built", "menu update jump", "menu draw"}));
}

TEST_F(GameStateManagerTest, SwitchBuildsALevelFromTheNamesAndSwallowsThatFramesInput) {
    GameStateManager manager(factory());
    manager.setName(0, "Cave");
    manager.setName(1, "hero.ini");
    manager.requestStateSwitch();
    manager.draw();  // the switch waits for the next update
    manager.update(jump());
    manager.draw();
    manager.update(jump());
    EXPECT_EQ(journal, (Journal{"menu built", "menu draw", "menu deleted", "level Cave/hero.ini built",
                                "level Cave/hero.ini draw", "level Cave/hero.ini update jump"}));
}

TEST_F(GameStateManagerTest, SwitchHappensOnceUntilRequestedAgain) {
    GameStateManager manager(factory());
    manager.requestStateSwitch();
    manager.update(InputState());
    manager.update(InputState());
    EXPECT_EQ(levelsBuilt, 1);
}

TEST_F(GameStateManagerTest, SwitchWhileALevelIsCurrentBuildsANewLevel) {
    GameStateManager manager(factory());
    manager.requestStateSwitch();
    manager.update(InputState());
    manager.setName(0, "Second");
    manager.requestStateSwitch();
    manager.update(InputState());
    EXPECT_EQ(levelsBuilt, 2);
    EXPECT_EQ(journal.back(), "level Second/voltaro1 built");
}

TEST_F(GameStateManagerTest, DestroyingTheManagerDeletesTheCurrentState) {
    {
        GameStateManager manager(factory());
        manager.requestStateSwitch();
    }
    EXPECT_EQ(journal, (Journal{"menu built", "menu deleted"}));
    EXPECT_EQ(levelsBuilt, 0);
}

TEST_F(GameStateManagerTest, NamesOutsideZeroAndOneAreIgnoredAndReadAsEmpty) {
    GameStateManager manager(factory());
    manager.setName(2, "x");
    manager.setName(-1, "x");
    manager.setName(0, nullptr);
    EXPECT_EQ(manager.getName(0), "Pendix");
    EXPECT_EQ(manager.getName(1), "voltaro1");
    EXPECT_EQ(manager.getName(2), "");
    EXPECT_EQ(manager.getName(-1), "");
}

TEST_F(GameStateManagerTest, GetNameReturnsACopy) {
    GameStateManager manager(factory());
    std::string name = manager.getName(0);
    name += "!";
    EXPECT_EQ(manager.getName(0), "Pendix");
}

TEST_F(GameStateManagerTest, LevelThatFailsToLoadLeavesNoDanglingState) {
    StateFactory failing = factory();
    failing.createLevel = [](GameStateManager*) -> GameState* {
        throw FatalDataError("mapLoaded", "map", 1, "no map");
    };
    {
        GameStateManager manager(failing);
        manager.requestStateSwitch();
        EXPECT_THROW(manager.update(InputState()), FatalDataError);
        EXPECT_EQ(manager.currentState(), nullptr);
        manager.draw();  // nothing to draw, and no crash
    }
    EXPECT_EQ(journal, (Journal{"menu built", "menu deleted"}));
}

TEST_F(GameStateManagerTest, ReplacingTheStateDeletesTheOldOneAndKeepsARequestedSwitch) {
    GameStateManager manager(factory());
    manager.requestStateSwitch();
    manager.replaceState(new JournalState(journal, "menu again"));
    manager.replaceState(nullptr);                   // nothing to put in place: ignored
    manager.replaceState(manager.currentState());  // the same state: not deleted under itself
    manager.draw();
    manager.update(InputState());  // the switch requested before still happens
    EXPECT_EQ(journal, (Journal{"menu built", "menu again built", "menu deleted",
                                "menu again draw", "menu again deleted", "level Pendix/voltaro1 built"}));
    EXPECT_EQ(levelsBuilt, 1);
}

namespace {
// A state that counts how often it was made the current one.
class CountedState : public GameState {
public:
    explicit CountedState(std::vector<std::string>& entered, std::string name)
        : m_entered(entered), m_name(std::move(name)) {}
    void draw() override {}
    void update(InputState) override {}
    void enter() override { m_entered.push_back(m_name); }

private:
    std::vector<std::string>& m_entered;
    std::string m_name;
};
}  // namespace

TEST(GameStateManagerEnter, EveryStateMadeCurrentIsEnteredOnceWhenItBecomesCurrent) {
    std::vector<std::string> entered;
    StateFactory factory;
    factory.createFirstState = [&entered](GameStateManager*) -> GameState* { return new CountedState(entered, "menu"); };
    factory.createLevel = [&entered](GameStateManager*) -> GameState* { return new CountedState(entered, "level"); };
    GameStateManager manager(factory);
    EXPECT_EQ(entered, std::vector<std::string>{"menu"});
    manager.update(InputState{});
    manager.requestStateSwitch();
    manager.update(InputState{});  // the switch
    manager.update(InputState{});
    manager.draw();
    EXPECT_EQ(entered, (std::vector<std::string>{"menu", "level"}));
    manager.replaceState(new CountedState(entered, "reloaded"));
    EXPECT_EQ(entered, (std::vector<std::string>{"menu", "level", "reloaded"}));
}
