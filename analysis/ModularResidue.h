#pragma once

#include <cmath>
#include <cstdint>

// Products of residues are taken in unsigned __int128, which every compiler
// this program is built with has (64-bit g++, MinGW g++); a build without it
// would need a slower product that nothing here would test.
#if !defined(__SIZEOF_INT128__)
#error "the residues' products need unsigned __int128 (a 64-bit g++ or clang)"
#endif

// A residue modulo a prime: exact arithmetic, in which a matrix is singular
// or it is not, with no rounding to blur the two. Every Single of a truss
// file is an integer times a power of two, and so has a residue.
//
// Modulus says how a residue is kept in a 64-bit word and reduced, all in
// static inline functions so that each operation here is just Modulus's:
//   ofInteger(int), powerOfTwo(int e): the word of an integer and of 2^e;
//   sum, difference, product (words): the word of the result;
//   inverse(word): of a word that is not zero.
// Every value has one word, so that == compares residues.
template <class Modulus>
class ModularResidue {
public:
    ModularResidue() = default;
    explicit ModularResidue(int value) : v_(Modulus::ofInteger(value)) {}

    static ModularResidue ofSingle(float value)
    {
        if (value == 0.0f)
            return {};
        int exponent = 0;
        const float fraction = std::frexp(value, &exponent);  // value = fraction x 2^exponent, |fraction| in [0.5, 1)
        const ModularResidue mantissa(static_cast<int>(std::ldexp(fraction, 24)));
        return mantissa * of(Modulus::powerOfTwo(exponent - 24));
    }

    friend ModularResidue operator+(ModularResidue a, ModularResidue b) { return of(Modulus::sum(a.v_, b.v_)); }
    friend ModularResidue operator-(ModularResidue a, ModularResidue b) { return of(Modulus::difference(a.v_, b.v_)); }
    friend ModularResidue operator-(ModularResidue a) { return ModularResidue() - a; }
    friend ModularResidue operator*(ModularResidue a, ModularResidue b) { return of(Modulus::product(a.v_, b.v_)); }
    ModularResidue& operator+=(ModularResidue b) { return *this = *this + b; }
    ModularResidue& operator-=(ModularResidue b) { return *this = *this - b; }
    ModularResidue& operator/=(ModularResidue b) { return *this = *this * b.inverse(); }  // b not zero
    friend bool operator==(ModularResidue a, ModularResidue b) { return a.v_ == b.v_; }

    // Of a residue that is not zero.
    ModularResidue inverse() const { return of(Modulus::inverse(v_)); }

    // For LdlFactor: a pivot is usable when it is not zero.
    friend bool usablePivot(const ModularResidue& d) { return !(d == ModularResidue()); }
    friend ModularResidue inverseOf(const ModularResidue& d) { return d.inverse(); }

private:
    static ModularResidue of(std::uint64_t v)
    {
        ModularResidue r;
        r.v_ = v;
        return r;
    }

    std::uint64_t v_ = 0;  // 0 is 0 in every Modulus's form
};
