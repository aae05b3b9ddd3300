#include "platform/file_watcher.h"

#include <sys/stat.h>

#include <algorithm>

bool FileWatcher::Stamp::operator==(const Stamp& other) const {
    return exists == other.exists && size == other.size && modifiedSeconds == other.modifiedSeconds &&
           modifiedNanoseconds == other.modifiedNanoseconds && inode == other.inode;
}

FileWatcher::FileWatcher(Clock& clock) : m_clock(clock), m_lastPoll(clock.ticks()) {}

FileWatcher::Stamp FileWatcher::stampOf(const std::string& file) {
    Stamp stamp;
    struct stat status {};
    if (stat(file.c_str(), &status) != 0) return stamp;  // missing (or unreadable): a state of its own
    stamp.exists = true;
    stamp.size = static_cast<int64_t>(status.st_size);
    stamp.modifiedSeconds = static_cast<int64_t>(status.st_mtim.tv_sec);
    stamp.modifiedNanoseconds = static_cast<int64_t>(status.st_mtim.tv_nsec);
    stamp.inode = static_cast<uint64_t>(status.st_ino);
    return stamp;
}

void FileWatcher::watch(const std::vector<std::string>& files) {
    m_entries.clear();
    m_files.clear();
    add(files);
}

void FileWatcher::add(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (std::find(m_files.begin(), m_files.end(), file) != m_files.end()) continue;  // already watched
        m_entries.push_back(Entry{file, stampOf(file)});
        m_files.push_back(file);
    }
}

const std::vector<std::string>& FileWatcher::files() const {
    return m_files;
}

std::vector<std::string> FileWatcher::poll() {
    m_lastPoll = m_clock.ticks();
    std::vector<std::string> changed;
    for (Entry& entry : m_entries) {
        const Stamp now = stampOf(entry.file);
        if (now == entry.stamp) continue;  // as it was
        entry.stamp = now;
        changed.push_back(entry.file);
    }
    return changed;
}

std::vector<std::string> FileWatcher::pollIfDue() {
    // Unsigned subtraction stays right across the clock's wrap-around.
    if (m_clock.ticks() - m_lastPoll < kPollInterval) return {};
    return poll();
}
