#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {

// Writes all bytes to `path`; false when opening or writing failed.
bool writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!file.is_open()) return false;  // the caller reports
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return static_cast<bool>(file);
}

}  // namespace

void OutputFile::write(const std::string& path, const std::string& bytes) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::symlink_status(path, error);
    const bool replaceable = status.type() == std::filesystem::file_type::not_found ||
                             status.type() == std::filesystem::file_type::regular;
    if (!replaceable) {
        if (!writeBytes(path, bytes)) throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
        return;  // written in place
    }

    const std::string temporary = path + ".tmp";
    if (!writeBytes(temporary, bytes)) {
        const std::string reason = std::strerror(errno);
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot write " + path + " (through " + temporary + "): " + reason);
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        const std::string reason = std::strerror(errno);
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot replace " + path + ": " + reason);
    }
}
