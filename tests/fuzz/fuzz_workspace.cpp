#include "fuzz/fuzz_workspace.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "FuzzWorkspace: %s\n", what.c_str());
    std::abort();
}

// The text of a special file's part without its line end, or "" when the
// part is ordinary contents.
std::string specialRequest(const std::string& contents) {
    if (contents.compare(0, 2, "%%") != 0 || contents.compare(0, 4, "%%%%") == 0) return "";
    std::string request = contents.substr(2);
    if (!request.empty() && request.back() == '\n') request.pop_back();
    return request;
}

// Devices a data file may be linked to: they never end (urandom, zero) or are always empty (null).
bool isAllowedDevice(const std::string& target) {
    return target == "/dev/urandom" || target == "/dev/zero" || target == "/dev/null";
}

}  // namespace

bool FuzzWorkspace::writeSpecial(const std::string& fileName, const std::string& contents) {
    const std::string request = specialRequest(contents);
    if (request == "fifo") return ::mkfifo(fileName.c_str(), 0600) == 0;
    if (request == "directory") return ::mkdir(fileName.c_str(), 0700) == 0;
    if (request.compare(0, 5, "link ") == 0 && isAllowedDevice(request.substr(5))) {
        return ::symlink(request.substr(5).c_str(), fileName.c_str()) == 0;
    }
    if (request.compare(0, 7, "sparse ") == 0) {
        const long long size = std::atoll(request.c_str() + 7);
        if (size < 0 || size > (1LL << 32)) return false;  // an ordinary file with the request as its text
        std::ofstream created(fileName, std::ios::out | std::ios::binary | std::ios::trunc);
        created.close();
        return ::truncate(fileName.c_str(), static_cast<off_t>(size)) == 0;
    }
    return false;
}

FuzzWorkspace& FuzzWorkspace::instance() {
    static FuzzWorkspace workspace;  // destroyed at normal exit, which removes the directory
    return workspace;
}

FuzzWorkspace::FuzzWorkspace() {
    std::error_code error;
    m_home = std::filesystem::current_path(error).string();
    if (error) fail("cannot read the working directory: " + error.message());
    std::string pattern = (std::filesystem::temp_directory_path(error) / "voltaro-fuzz-XXXXXX").string();
    if (error) fail("no temporary directory: " + error.message());
    if (mkdtemp(pattern.data()) == nullptr) fail("mkdtemp failed for " + pattern);
    m_path = pattern;
}

FuzzWorkspace::~FuzzWorkspace() {
    std::error_code ignored;
    std::filesystem::current_path(m_home, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

void FuzzWorkspace::enter() {
    if (chdir(m_path.c_str()) != 0) fail("cannot enter " + m_path);
}

void FuzzWorkspace::leave() {
    if (chdir(m_home.c_str()) != 0) fail("cannot return to " + m_home);
}

void FuzzWorkspace::write(const std::string& name, const std::string& contents) const {
    const std::string fileName = m_path + "/" + name;
    std::error_code ignored;
    std::filesystem::remove_all(fileName, ignored);  // whatever kind of file the last input left there
    if (writeSpecial(fileName, contents)) return;
    std::ofstream file(fileName, std::ios::out | std::ios::binary | std::ios::trunc);
    file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    file.close();
    if (!file) fail("cannot write " + fileName);
}

void FuzzWorkspace::remove(const std::string& name) const {
    std::error_code ignored;
    std::filesystem::remove_all(m_path + "/" + name, ignored);
}
