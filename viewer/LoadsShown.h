#pragma once

#include <string>
#include <vector>

#include <QString>

#include "loads/DesignFile.h"

// Which loads the viewer shows the truss under: the truss file's own, one
// load case or one combination of the design file's cases, or the envelope
// of its strength combinations, each member under the one that governs it.
struct LoadsShown {
    enum class Kind { File, Case, Combination, Envelope };
    Kind kind = Kind::File;
    std::string name;  // of the case or the combination

    bool operator==(const LoadsShown&) const = default;
};

// The choices a design file gives, each as the picker names it: the file's
// own loads; each case, "case W (wind)"; each combination, generated then
// the engineer's own, "ULS 3 — 1.35 G + 1.5 Q"; the envelope.
struct LoadsEntry {
    LoadsShown loads;
    QString label;
};
std::vector<LoadsEntry> loadsEntries(const DesignFile& design);

// Whether the design file gives it (the file's own loads it always does).
bool offers(const DesignFile* design, const LoadsShown& loads);
