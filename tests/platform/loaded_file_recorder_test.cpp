#include "platform/loaded_file_recorder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Files = std::vector<std::string>;

TEST(LoadedFileRecorder, CollectsDistinctNamesInFirstReadOrderOnlyWhileItExists) {
    LoadedFileRecorder::noteRead("before.ini");  // nobody listening: dropped
    Files seen;
    {
        LoadedFileRecorder recorder;
        LoadedFileRecorder::noteRead("levels.ini");
        LoadedFileRecorder::noteRead("room.map");
        LoadedFileRecorder::noteRead("levels.ini");
        LoadedFileRecorder::noteRead("");
        seen = recorder.files();
    }
    EXPECT_EQ(seen, (Files{"levels.ini", "room.map"}));
    LoadedFileRecorder::noteRead("after.ini");  // dropped again, and nothing dangles
}

TEST(LoadedFileRecorder, NestedRecordersGetOnlyTheirOwnReads) {
    LoadedFileRecorder outer;
    LoadedFileRecorder::noteRead("font.ini");
    {
        LoadedFileRecorder inner;
        LoadedFileRecorder::noteRead("voltaro1");
        EXPECT_EQ(inner.files(), Files{"voltaro1"});
    }
    LoadedFileRecorder::noteRead("enemy.ini");
    EXPECT_EQ(outer.files(), (Files{"font.ini", "enemy.ini"}));
}
