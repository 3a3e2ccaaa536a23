#include "report/LoadsText.h"

#include <algorithm>

namespace loadsText {

QString combinationsList(const std::vector<Combination>& combinations)
{
    qsizetype nameWidth = 0, termsWidth = 0;
    std::vector<QString> terms;
    for (const Combination& c : combinations) {
        terms.push_back(QString::fromStdString(notationOf(c.terms)));
        nameWidth = std::max(nameWidth, QString::fromStdString(c.name).size());
        termsWidth = std::max(termsWidth, terms.back().size());
    }
    QString out;
    for (std::size_t i = 0; i < combinations.size(); ++i)
        out += QString::fromStdString(combinations[i].name).leftJustified(nameWidth) + QLatin1String("  ")
               + terms[i].leftJustified(termsWidth) + QLatin1String("  ") + QString::fromStdString(combinations[i].basis) + u'\n';
    return out;
}

Result<Loads> loadsOf(const DesignFile& design, const AskedLoads& asked, const TrussFileContent& truss)
{
    if (asked.caseName.has_value() == asked.combination.has_value())
        return {std::nullopt, "--design: give the loads to solve for, --case NAME or --combination TEXT (one of them)"};
    const bool isCase = asked.caseName.has_value();
    const QString text = isCase ? *asked.caseName : *asked.combination;
    Result<NodeForces> forces =
        isCase ? caseLoadsNamed(design, truss, text.toStdString()) : combinationLoads(design, truss, text.toStdString());
    if (!forces.value)
        return {std::nullopt, (isCase ? "--case: " : "--combination: ") + forces.error};
    return {Loads{std::move(*forces.value), QStringLiteral("loads: %1%2 of %3\n")
                                               .arg(isCase ? QStringLiteral("case ") : QString(), text,
                                                    QString::fromStdString(design.source))},
            {}};
}

std::vector<QString> governingNames(const EnvelopeDesign& envelope)
{
    std::vector<QString> names(envelope.governing.size());
    for (std::size_t m = 1; m < names.size(); ++m)
        names[m] = QString::fromStdString(envelope.combinations[std::size_t(envelope.governing[m])].name);
    return names;
}

}  // namespace loadsText
