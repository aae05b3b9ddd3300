// The real executable with the real SDL_mixer: a headless replay on SDL's
// disk audio driver, which writes the mixed sound to a file. The run with a
// jump is heard; --mute, and a game without sound data, write silence; and
// the per-frame trace is the same byte for byte whether sound is on, off or
// absent.

#include "support/disk_audio_capture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const std::string kGameDir = std::string(VOLTARO_SOURCE_DIR) + "/game";
const std::string kLog = std::string(VOLTARO_SOURCE_DIR) + "/tests/e2e/replays/pendix-sounds.log";

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Removes every line that starts with `prefix` from a file.
void dropLines(const std::string& path, const std::string& prefix) {
    std::istringstream lines(readFile(path));
    std::string kept;
    std::string line;
    while (std::getline(lines, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0) kept += line + "\n";
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << kept;
}

class SoundOutput : public ::testing::Test {
protected:
    // Runs the replay on `game`; with `disk` the sound goes to the capture
    // file. Returns the trace.
    std::string run(const std::string& name, const std::string& game, bool disk, const std::string& options = "") {
        const std::string trace = dir.file(name + ".csv");
        const std::string environment =
            disk ? "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=\"" + capture.fileName() + "\" SDL_DISKAUDIODELAY=1 "
                 : "env -u SDL_AUDIODRIVER ";
        const std::string command = environment + "\"" + VOLTARO_BINARY_DIR + "/voltaro\" --headless --data \"" +
                                    game + "\" --replay \"" + kLog + "\" --trace \"" + trace + "\" " + options +
                                    " > \"" + dir.file(name + ".out") + "\" 2>&1";
        EXPECT_EQ(std::system(command.c_str()), 0) << command << "\n" << readFile(dir.file(name + ".out"));
        return readFile(trace);
    }

    // A copy of the sample game without its music keys, and without sound.ini too when `effects` is false.
    std::string gameWithout(const std::string& name, bool effects) {
        const std::string copy = dir.file(name);
        fs::copy(kGameDir, copy, fs::copy_options::recursive);
        dropLines(copy + "/levels.ini", "music=");
        dropLines(copy + "/stageselect.ini", "music=");
        if (!effects) fs::remove(copy + "/sound.ini");
        return copy;
    }

    TempDir dir;
    DiskAudioCapture capture{dir.file("sound.raw")};
};

}  // namespace

TEST_F(SoundOutput, ARunIsHeardMuteIsSilentAndTheTraceNeverChanges) {
    const std::string silentTrace = run("no-device", kGameDir, false);
    ASSERT_NE(silentTrace.find(",jump\n"), std::string::npos) << "the run jumps";

    EXPECT_EQ(run("sound", kGameDir, true), silentTrace);
    EXPECT_GT(capture.outputSize(), 0u);
    EXPECT_GT(capture.loudestIn(0), DiskAudioCapture::kAudibleLevel) << "the menu, the level and the jump are heard";

    EXPECT_EQ(run("muted", kGameDir, true, "--mute"), silentTrace);
    EXPECT_GT(capture.outputSize(), 0u) << "the device is open while muted";
    EXPECT_EQ(capture.loudestIn(0), 0) << "--mute writes nothing but silence";
}

TEST_F(SoundOutput, EffectsAloneAreHeardAndAGameWithoutSoundDataIsSilent) {
    const std::string silentTrace = run("no-device", kGameDir, false);

    EXPECT_EQ(run("effects", gameWithout("effects-only", true), true), silentTrace);
    EXPECT_GT(capture.loudestIn(0), DiskAudioCapture::kAudibleLevel) << "no music: the effects alone are heard";

    EXPECT_EQ(run("nothing", gameWithout("no-sound", false), true), silentTrace);
    EXPECT_GT(capture.outputSize(), 0u);
    EXPECT_EQ(capture.loudestIn(0), 0) << "a game without sound data plays silently";
    EXPECT_EQ(readFile(dir.file("nothing.out")).find("sound.ini"), std::string::npos) << "and says nothing about it";
}
