#include "platform/input_device_watch.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>
#include <utility>

namespace {

constexpr size_t kLineBytes = 256;  // the start of a line is all that is looked at
constexpr size_t kChunkBytes = 4096;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A device list line such as "H: Handlers=event5 js0": true when one of the
// handlers is a joystick ("js" and a number).
bool namesJoystickHandler(const char* line, size_t length) {
    static const char kPrefix[] = "H: Handlers=";
    const size_t prefixLength = sizeof kPrefix - 1;
    if (length < prefixLength || std::memcmp(line, kPrefix, prefixLength) != 0) return false;
    for (size_t i = prefixLength; i + 2 < length; ++i) {
        const bool wordStart = i == prefixLength || line[i - 1] == ' ';
        if (wordStart && line[i] == 'j' && line[i + 1] == 's' && isDigit(line[i + 2])) return true;
    }
    return false;
}

}  // namespace

InputDeviceWatch::InputDeviceWatch(std::string deviceList) : m_deviceList(std::move(deviceList)) {}

int InputDeviceWatch::countJoysticks() const {
    if (m_deviceList.empty()) return -1;  // watching nothing
    const int file = open(m_deviceList.c_str(), O_RDONLY | O_CLOEXEC);
    if (file < 0) return -1;  // no such list here
    int joysticks = 0;
    char line[kLineBytes];
    size_t lineLength = 0;
    char chunk[kChunkBytes];
    for (;;) {
        const ssize_t got = read(file, chunk, sizeof chunk);
        if (got < 0) {
            close(file);
            return -1;  // unreadable: no news
        }
        if (got == 0) break;  // the end of the list
        for (ssize_t i = 0; i < got; ++i) {
            if (chunk[i] == '\n') {
                if (namesJoystickHandler(line, lineLength)) ++joysticks;
                lineLength = 0;
            } else if (lineLength < kLineBytes) {
                line[lineLength++] = chunk[i];
            }
        }
    }
    if (namesJoystickHandler(line, lineLength)) ++joysticks;  // a last line without its end
    close(file);
    return joysticks;
}
