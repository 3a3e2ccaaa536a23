#pragma once

#include <optional>
#include <variant>

#include <QMap>
#include <QString>

#include "truss/TrussBuildError.h"
#include "truss/TrussParameters.h"

// A truss as words give it: the options of kvrtool generate, each text under
// its option's name ("span" "6", "top-area" "300"). The numbers are read by
// the window's number rule in the C locale; a shared value ("area", "e")
// stands for each group's own where that is not given. Every mistake is
// worded with the option it is in ("--span: expected a number, got 'x'").
using TrussWords = QMap<QString, QString>;  // a text for each option given

// Why the words cannot make a truss file whatever their values: an unknown
// --type (before anything else), a missing option (span, height, panels
// unless the type has one layout, output: the file, a value for every
// group), not exactly one of --udl and --point-load. None when complete.
std::optional<QString> incompleteTruss(const TrussWords& words);

// The parameters of complete words, or why a value cannot be one: not a
// number, beyond the range of Single, not greater than 0 where a truss needs
// it, a panel count the type does not take, panels of no length.
std::variant<TrussParameters, QString> trussParametersOf(const TrussWords& words);

// A failure of the builder for the truss of these parameters, worded with the
// option to change.
QString buildRefusal(const TrussBuildError& error, const TrussParameters& parameters);

// The types' names, "pratt, howe, ...", and each one's panel counts, "pratt
// 1 to 8191, ..., k even 2 to 5460, ...", as the help lists them.
QString trussTypeNames();
QString panelCountsOfTypes();
