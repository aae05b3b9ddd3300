#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "voltaro-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary directory";
    }
    m_path = pattern;
}

TempDir::~TempDir() {
    if (!m_previousDirectory.empty()) {
        if (chdir(m_previousDirectory.c_str()) != 0) ADD_FAILURE() << "cannot return to " << m_previousDirectory;
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string TempDir::file(const std::string& name) const {
    return m_path + "/" + name;
}

void TempDir::write(const std::string& name, const std::string& contents) const {
    std::ofstream out(file(name), std::ios::binary);
    out << contents;
    if (!out) ADD_FAILURE() << "cannot write " << file(name);
}

void TempDir::enter() {
    if (m_previousDirectory.empty()) m_previousDirectory = std::filesystem::current_path().string();
    if (chdir(m_path.c_str()) != 0) ADD_FAILURE() << "cannot enter " << m_path;
}
