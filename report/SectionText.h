#pragma once

#include <optional>
#include <variant>
#include <vector>

#include <QString>

#include "design/Section.h"

// The words of the section tables as kvrtool sections gives them.

// The sections of the code and of the family named (each none: all), or why
// a name is refused, worded with its option: "--family: unknown family 'HEM';
// the families are SHS, ... and W".
std::variant<std::vector<const Section*>, QString> sectionsNamed(const std::optional<QString>& code,
                                                                 const std::optional<QString>& family);

// designation,family,standard,h_mm,b_mm,t_mm,A_mm2,Iy_mm4,Iz_mm4,iy_mm,iz_mm,mass_kg_m, 6 significant digits.
QString sectionsCsv(const std::vector<const Section*>& sections);
// A readable table, second moments in 10^6 mm4, and the count.
QString sectionsText(const std::vector<const Section*>& sections);
