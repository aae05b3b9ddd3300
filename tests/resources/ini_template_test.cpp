// The template written from a schema: read back as an INI file it must hold
// exactly the declared keys, at their defaults, in the declared order, with
// every comment on a line of its own.
#include "resources/ini_template.h"

#include "resources/ini_dictionary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

const IniSchema kSchema({
    {"Moves", "runInt", "whole pixels per update", "0", "full speed"},
    {"Moves", "runFraction", "1/256 pixel per update", "0", "full speed"},
    {"Moves", "hop", "true or false", "false", "hops instead of walking"},
    {"Sheets", "amount", "count", "0", "number of sheets"},
    {"Sheets", "sheet#", "file name", "empty", "image of sheet #"},
    {"Clips", "amount", "count", "0", "number of clips"},
    {"Clip#", "nFrames", "count", "0", "frames of the clip"},
    {"Clip#", "frame#Cell", "cell index", "0", "cell of the frame"},
    {"Moves", "pause", "updates", "8", "declared by another loader, after the others"},
    {"Loose", "item#", "text", "", "an index nothing counts"},
});

std::string render(const IniSchema& schema, const std::vector<std::string>& introduction = {"Intro."}) {
    return IniTemplate(schema).text(introduction);
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The comment lines right above the first line that starts with `key=`.
std::string commentAbove(const std::string& text, const std::string& key) {
    const std::vector<std::string> lines = linesOf(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, key.size() + 1, key + "=") != 0) continue;
        size_t first = i;
        while (first > 0 && (lines[first - 1][0] == ';' || lines[first - 1].find('=') != std::string::npos)) --first;
        std::string comment;
        for (size_t j = first; j < i; ++j) {
            if (lines[j][0] == ';') comment += lines[j] + "\n";
        }
        return comment;
    }
    return "no line " + key + "=";
}

}  // namespace

TEST(IniTemplate, ReadsBackAsEveryDeclaredKeyAtItsDefaultInDeclarationOrder) {
    const std::string text = render(kSchema);
    const IniDictionary file = IniDictionary::fromText(text);
    // A section's keys declared later (Moves/pause) are written with it.
    EXPECT_EQ(file.sectionNames(), (std::vector<std::string>{"Moves", "Sheets", "Clips", "Clip0", "Loose"}));
    EXPECT_EQ(file.keysOf("Moves"), (std::vector<std::string>{"runInt", "runFraction", "hop", "pause"}));
    EXPECT_EQ(file.keysOf("Sheets"), (std::vector<std::string>{"amount", "sheet0", "sheet1"}));
    EXPECT_EQ(file.keysOf("Clip0"), (std::vector<std::string>{"nFrames", "frame0Cell", "frame1Cell"}));
    EXPECT_EQ(file.keysOf("Loose"), (std::vector<std::string>{"item0", "item1"}));
    for (const IniDictionary::KeyLocation& stored : file.keys()) {
        EXPECT_TRUE(kSchema.knows(stored.section, stored.key)) << stored.section << "/" << stored.key;
    }
    EXPECT_STREQ(file.getString("hop", "Moves", "?"), "false");
    EXPECT_STREQ(file.getString("pause", "Moves", "?"), "8");
    EXPECT_STREQ(file.getString("sheet1", "Sheets", "?"), "empty");
    EXPECT_STREQ(file.getString("item0", "Loose", "?"), "");  // an empty default is written as nothing
    EXPECT_EQ(text.substr(0, 9), "; Intro.\n");
}

TEST(IniTemplate, CommentsGiveTheMeaningTheUnitAndHowAnIndexRuns) {
    const std::string text = render(kSchema);
    EXPECT_EQ(commentAbove(text, "hop"), "; hops instead of walking [true or false]\n");
    // The two halves of a speed share their meaning and name their own units.
    EXPECT_EQ(commentAbove(text, "runInt"),
              "; full speed\n; runInt [whole pixels per update]\n; runFraction [1/256 pixel per update]\n");
    EXPECT_EQ(commentAbove(text, "runFraction"), commentAbove(text, "runInt"));
    // An index is counted in its own section, a section's index in the section named like it.
    EXPECT_EQ(commentAbove(text, "sheet0"), "; sheetN (N from 0 to amount - 1): image of sheet N [file name]\n");
    EXPECT_EQ(commentAbove(text, "frame0Cell"),
              "; frameNCell (N from 0 to nFrames - 1): cell of the frame [cell index]\n");
    EXPECT_NE(text.find("; [ClipN] (N from 0 to [Clips] amount - 1): one section per index, each with\n"
                        "; the keys below.\n[Clip0]\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(commentAbove(text, "item0"), "; itemN (N from 0 up): an index nothing counts [text]\n");
}

TEST(IniTemplate, CommentsAreWholeLinesWithinTheWidthAndNeverSplitAUnit) {
    const std::string longMeaning(30, 'x');
    const IniSchema schema({
        {"S", "a", "1/256 pixel per update per update", "0",
         "a meaning long enough to need three lines of comment, " + longMeaning + " " + longMeaning + " " +
             longMeaning + " and then some more words"},
        {"S", "b", "pixels", "0", "a meaning with\na line break\tand a tab"},
        {"S", "c", "pixels", "0", std::string(100, 'w')},  // one word longer than a line
    });
    const std::string text = render(schema, {"Intro.", "- a list item long enough to be broken over two lines of the "
                                                       "comment, so that its second line is indented"});
    for (const std::string& line : linesOf(text)) {
        if (line.empty() || line[0] == '[') continue;
        if (line[0] == ';') {
            const bool oneWord = line.find(' ', 2) == std::string::npos;
            EXPECT_TRUE(line.size() <= IniTemplate::kLineWidth || oneWord) << line;
            EXPECT_EQ(std::count(line.begin(), line.end(), '['), std::count(line.begin(), line.end(), ']')) << line;
            continue;
        }
        EXPECT_TRUE(line == "a=0" || line == "b=0" || line == "c=0") << "not a comment, header or key: " << line;
    }
    EXPECT_NE(text.find("; a meaning with a line break and a tab [pixels]\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n;   that its second line is indented\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\n; [1/256 pixel per update per update]\na=0\n"), std::string::npos) << text;
    const IniDictionary file = IniDictionary::fromText(text);
    EXPECT_EQ(file.keysOf("S"), (std::vector<std::string>{"a", "b", "c"}));
}
