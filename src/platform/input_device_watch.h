#pragma once

#include <string>

// Counts the joysticks the system lists, to notice a gamepad being unplugged
// or plugged in, which SDL 1.2 does not report: an unplugged pad simply
// falls silent, with whatever it held still held. On Linux the list is
// /proc/bus/input/devices, where every joystick has a "js" handler; the
// count is read without allocating, so it can be taken between frames.
class InputDeviceWatch {
public:
    static constexpr const char* kLinuxDeviceList = "/proc/bus/input/devices";

    // Watches the given device list; an empty name watches nothing.
    explicit InputDeviceWatch(std::string deviceList = kLinuxDeviceList);

    // The number of joysticks in the list now; -1 when it cannot be read
    // (another system, or no list), which never counts as a change.
    int countJoysticks() const;

private:
    std::string m_deviceList;
};
