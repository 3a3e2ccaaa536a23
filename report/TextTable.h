#pragma once

#include <initializer_list>

#include <QStringList>

// One line of a table: each cell right-aligned to its width, the last one
// left-aligned after two blanks.
inline QString tableLine(const QStringList& cells, std::initializer_list<int> widths)
{
    QStringList aligned;
    auto width = widths.begin();
    for (qsizetype i = 0; i + 1 < cells.size(); ++i, ++width)
        aligned << cells[i].rightJustified(*width);
    return aligned.join(u' ') + QStringLiteral("  ") + cells.constLast() + u'\n';
}
