#pragma once

#include <cstdint>
#include <limits>

#include "truss/TrussBuildError.h"

// The builder counts in 16-bit integers. A result outside -32768..32767 is a
// failure, never a wrap-around.
namespace integer16 {

inline std::int16_t checked(std::int32_t value, TrussBuildError::Cause cause)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        throw TrussBuildError(TrussBuildError::Kind::Overflow, cause, "16-bit integer overflow");
    return static_cast<std::int16_t>(value);
}

inline std::int16_t add(std::int16_t a, std::int16_t b, TrussBuildError::Cause cause)
{
    return checked(std::int32_t{a} + std::int32_t{b}, cause);
}

inline std::int16_t multiply(std::int16_t a, std::int16_t b, TrussBuildError::Cause cause)
{
    return checked(std::int32_t{a} * std::int32_t{b}, cause);
}

}  // namespace integer16
