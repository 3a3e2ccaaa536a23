#include "analysis/DrawnPrimeResidue.h"

#include <random>

namespace {

std::uint64_t powerMod(std::uint64_t base, std::uint64_t exponent, std::uint64_t m)
{
    std::uint64_t r = 1;
    for (; exponent > 0; exponent >>= 1, base = DrawnPrime::productModulo(base, base, m))
        if (exponent & 1)
            r = DrawnPrime::productModulo(r, base, m);
    return r;
}

}  // namespace

bool isPrime(std::uint64_t n)
{
    if (n < 2)
        return false;
    for (const std::uint64_t a : {2u, 3u, 5u, 7u, 11u, 13u, 17u, 19u, 23u, 29u, 31u, 37u})
        if (n % a == 0)
            return n == a;
    std::uint64_t d = n - 1;
    int twos = 0;
    for (; d % 2 == 0; d /= 2)
        ++twos;
    for (const std::uint64_t a : {2u, 3u, 5u, 7u, 11u, 13u, 17u, 19u, 23u, 29u, 31u, 37u}) {
        std::uint64_t x = powerMod(a, d, n);
        if (x == 1 || x == n - 1)
            continue;
        bool composite = true;
        for (int i = 1; i < twos && composite; ++i) {
            x = DrawnPrime::productModulo(x, x, n);
            composite = x != n - 1;
        }
        if (composite)
            return false;
    }
    return true;
}

namespace {

std::uint64_t drawnPrime()
{
    std::random_device device;
    std::mt19937_64 draw((std::uint64_t(device()) << 32) ^ device());
    for (;;) {
        const std::uint64_t candidate = (std::uint64_t{1} << 62) | (draw() >> 2) | 1;  // odd, in [2^62, 2^63)
        if (isPrime(candidate))
            return candidate;
    }
}

DrawnPrime::Constants constantsOf(std::uint64_t p)
{
    // Newton's iteration doubles the bits of p^-1 mod 2^64 that are right;
    // p itself is right to 3 (p p = 1 mod 8 for odd p).
    std::uint64_t inverse = p;
    for (int i = 0; i < 5; ++i)
        inverse *= 2 - p * inverse;
    const std::uint64_t radix = (0 - p) % p;  // 2^64 mod p
    return {p, 0 - inverse, DrawnPrime::productModulo(radix, radix, p)};
}

}  // namespace

const DrawnPrime::Constants& DrawnPrime::constants()
{
    static const Constants m = in_ = constantsOf(drawnPrime());
    return m;
}

std::uint64_t DrawnPrime::productModulo(std::uint64_t a, std::uint64_t b, std::uint64_t m)
{
    __extension__ typedef unsigned __int128 Wide;
    return std::uint64_t(Wide(a) * b % m);
}
