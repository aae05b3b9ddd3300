#pragma once

#include "platform/game_input.h"
#include "platform/input_state.h"

#include <cstdint>
#include <functional>

// Turns presses and releases of the eight game inputs into the per-frame
// InputState and the pause and single-step flags, by the keyboard's rules:
// on each axis the direction pressed last wins and releasing it falls back
// to the opposite one if that is still held; jump and shoot give one-frame
// Pressed/Released edges and a Held level; pause toggles on each press;
// step, while paused, lets exactly one frame be updated. Entering the pause
// raises the "pause" sound event.
//
// Several sources can drive one input at once (two keys, the keyboard and
// a pad, the d-pad and the stick). A source is one binding, numbered by the
// source helpers below. An input is held while any source holds it; a press
// reaches the game only when no other source already holds the input and a
// release only when no other source still holds it. So a second source
// never gives the game an extra press or an early release, while one source
// alone (a plain keyboard, a replayed log) behaves exactly as before.
class InputRouter {
public:
    using SourceMask = uint32_t;
    // Told of every press or release that reaches the game, in order.
    using Listener = std::function<void(GameInput input, bool down)>;

    static constexpr int kKeySlots = 4;  // keys per input
    static constexpr int kPadSlots = 4;  // pad controls per input
    static constexpr int kMaxPads = 4;

    // The source of the input's key number `slot` (0 to kKeySlots - 1).
    static constexpr int keySource(int slot) { return slot; }
    // The source of events replayed from an input log.
    static constexpr int scriptedSource() { return kKeySlots; }
    // The source of pad `pad`'s control number `slot` among the input's pad controls.
    static constexpr int padSource(int pad, int slot) { return kKeySlots + 1 + pad * kPadSlots + slot; }
    // Every source of one pad.
    static constexpr SourceMask padSources(int pad) {
        return ((SourceMask(1) << kPadSlots) - 1) << padSource(pad, 0);
    }

    // The start of a frame's poll: unless paused, remembers the directions and
    // clears last frame's edges; a single step that has run pauses again.
    void beginPoll();
    void press(GameInput input, int source);
    void release(GameInput input, int source);
    // Releases every input that one of these sources holds (a pad that is gone).
    void releaseSources(SourceMask sources);

    const InputState& input() const { return m_input; }
    bool isPaused() const { return m_paused; }
    // True while any source holds the input.
    bool isHeld(GameInput input) const { return m_held[indexOf(input)] != 0; }
    void setListener(Listener listener) { m_listener = std::move(listener); }

private:
    // The game's rules for one press or release that reached it.
    void apply(GameInput input, bool down);

    InputState m_input;
    bool m_paused = false;
    bool m_stepFrame = false;  // set by a step during a pause for exactly one updated frame
    SourceMask m_held[kGameInputCount] = {};
    Listener m_listener;
};
