#pragma once

#include <cstdint>

#include "analysis/ModularResidue.h"

// Arithmetic modulo the prime 2^61 - 1, whose reduction is a shift and an
// addition: the quick exact pass of the mechanism test.
struct MersennePrime61 {
    static constexpr std::uint64_t prime = (std::uint64_t{1} << 61) - 1;

    static std::uint64_t ofInteger(int value)
    {
        return value < 0 ? prime - std::uint64_t(-std::int64_t(value)) % prime : std::uint64_t(value) % prime;
    }
    // 2^61 = 1, so 2^e = 2^(e mod 61), negative e included.
    static std::uint64_t powerOfTwo(int exponent) { return std::uint64_t{1} << ((exponent % 61 + 61) % 61); }

    static std::uint64_t sum(std::uint64_t a, std::uint64_t b) { return reduced(a + b); }
    static std::uint64_t difference(std::uint64_t a, std::uint64_t b) { return reduced(a + prime - b); }
    // a b reduced below 2^64, for a, b < 2^61; 2^64 = 8 and 2^61 = 1.
    static std::uint64_t product(std::uint64_t a, std::uint64_t b)
    {
        __extension__ typedef unsigned __int128 Wide;
        const Wide p = Wide(a) * b;
        return reduced((std::uint64_t(p) & prime) + std::uint64_t(p >> 61));
    }

    // By Euclid's algorithm.
    static std::uint64_t inverse(std::uint64_t v)
    {
        std::int64_t r0 = std::int64_t(prime), r1 = std::int64_t(v), t0 = 0, t1 = 1;
        while (r1 != 0) {
            const std::int64_t q = r0 / r1;
            std::int64_t next = r0 - q * r1;
            r0 = r1;
            r1 = next;
            next = t0 - q * t1;
            t0 = t1;
            t1 = next;
        }
        return reduced(std::uint64_t(t0 < 0 ? t0 + std::int64_t(prime) : t0));
    }

    // x < 2^64, reduced by 2^61 = 1.
    static std::uint64_t reduced(std::uint64_t x)
    {
        x = (x & prime) + (x >> 61);
        return x >= prime ? x - prime : x;
    }
};

using Residue = ModularResidue<MersennePrime61>;
