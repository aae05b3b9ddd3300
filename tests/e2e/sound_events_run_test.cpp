// Plays the sample game in-process and headless with a recording audio
// service, replaying input logs, and checks which sound events were played
// in which frame: against the moments the input log fixes, against the
// state changes the trace shows, and against the trace's own sounds column.

#include "app/application.h"
#include "app/default_state_factory.h"
#include "e2e/trace_reader.h"
#include "level/trace_writer.h"
#include "support/recording_audio_service.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kGameDir = std::string(VOLTARO_SOURCE_DIR) + "/game";
const std::string kReplayDir = std::string(VOLTARO_SOURCE_DIR) + "/tests/e2e/replays";

struct SoundRun {
    std::map<int64_t, std::string> heard;  // frame -> the events played in it, by name
    std::vector<TraceRow> rows;            // the trace, one row per frame
};

// Replays `log` on the sample game; what the audio service was asked to play
// and the trace, frame by frame.
SoundRun replay(const std::string& log) {
    SoundRun run;
    RecordingAudioService audio;
    Options options;
    options.headless = true;
    options.dataDirectory = kGameDir;
    options.replayFile = kReplayDir + "/" + log;
    Application application(options, defaultStateFactory());
    application.useAudioService(&audio);
    std::ostringstream trace;
    trace << TraceWriter::kHeader << '\n';
    size_t played = 0;
    application.setFrameObserver([&](uint32_t frame, const GameStateManager& manager) {
        std::string names;
        for (; played < audio.played().size(); ++played) {
            names += (names.empty() ? "" : " ") + std::string(soundEventName(audio.played()[played]));
        }
        if (!names.empty()) run.heard[frame] = names;
        trace << TraceWriter::formatFrame(frame, manager.currentState()) << '\n';
    });
    EXPECT_EQ(application.run(), 0);
    std::istringstream lines(trace.str());
    std::string line;
    std::getline(lines, line);
    const std::vector<std::string> header = splitCsvLine(line);
    while (std::getline(lines, line)) {
        TraceRow row;
        const std::vector<std::string> cells = splitCsvLine(line);
        for (size_t i = 0; i < header.size() && i < cells.size(); ++i) row.fields[header[i]] = cells[i];
        run.rows.push_back(row);
    }
    return run;
}

bool contains(const std::string& events, const std::string& event) {
    std::istringstream words(events);
    std::string word;
    while (words >> word) {
        if (word == event) return true;
    }
    return false;
}

// The player's and the level's events as the trace's state changes imply
// them, frame by frame (menu events are left out).
std::map<int64_t, std::string> eventsImpliedByTheTrace(const std::vector<TraceRow>& rows) {
    std::map<int64_t, std::string> implied;
    for (size_t i = 1; i < rows.size(); ++i) {
        const TraceRow& before = rows[i - 1];
        const TraceRow& now = rows[i];
        if (now.text("state") != "level") continue;
        std::vector<std::string> events;
        if (before.text("state") != "level") {
            events.push_back("ready");  // the level is built in its ready phase
        } else if (before.frame() != now.frame() - 1) {
            ADD_FAILURE() << "frames are not consecutive at " << now.frame();
        } else {
            const bool arrived = before.text("mode") == "Teleport" || before.text("handler") == "Appearing";
            if (before.text("mode") != "Ladder" && now.text("mode") == "Ladder") events.push_back("ladder");
            if (before.text("mode") == "Ground" && now.text("response") == "Rising") events.push_back("jump");
            if (before.text("handler") == "Airborne" && now.text("mode") == "Ground") events.push_back("land");
            if (arrived && now.text("mode") == "Ground") events.push_back("beam");
            if (now.number("invincible") > before.number("invincible")) events.push_back("hurt");
            if (before.text("phase") == "Playing" && now.text("phase") == "Ready") events.push_back("ready");
            if (before.text("phase") == "Playing" &&
                (now.text("phase") == "BeforeScrolling" || now.text("phase") == "Scrolling")) {
                events.push_back("transition");
            }
        }
        std::string names;
        for (const std::string& event : events) names += (names.empty() ? "" : " ") + event;
        if (!names.empty()) implied[now.frame()] = names;
    }
    return implied;
}

// The run's events without the menu's and the shots' (which the trace's state does not show).
std::map<int64_t, std::string> playerAndLevelEvents(const std::map<int64_t, std::string>& heard) {
    std::map<int64_t, std::string> kept;
    for (const auto& frame : heard) {
        std::istringstream words(frame.second);
        std::string word;
        std::string names;
        while (words >> word) {
            if (word.compare(0, 4, "menu") == 0 || word == "shoot" || word == "pause") continue;
            names += (names.empty() ? "" : " ") + word;
        }
        if (!names.empty()) kept[frame.first] = names;
    }
    return kept;
}

// The trace's sounds column, frame by frame.
std::map<int64_t, std::string> tracedSounds(const std::vector<TraceRow>& rows) {
    std::map<int64_t, std::string> traced;
    for (const TraceRow& row : rows) {
        if (!row.text("sounds").empty()) traced[row.frame()] = row.text("sounds");
    }
    return traced;
}

}  // namespace

TEST(SoundEventsRun, MenuLevelShotsPauseAndJumpSoundInTheFramesTheInputFixes) {
    const SoundRun run = replay("pendix-sounds.log");
    ASSERT_EQ(run.rows.size(), 520u);
    // The landing: the first frame after the jump in which the player stands again.
    int64_t landing = 0;
    for (const TraceRow& row : run.rows) {
        if (row.frame() > 280 && landing == 0 && row.text("handler") == "Standing") landing = row.frame();
    }
    ASSERT_GT(landing, 290);
    const std::map<int64_t, std::string> expected = {
        {2, "menuMove"},      {4, "menuMove"},  // 6: up at the top moves nothing
        {8, "menuConfirm"},   {10, "menuBack"},  {12, "menuConfirm"}, {14, "menuMove"}, {16, "menuMove"},
        {18, "menuConfirm"},  {19, "ready"},     {217, "beam"},       {230, "shoot"},    {232, "shoot"},
        {234, "shoot"},  // 236: all three shots still fly
        {250, "pause"},  // nothing while paused, nor in the single step of 260
        {280, "jump"},        {landing, "land"}};
    EXPECT_EQ(run.heard, expected);
    EXPECT_EQ(tracedSounds(run.rows), run.heard) << "the trace shows exactly what was played";
}

TEST(SoundEventsRun, AWholeLevelSoundsExactlyWhereItsTraceChangesState) {
    for (const char* log : {"pendix-voltaro1.log", "mossgate-voltaro1.log"}) {
        SCOPED_TRACE(log);
        const SoundRun run = replay(log);
        EXPECT_EQ(playerAndLevelEvents(run.heard), eventsImpliedByTheTrace(run.rows));
        EXPECT_EQ(tracedSounds(run.rows), run.heard);
        int hurts = 0;
        for (const auto& frame : run.heard) hurts += contains(frame.second, "hurt") ? 1 : 0;
        if (std::string(log) == "pendix-voltaro1.log") {
            EXPECT_EQ(hurts, 1) << "the run meets the enemy once";
        }
    }
}
