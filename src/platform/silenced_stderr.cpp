#include "platform/silenced_stderr.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

SilencedStderr::SilencedStderr() : m_saved(-1) {
    std::fflush(stderr);
    const int null = open("/dev/null", O_WRONLY);
    if (null < 0) return;  // nowhere to send it: stderr stays as it is
    m_saved = dup(STDERR_FILENO);
    if (m_saved >= 0) dup2(null, STDERR_FILENO);
    close(null);
}

SilencedStderr::~SilencedStderr() {
    if (m_saved < 0) return;  // nothing was silenced
    std::fflush(stderr);
    dup2(m_saved, STDERR_FILENO);
    close(m_saved);
}
