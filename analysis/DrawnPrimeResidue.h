#pragma once

#include <cmath>
#include <cstdint>

#include "analysis/SparseLdl.h"

// Products of residues are taken in unsigned __int128, which every compiler
// this program is built with has (64-bit g++, MinGW g++); a build without it
// would need a slower product that nothing here would test.
#if !defined(__SIZEOF_INT128__)
#error "the residues' products need unsigned __int128 (a 64-bit g++ or clang)"
#endif

// A residue modulo a prime between 2^62 and 2^63 drawn at random once a
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
class DrawnPrimeResidue {
public:
    // The prime and the constants of its Montgomery form, drawn once a run.
    struct Modulus {
        std::uint64_t prime;
        std::uint64_t negativeInverse;  // -prime^-1 mod 2^64
        std::uint64_t radixSquared;     // 2^128 mod prime
    };
    static const Modulus& modulus();
    static std::uint64_t prime() { return modulus().prime; }

    DrawnPrimeResidue() = default;
    explicit DrawnPrimeResidue(int value)
        : v_(montgomery(value < 0 ? prime() - std::uint64_t(-std::int64_t(value)) % prime() : std::uint64_t(value) % prime(),
                        modulus().radixSquared))
    {
    }

    static DrawnPrimeResidue ofSingle(float value)
    {
        if (value == 0.0f)
            return {};
        int exponent = 0;
        const float fraction = std::frexp(value, &exponent);
        const DrawnPrimeResidue mantissa(static_cast<int>(std::ldexp(fraction, 24)));
        const int shift = exponent - 24;
        static const DrawnPrimeResidue half = DrawnPrimeResidue(2).inverse();
        return mantissa * power(shift < 0 ? half : DrawnPrimeResidue(2), static_cast<std::uint64_t>(shift < 0 ? -shift : shift));
    }

    // Sums below 2^64 for p < 2^63; the corrections as selections, not branches.
    friend DrawnPrimeResidue operator+(DrawnPrimeResidue a, DrawnPrimeResidue b) { return of(belowPrime(a.v_ + b.v_)); }
    friend DrawnPrimeResidue operator-(DrawnPrimeResidue a, DrawnPrimeResidue b)
    {
        return of(a.v_ - b.v_ + (a.v_ < b.v_ ? in_.prime : 0));
    }
    friend DrawnPrimeResidue operator-(DrawnPrimeResidue a) { return DrawnPrimeResidue() - a; }
    friend DrawnPrimeResidue operator*(DrawnPrimeResidue a, DrawnPrimeResidue b) { return of(montgomery(a.v_, b.v_)); }
    DrawnPrimeResidue& operator+=(DrawnPrimeResidue b) { return *this = *this + b; }
    DrawnPrimeResidue& operator-=(DrawnPrimeResidue b) { return *this = *this - b; }
    DrawnPrimeResidue& operator/=(DrawnPrimeResidue b) { return *this = *this * b.inverse(); }  // b not zero
    friend bool operator==(DrawnPrimeResidue a, DrawnPrimeResidue b) { return a.v_ == b.v_; }

    // Fermat: a^(p-2) is the inverse of a residue that is not zero.
    DrawnPrimeResidue inverse() const { return power(*this, prime() - 2); }

    // a b mod m, for a, b < m < 2^63: slow, for drawing the prime only.
    static std::uint64_t product(std::uint64_t a, std::uint64_t b, std::uint64_t m);

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

    // modulus(), for the arithmetic: set by its first call, which every
    // value other than 0 comes from (its constructors make it); 0 + 0,
    // 0 - 0 and 0 x 0 are 0 before it too. Read without modulus()'s guard,
    // which would cost more than the product itself.
    static inline Modulus in_{};

    static DrawnPrimeResidue of(std::uint64_t v)
    {
        DrawnPrimeResidue r;
        r.v_ = v;
        return r;
    }
    static DrawnPrimeResidue power(DrawnPrimeResidue base, std::uint64_t exponent)
    {
        DrawnPrimeResidue r = DrawnPrimeResidue(1);
        for (; exponent > 0; exponent >>= 1, base = base * base)
            if (exponent & 1)
                r = r * base;
        return r;
    }

    std::uint64_t v_ = 0;  // in Montgomery's form; 0 is 0 in both
};

// Whether n is prime: Miller-Rabin with the first twelve primes as
// witnesses, which is exact below 3.3e24 and so for every 64-bit n.
bool isPrime(std::uint64_t n);

template <>
inline bool usablePivot(const DrawnPrimeResidue& d)
{
    return !(d == DrawnPrimeResidue());
}

template <>
inline DrawnPrimeResidue inverseOf(const DrawnPrimeResidue& d)
{
    return d.inverse();
}
