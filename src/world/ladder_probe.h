#pragma once

#include <array>
#include <cstdint>

// The five ladder flags the map computes for the player, numbered 0 to 4:
// 0 under the feet after the move (not moving up), 1 at the feet, 2 at the
// chest, 3 at the head, 4 above the head after the move (moving up).
struct LadderProbe {
    std::array<bool, 5> flags{};

    bool operator[](int k) const { return flags[static_cast<size_t>(k)]; }
    bool any() const { return flags[0] || flags[1] || flags[2] || flags[3] || flags[4]; }
    // Flag k adds 2^k: 0 to 31.
    int32_t mask() const {
        int32_t bits = 0;
        for (int k = 0; k < 5; ++k) {
            if (flags[static_cast<size_t>(k)]) bits |= 1 << k;
        }
        return bits;
    }
};
