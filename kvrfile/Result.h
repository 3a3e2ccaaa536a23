#pragma once

#include <optional>
#include <string>

// What a step that may fail gives back: its value, or one line that says
// why there is none. The front ends word that line their own way.
template <class T>
struct Result {
    std::optional<T> value;
    std::string error;  // why there is no value
};
