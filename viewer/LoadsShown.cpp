#include "viewer/LoadsShown.h"

#include <algorithm>

#include <QObject>

#include "loads/GeneratedCombinations.h"

namespace {

QString text(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

}  // namespace

std::vector<LoadsEntry> loadsEntries(const DesignFile& design)
{
    std::vector<LoadsEntry> entries;
    // Each entry filled member by member: GCC 12's optimiser takes a name in
    // a nested brace list for one that may be uninitialised.
    const auto add = [&entries](LoadsShown::Kind kind, const std::string& name, const QString& label) {
        LoadsEntry& entry = entries.emplace_back();
        entry.loads.kind = kind;
        entry.loads.name = name;
        entry.label = label;
    };
    add(LoadsShown::Kind::File, {}, QObject::tr("the file's own loads"));
    if (design.cases.empty())
        return entries;
    for (const LoadCase& c : design.cases)
        add(LoadsShown::Kind::Case, c.name, QObject::tr("case %1 (%2)").arg(text(c.name), text(kindName(design.code, c.kind))));
    for (const Combination& c : combinationsOf(design))
        add(LoadsShown::Kind::Combination, c.name, text(c.name) + QStringLiteral(" — ") + text(notationOf(c.terms)));
    add(LoadsShown::Kind::Envelope, {}, QObject::tr("envelope (strength combinations)"));
    return entries;
}

bool offers(const DesignFile* design, const LoadsShown& loads)
{
    switch (loads.kind) {
    case LoadsShown::Kind::File:
        return true;
    case LoadsShown::Kind::Case:
        return design && design->caseNamed(loads.name);
    case LoadsShown::Kind::Combination: {
        if (!design)
            return false;
        const std::vector<Combination> all = combinationsOf(*design);
        return std::any_of(all.begin(), all.end(), [&](const Combination& c) { return c.name == loads.name; });
    }
    case LoadsShown::Kind::Envelope:
        return design && !design->cases.empty();
    }
    return false;
}
