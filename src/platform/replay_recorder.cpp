#include "platform/replay_recorder.h"

#include "platform/replay_log.h"

#include <cerrno>
#include <cstring>

ReplayRecorder::ReplayRecorder(const std::string& fileName)
    : m_fileName(fileName), m_file(std::fopen(fileName.c_str(), "wb")) {
    if (m_file == nullptr) {
        m_openError = std::strerror(errno);
        return;  // nothing will be written
    }
    // A line reaches the file as soon as it is written, so the log of a run
    // that crashes is kept, and a page can offer the log while the game runs.
    std::setvbuf(m_file, nullptr, _IOLBF, BUFSIZ);
    std::fputs(ReplayLog::header().c_str(), m_file);
}

ReplayRecorder::~ReplayRecorder() {
    if (m_file == nullptr) return;  // never opened
    if (std::fclose(m_file) != 0) {
        std::fprintf(stderr, "voltaro: cannot finish writing the input log \"%s\": %s\n", m_fileName.c_str(),
                     std::strerror(errno));
    }
}

void ReplayRecorder::record(const SDL_Event& event) {
    if (m_file == nullptr) return;  // not recording
    ReplayEvent logged;
    logged.frame = m_frame;
    if (event.type == SDL_QUIT) {
        logged.kind = ReplayEvent::Kind::Quit;
    } else if (event.type == SDL_KEYDOWN || event.type == SDL_KEYUP) {
        if (ReplayLog::keyName(event.key.keysym.sym) == nullptr) return;  // not a game key
        logged.kind = event.type == SDL_KEYDOWN ? ReplayEvent::Kind::KeyDown : ReplayEvent::Kind::KeyUp;
        logged.key = event.key.keysym.sym;
    } else {
        return;  // nothing the game reacts to
    }
    std::fprintf(m_file, "%s\n", ReplayLog::formatLine(logged).c_str());
}
