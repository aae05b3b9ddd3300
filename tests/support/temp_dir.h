#pragma once

#include <string>

// A fresh temporary directory for one test, removed with its contents when
// the object goes out of scope. While `enter` is in effect the process's
// working directory is the temporary directory (data files are opened by
// relative name, as in the game); the previous one is restored at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return m_path; }
    // Full path of a file inside the directory.
    std::string file(const std::string& name) const;
    // Writes a text (or binary) file inside the directory.
    void write(const std::string& name, const std::string& contents) const;
    // Makes the directory the working directory until destruction.
    void enter();

private:
    std::string m_path;
    std::string m_previousDirectory;
};
