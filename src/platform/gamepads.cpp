#include "platform/gamepads.h"

#include <cstdio>

namespace {
constexpr uint8_t kHatDirections[] = {SDL_HAT_UP, SDL_HAT_RIGHT, SDL_HAT_DOWN, SDL_HAT_LEFT};
}  // namespace

Gamepads::Gamepads(InputRouter& router, const std::string& deviceList) : m_router(router), m_watch(deviceList) {}

Gamepads::~Gamepads() {
    stop();
}

void Gamepads::start() {
    if (m_started) return;  // already open
    if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) < 0) {
        std::fprintf(stderr, "voltaro: no gamepads: %s\n", SDL_GetError());
        return;  // the keyboard still works
    }
    m_started = true;
    SDL_JoystickEventState(SDL_ENABLE);
    m_knownJoysticks = m_watch.countJoysticks();
    const int available = SDL_NumJoysticks();
    for (int pad = 0; pad < available && pad < InputRouter::kMaxPads; ++pad) {
        m_pads[pad] = SDL_JoystickOpen(pad);
        if (m_pads[pad] != nullptr) ++m_openCount;
    }
}

void Gamepads::stop() {
    if (!m_started) return;  // nothing open
    for (SDL_Joystick*& pad : m_pads) {
        if (pad != nullptr) SDL_JoystickClose(pad);
        pad = nullptr;
    }
    m_openCount = 0;
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
    m_started = false;
}

void Gamepads::handleEvent(const SDL_Event& event, const ControlBindings& bindings) {
    switch (event.type) {
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        press(event.jbutton.which, PadControl::button(event.jbutton.button), event.type == SDL_JOYBUTTONDOWN,
              bindings);
        return;  // handled
    case SDL_JOYAXISMOTION:
        handleAxis(event.jaxis.which, event.jaxis.axis, event.jaxis.value, bindings);
        return;  // handled
    case SDL_JOYHATMOTION:
        handleHat(event.jhat.which, event.jhat.hat, event.jhat.value, bindings);
        return;  // handled
    default:
        return;  // trackballs and everything else drive nothing
    }
}

void Gamepads::checkDevices() {
    if (!m_started || ++m_framesSinceCheck < kDeviceCheckFrames) return;  // not yet
    m_framesSinceCheck = 0;
    const int joysticks = m_watch.countJoysticks();
    if (joysticks < 0 || joysticks == m_knownJoysticks) return;  // no news
    // A pad went or came. SDL 1.2 only finds pads when its joystick
    // subsystem starts, so release what every pad held and start it afresh.
    for (int pad = 0; pad < InputRouter::kMaxPads; ++pad) releasePad(pad);
    stop();
    start();
}

void Gamepads::releasePad(int pad) {
    if (pad < 0 || pad >= InputRouter::kMaxPads) return;  // never tracked
    m_router.releaseSources(InputRouter::padSources(pad));
    for (int8_t& half : m_axisHalves[pad]) half = 0;
    for (uint8_t& hat : m_hats[pad]) hat = SDL_HAT_CENTERED;
}

void Gamepads::press(int pad, const PadControl& control, bool down, const ControlBindings& bindings) {
    if (pad < 0 || pad >= InputRouter::kMaxPads) return;  // a pad beyond those tracked
    GameInput input;
    int slot = 0;
    if (!bindings.findPadControl(control, input, slot)) return;  // bound to nothing
    const int source = InputRouter::padSource(pad, slot);
    if (down) {
        m_router.press(input, source);
    } else {
        m_router.release(input, source);
    }
}

void Gamepads::handleAxis(int pad, int axis, int value, const ControlBindings& bindings) {
    if (pad < 0 || pad >= InputRouter::kMaxPads || axis < 0 || axis >= ControlBindings::kMaxAxes) return;  // untracked
    const int deadZone = bindings.deadZone() < 1 ? 1 : bindings.deadZone();  // a resting stick is centred
    const int8_t half = value <= -deadZone ? -1 : (value >= deadZone ? 1 : 0);
    int8_t& previous = m_axisHalves[pad][axis];
    if (half == previous) return;  // still on the same side
    if (previous != 0) press(pad, PadControl::axis(axis, previous > 0), false, bindings);
    previous = half;
    if (half != 0) press(pad, PadControl::axis(axis, half > 0), true, bindings);
}

void Gamepads::handleHat(int pad, int hat, uint8_t value, const ControlBindings& bindings) {
    if (pad < 0 || pad >= InputRouter::kMaxPads || hat < 0 || hat >= ControlBindings::kMaxHats) return;  // untracked
    uint8_t& previous = m_hats[pad][hat];
    const uint8_t released = static_cast<uint8_t>(previous & ~value);
    const uint8_t pressed = static_cast<uint8_t>(value & ~previous);
    previous = value;
    // Releases first, as a thumb rolling round the d-pad leaves one
    // direction before it reaches the next.
    for (uint8_t direction : kHatDirections) {
        if (released & direction) press(pad, PadControl::hat(hat, direction), false, bindings);
    }
    for (uint8_t direction : kHatDirections) {
        if (pressed & direction) press(pad, PadControl::hat(hat, direction), true, bindings);
    }
}
