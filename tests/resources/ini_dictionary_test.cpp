#include "resources/ini_dictionary.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace {
IniDictionary parse(const std::string& text) {
    return IniDictionary::fromText(text);
}
}  // namespace

TEST(IniDictionary, EmptyOrCommentOnlyFileAnswersDefaults) {
    const IniDictionary empty = parse("");
    const IniDictionary comments = parse("; a comment\n\n;[Section]\n;key=1\n");
    const char* fallback = "fallback";
    EXPECT_EQ(empty.getString("key", "Section", fallback), fallback);  // the same pointer
    EXPECT_EQ(comments.getInt("key", "Section", 42), 42);
    EXPECT_TRUE(comments.getBool("key", "Section", true));
}

TEST(IniDictionary, MissingFileIsEmptyAndNotLoaded) {
    TempDir dir;
    const IniDictionary dictionary(dir.file("absent.ini"));
    EXPECT_FALSE(dictionary.isLoaded());
    EXPECT_EQ(dictionary.getInt("amount", "Levels", 7), 7);
}

TEST(IniDictionary, ReadsAFileFromDisk) {
    TempDir dir;
    dir.write("levels.ini", "[Common]\nreadyMessage=READY\n");
    const IniDictionary dictionary(dir.file("levels.ini"));
    EXPECT_TRUE(dictionary.isLoaded());
    EXPECT_STREQ(dictionary.getString("readyMessage", "Common", "empty"), "READY");
}

TEST(IniDictionary, EmptyValueIsPresentAndConvertsToZero) {
    const IniDictionary dictionary = parse("[S]\nkey=\n");
    EXPECT_STREQ(dictionary.getString("key", "S", "default"), "");
    EXPECT_EQ(dictionary.getInt("key", "S", 9), 0);
    EXPECT_FALSE(dictionary.getBool("key", "S", false));
}

TEST(IniDictionary, LineStartingWithEqualsStoresUnderEmptyKey) {
    const IniDictionary dictionary = parse("[S]\n=value\n");
    EXPECT_STREQ(dictionary.getString("", "S", "none"), "value");
}

TEST(IniDictionary, OnlyTheFirstEqualsSplits) {
    const IniDictionary dictionary = parse("[S]\nformula = a=b=c\n");
    EXPECT_STREQ(dictionary.getString("formula", "S", ""), "a=b=c");
}

TEST(IniDictionary, SemicolonIsACommentOnlyInColumnZero) {
    const IniDictionary dictionary = parse("[S]\n ;remark\nspeed=12 ; twelve\n");
    EXPECT_STREQ(dictionary.getString(";remark", "S", "none"), ";remark");
    EXPECT_EQ(dictionary.getInt("speed", "S", 0), 12);
    EXPECT_STREQ(dictionary.getString("speed", "S", ""), "12 ; twelve");
}

TEST(IniDictionary, TabsAreNotTrimmed) {
    const IniDictionary dictionary = parse("[S]\nkey\t=\t5\n");
    EXPECT_EQ(dictionary.getInt("key", "S", -1), -1);  // the key is "key\t"
    EXPECT_STREQ(dictionary.getString("key\t", "S", ""), "\t5");
    EXPECT_EQ(dictionary.getInt("key\t", "S", -1), 5);  // atoi skips the tab
}

TEST(IniDictionary, LineWithoutEqualsIsKeyAndValue) {
    const IniDictionary dictionary = parse("[S]\n  lonely word  \n");
    EXPECT_STREQ(dictionary.getString("lonely word", "S", ""), "lonely word");
}

TEST(IniDictionary, HeaderRules) {
    const IniDictionary dictionary = parse(
        "[ Spaced ]\na=1\n"
        "   [Trimmed]   \nb=2\n"
        "[Open\nc=3\n"
        "[]\nd=4\n");
    EXPECT_EQ(dictionary.getInt("a", " Spaced ", 0), 1);
    EXPECT_EQ(dictionary.getInt("a", "Spaced", 0), 0);
    EXPECT_EQ(dictionary.getInt("b", "Trimmed", 0), 2);
    EXPECT_STREQ(dictionary.getString("[Open", "Trimmed", ""), "[Open");  // not a header
    EXPECT_EQ(dictionary.getInt("c", "Trimmed", 0), 3);
    EXPECT_EQ(dictionary.getInt("d", "", 0), 4);
}

TEST(IniDictionary, HeaderWithRemarkIsAnEntryOfThePreviousSection) {
    const IniDictionary dictionary = parse("[First]\n[Second] ; remark\nkey=1\n");
    EXPECT_EQ(dictionary.getInt("key", "First", 0), 1);
    EXPECT_EQ(dictionary.getInt("key", "Second", 0), 0);
}

TEST(IniDictionary, RepeatedSectionsMergeAndFirstValueWins) {
    const IniDictionary dictionary = parse("[S]\na=1\na=2\n[T]\n[S]\na=3\nb=4\n");
    EXPECT_EQ(dictionary.getInt("a", "S", 0), 1);
    EXPECT_EQ(dictionary.getInt("b", "S", 0), 4);
}

TEST(IniDictionary, KeysBeforeTheFirstHeaderBelongToTheEmptySection) {
    const IniDictionary dictionary = parse("top=1\n[S]\nx=2\n");
    EXPECT_EQ(dictionary.getInt("top", "", 0), 1);
    EXPECT_EQ(dictionary.getInt("top", "S", 0), 0);
}

TEST(IniDictionary, CrLfAndLfFilesReadTheSameAndLastLineNeedsNoLineFeed) {
    const IniDictionary crlf = parse("[S]\r\nname=abc\r\nlast=9");
    EXPECT_STREQ(crlf.getString("name", "S", ""), "abc");
    EXPECT_EQ(crlf.getInt("last", "S", 0), 9);
    const IniDictionary innerCr = parse("[S]\nname=a\rb\r\r\n");
    EXPECT_STREQ(innerCr.getString("name", "S", ""), "a\rb\r");  // only one trailing CR goes
}

TEST(IniDictionary, NamesAreCaseSensitive) {
    const IniDictionary dictionary = parse("[Options]\nnoJumpDelay=true\n");
    EXPECT_FALSE(dictionary.getBool("nojumpdelay", "Options", false));
    EXPECT_FALSE(dictionary.getBool("noJumpDelay", "options", false));
    EXPECT_TRUE(dictionary.getBool("noJumpDelay", "Options", false));
}

TEST(IniDictionary, BooleansAreExactlyTrueOrFalse) {
    const IniDictionary dictionary = parse("[S]\nyes=true\nno=false\ncap=True\ndigit=1\nspaced=true x\n");
    EXPECT_TRUE(dictionary.getBool("yes", "S", false));
    EXPECT_FALSE(dictionary.getBool("no", "S", true));
    EXPECT_TRUE(dictionary.getBool("cap", "S", true));
    EXPECT_FALSE(dictionary.getBool("cap", "S", false));
    EXPECT_FALSE(dictionary.getBool("digit", "S", false));
    EXPECT_TRUE(dictionary.getBool("spaced", "S", true));
}

TEST(IniDictionary, IntegerConversionFollowsAtoi) {
    EXPECT_EQ(IniDictionary::toInt("  -42abc"), -42);
    EXPECT_EQ(IniDictionary::toInt("+7"), 7);
    EXPECT_EQ(IniDictionary::toInt("\t\v\f\r\n 3"), 3);
    EXPECT_EQ(IniDictionary::toInt("0x1F"), 0);
    EXPECT_EQ(IniDictionary::toInt("--1"), 0);
    EXPECT_EQ(IniDictionary::toInt("- 1"), 0);
    EXPECT_EQ(IniDictionary::toInt("abc"), 0);
    EXPECT_EQ(IniDictionary::toInt(""), 0);
}

TEST(IniDictionary, IntegerConversionWrapsInThirtyTwoBits) {
    EXPECT_EQ(IniDictionary::toInt("2147483647"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(IniDictionary::toInt("2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IniDictionary::toInt("-2147483648"), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(IniDictionary::toInt("4294967297"), 1);
    EXPECT_EQ(IniDictionary::toInt("99999999999999999999999"), -159383553);
}

TEST(IniDictionary, LinesPointAtTheKeptValueAndTheFirstHeader) {
    const IniDictionary ini = parse("; header comment\n[A]\nkey=1\nkey=2\n\n[B]\nother=3\n[A]\nlate=4\n");
    EXPECT_EQ(ini.lineOf("key", "A"), 3);  // the first value wins, so does its line
    EXPECT_EQ(ini.lineOf("late", "A"), 9);
    EXPECT_EQ(ini.lineOf("other", "B"), 7);
    EXPECT_EQ(ini.lineOf("missing", "A"), 0);
    EXPECT_EQ(ini.sectionLine("A"), 2);
    EXPECT_EQ(ini.sectionLine("B"), 6);
    EXPECT_EQ(ini.sectionLine("C"), 0);
}

TEST(IniDictionary, AByteOrderMarkAtTheStartIsSkipped) {
    // Without the skip the first header would read "\xEF\xBB\xBF[YSpeed]",
    // and a player file would float away with gravity 0.
    TempDir dir;
    dir.write("player", "\xEF\xBB\xBF[YSpeed]\r\ngravityInt = 1\r\n");
    const IniDictionary dictionary(dir.file("player"));
    EXPECT_EQ(dictionary.getInt("gravityInt", "YSpeed", 0), 1);
    EXPECT_TRUE(dictionary.hadByteOrderMark());
    EXPECT_EQ(dictionary.sectionLine("YSpeed"), 1);

    const IniDictionary key = IniDictionary::fromText("\xEF\xBB\xBFk = 2\n");  // a key before any header
    EXPECT_EQ(key.getInt("k", "", 0), 2);
    const IniDictionary comment = IniDictionary::fromText("\xEF\xBB\xBF; remark\n[A]\nk = 3\n");
    EXPECT_EQ(comment.keys().size(), 1u);
    // Only at the very start: later the bytes are part of the text.
    const IniDictionary later = IniDictionary::fromText("[A]\n\xEF\xBB\xBFk = 4\n");
    EXPECT_FALSE(later.hadByteOrderMark());
    EXPECT_EQ(later.getInt("k", "A", 0), 0);
}

TEST(IniDictionary, AFileThatIsNotRegularOrTooLargeIsEmptyAndSaysWhy) {
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("/dev/urandom", dir.file("random").c_str()), 0);
    dir.write("big", std::string(IniDictionary::kMaxFileBytes + 1, ';'));
    dir.write("limit", "[A]\nk = 5\n" + std::string(IniDictionary::kMaxFileBytes - 11, ';'));
    const IniDictionary fifo(dir.file("fifo"));
    EXPECT_FALSE(fifo.isLoaded());
    EXPECT_EQ(fifo.loadProblem(), "is not a regular file (a FIFO)");
    const IniDictionary random(dir.file("random"));
    EXPECT_FALSE(random.isLoaded());
    EXPECT_EQ(random.loadProblem(), "is not a regular file (a character device)");
    const IniDictionary big(dir.file("big"));
    EXPECT_FALSE(big.isLoaded());
    EXPECT_EQ(big.loadProblem(), "is 1048577 bytes, more than the 1048576 bytes an INI file may have");
    const IniDictionary limit(dir.file("limit"));
    EXPECT_TRUE(limit.isLoaded());
    EXPECT_EQ(limit.getInt("k", "A", 0), 5);
}

TEST(IniDictionary, KeysListsEveryStoredKeyWithItsLine) {
    const IniDictionary dictionary = IniDictionary::fromText("top = 0\n[B]\nb = 1\n[A]\ngravityInt\t= 2\n");
    const std::vector<IniDictionary::KeyLocation> keys = dictionary.keys();
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].section, "");
    EXPECT_EQ(keys[1].section, "A");
    EXPECT_EQ(keys[1].key, "gravityInt\t");
    EXPECT_EQ(keys[1].line, 5);
    EXPECT_EQ(keys[2].key, "b");
}

TEST(IniDictionary, SectionsAndKeysAreListedInTheOrderOfTheirLines) {
    const IniDictionary ini = parse("loose=0\n[Zeta]\nz=1\nb=2\n[Alpha]\nkey=3\n[Zeta]\na=4\nb=5\n");
    EXPECT_EQ(ini.sectionNames(), (std::vector<std::string>{"", "Zeta", "Alpha"}));
    EXPECT_EQ(ini.keysOf("Zeta"), (std::vector<std::string>{"z", "b", "a"}));  // a repeated key once, at its first line
    EXPECT_EQ(ini.keysOf(""), std::vector<std::string>{"loose"});
    EXPECT_TRUE(ini.keysOf("Beta").empty());
    EXPECT_TRUE(parse("").sectionNames().empty());
}
