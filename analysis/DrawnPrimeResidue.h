#pragma once

#include <cmath>
#include <cstdint>

#include "analysis/SparseLdl.h"

// A residue modulo a prime between 2^60 and 2^61 drawn at random once a
// run: the exact test that confirms a mechanism the fixed prime 2^61 - 1
// finds. Coordinates can be chosen so that 2^61 - 1 divides a determinant
// that is not zero (2^61 is 1 modulo it: a node at (1, 2^-30) and one at
// (2^-30, 2) lie in line with the origin there); no file can know a prime
// drawn after it was written.
class DrawnPrimeResidue {
public:
    static std::uint64_t prime();

    DrawnPrimeResidue() = default;
    explicit DrawnPrimeResidue(int value)
        : v_(value < 0 ? prime() - std::uint64_t(-std::int64_t(value)) % prime() : std::uint64_t(value) % prime())
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

    friend DrawnPrimeResidue operator+(DrawnPrimeResidue a, DrawnPrimeResidue b) { return of(a.v_ >= prime() - b.v_ ? a.v_ - (prime() - b.v_) : a.v_ + b.v_); }
    friend DrawnPrimeResidue operator-(DrawnPrimeResidue a, DrawnPrimeResidue b) { return of(a.v_ >= b.v_ ? a.v_ - b.v_ : a.v_ + (prime() - b.v_)); }
    friend DrawnPrimeResidue operator-(DrawnPrimeResidue a) { return DrawnPrimeResidue() - a; }
    friend DrawnPrimeResidue operator*(DrawnPrimeResidue a, DrawnPrimeResidue b) { return of(product(a.v_, b.v_)); }
    DrawnPrimeResidue& operator+=(DrawnPrimeResidue b) { return *this = *this + b; }
    DrawnPrimeResidue& operator-=(DrawnPrimeResidue b) { return *this = *this - b; }
    friend bool operator==(DrawnPrimeResidue a, DrawnPrimeResidue b) { return a.v_ == b.v_; }

    // Fermat: a^(p-2) is the inverse of a residue that is not zero.
    DrawnPrimeResidue inverse() const { return power(*this, prime() - 2); }

    // a b mod m, for a, b < m < 2^63.
    static std::uint64_t product(std::uint64_t a, std::uint64_t b, std::uint64_t m = prime());

private:
    static DrawnPrimeResidue of(std::uint64_t v)
    {
        DrawnPrimeResidue r;
        r.v_ = v;
        return r;
    }
    static DrawnPrimeResidue power(DrawnPrimeResidue base, std::uint64_t exponent)
    {
        DrawnPrimeResidue r = of(1);
        for (; exponent > 0; exponent >>= 1, base = base * base)
            if (exponent & 1)
                r = r * base;
        return r;
    }

    std::uint64_t v_ = 0;
};

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
