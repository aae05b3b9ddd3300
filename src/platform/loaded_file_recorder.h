#pragma once

#include <string>
#include <vector>

// Collects the names of the data files read while it exists: every loader
// (INI files, bitmaps, tile maps) calls noteRead with the name it opens, so
// whoever builds a game state can learn exactly which files that state came
// from without each state keeping its own list. Recorders nest: a note goes
// to the innermost one only. Single-threaded, like the rest of the engine.
class LoadedFileRecorder {
public:
    // Becomes the active recorder until it is destroyed.
    LoadedFileRecorder();
    ~LoadedFileRecorder();
    LoadedFileRecorder(const LoadedFileRecorder&) = delete;
    LoadedFileRecorder& operator=(const LoadedFileRecorder&) = delete;

    // Tells the active recorder, if there is one, that a file of this name was
    // opened for reading (whether or not that succeeded: a missing file that
    // later appears matters as much as one that changes).
    static void noteRead(const std::string& fileName);

    // The distinct names noted, in the order of their first read.
    const std::vector<std::string>& files() const { return m_files; }

private:
    std::vector<std::string> m_files;
    LoadedFileRecorder* m_pOuter;  // the recorder that was active before this one
};
