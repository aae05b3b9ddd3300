#include <gtest/gtest.h>

#include "song_parser.h"
#include "source_error_text.h"

namespace {

const std::string kHead =
    "channels 2\n"
    "instrument lead\nwave square 25\nvolume 40\nenvelope 2 6 32 10\npan 96\n"
    "sample kick\nwave triangle\nfreq 150\nslide 40\nlength 100\ndecay 80\n";

std::string errorOf(const std::string& text) {
    return sourceErrorText([&text] { SongParser::parseText(text, "tune.song"); });
}

TEST(SongParserTest, ReadsSettingsInstrumentsAndSamples) {
    const Song song = SongParser::parseText(
        "title  Tower Climb  \nspeed 4\ntempo 150\n" + kHead + "pattern a\n. | .\norder a\n", "tune.song");
    EXPECT_EQ(song.title, "Tower Climb");
    EXPECT_EQ(song.speed, 4);
    EXPECT_EQ(song.tempo, 150);
    EXPECT_EQ(song.channels, 2);
    ASSERT_EQ(song.instruments.size(), 2u);
    const Song::Instrument& lead = song.instruments[0];
    EXPECT_EQ(lead.name, "lead");
    EXPECT_FALSE(lead.oneShot);
    EXPECT_EQ(lead.wave.dutyPercent(), 25);
    EXPECT_EQ(lead.volume, 40);
    EXPECT_EQ(lead.pan, 96);
    EXPECT_TRUE(lead.envelope.enabled);
    EXPECT_EQ(lead.envelope.attackTicks, 2);
    EXPECT_EQ(lead.envelope.decayTicks, 6);
    EXPECT_EQ(lead.envelope.sustainLevel, 32);
    EXPECT_EQ(lead.envelope.releaseTicks, 10);
    const Song::Instrument& kick = song.instruments[1];
    EXPECT_TRUE(kick.oneShot);
    ASSERT_EQ(kick.effect.tones.size(), 1u);
    EXPECT_EQ(kick.effect.tones[0].wave.kind(), WaveShape::Kind::Triangle);
    EXPECT_EQ(kick.effect.tones[0].decayMs, 80);
    EXPECT_EQ(kick.volume, 64);
}

TEST(SongParserTest, ReadsCellsRowsAndTheOrder) {
    const Song song = SongParser::parseText(kHead +
                                                "pattern verse\n"
                                                "C-4 lead v48 | C-2 kick\n"
                                                "E-4 447      | ...\n"
                                                "off          | Bb1 kick A04\n"
                                                "             | v0\n"
                                                "pattern B2\n"
                                                "B-7 lead | C0 kick\n"
                                                "order verse B2\norder verse\nloop 2\n",
                                            "tune.song");
    ASSERT_EQ(song.patterns.size(), 2u);
    const Song::Pattern& verse = song.patterns[0];
    EXPECT_EQ(verse.name, "verse");
    ASSERT_EQ(verse.rows.size(), 4u);
    const Song::Cell& first = verse.rows[0][0];
    EXPECT_EQ(first.note, 49);  // C-4: the module counts from C-0 = 1
    EXPECT_EQ(first.instrument, 1);
    EXPECT_EQ(first.volume, 48);
    EXPECT_EQ(first.effect, -1);
    const Song::Cell& second = verse.rows[1][0];
    EXPECT_EQ(second.note, 53);
    EXPECT_EQ(second.instrument, 1);  // the channel's instrument carries on within the pattern
    EXPECT_EQ(second.effect, 4);
    EXPECT_EQ(second.parameter, 0x47);
    EXPECT_EQ(verse.rows[1][1].note, 0);  // dots are an empty cell
    EXPECT_EQ(verse.rows[1][1].instrument, 0);
    EXPECT_EQ(verse.rows[2][0].note, Song::kKeyOff);
    EXPECT_EQ(verse.rows[2][0].instrument, 0);
    EXPECT_EQ(verse.rows[2][1].note, 23);  // B flat 1
    EXPECT_EQ(verse.rows[2][1].instrument, 2);
    EXPECT_EQ(verse.rows[2][1].effect, 0xA);
    EXPECT_EQ(verse.rows[2][1].parameter, 0x04);
    EXPECT_EQ(verse.rows[3][0].note, 0);  // a blank cell
    EXPECT_EQ(verse.rows[3][1].volume, 0);
    EXPECT_EQ(song.patterns[1].rows[0][0].note, 96);
    EXPECT_EQ(song.patterns[1].rows[0][1].note, 1);
    EXPECT_EQ(song.order, (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(song.loopPosition, 1);
}

TEST(SongParserTest, ReportsBadSettingsAndDefinitions) {
    EXPECT_EQ(errorOf("speed 0\n"), "tune.song:1:7: the speed (ticks per row) must be a whole number from 1 to 31, not '0'");
    EXPECT_EQ(errorOf("tempo 120\ntempo 130\n"), "tune.song:2:1: 'tempo' is already given at tune.song:1");
    EXPECT_EQ(errorOf("title A title that is far too long\n"),
              "tune.song:1:7: the title is 28 characters long, at most 20 fit in the module");
    EXPECT_EQ(errorOf("rows 64\n"), "tune.song:1:1: unknown directive 'rows'");
    EXPECT_EQ(errorOf("instrument Lead\n"),
              "tune.song:1:12: an instrument name starts with a lower-case letter, is made of lower-case letters, "
              "digits, '_' and '-', and is not a directive, 'off' or a volume such as 'v40'");
    EXPECT_EQ(errorOf("instrument v12\n").substr(0, 17), "tune.song:1:12: a");
    EXPECT_EQ(errorOf("instrument wave\n").substr(0, 17), "tune.song:1:12: a");
    EXPECT_EQ(errorOf("instrument a\ninstrument a\n"), "tune.song:2:12: instrument 'a' is already defined at tune.song:1");
    EXPECT_EQ(errorOf("instrument a\nwave square\nwave triangle\n"),
              "tune.song:3:1: 'wave' is already given for this instrument at tune.song:2");
    EXPECT_EQ(errorOf("instrument a\nfreq 440\n"),
              "tune.song:2:1: unknown instrument directive 'freq' (wave, volume, envelope or pan)");
    EXPECT_EQ(errorOf("instrument a\nvolume 65\n"), "tune.song:2:8: the volume must be a whole number from 0 to 64, not '65'");
    EXPECT_EQ(errorOf("instrument a\nenvelope 1 2 3\n"),
              "tune.song:2:15: usage: envelope ATTACK DECAY SUSTAIN RELEASE (ticks, ticks, 0..64, ticks)");
    // A sample's lines are the sound-effect format, with its own checks.
    EXPECT_EQ(errorOf("sample hat\nwave noise\nfreq 8000\n"), "tune.song:2:1: the tone starting here has no 'length'");
    EXPECT_EQ(errorOf("sample hat\nlength 10\nfreq 8000\nlength 20\n"),
              "tune.song:4:1: 'length' is already given for this tone at tune.song:2");
    EXPECT_EQ(errorOf("sample hat\npattern a\n"), "tune.song:1:8: sample 'hat' has no tone");
    EXPECT_EQ(errorOf("pattern a\norder a\n"), "tune.song:1:9: pattern 'a' has no rows");
    EXPECT_EQ(errorOf("pattern a\n.|.|.|.\npattern a\n"), "tune.song:3:9: pattern 'a' is already defined at tune.song:1");
    EXPECT_EQ(errorOf("pattern a\n.|.|.|.\nchannels 2\n"), "tune.song:3:1: 'channels' must come before the first pattern");
    EXPECT_EQ(errorOf("pattern a\n.|.|.|.\norder a b\n"), "tune.song:3:9: no pattern named 'b' was defined before");
    EXPECT_EQ(errorOf("pattern a\n.|.|.|.\norder a\nloop 2\n"),
              "tune.song:4:6: the loop position (in the order list) must be a whole number from 1 to 1, not '2'");
    EXPECT_EQ(errorOf("pattern a\n.|.|.|.\n"), "tune.song: the tune has no 'order' line");
}

TEST(SongParserTest, ReportsBadCellsWithTheirColumn) {
    const std::string head = kHead + "pattern a\n";
    EXPECT_EQ(errorOf(head + "C-4 lead\n"),
              "tune.song:14:1: the row has 1 cells, but the tune has 2 channels (cells are separated by '|')");
    EXPECT_EQ(errorOf(head + "C-4 lead | C-4 bass\n"), "tune.song:14:16: no instrument or sample named 'bass' was defined before");
    EXPECT_EQ(errorOf(head + ". | C-4\n"),
              "tune.song:14:5: the note has no instrument: name one in this cell or earlier in this channel of the pattern");
    EXPECT_EQ(errorOf(head + "C-8 lead | .\n"), "tune.song:14:1: note 'C-8' is outside C-0..B-7");
    EXPECT_EQ(errorOf(head + "Cb0 lead | .\n"), "tune.song:14:1: note 'Cb0' is outside C-0..B-7");
    EXPECT_EQ(errorOf(head + "C-4 lead v65 | .\n"), "tune.song:14:10: a volume is v0 to v64, not 'v65'");
    EXPECT_EQ(errorOf(head + ". | C-4 kick B00\n"),
              "tune.song:14:14: effects B and D (jumps) are not allowed: the order list and 'loop' decide where the tune goes");
    EXPECT_EQ(errorOf(head + "C-4 E-4 lead | .\n"), "tune.song:14:5: the cell already has a note");
    EXPECT_EQ(errorOf(head + "C-4 lead kick | .\n"), "tune.song:14:10: the cell already has an instrument");
    EXPECT_EQ(errorOf(head + "C-4 lead 0x7 | .\n"),
              "tune.song:14:10: '0x7' is not a note (C-4, F#3, Bb2), 'off', an instrument, a volume (v0..v64) or "
              "an effect (three hexadecimal digits)");
    // The instrument carries on within a pattern only.
    EXPECT_EQ(errorOf(head + "C-4 lead | .\npattern b\nD-4 | .\n"),
              "tune.song:16:1: the note has no instrument: name one in this cell or earlier in this channel of the pattern");
}

}  // namespace
