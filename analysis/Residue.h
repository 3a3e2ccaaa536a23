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

// A residue modulo the prime 2^61 - 1: exact arithmetic, in which a matrix
// is singular or it is not, with no rounding to blur the two. Every Single
// of a truss file is an integer times a power of two, and so has a residue.
class Residue {
public:
    static constexpr std::uint64_t prime = (std::uint64_t{1} << 61) - 1;

    Residue() = default;
    explicit Residue(int value) : v_(value < 0 ? prime - std::uint64_t(-std::int64_t(value)) % prime : std::uint64_t(value) % prime) {}

    static Residue ofSingle(float value)
    {
        if (value == 0.0f)
            return {};
        int exponent = 0;
        const float fraction = std::frexp(value, &exponent);  // value = fraction x 2^exponent, |fraction| in [0.5, 1)
        const Residue mantissa(static_cast<int>(std::ldexp(fraction, 24)));
        return mantissa * powerOfTwo(exponent - 24);
    }

    friend Residue operator+(Residue a, Residue b) { return Residue::reduced(a.v_ + b.v_); }
    friend Residue operator-(Residue a, Residue b) { return Residue::reduced(a.v_ + prime - b.v_); }
    friend Residue operator-(Residue a) { return Residue() - a; }
    friend Residue operator*(Residue a, Residue b) { return Residue::reduced(product(a.v_, b.v_)); }
    Residue& operator+=(Residue b) { return *this = *this + b; }
    Residue& operator-=(Residue b) { return *this = *this - b; }
    Residue& operator/=(Residue b) { return *this = *this * b.inverse(); }  // b not zero
    friend bool operator==(Residue a, Residue b) { return a.v_ == b.v_; }

    // The inverse of a residue that is not zero, by Euclid's algorithm.
    Residue inverse() const
    {
        std::int64_t r0 = std::int64_t(prime), r1 = std::int64_t(v_), t0 = 0, t1 = 1;
        while (r1 != 0) {
            const std::int64_t q = r0 / r1;
            std::int64_t next = r0 - q * r1;
            r0 = r1;
            r1 = next;
            next = t0 - q * t1;
            t0 = t1;
            t1 = next;
        }
        return Residue::reduced(std::uint64_t(t0 < 0 ? t0 + std::int64_t(prime) : t0));
    }

private:
    // 2^61 = 1, so 2^e = 2^(e mod 61), negative e included.
    static Residue powerOfTwo(int exponent)
    {
        Residue r;
        r.v_ = std::uint64_t{1} << ((exponent % 61 + 61) % 61);
        return r;
    }

    // x < 2^64, reduced by 2^61 = 1.
    static Residue reduced(std::uint64_t x)
    {
        x = (x & prime) + (x >> 61);
        Residue r;
        r.v_ = x >= prime ? x - prime : x;
        return r;
    }

    // a b reduced below 2^64, for a, b < 2^61; 2^64 = 8 and 2^61 = 1.
    static std::uint64_t product(std::uint64_t a, std::uint64_t b)
    {
        __extension__ typedef unsigned __int128 Wide;
        const Wide p = Wide(a) * b;
        return (std::uint64_t(p) & prime) + std::uint64_t(p >> 61);
    }

    std::uint64_t v_ = 0;
};

template <>
inline bool usablePivot(const Residue& d)
{
    return !(d == Residue());
}

template <>
inline Residue inverseOf(const Residue& d)
{
    return d.inverse();
}
