#pragma once

#include <cstdint>

#include "analysis/ModularResidue.h"

// Arithmetic modulo a prime between 2^62 and 2^63 drawn at random once a
// run: the exact test that confirms a mechanism the fixed prime 2^61 - 1
// finds. Coordinates can be chosen so that 2^61 - 1 divides a determinant
// that is not zero (2^61 is 1 modulo it: a node at (1, 2^-30) and one at
// (2^-30, 2) lie in line with the origin there); no file can know a prime
// drawn after it was written.
//
// Kept in Montgomery's form, v = a 2^64 mod p, so that a product is
// reduced by two more multiplications instead of a 128-bit division (which
// made this pass cost about 12 multiply-adds of double; now about as much
// as the fixed prime's). A prime below 2^63 keeps every intermediate sum
// within 128 bits.
struct DrawnPrime {
    // The prime and the constants of its Montgomery form, drawn once a run.
    struct Constants {
        std::uint64_t prime;
        std::uint64_t negativeInverse;  // -prime^-1 mod 2^64
        std::uint64_t radixSquared;     // 2^128 mod prime
    };
    static const Constants& constants();
    static std::uint64_t prime() { return constants().prime; }

    // Both make the constants: every value other than 0 comes from them.
    static std::uint64_t ofInteger(int value)
    {
        return montgomery(value < 0 ? prime() - std::uint64_t(-std::int64_t(value)) % prime() : std::uint64_t(value) % prime(),
                          constants().radixSquared);
    }
    static std::uint64_t powerOfTwo(int exponent)
    {
        static const std::uint64_t half = inverse(ofInteger(2));
        return power(exponent < 0 ? half : ofInteger(2), static_cast<std::uint64_t>(exponent < 0 ? -exponent : exponent));
    }

    // Sums below 2^64 for p < 2^63; the corrections as selections, not branches.
    static std::uint64_t sum(std::uint64_t a, std::uint64_t b) { return belowPrime(a + b); }
    static std::uint64_t difference(std::uint64_t a, std::uint64_t b) { return a - b + (a < b ? in_.prime : 0); }
    static std::uint64_t product(std::uint64_t a, std::uint64_t b) { return montgomery(a, b); }
    // Fermat: a^(p-2) is the inverse of a residue that is not zero.
    static std::uint64_t inverse(std::uint64_t v) { return power(v, prime() - 2); }

    // a b mod m, for a, b < m < 2^63: slow, for drawing the prime only.
    static std::uint64_t productModulo(std::uint64_t a, std::uint64_t b, std::uint64_t m);

private:
    struct Wide {
        std::uint64_t high, low;
    };

    // The 128-bit product: one instruction.
    static Wide wideProduct(std::uint64_t a, std::uint64_t b)
    {
        __extension__ typedef unsigned __int128 Wide128;
        const Wide128 p = Wide128(a) * b;
        return {std::uint64_t(p >> 64), std::uint64_t(p)};
    }

    // a b 2^-64 mod p, for a, b < p < 2^63 (Montgomery's reduction): q =
    // -ab/p mod 2^64 makes ab + qp a multiple of 2^64, and (ab + qp) / 2^64
    // < 2p.
    static std::uint64_t montgomery(std::uint64_t a, std::uint64_t b)
    {
        const Wide t = wideProduct(a, b);
        const Wide qp = wideProduct(t.low * in_.negativeInverse, in_.prime);
        return belowPrime(t.high + qp.high + (t.low != 0 ? 1 : 0));  // the low halves add to 0 or to 2^64
    }

    // x < 2p, reduced below p.
    static std::uint64_t belowPrime(std::uint64_t x) { return x - (x >= in_.prime ? in_.prime : 0); }

    static std::uint64_t power(std::uint64_t base, std::uint64_t exponent)
    {
        std::uint64_t r = ofInteger(1);
        for (; exponent > 0; exponent >>= 1, base = montgomery(base, base))
            if (exponent & 1)
                r = montgomery(r, base);
        return r;
    }

    // constants(), for the arithmetic: set by its first call, which every
    // value other than 0 comes from; 0 + 0, 0 - 0 and 0 x 0 are 0 before it
    // too. Read without constants()'s guard, which would cost more than the
    // product itself.
    static inline Constants in_{};
};

using DrawnPrimeResidue = ModularResidue<DrawnPrime>;

// Whether n is prime: Miller-Rabin with the first twelve primes as
// witnesses, which is exact below 3.3e24 and so for every 64-bit n.
bool isPrime(std::uint64_t n);
