#pragma once

#include <SDL.h>

#include <cstdint>

// 32-bit wrap-around and 16-bit stores without undefined behaviour. Engine
// values wrap like the 32-bit registers and 16-bit rectangle fields they
// model; signed overflow would be undefined in C++, so every wrapping
// operation goes through unsigned arithmetic.

// The signed value of a 32-bit pattern.
constexpr int32_t wrapToInt32(uint32_t bits) {
    return bits <= 0x7fffffffu ? static_cast<int32_t>(bits) : static_cast<int32_t>(bits - 0x80000000u) - 0x7fffffff - 1;
}

constexpr int32_t wrappingAdd(int32_t a, int32_t b) {
    return wrapToInt32(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

constexpr int32_t wrappingSub(int32_t a, int32_t b) {
    return wrapToInt32(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}

constexpr int32_t wrappingMul(int32_t a, int32_t b) {
    return wrapToInt32(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// Cuts a 32-bit value to the signed 16-bit x or y field of an SDL_Rect (two's complement).
constexpr Sint16 cutToSint16(int32_t value) {
    const int32_t bits = static_cast<int32_t>(static_cast<uint32_t>(value) & 0xffffu);
    return static_cast<Sint16>(bits <= 0x7fff ? bits : bits - 0x10000);
}

// Cuts a 32-bit value to the unsigned 16-bit w or h field of an SDL_Rect.
constexpr Uint16 cutToUint16(int32_t value) {
    return static_cast<Uint16>(static_cast<uint32_t>(value) & 0xffffu);
}
