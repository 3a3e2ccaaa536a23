#include "report/FileText.h"

#include <QStringList>
#include <QTextStream>

#include "analysis/Rigidity.h"
#include "kvrfile/NumberText.h"
#include "kvrfile/TrussStructure.h"
#include "report/TextTable.h"

namespace {

// A node number or a support code exactly as the Single holds it; and the
// file's data for other programs (CSV), nothing rounded away.
QString single(float value) { return QString::fromStdString(formatSingle(value)); }
// A coordinate, a load, E or A as a person reads it: at the precision of its Single.
QString quantity(float value) { return QString::fromStdString(formatQuantity(value)); }

QString supportName(float code)
{
    if (const char* name = SupportCode::nameOf(code))
        return QStringLiteral("%1 (%2)").arg(single(code), QLatin1String(name));
    return code == 0.0f ? QStringLiteral("-") : single(code);
}

QString membersCount(int count) { return QString::fromStdString(counted(count, "member", "members")); }

// What counting members and reactions against the joints shows, and what
// the analysis finds: counting alone cannot tell a mechanism.
QString staticsVerdict(const Rigidity& r)
{
    const int excess = r.members + r.reactions - 2 * r.joints;
    const QString counted = excess == 0 ? QStringLiteral("statically determinate")
                                        : QStringLiteral("statically indeterminate, %1 redundant").arg(membersCount(excess));
    switch (r.verdict) {
    case Rigidity::Verdict::Stands:
        return counted;
    case Rigidity::Verdict::Mechanism: {
        const QString motion = r.freeMotion.empty() ? QString()
                                                    : QStringLiteral(": %1 without any member changing length")
                                                          .arg(QString::fromStdString(r.freeMotion));
        return (excess < 0 ? membersCount(-excess) + QStringLiteral(" short, a mechanism")
                           : QStringLiteral("enough members by count, but a mechanism"))
               + motion;
    }
    case Rigidity::Verdict::NotDecided:
        break;
    }
    return counted + QStringLiteral(" by count, unless it is a mechanism: its members are too interconnected to tell here");
}

}  // namespace

QString fileSizeText(const TrussFileContent& t)
{
    QString text;
    QTextStream out(&text);
    out << "counts: noMax " << t.noMax << ", noNodes " << t.noNodes << ", noMembers " << t.noMembers << '\n';
    out << "size: " << t.size << " bytes";
    if (t.expectedSize == 0)
        out << "; negative counts call for no layout\n";
    else if (t.size == t.expectedSize)
        out << ", as the counts call for\n";
    else
        out << "; the counts call for " << t.expectedSize << '\n';
    return text;
}

QString fileTablesText(const TrussFileContent& t)
{
    QString text = QStringLiteral("\nnodes\n");
    const auto nodeLine = [&](const QStringList& cells) { text += tableLine(cells, {6, 14, 14, 14}); };
    nodeLine({QStringLiteral("node"), QStringLiteral("x (m)"), QStringLiteral("y (m)"), QStringLiteral("load (kN)"),
              QStringLiteral("support")});
    for (int n = 1; n <= t.noNodes; ++n)
        nodeLine({QString::number(n), quantity(t.node(n, NodeColumn::X)), quantity(t.node(n, NodeColumn::Y)),
                  quantity(t.node(n, NodeColumn::Load)), supportName(t.node(n, NodeColumn::Support))});

    text += QStringLiteral("\nmembers\n");
    const auto memberLine = [&](const QStringList& cells) { text += tableLine(cells, {6, 6, 6, 12, 12}); };
    memberLine({QStringLiteral("member"), QStringLiteral("first"), QStringLiteral("second"), QStringLiteral("E (kN/mm2)"),
                QStringLiteral("A (mm2)"), QStringLiteral("group")});
    for (int m = 1; m <= t.noMembers; ++m)
        memberLine({QString::number(m), single(t.member(m, MemberColumn::First)), single(t.member(m, MemberColumn::Second)),
                    quantity(t.member(m, MemberColumn::E)), quantity(t.member(m, MemberColumn::A)),
                    QString::fromLatin1(groupName(groupOf(t, m)))});
    return text;
}

QString fileCsv(const TrussFileContent& t)
{
    QString text;
    QTextStream out(&text);
    out << "node,x,y,load,support\n";
    for (int n = 1; n <= t.noNodes; ++n)
        out << n << ',' << single(t.node(n, NodeColumn::X)) << ',' << single(t.node(n, NodeColumn::Y)) << ','
            << single(t.node(n, NodeColumn::Load)) << ',' << single(t.node(n, NodeColumn::Support)) << '\n';
    out << "\nmember,first,second,E,A,group\n";
    for (int m = 1; m <= t.noMembers; ++m)
        out << m << ',' << single(t.member(m, MemberColumn::First)) << ',' << single(t.member(m, MemberColumn::Second))
            << ',' << single(t.member(m, MemberColumn::E)) << ',' << single(t.member(m, MemberColumn::A)) << ','
            << groupName(groupOf(t, m)) << '\n';
    return text;
}

QString checkText(const TrussFileContent& truss, const TrussCheckReport& report)
{
    QString text;
    QTextStream out(&text);
    for (const Finding& finding : report.findings)
        out << QString::fromStdString(finding.where) << ": " << QString::fromStdString(finding.what) << '\n';
    for (std::size_t i = 0; i < report.statics.size(); ++i) {
        out << QString::fromStdString(report.statics[i]);
        if (i + 1 == report.statics.size())
            out << ": " << staticsVerdict(rigidityOf(truss));
        out << '\n';
    }
    if (report.findings.empty())
        out << "consistent\n";
    else
        out << QString::fromStdString(counted(static_cast<int>(report.findings.size()), "finding", "findings")) << '\n';
    return text;
}

QString noTablesText() { return QStringLiteral("the tables cannot be read: the file does not hold what its counts call for"); }
