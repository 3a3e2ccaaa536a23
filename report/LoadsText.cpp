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

QString loadsLine(const DesignFile& design, const QString& asked, bool isCase)
{
    return QStringLiteral("loads: %1%2 of %3\n").arg(isCase ? QStringLiteral("case ") : QString(), asked,
                                                      QString::fromStdString(design.source));
}

}  // namespace loadsText
