#include "fuzz/fuzz_workspace.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

namespace {

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "FuzzWorkspace: %s\n", what.c_str());
    std::abort();
}

}  // namespace

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
    std::ofstream file(fileName, std::ios::out | std::ios::binary | std::ios::trunc);
    file.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    file.close();
    if (!file) fail("cannot write " + fileName);
}

void FuzzWorkspace::remove(const std::string& name) const {
    std::error_code ignored;
    std::filesystem::remove(m_path + "/" + name, ignored);
}
