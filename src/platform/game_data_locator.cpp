#include "platform/game_data_locator.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace {
bool holdsGame(const std::string& directory) {
    std::error_code ignored;
    return !directory.empty() &&
           std::filesystem::is_regular_file(std::filesystem::path(directory) / GameDataLocator::kMarkerFile, ignored);
}

std::string executablePath() {
#ifdef __EMSCRIPTEN__
    // In the browser the file system is the page's own, packed as an
    // installation under / would be: the game is in /share/voltaro/game.
    return "/bin/voltaro";
#else
    // The kernel's link names the executable itself, with every symbolic
    // link on the way already resolved.
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return std::string();  // unknown, or cut off
    return std::string(buffer, static_cast<size_t>(length));
#endif
}
}  // namespace

GameDataLocator::GameDataLocator(std::string workingDirectory, std::string executable)
    : m_workingDirectory(std::move(workingDirectory)) {
    if (executable.empty()) return;  // nowhere to look for an installation
    const std::filesystem::path binFolder = std::filesystem::path(executable).parent_path();
    m_installedGame = (binFolder / ".." / "share" / "voltaro" / "game").lexically_normal().string();
}

GameDataLocator GameDataLocator::forThisProcess() {
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return GameDataLocator(error ? std::string(".") : current.string(), executablePath());
}

GameDataLocator::Found GameDataLocator::locate() const {
    if (holdsGame(m_workingDirectory)) return Found::WorkingDirectory;
    if (holdsGame(m_installedGame)) return Found::Installed;
    return Found::Nothing;
}
