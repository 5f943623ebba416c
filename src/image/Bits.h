#pragma once
#include <cstdint>

namespace orb
{

// Bit n of a value, n taken modulo 32 (a negative n wraps the same way, so the
// shift is always defined).
constexpr bool BitTest(std::uint32_t value, int n)
{
    return ((value >> (static_cast<unsigned>(n) & 31u)) & 1u) != 0;
}

constexpr std::uint32_t BitSet(std::uint32_t value, int n)
{
    return value | (1u << (static_cast<unsigned>(n) & 31u));
}

constexpr std::uint32_t BitClear(std::uint32_t value, int n)
{
    return value & ~(1u << (static_cast<unsigned>(n) & 31u));
}

} // namespace orb
