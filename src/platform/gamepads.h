#pragma once

#include "platform/control_bindings.h"
#include "platform/input_device_watch.h"
#include "platform/input_router.h"

#include <SDL.h>

#include <cstdint>
#include <string>

// The gamepads, through SDL 1.2's joystick API. Opens every pad present
// (up to InputRouter::kMaxPads) and turns their events into presses and
// releases of the game inputs the controls bind them to: a button, each
// direction of a hat (the d-pad), and each half of an axis (the stick),
// which counts as pressed while pushed at least the dead zone that way.
//
// SDL 1.2 cannot tell that a pad was unplugged: the pad just falls silent.
// So every kDeviceCheckFrames frames the system's joystick count is read
// (InputDeviceWatch); when it changed, everything the pads held is
// released, so no input stays stuck, and the pads are opened afresh, which
// also picks up a pad plugged in during play.
class Gamepads {
public:
    static constexpr uint32_t kDeviceCheckFrames = 60;

    Gamepads(InputRouter& router, const std::string& deviceList);
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // Starts SDL's joystick subsystem (SDL itself must be running) and opens
    // the pads. A failure only means playing without pads (one line on stderr).
    void start();
    // Closes the pads and the joystick subsystem; must come before SDL_Quit.
    void stop();

    // Handles a joystick event (other events are ignored) with these controls.
    void handleEvent(const SDL_Event& event, const ControlBindings& bindings);
    // Called once per frame; looks for pads that came or went now and then.
    void checkDevices();
    // Releases every input pad `pad` holds and forgets its stick and d-pad positions.
    void releasePad(int pad);

    // The number of pads open.
    int openCount() const { return m_openCount; }

private:
    void press(int pad, const PadControl& control, bool down, const ControlBindings& bindings);
    void handleAxis(int pad, int axis, int value, const ControlBindings& bindings);
    void handleHat(int pad, int hat, uint8_t value, const ControlBindings& bindings);

    InputRouter& m_router;
    InputDeviceWatch m_watch;
    bool m_started = false;
    SDL_Joystick* m_pads[InputRouter::kMaxPads] = {};
    int m_openCount = 0;
    int m_knownJoysticks = -1;  // the system's count when the pads were opened
    uint32_t m_framesSinceCheck = 0;
    // Per pad: which half of each axis is pushed (-1, 0 or 1), and each hat's value.
    int8_t m_axisHalves[InputRouter::kMaxPads][ControlBindings::kMaxAxes] = {};
    uint8_t m_hats[InputRouter::kMaxPads][ControlBindings::kMaxHats] = {};
};
