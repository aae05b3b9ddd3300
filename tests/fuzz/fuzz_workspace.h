#pragma once

#include <string>

// A private scratch directory for one fuzzing process: the engine opens its
// data files by relative name, so each iteration writes the files there and
// runs with it as the working directory. enter and leave bracket an
// iteration (input files named on libFuzzer's command line stay relative to
// the original directory); the directory and its files are removed when the
// process exits normally.
class FuzzWorkspace {
public:
    // The process-wide workspace, created (mkdtemp) on first use.
    static FuzzWorkspace& instance();

    // Makes the scratch directory the working directory.
    void enter();
    // Back to the directory the process started in.
    void leave();
    // Writes (replaces) a file inside the scratch directory. Contents that
    // are exactly one of these lines make a file of another kind instead,
    // as a careless or malicious author's game folder may hold:
    //   %%fifo          a FIFO (reading it would wait for a writer for ever)
    //   %%directory     a directory
    //   %%link DEVICE   a symbolic link to /dev/urandom, /dev/zero or /dev/null
    //   %%sparse N      a sparse file of N bytes (up to 4 GiB; costs no disk)
    void write(const std::string& name, const std::string& contents) const;
    // Removes a file inside the scratch directory, if present.
    void remove(const std::string& name) const;

    ~FuzzWorkspace();
    FuzzWorkspace(const FuzzWorkspace&) = delete;
    FuzzWorkspace& operator=(const FuzzWorkspace&) = delete;

private:
    FuzzWorkspace();
    // Makes the special file `contents` asks for; false when it asks for none.
    static bool writeSpecial(const std::string& fileName, const std::string& contents);

    std::string m_path;
    std::string m_home;  // the working directory at start-up
};
