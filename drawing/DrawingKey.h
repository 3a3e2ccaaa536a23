#pragma once

#include <vector>

#include <QColor>
#include <QString>
#include <QStringList>

#include "analysis/NodeLoads.h"
#include "kvrfile/TrussFileContent.h"

// What a reader of a truss drawing needs to read it: how each member is
// drawn and what the legend calls that, the title line, and the caption that
// says what the page left out.

struct MemberLook {
    QColor color;
    QString cls;   // the shape's class in the drawing
    QString name;  // in the legend
};

// Members drawn in colours of their own, such as by how much of their
// resistance they use: a look for each member by its number, and the
// legend's entries in their order.
struct MemberColours {
    std::vector<MemberLook> looks;  // a member beyond them is drawn as if none were given
    std::vector<MemberLook> legend;
};

// The members by group, or, given their forces, by the sign of the force;
// given their colours, by those.
class MemberLooks {
public:
    MemberLooks(const TrussFileContent& truss, const std::vector<double>& forces, const MemberColours* colours = nullptr);

    MemberLook of(int member) const;
    QString labelOf(int member) const;  // its number, or its force in kN
    QString labelClass() const;
    QString labelName() const;  // for the caption
    // The looks the legend shows, given those drawn: tension and compression
    // always when the members are drawn by their forces.
    std::vector<MemberLook> legend(const std::vector<MemberLook>& drawn) const;

private:
    const TrussFileContent& t;
    const std::vector<double>& forces_;
    const MemberColours* colours_;
    double zero_ = 0.0;  // kN: forces this small are rounding, not load
};

struct Tally {
    int shown = 0, total = 0;
    bool partial() const { return shown < total; }
};

struct Omissions {
    Tally memberLabels, nodeLabels, loadLabels;
    int loadStride = 1;  // one load label in so many shown, all of them kept clear of the next; 0: no such rule
    Tally members;       // shown: the lines that draw them
    Tally nodes, arrows;
};

// A value as the drawing labels it: 4 significant digits, an exact half
// rounded away from zero.
QString labelValue(double value);

// One line to head the drawing: span, height, panels and the node loads,
// the file's or, given, those loads summed.
QString titleOf(const TrussFileContent& truss, double span, double height, const NodeForces* loads = nullptr);

// What was left out, and why; no line when nothing was.
QStringList captionOf(const Omissions& omitted, const MemberLooks& looks);
