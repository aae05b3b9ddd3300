#pragma once

#include "platform/wrapping_arithmetic.h"

#include <cstdint>

// A signed 32-bit fixed-point number with 8 fraction bits: value = raw / 256.
// Positions are in pixels, speeds in pixels per frame, so the smallest step is
// 1/256 pixel. Every result wraps in 32 bits (computed through unsigned
// arithmetic, so wrapping is defined behaviour); nothing saturates.
class Fixed {
public:
    constexpr Fixed() : m_raw(0) {}
    // raw = i * 256
    constexpr explicit Fixed(int32_t i) : m_raw(wrap(static_cast<uint32_t>(i) << 8)) {}
    // raw = i * 256 + f; f is added, not masked, so it may carry or borrow.
    constexpr Fixed(int32_t i, int32_t f)
        : m_raw(wrap((static_cast<uint32_t>(i) << 8) + static_cast<uint32_t>(f))) {}

    static constexpr Fixed fromRaw(int32_t raw) {
        Fixed value;
        value.m_raw = raw;
        return value;
    }

    constexpr int32_t raw() const { return m_raw; }

    // raw / 256 rounded toward zero (not a floor): raw -1 gives 0, raw -257 gives -1.
    constexpr int32_t toInt() const { return m_raw / 256; }

    Fixed& operator=(int32_t i) {
        m_raw = Fixed(i).m_raw;
        return *this;
    }

    constexpr bool operator<(Fixed other) const { return m_raw < other.m_raw; }
    constexpr bool operator>(Fixed other) const { return m_raw > other.m_raw; }
    // Equality with an integer compares the whole-pixel part only.
    constexpr bool operator==(int32_t i) const { return toInt() == i; }
    constexpr bool operator!=(int32_t i) const { return toInt() != i; }

    constexpr Fixed operator+(Fixed other) const { return fromRaw(add(m_raw, other.m_raw)); }
    constexpr Fixed operator-(Fixed other) const { return fromRaw(sub(m_raw, other.m_raw)); }
    constexpr Fixed operator+(int32_t i) const { return *this + Fixed(i); }
    constexpr Fixed operator-(int32_t i) const { return *this - Fixed(i); }

    Fixed& operator+=(Fixed other) { return *this = *this + other; }
    Fixed& operator-=(Fixed other) { return *this = *this - other; }
    Fixed& operator+=(int32_t i) { return *this = *this + i; }
    Fixed& operator-=(int32_t i) { return *this = *this - i; }

    // Raw 32-bit arithmetic with wrap-around (see app/wrapping_arithmetic.h).
    static constexpr int32_t wrap(uint32_t bits) { return wrapToInt32(bits); }
    static constexpr int32_t add(int32_t a, int32_t b) { return wrappingAdd(a, b); }
    static constexpr int32_t sub(int32_t a, int32_t b) { return wrappingSub(a, b); }
    static constexpr int32_t mul(int32_t a, int32_t b) { return wrappingMul(a, b); }

private:
    int32_t m_raw;
};
