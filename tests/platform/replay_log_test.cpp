#include "platform/replay_log.h"

#include "platform/game_engine.h"
#include "platform/replay_player.h"
#include "platform/replay_recorder.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {
ReplayLog parseOk(const std::string& text) {
    ReplayLog log;
    std::string error;
    EXPECT_TRUE(ReplayLog::parse(text, "run.log", log, error)) << error;
    return log;
}

std::string parseError(const std::string& text) {
    ReplayLog log;
    std::string error;
    EXPECT_FALSE(ReplayLog::parse(text, "run.log", log, error));
    return error;
}

ReplayEvent key(uint32_t frame, SDLKey sym, bool down) {
    ReplayEvent event;
    event.frame = frame;
    event.kind = down ? ReplayEvent::Kind::KeyDown : ReplayEvent::Kind::KeyUp;
    event.key = sym;
    return event;
}

ReplayEvent quit(uint32_t frame) {
    ReplayEvent event;
    event.frame = frame;
    event.kind = ReplayEvent::Kind::Quit;
    return event;
}

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

GameEngine::Settings headless() {
    GameEngine::Settings settings;
    settings.headless = true;
    return settings;
}
}  // namespace

// --- Reading ----------------------------------------------------------------

TEST(ReplayLog, ReadsKeysAndQuitInOrder) {
    const ReplayLog log = parseOk("1 right down\n3 space down\n3 space up\n9 quit\n");
    EXPECT_EQ(log.events(), (std::vector<ReplayEvent>{key(1, SDLK_RIGHT, true), key(3, SDLK_SPACE, true),
                                                      key(3, SDLK_SPACE, false), quit(9)}));
}

TEST(ReplayLog, KnowsEveryGameKey) {
    const ReplayLog log =
        parseOk("1 up down\n1 down down\n1 left down\n1 right down\n1 space down\n1 b down\n1 enter down\n1 tab down\n");
    const SDLKey expected[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_SPACE, SDLK_b, SDLK_RETURN, SDLK_TAB};
    ASSERT_EQ(log.events().size(), 8u);
    for (size_t i = 0; i < 8; ++i) EXPECT_EQ(log.events()[i].key, expected[i]);
}

TEST(ReplayLog, SkipsCommentsBlankLinesExtraSpacesAndCarriageReturns) {
    const ReplayLog log = parseOk("# a comment\n\n   \n  2\tb   down \r\n# 5 quit\n");
    EXPECT_EQ(log.events(), std::vector<ReplayEvent>{key(2, SDLK_b, true)});
}

TEST(ReplayLog, EmptyTextIsAnEmptyLog) {
    EXPECT_TRUE(parseOk("").events().empty());
}

TEST(ReplayLog, MalformedLinesAreRejectedWithFileAndLineNumber) {
    EXPECT_EQ(parseError("1 up down\n\n2 up sideways\n").substr(0, 10), "run.log:3:");
    EXPECT_EQ(parseError("# header\nquit\n").substr(0, 10), "run.log:2:");
}

TEST(ReplayLog, RejectsEachKindOfBadLine) {
    EXPECT_NE(parseError("0 up down\n").find("frame"), std::string::npos);
    EXPECT_NE(parseError("-1 up down\n").find("frame"), std::string::npos);
    EXPECT_NE(parseError("4294967296 quit\n").find("frame"), std::string::npos);
    EXPECT_NE(parseError("1 escape down\n").find("escape"), std::string::npos);
    EXPECT_NE(parseError("1 up\n").find("expected"), std::string::npos);
    EXPECT_NE(parseError("1 up down now\n").find("expected"), std::string::npos);
    EXPECT_NE(parseError("1 quit now\n").find("expected"), std::string::npos);
    EXPECT_NE(parseError("1 UP down\n").find("UP"), std::string::npos);
}

TEST(ReplayLog, FramesMustNotDecrease) {
    EXPECT_NE(parseError("5 up down\n4 up up\n").find("run.log:2: frame 4 comes after frame 5"),
              std::string::npos);
}

TEST(ReplayLog, TooManyEventsInOneFrameAreRejected) {
    std::string text;
    for (size_t i = 0; i <= ReplayLog::kMaxEventsPerFrame; ++i) text += "7 b down\n";
    EXPECT_NE(parseError(text).find("run.log:65:"), std::string::npos);
    text = "6 b down\n" + text.substr(9);  // one of them a frame earlier: fine
    parseOk(text);
}

TEST(ReplayLog, MissingFileIsReportedByName) {
    TempDir dir;
    ReplayLog log;
    std::string error;
    EXPECT_FALSE(ReplayLog::load(dir.file("none.log"), log, error));
    EXPECT_NE(error.find("none.log"), std::string::npos);
    EXPECT_FALSE(ReplayLog::load(dir.path(), log, error));
}

TEST(ReplayLog, FormattedLinesReadBackAsTheSameEvents) {
    const std::vector<ReplayEvent> events = {key(1, SDLK_LEFT, true), key(2, SDLK_TAB, false), quit(3)};
    std::string text = ReplayLog::header();
    for (const ReplayEvent& event : events) text += ReplayLog::formatLine(event) + "\n";
    EXPECT_EQ(ReplayLog::formatLine(events[0]), "1 left down");
    EXPECT_EQ(ReplayLog::formatLine(events[2]), "3 quit");
    EXPECT_EQ(parseOk(text).events(), events);
}

// --- Recording and playing back through the engine -------------------------

TEST(ReplayRecorder, WritesTheGameEventsUnderTheirFrame) {
    TempDir dir;
    {
        ReplayRecorder recorder(dir.file("out.log"));
        ASSERT_TRUE(recorder.isOpen());
        SDL_Event event;
        SDL_memset(&event, 0, sizeof event);
        recorder.beginFrame(4);
        event.type = SDL_KEYDOWN;
        event.key.keysym.sym = SDLK_UP;
        recorder.record(event);
        event.key.keysym.sym = SDLK_a;  // not a game key
        recorder.record(event);
        recorder.beginFrame(6);
        event.type = SDL_QUIT;
        recorder.record(event);
    }
    EXPECT_EQ(readFile(dir.file("out.log")), ReplayLog::header() + "4 up down\n6 quit\n");
}

TEST(ReplayRecorder, UnwritableFileIsReported) {
    TempDir dir;
    ReplayRecorder recorder(dir.file("no/such/dir/out.log"));
    EXPECT_FALSE(recorder.isOpen());
    EXPECT_FALSE(recorder.openError().empty());
}

TEST(ReplayPlayer, FeedsEachFramesEventsRightBeforeItsPoll) {
    GameEngine engine(headless());
    engine.setLiveKeyboardIgnored(true);
    ReplayPlayer player(parseOk("2 left down\n2 space down\n3 left up\n4 quit\n"));

    player.feedFrame(1);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().horizontal, Direction::None);
    player.feedFrame(2);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().horizontal, Direction::Left);
    EXPECT_TRUE(engine.getInput().jumpPressed);
    player.feedFrame(3);
    engine.pollInput();
    EXPECT_EQ(engine.getInput().horizontal, Direction::None);
    EXPECT_FALSE(engine.isQuitRequested());
    EXPECT_FALSE(player.isFinished());
    player.feedFrame(4);
    engine.pollInput();
    EXPECT_TRUE(engine.isQuitRequested());
    EXPECT_TRUE(player.isFinished());
}

TEST(ReplayPlayer, EventsOfFramesAlreadyPassedAreDropped) {
    GameEngine engine(headless());
    ReplayPlayer player(parseOk("1 b down\n5 right down\n"));
    player.feedFrame(5);
    engine.pollInput();
    EXPECT_FALSE(engine.getInput().shootHeld);
    EXPECT_EQ(engine.getInput().horizontal, Direction::Right);
}

TEST(ReplayPlayer, RecordingAPlaybackWritesTheSameLog) {
    TempDir dir;
    const std::string text = "1 enter down\n1 enter up\n2 tab down\n3 b down\n3 b up\n5 quit\n";
    {
        GameEngine engine(headless());
        engine.setLiveKeyboardIgnored(true);
        ReplayRecorder recorder(dir.file("again.log"));
        engine.setEventObserver([&recorder](const SDL_Event& event) { recorder.record(event); });
        ReplayPlayer player(parseOk(text));
        for (uint32_t frame = 1; frame <= 5; ++frame) {
            recorder.beginFrame(frame);
            player.feedFrame(frame);
            engine.pollInput();
        }
    }
    EXPECT_EQ(readFile(dir.file("again.log")), ReplayLog::header() + text);
}
