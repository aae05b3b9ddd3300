#pragma once

#include "platform/clock.h"

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

// Notices when files change on disk by comparing what stat reports (whether
// the file exists, its size, modification time to the nanosecond and inode)
// with what it reported at the previous look. Polling needs no extra
// dependency and works on every file system; a save that replaces the file
// by renaming a new one over it changes the inode even when size and time
// happen to match. Names are taken relative to the working directory.
class FileWatcher {
public:
    static constexpr Uint32 kPollInterval = 1000;  // milliseconds between looks in pollIfDue

    // `clock` paces pollIfDue; it is not owned and must outlive the watcher.
    explicit FileWatcher(Clock& clock);

    // Watches exactly these files from now on, taking their current state as
    // unchanged.
    void watch(const std::vector<std::string>& files);
    // Adds files to the watched ones (their current state counts as unchanged);
    // names already watched keep the state seen last.
    void add(const std::vector<std::string>& files);
    const std::vector<std::string>& files() const;

    // Looks at every watched file now: the names of those that changed since
    // the previous look (or since watch/add), in watch order. A file that
    // changed counts once; the next change counts again.
    std::vector<std::string> poll();
    // poll() when at least kPollInterval ms have passed since the last look,
    // otherwise nothing (and no file system access).
    std::vector<std::string> pollIfDue();

private:
    struct Stamp {
        bool exists = false;
        int64_t size = 0;           // bytes
        int64_t modifiedSeconds = 0;
        int64_t modifiedNanoseconds = 0;
        uint64_t inode = 0;
        bool operator==(const Stamp& other) const;
    };
    struct Entry {
        std::string file;
        Stamp stamp;
    };

    static Stamp stampOf(const std::string& file);

    Clock& m_clock;
    Uint32 m_lastPoll;  // clock ticks of the last look
    std::vector<Entry> m_entries;
    std::vector<std::string> m_files;  // the names of m_entries, in order
};
