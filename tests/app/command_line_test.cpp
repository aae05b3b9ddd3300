#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
CommandLine parse(const std::vector<std::string>& arguments) {
    return CommandLine(arguments);
}

// The reason a command line is rejected ("" when it is accepted).
std::string errorOf(const std::vector<std::string>& arguments) {
    return parse(arguments).error();
}
}  // namespace

TEST(CommandLine, NoOptionsMeansThePlainGame) {
    const CommandLine commandLine = parse({});
    ASSERT_TRUE(commandLine.isValid());
    const Options& options = commandLine.options();
    EXPECT_EQ(options.dataDirectory, "");
    EXPECT_EQ(options.scale, 1);
    EXPECT_FALSE(options.headless);
    EXPECT_EQ(options.frameLimit, 0u);
    EXPECT_TRUE(options.recordFile.empty() && options.replayFile.empty() && options.traceFile.empty());
    EXPECT_TRUE(options.screenshots.empty());
    EXPECT_FALSE(options.helpRequested);
    EXPECT_FALSE(options.watch);
}

TEST(CommandLine, ReadsEveryOption) {
    const CommandLine commandLine =
        parse({"--data", "game", "--scale", "3", "--headless", "--frames", "120", "--record", "in.log", "--trace",
               "t.txt", "--screenshot", "10:a.bmp", "--screenshot", "20:b.bmp", "--watch"});
    ASSERT_TRUE(commandLine.isValid()) << commandLine.error();
    const Options& options = commandLine.options();
    EXPECT_EQ(options.dataDirectory, "game");
    EXPECT_EQ(options.scale, 3);
    EXPECT_TRUE(options.headless);
    EXPECT_EQ(options.frameLimit, 120u);
    EXPECT_EQ(options.recordFile, "in.log");
    EXPECT_EQ(options.traceFile, "t.txt");
    ASSERT_EQ(options.screenshots.size(), 2u);
    EXPECT_EQ(options.screenshots[0].frame, 10u);
    EXPECT_EQ(options.screenshots[0].file, "a.bmp");
    EXPECT_EQ(options.screenshots[1].frame, 20u);
    EXPECT_EQ(options.screenshots[1].file, "b.bmp");
    EXPECT_TRUE(options.watch);
}

TEST(CommandLine, ReadsTheDisplayAndOverlayOptions) {
    const CommandLine plain = parse({});
    EXPECT_FALSE(plain.options().fitDesktop || plain.options().fullscreen);
    EXPECT_TRUE(plain.options().overlayShown);
    const CommandLine commandLine = parse({"--scale", "auto", "--fullscreen", "--no-overlay"});
    ASSERT_TRUE(commandLine.isValid()) << commandLine.error();
    EXPECT_TRUE(commandLine.options().fitDesktop);
    EXPECT_TRUE(commandLine.options().fullscreen);
    EXPECT_FALSE(commandLine.options().overlayShown);
    EXPECT_TRUE(parse({"--scale=auto"}).options().fitDesktop);
    EXPECT_EQ(errorOf({"--scale", "Auto"}), "--scale: 'Auto' is not a whole number from 1 to 8, nor auto");
    EXPECT_EQ(errorOf({"--fullscreen=yes"}), "--fullscreen does not take a value");
    EXPECT_EQ(errorOf({"--no-overlay", "--no-overlay"}), "option --no-overlay is given more than once");
}

TEST(CommandLine, VersionNamesVoltaroAndTheSdlInUse) {
    EXPECT_TRUE(parse({"--version"}).options().versionRequested);
    EXPECT_FALSE(parse({}).options().versionRequested);
    const std::string text = CommandLine::versionText();
    EXPECT_EQ(text.compare(0, 8, "voltaro "), 0) << text;
    EXPECT_NE(text.find("\nSDL 1.2."), std::string::npos) << text;
    EXPECT_EQ(text.back(), '\n');
}

TEST(CommandLine, PlayerTemplateIsAFlagGivenOnce) {
    EXPECT_FALSE(parse({}).options().playerTemplateRequested);
    const CommandLine commandLine = parse({"--player-template", "--headless"});
    ASSERT_TRUE(commandLine.isValid()) << commandLine.error();
    EXPECT_TRUE(commandLine.options().playerTemplateRequested);
    EXPECT_EQ(errorOf({"--player-template=voltaro4"}), "--player-template does not take a value");
    EXPECT_EQ(errorOf({"--player-template", "voltaro4"}), "unexpected argument 'voltaro4'");
    EXPECT_EQ(errorOf({"--player-template", "--player-template"}), "option --player-template is given more than once");
}

TEST(CommandLine, AcceptsValuesAfterAnEqualsSign) {
    const CommandLine commandLine = parse({"--scale=2", "--replay=run.log", "--screenshot=5:c:/x.bmp"});
    ASSERT_TRUE(commandLine.isValid()) << commandLine.error();
    EXPECT_EQ(commandLine.options().scale, 2);
    EXPECT_EQ(commandLine.options().replayFile, "run.log");
    EXPECT_EQ(commandLine.options().screenshots[0].file, "c:/x.bmp");  // split at the first colon only
}

TEST(CommandLine, HelpIsRecognisedInBothSpellings) {
    EXPECT_TRUE(parse({"--help"}).options().helpRequested);
    EXPECT_TRUE(parse({"-h"}).options().helpRequested);
}

TEST(CommandLine, UsageListsEveryOption) {
    const std::string usage = CommandLine::usage();
    for (const char* option : {"--data", "--scale", "--headless", "--frames", "--record", "--replay", "--screenshot",
                               "--trace", "--watch", "--mute", "--volume", "--check", "--player-template", "--version",
                               "--help"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

TEST(CommandLine, ScaleMustBeAWholeNumberFromOneToEight) {
    EXPECT_EQ(errorOf({"--scale", "8"}), "");
    EXPECT_NE(errorOf({"--scale", "0"}), "");
    EXPECT_NE(errorOf({"--scale", "9"}), "");
    EXPECT_NE(errorOf({"--scale", "2.5"}), "");
    EXPECT_NE(errorOf({"--scale", "-1"}), "");
    EXPECT_NE(errorOf({"--scale", " 2"}), "");
    EXPECT_NE(errorOf({"--scale", "99999999999999999999"}), "");
}

TEST(CommandLine, SoundIsOnAtFullVolumeUnlessMutedOrTurnedDown) {
    EXPECT_FALSE(parse({}).options().muted);
    EXPECT_EQ(parse({}).options().volume, 100);
    EXPECT_TRUE(parse({"--mute"}).options().muted);
    EXPECT_EQ(parse({"--volume", "0"}).options().volume, 0);
    EXPECT_EQ(parse({"--volume=35"}).options().volume, 35);
    EXPECT_EQ(errorOf({"--volume", "101"}), "--volume: '101' is not a whole number from 0 to 100");
    EXPECT_NE(errorOf({"--volume", "-1"}), "");
    EXPECT_NE(errorOf({"--volume", "50%"}), "");
    EXPECT_NE(errorOf({"--volume"}), "");
    EXPECT_NE(errorOf({"--mute=yes"}), "");
    EXPECT_NE(errorOf({"--mute", "--mute"}), "");
}

TEST(CommandLine, FramesMustBePositiveAndFitIn32Bits) {
    EXPECT_EQ(parse({"--frames", "4294967295"}).options().frameLimit, 4294967295u);
    EXPECT_NE(errorOf({"--frames", "4294967296"}), "");
    EXPECT_NE(errorOf({"--frames", "0"}), "");
    EXPECT_NE(errorOf({"--frames", "ten"}), "");
}

TEST(CommandLine, ScreenshotNeedsAFrameAndAFile) {
    EXPECT_NE(errorOf({"--screenshot", "a.bmp"}), "");
    EXPECT_NE(errorOf({"--screenshot", "10:"}), "");
    EXPECT_NE(errorOf({"--screenshot", ":a.bmp"}), "");
    EXPECT_NE(errorOf({"--screenshot", "0:a.bmp"}), "");
    EXPECT_NE(errorOf({"--screenshot", "x:a.bmp"}), "");
}

TEST(CommandLine, ErrorsNameTheOptionAndTheBadValue) {
    const std::string error = errorOf({"--scale", "nine"});
    EXPECT_NE(error.find("--scale"), std::string::npos);
    EXPECT_NE(error.find("nine"), std::string::npos);
}

TEST(CommandLine, UnknownOptionIsRejectedByName) {
    EXPECT_EQ(errorOf({"--fulscreen"}), "unknown option '--fulscreen'");
    EXPECT_EQ(errorOf({"--headless", "--bogus=3"}), "unknown option '--bogus'");
}

TEST(CommandLine, PlainArgumentsAreRejected) {
    EXPECT_EQ(errorOf({"level1"}), "unexpected argument 'level1'");
    EXPECT_NE(errorOf({"-"}), "");
}

TEST(CommandLine, MissingValueIsRejected) {
    EXPECT_EQ(errorOf({"--frames"}), "option --frames needs a value");
    EXPECT_NE(errorOf({"--record", ""}), "");
    EXPECT_NE(errorOf({"--data="}), "");
}

TEST(CommandLine, FlagWithAValueIsRejected) {
    EXPECT_NE(errorOf({"--headless=yes"}), "");
    EXPECT_NE(errorOf({"--watch=1"}), "");
}

TEST(CommandLine, SingleOptionsMayNotBeRepeated) {
    EXPECT_NE(errorOf({"--scale", "2", "--scale", "3"}), "");
    EXPECT_NE(errorOf({"--replay", "a", "--replay", "b"}), "");
}

TEST(CommandLine, RecordAndReplayMustNameDifferentFiles) {
    EXPECT_NE(errorOf({"--record", "run.log", "--replay", "run.log"}), "");
    EXPECT_EQ(errorOf({"--record", "new.log", "--replay", "run.log"}), "");
}

TEST(CommandLine, FromMainSkipsTheProgramName) {
    char program[] = "voltaro";
    char headless[] = "--headless";
    char* argv[] = {program, headless, nullptr};
    const CommandLine commandLine = CommandLine::fromMain(2, argv);
    ASSERT_TRUE(commandLine.isValid());
    EXPECT_TRUE(commandLine.options().headless);
}

TEST(CommandLine, CheckTakesAnOptionalDirectory) {
    EXPECT_TRUE(parse({"--check"}).options().checkRequested);
    EXPECT_EQ(parse({"--check"}).options().checkDirectory, "");
    EXPECT_EQ(parse({"--check", "game"}).options().checkDirectory, "game");
    EXPECT_EQ(parse({"--check=game"}).options().checkDirectory, "game");
    // An option after --check is not taken for its directory.
    const CommandLine withData = parse({"--check", "--data", "game"});
    ASSERT_TRUE(withData.isValid());
    EXPECT_EQ(withData.options().checkDirectory, "");
    EXPECT_EQ(withData.options().dataDirectory, "game");
    EXPECT_EQ(errorOf({"--check", "a", "b"}), "unexpected argument 'b'");
}
