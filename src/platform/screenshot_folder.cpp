#include "platform/screenshot_folder.h"

#include <filesystem>
#include <system_error>
#include <utility>

ScreenshotFolder::ScreenshotFolder(std::string directory) : m_directory(std::move(directory)) {}

bool ScreenshotFolder::nextFile(std::time_t now, std::string& fileName, std::string& error) const {
    std::error_code failure;
    std::filesystem::create_directories(m_directory, failure);
    if (failure || !std::filesystem::is_directory(m_directory, failure)) {
        error = "cannot create the folder \"" + m_directory + "\"" + (failure ? ": " + failure.message() : "");
        return false;  // nowhere to write
    }
    std::tm local{};
    char stamp[32] = "unknown-time";
    if (localtime_r(&now, &local) != nullptr) std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = m_directory + "/voltaro-" + stamp;
    for (int copy = 1; copy < 1000; ++copy) {
        fileName = base + (copy == 1 ? std::string() : "-" + std::to_string(copy)) + ".png";
        if (!std::filesystem::exists(fileName, failure)) return true;
    }
    error = "too many screenshots named \"" + base + "\"";
    return false;  // a thousand in one second
}
