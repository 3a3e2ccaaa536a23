#pragma once

#include <cmath>
#include <limits>

// The arithmetics the analysis can work in, narrowest first. long double has
// 64 bits of mantissa with g++ on x86-64 (53 with MSVC, 113 on some other
// processors); the 113-bit binary128 type exists where the compiler has it.
using Extended = long double;
#if defined(__SIZEOF_FLOAT128__)
#define AMBRELL_HAS_QUAD 1
__extension__ typedef __float128 Quad;
#else
#define AMBRELL_HAS_QUAD 0
using Quad = long double;
#endif

template <class T>
struct Precision;

template <>
struct Precision<double> {
    static constexpr int bits = std::numeric_limits<double>::digits;
};
template <>
struct Precision<long double> {
    static constexpr int bits = std::numeric_limits<long double>::digits;
};
#if AMBRELL_HAS_QUAD
template <>
struct Precision<Quad> {
    static constexpr int bits = 113;
};
#endif

// Half a unit in the last place: the relative rounding of T.
template <class T>
constexpr T roundingOf()
{
    T e = T(1);
    for (int i = 0; i < Precision<T>::bits; ++i)
        e /= T(2);
    return e;
}

template <class T>
T magnitude(T x)
{
    return x < T(0) ? -x : x;
}

// A square root to the full precision of T: the hardware's, refined by one
// Newton step where T is wider than long double.
template <class T>
T squareRoot(T x)
{
    const T guess = T(std::sqrt(static_cast<long double>(x)));
    if constexpr (Precision<T>::bits > Precision<long double>::bits)
        return guess == T(0) ? guess : (guess + x / guess) / T(2);
    else
        return guess;
}
