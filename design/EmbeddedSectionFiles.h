#pragma once

#include <span>
#include <string_view>

// The data files of design/sections, as the build embedded them: the
// programs look up no file at run time.
struct EmbeddedSectionFile {
    std::string_view name;  // "en10210-2-shs.csv"
    std::string_view text;
};

std::span<const EmbeddedSectionFile> embeddedSectionFiles();
