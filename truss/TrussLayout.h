#pragma once

#include <cstdint>
#include <numeric>
#include <vector>

#include "kvrfile/TrussFileContent.h"
#include "kvrfile/TrussStructure.h"
#include "truss/TrussParameters.h"
#include "truss/TrussTypes.h"

// An exact fraction num / den (den > 0) of the span or of the height. Nodes
// are placed by fractions, so that two nodes meant to stand one above the
// other get the same Single x, whatever the span.
struct Share {
    std::int64_t num = 0, den = 1;
};

inline Share reduced(std::int64_t num, std::int64_t den)
{
    const std::int64_t d = std::gcd(num, den);
    return {num / d, den / d};
}
inline Share operator+(Share a, Share b) { return reduced(a.num * b.den + b.num * a.den, a.den * b.den); }
inline Share operator-(Share a, Share b) { return reduced(a.num * b.den - b.num * a.den, a.den * b.den); }
inline bool operator<(Share a, Share b) { return a.num * b.den < b.num * a.den; }

// The shape of a truss of the types beside Pratt, before its sizes are known:
// where its nodes lie, which of them carry the top chord's load, which
// members join them, and the group each member belongs to. Node 1 is the pin
// at the left end of the bottom chord; numbering as the README draws it.
struct TrussLayout {
    struct Node {
        Share x, y;  // of the span from the left end, of the height above the bottom chord
        bool loaded = false;  // on the top chord, where the load comes on
    };
    struct Member {
        int first, second;
        MemberGroup group;
    };

    std::vector<Node> nodes;      // node 1 first
    std::vector<Member> members;  // member 1 first
    int roller = 0;               // the node at the right end of the bottom chord

    // The new node's number.
    int node(Share x, Share y, bool loaded = false)
    {
        nodes.push_back({x, y, loaded});
        return static_cast<int>(nodes.size());
    }
    void join(int first, int second, MemberGroup group) { members.push_back({first, second, group}); }
};

// np panels of a parallel-chord or a roof type; np must be one the type takes.
TrussLayout parallelLayout(TrussType type, int np);
TrussLayout roofLayout(TrussType type, int np);

// The truss file's content of a type beside Pratt, from the entered
// parameters (np, the panel count; h, the depth or the rise at mid-span).
// Throws TrussBuildError before anything is built when a parameter cannot
// make the truss.
TrussFileContent buildTrussFile(const TrussTypeInfo& type, const TrussParameters& parameters);
