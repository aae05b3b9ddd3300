#pragma once

#include <cstdint>

// The noise generator: a 15-bit linear-feedback shift register, as the
// sound chips of 8-bit consoles had. Each step shifts right and feeds back
// bit 0 XOR bit 1 (a 32767-step sequence, hiss) or, in the short mode, bit 0
// XOR bit 6 (a 93-step loop, a metallic buzz). It always starts from 1, so
// the same steps give the same noise.
class Lfsr {
public:
    explicit Lfsr(bool shortLoop) : m_shortLoop(shortLoop) {}

    void step();
    // The current output bit.
    bool high() const { return (m_state & 1) != 0; }

private:
    bool m_shortLoop;
    uint32_t m_state = 1;
};
