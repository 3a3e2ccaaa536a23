#include "kvrfile/TrussCheck.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <utility>

#include "kvrfile/NodeLoads.h"
#include "kvrfile/NumberText.h"
#include "kvrfile/TrussVocabulary.h"

namespace {

std::string number(double value) { return formatSignificant(value, 6); }

constexpr int columns(std::size_t count) { return static_cast<int>(count); }
using trussFile::memberColumns;
using trussFile::nodeColumns;

std::string nodeAt(int r) { return "node " + std::to_string(r); }
std::string memberAt(int r) { return "member " + std::to_string(r); }

class Checker {
public:
    explicit Checker(const TrussFileContent& truss) : t(truss) {}

    TrussCheckReport run()
    {
        checkCounts();
        if (!t.hasTables())
            return std::move(report);
        checkValuesAreFinite();
        checkUnusedCellsAreZero();
        checkMembers();
        checkMemberProperties();
        checkSupports();
        if (report.findings.empty())
            summariseStatics();
        return std::move(report);
    }

private:
    void find(const std::string& where, const std::string& what) { report.findings.push_back({where, what}); }

    void checkCounts()
    {
        if (t.noNodes < 0 || t.noMembers < 0) {
            find("file", "negative count: noNodes " + std::to_string(t.noNodes) + ", noMembers " + std::to_string(t.noMembers));
            return;
        }
        if (t.size != t.expectedSize)
            find("file", std::to_string(t.size) + " bytes, but the counts (" + counted(t.noNodes, "node", "nodes") + ", "
                             + counted(t.noMembers, "member", "members") + ") call for " + std::to_string(t.expectedSize)
                             + (t.size < t.expectedSize ? ": the file is truncated" : ": bytes follow the member table"));
        const int larger = std::max(t.noNodes, t.noMembers);
        if (t.noMax != larger)
            find("file", "noMax is " + std::to_string(t.noMax) + ", not the larger count " + std::to_string(larger));
    }

    void checkValuesAreFinite()
    {
        for (int r = 0; r <= t.noNodes; ++r)
            for (int c = 0; c < columns(nodeColumns); ++c)
                if (!std::isfinite(t.node(r, c)))
                    find(nodeAt(r), "column " + std::to_string(c) + " is not a finite number");
        for (int r = 0; r <= t.noMembers; ++r)
            for (int c = 0; c < columns(memberColumns); ++c)
                if (!std::isfinite(t.member(r, c)))
                    find(memberAt(r), "column " + std::to_string(c) + " is not a finite number");
    }

    void checkUnusedCellsAreZero()
    {
        const auto zero = [](float v) { return v == 0.0f || std::isnan(v); };  // NaNs are reported once, above
        for (int c = 0; c < columns(nodeColumns); ++c)
            if (!zero(t.node(0, c)))
                find(nodeAt(0), "column " + std::to_string(c) + " holds " + number(t.node(0, c)) + ", not 0");
        for (int c = 0; c < columns(memberColumns); ++c)
            if (!zero(t.member(0, c)))
                find(memberAt(0), "column " + std::to_string(c) + " holds " + number(t.member(0, c)) + ", not 0");
        for (int r = 1; r <= t.noNodes; ++r)
            for (const int c : NodeColumn::unused)
                if (!zero(t.node(r, c)))
                    find(nodeAt(r), "column " + std::to_string(c) + " holds " + number(t.node(r, c)) + ", not 0");
        for (int r = 1; r <= t.noMembers; ++r)
            for (const int c : MemberColumn::unused)
                if (!zero(t.member(r, c)))
                    find(memberAt(r), "column " + std::to_string(c) + " holds " + number(t.member(r, c)) + ", not 0");
    }

    void checkMembers()
    {
        std::map<std::pair<int, int>, int> seen;
        std::vector<int> degree(t.nodeRows(), 0);
        for (int m = 1; m <= t.noMembers; ++m) {
            const int first = nodeNumber(t, m, MemberColumn::First), second = nodeNumber(t, m, MemberColumn::Second);
            if (first == 0 || second == 0) {
                find(memberAt(m), "joins node " + number(t.member(m, MemberColumn::First)) + " and node " + number(t.member(m, MemberColumn::Second))
                                      + "; nodes are numbered 1 to " + std::to_string(t.noNodes));
                continue;
            }
            if (first == second) {
                find(memberAt(m), "joins node " + std::to_string(first) + " to itself");
                continue;
            }
            const auto [it, added] = seen.emplace(std::minmax(first, second), m);
            if (!added)
                find(memberAt(m), "joins nodes " + std::to_string(first) + " and " + std::to_string(second)
                                      + ", as member " + std::to_string(it->second) + " does");
            ++degree[static_cast<std::size_t>(first)];
            ++degree[static_cast<std::size_t>(second)];
        }
        for (int n = 1; n <= t.noNodes; ++n)
            if (degree[static_cast<std::size_t>(n)] < 2)
                find(nodeAt(n), "is on " + counted(degree[static_cast<std::size_t>(n)], "member", "members")
                                    + "; a truss node needs at least 2");
    }

    // What the analysis needs of a member: a length, and a positive E x A.
    // Values that are not finite are reported above.
    void checkMemberProperties()
    {
        const auto finite = [](float a, float b) { return std::isfinite(a) && std::isfinite(b); };
        for (int m = 1; m <= t.noMembers; ++m) {
            const int first = nodeNumber(t, m, MemberColumn::First), second = nodeNumber(t, m, MemberColumn::Second);
            if (first != 0 && second != 0 && first != second) {
                const float x = t.node(first, NodeColumn::X), y = t.node(first, NodeColumn::Y);
                if (finite(x, y) && x == t.node(second, NodeColumn::X) && y == t.node(second, NodeColumn::Y))
                    find(memberAt(m), "has zero length: nodes " + std::to_string(first) + " and " + std::to_string(second)
                                          + " both lie at x = " + number(x) + " m, y = " + number(y) + " m");
            }
            const float e = t.member(m, MemberColumn::E), a = t.member(m, MemberColumn::A);
            if (finite(e, a) && !(e > 0.0f && a > 0.0f))
                find(memberAt(m), "E = " + number(e) + " kN/mm2, A = " + number(a)
                                      + " mm2: a member needs positive E and A");
        }
    }

    void checkSupports()
    {
        for (int n = 1; n <= t.noNodes; ++n)
            if (const float code = t.node(n, NodeColumn::Support);
                code != 0.0f && std::isfinite(code) && SupportCode::nameOf(code) == nullptr)
                find(nodeAt(n), "support code " + number(code) + " is neither " + number(SupportCode::Pin) + " nor "
                                    + number(SupportCode::Roller));
        const Supports supports = supportsOf(t);
        if (supports.pins.size() != 1)
            find("file", std::to_string(supports.pins.size()) + " nodes carry support code " + number(SupportCode::Pin)
                             + "; there must be exactly one");
        if (supports.rollers.size() != 1)
            find("file", std::to_string(supports.rollers.size()) + " nodes carry support code " + number(SupportCode::Roller)
                             + "; there must be exactly one");
        if (supports.pin() != 0 && supports.roller() != 0) {
            pin = supports.pin();
            roller = supports.roller();
        }
    }

    void summariseStatics()
    {
        // Loads act on the nodes in column 4 (kN, upwards positive); the
        // supports are a pin (code 1) and a roller (code 2) of a simply
        // supported truss.
        double total = 0.0, moment = 0.0;
        const double x1 = t.node(pin, NodeColumn::X), x2 = t.node(roller, NodeColumn::X);
        for (int n = 1; n <= t.noNodes; ++n) {
            const double load = t.node(n, NodeColumn::Load);
            total += load;
            moment += load * (t.node(n, NodeColumn::X) - x1);
        }
        report.statics.push_back(describe(nodeLoadsOf(t)));
        if (x2 != x1) {
            const double rollerReaction = -moment / (x2 - x1);
            const double pinReaction = -total - rollerReaction;
            report.statics.push_back("support reactions: " + number(pinReaction) + " kN at node " + std::to_string(pin)
                                     + supportOf(pin) + ", " + number(rollerReaction) + " kN at node " + std::to_string(roller)
                                     + supportOf(roller));
        } else {
            report.statics.push_back("support reactions: undetermined, both supports stand at x = " + number(x1));
        }
        // What counting shows; whether the truss is a mechanism, counting
        // cannot tell, and the analysis says.
        const int members = t.noMembers, reactions = 3, joints = t.noNodes;
        report.statics.push_back("m + r = " + std::to_string(members) + " + " + std::to_string(reactions) + " = "
                                 + std::to_string(members + reactions) + ", 2j = " + std::to_string(2 * joints));
    }

    // The file holds node loads only, whether a uniform load or point loads
    // were entered, so they are named as such and no load per metre is made
    // up for them.
    static std::string describe(const NodeLoads& loads)
    {
        std::string line = "node loads: " + number(loads.total) + " kN in total on " + counted(loads.loaded, "node", "nodes");
        if (loads.even)
            line += ", spread evenly: " + number(loads.each) + " kN every " + number(loads.pitch)
                    + " m, half of it at both ends";
        return line;
    }

    // " (pin)" or " (roller)": the support at node n.
    std::string supportOf(int n) const { return " (" + std::string(SupportCode::nameOf(t.node(n, NodeColumn::Support))) + ")"; }

    const TrussFileContent& t;
    TrussCheckReport report;
    int pin = 0, roller = 0;
};

}  // namespace

TrussCheckReport checkTruss(const TrussFileContent& truss) { return Checker(truss).run(); }
