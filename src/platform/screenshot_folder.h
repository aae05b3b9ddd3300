#pragma once

#include <ctime>
#include <string>

// Names the screenshots a player takes: "voltaro-YYYYMMDD-HHMMSS.png" in
// local time, in one folder that is created when the first one is taken.
// Two in the same second get "-2", "-3", ... so none is overwritten.
class ScreenshotFolder {
public:
    explicit ScreenshotFolder(std::string directory = "screenshots");

    // A free file name for a screenshot taken at `now`, the folder created
    // if needed; false with the reason in `error`.
    bool nextFile(std::time_t now, std::string& fileName, std::string& error) const;

private:
    std::string m_directory;
};
