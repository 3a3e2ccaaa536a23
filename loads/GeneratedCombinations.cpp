#include "loads/GeneratedCombinations.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

namespace {

// A combination while it is made: a factor for every case, 0 for none.
struct Draft {
    std::vector<double> factors;
    LimitState limitState = LimitState::Ultimate;
    std::string basis;
};

// Products of factors as the code's tables write them: 1.5 x 0.7 is 1.05.
double tidy(double factor) { return std::round(factor * 1e6) / 1e6; }

// Whether a is b scaled by a factor in (0, 1]: it cannot govern beside b.
bool scaledDown(const Draft& a, const Draft& b)
{
    double scale = 0;
    for (std::size_t c = 0; c < a.factors.size(); ++c)
        if (b.factors[c] != 0) {
            scale = a.factors[c] / b.factors[c];
            break;
        }
    if (!(scale > 0 && scale <= 1 + 1e-12))
        return false;
    for (std::size_t c = 0; c < a.factors.size(); ++c)
        if (std::fabs(a.factors[c] - scale * b.factors[c]) > 1e-9 * std::fabs(a.factors[c]) + 1e-12)
            return false;
    return true;
}

bool empty(const Draft& d)
{
    return std::all_of(d.factors.begin(), d.factors.end(), [](double f) { return f == 0; });
}

// The drafts that can govern, named in order, each state numbered on its own.
std::vector<Combination> named(const std::vector<Draft>& drafts, std::span<const LoadCase> cases)
{
    std::vector<Combination> combinations;
    int count[2] = {0, 0};
    for (std::size_t i = 0; i < drafts.size(); ++i) {
        const Draft& d = drafts[i];
        const auto governsOver = [&](std::size_t j) {
            const Draft& e = drafts[j];
            return j != i && e.limitState == d.limitState && scaledDown(d, e) && (j < i || !scaledDown(e, d));
        };
        bool dominated = empty(d);
        for (std::size_t j = 0; j < drafts.size() && !dominated; ++j)
            dominated = governsOver(j);
        if (dominated)
            continue;
        Combination c;
        const int state = d.limitState == LimitState::Ultimate ? 0 : 1;
        c.name = std::string(limitStateName(d.limitState)) + " " + std::to_string(++count[state]);
        c.limitState = d.limitState;
        c.basis = d.basis;
        for (std::size_t k = 0; k < cases.size(); ++k)
            if (d.factors[k] != 0)
                c.terms.push_back({d.factors[k], cases[k].name});
        combinations.push_back(std::move(c));
    }
    std::stable_partition(combinations.begin(), combinations.end(),
                          [](const Combination& c) { return c.limitState == LimitState::Ultimate; });
    return combinations;
}

std::vector<std::size_t> casesOfKind(std::span<const LoadCase> cases, LoadKind kind)
{
    std::vector<std::size_t> found;
    for (std::size_t k = 0; k < cases.size(); ++k)
        if (cases[k].kind == kind)
            found.push_back(k);
    return found;
}

// Every way of taking at most one case from each group of alternatives:
// the chosen cases (or -1 for none) per group, the most loads first.
std::vector<std::vector<long>> choices(const std::vector<std::vector<std::size_t>>& groups)
{
    std::vector<std::vector<long>> all{{}};
    for (const std::vector<std::size_t>& group : groups) {
        std::vector<std::vector<long>> next;
        for (const std::vector<long>& chosen : all) {
            for (const std::size_t k : group) {
                next.push_back(chosen);
                next.back().push_back(static_cast<long>(k));
            }
            next.push_back(chosen);
            next.back().push_back(-1);
        }
        all = std::move(next);
    }
    const auto acting = [](const std::vector<long>& c) {
        return std::count_if(c.begin(), c.end(), [](long k) { return k >= 0; });
    };
    std::stable_sort(all.begin(), all.end(), [&](const auto& a, const auto& b) { return acting(a) > acting(b); });
    return all;
}

// The variable kinds of EN 1990, each a group of alternative cases.
std::vector<std::vector<std::size_t>> variableGroups(std::span<const LoadCase> cases)
{
    std::vector<std::vector<std::size_t>> groups;
    for (const LoadKind kind : kindsOf(DesignCode::En1993))
        if (kind != LoadKind::Permanent)
            if (std::vector<std::size_t> found = casesOfKind(cases, kind); !found.empty())
                groups.push_back(std::move(found));
    return groups;
}

constexpr double gammaGUnfavourable = 1.35, gammaGFavourable = 1.0, gammaQ = 1.5, xi = 0.85;

// One expression of EN 1990 for every favourable/unfavourable choice of the
// permanent cases and every choice of variable actions. leading: each
// acting variable action leads in turn (else all take psi0).
void addEn1990(std::vector<Draft>& drafts, std::span<const LoadCase> cases, const std::string& basis, LimitState state,
               double gammaSup, double gammaInf, double gammaLead, double gammaOther, bool leading)
{
    const std::vector<std::size_t> permanent = casesOfKind(cases, LoadKind::Permanent);
    const std::vector<std::vector<long>> selections = choices(variableGroups(cases));
    const unsigned variants = gammaSup == gammaInf ? 1u : 1u << permanent.size();
    for (unsigned favourable = 0; favourable < variants; ++favourable) {
        Draft base{std::vector<double>(cases.size(), 0.0), state, basis};
        for (std::size_t p = 0; p < permanent.size(); ++p)
            base.factors[permanent[p]] = (favourable >> p) & 1u ? gammaInf : gammaSup;
        for (const std::vector<long>& chosen : selections) {
            std::vector<std::size_t> acting;
            for (const long k : chosen)
                if (k >= 0)
                    acting.push_back(static_cast<std::size_t>(k));
            const std::size_t leaders = leading ? std::max<std::size_t>(acting.size(), 1) : 1;
            for (std::size_t lead = 0; lead < leaders; ++lead) {
                Draft d = base;
                for (std::size_t a = 0; a < acting.size(); ++a) {
                    const std::size_t k = acting[a];
                    d.factors[k] = leading && a == lead ? gammaLead : tidy(gammaOther * psi0Of(cases[k]));
                }
                drafts.push_back(std::move(d));
            }
        }
    }
}

// A term of an ASCE 7 combination: a factor on one of its kinds of load.
struct Alternative {
    double factor;
    LoadKind kind;
};
struct Asce7Combination {
    const char* basis;
    LimitState state;
    double dead;                                     // on every dead case
    std::vector<std::vector<Alternative>> variable;  // each term: one of its alternatives, or none
};

}  // namespace

std::vector<Combination> en1990Combinations(std::span<const LoadCase> cases, En1990Equation equation)
{
    std::vector<Draft> drafts;
    const LimitState uls = LimitState::Ultimate;
    if (equation == En1990Equation::Eq610) {
        addEn1990(drafts, cases, "EN 1990 6.10", uls, gammaGUnfavourable, gammaGFavourable, gammaQ, gammaQ, true);
    } else {
        addEn1990(drafts, cases, "EN 1990 6.10a", uls, gammaGUnfavourable, gammaGFavourable, gammaQ, gammaQ, false);
        addEn1990(drafts, cases, "EN 1990 6.10b", uls, tidy(xi * gammaGUnfavourable), gammaGFavourable, gammaQ, gammaQ, true);
    }
    addEn1990(drafts, cases, "EN 1990 6.14b", LimitState::Serviceability, 1.0, 1.0, 1.0, 1.0, true);
    return named(drafts, cases);
}

std::vector<Combination> asce7Combinations(std::span<const LoadCase> cases)
{
    using K = LoadKind;
    const LimitState uls = LimitState::Ultimate;
    const std::vector<Alternative> roofOrSnow{{0.5, K::RoofLive}, {0.5, K::Snow}};
    const std::vector<Asce7Combination> table{
        {"ASCE 7-16 2.3.1 (1)", uls, 1.4, {}},
        {"ASCE 7-16 2.3.1 (2)", uls, 1.2, {{{1.6, K::Imposed}}, roofOrSnow}},
        {"ASCE 7-16 2.3.1 (3)", uls, 1.2, {{{1.6, K::RoofLive}, {1.6, K::Snow}}, {{1.0, K::Imposed}, {0.5, K::Wind}}}},
        {"ASCE 7-16 2.3.1 (4)", uls, 1.2, {{{1.0, K::Wind}}, {{1.0, K::Imposed}}, roofOrSnow}},
        {"ASCE 7-16 2.3.1 (5)", uls, 0.9, {{{1.0, K::Wind}}}},
        {"ASCE 7-16 App. C", LimitState::Serviceability, 1.0, {{{1.0, K::Imposed}}}},
    };
    std::vector<Draft> drafts;
    const std::vector<std::size_t> dead = casesOfKind(cases, K::Permanent);
    for (const Asce7Combination& row : table) {
        // Each term's choices: a case of one of its kinds, with that kind's factor.
        std::vector<std::vector<std::size_t>> groups;
        std::vector<double> factorOf(cases.size(), 0.0);
        for (const std::vector<Alternative>& term : row.variable) {
            std::vector<std::size_t> group;
            for (const Alternative& alternative : term)
                for (const std::size_t k : casesOfKind(cases, alternative.kind)) {
                    group.push_back(k);
                    factorOf[k] = alternative.factor;
                }
            groups.push_back(std::move(group));
        }
        for (const std::vector<long>& chosen : choices(groups)) {
            Draft d{std::vector<double>(cases.size(), 0.0), row.state, row.basis};
            for (const std::size_t k : dead)
                d.factors[k] = row.dead;
            for (const long k : chosen)
                if (k >= 0)
                    d.factors[static_cast<std::size_t>(k)] = factorOf[static_cast<std::size_t>(k)];
            drafts.push_back(std::move(d));
        }
    }
    return named(drafts, cases);
}

std::vector<Combination> combinationsOf(const DesignFile& design)
{
    std::vector<Combination> all =
        design.code == DesignCode::En1993 ? en1990Combinations(design.cases, design.equation) : asce7Combinations(design.cases);
    all.insert(all.end(), design.ownCombinations.begin(), design.ownCombinations.end());
    return all;
}

double generatedCombinationBound(std::span<const LoadCase> cases, DesignCode code)
{
    double permanent = 0;
    std::map<LoadKind, double> variable;  // cases of each variable kind
    for (const LoadCase& c : cases)
        (c.kind == LoadKind::Permanent ? permanent : variable[c.kind]) += 1;
    // Each choice of the variable loads, counted once a leading action in it:
    // 1 + sum over kinds of n_k x prod over the others of (n_j + 1).
    double choices = 1;
    for (const auto& [kind, n] : variable) {
        double others = n;
        for (const auto& [otherKind, m] : variable)
            if (otherKind != kind)
                others *= m + 1;
        choices += others;
    }
    const double ways = code == DesignCode::En1993 ? std::pow(2.0, permanent) : 1.0;
    return 3 * ways * choices * (code == DesignCode::En1993 ? 1 : 5);
}
