// The numeric kernel on its own: the LDL^T factor against Eigen's dense
// solvers, in double and exactly modulo a prime; the symbolic count against
// the non-zeros of a dense factor; the primality test behind the drawn
// prime; refinement with a factor that cannot converge.
#include <gtest/gtest.h>

#include <Eigen/Dense>

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/DrawnPrimeResidue.h"
#include "analysis/Refinement.h"
#include "analysis/Residue.h"
#include "analysis/SparseLdl.h"

namespace {

struct Matrix {
    std::string name;
    Eigen::MatrixXi a;  // symmetric positive definite, integer so that every arithmetic holds it exactly
};

Eigen::MatrixXi banded(int n)
{
    Eigen::MatrixXi a = Eigen::MatrixXi::Zero(n, n);
    for (int i = 0; i < n; ++i) {
        a(i, i) = 4;
        if (i + 1 < n)
            a(i, i + 1) = a(i + 1, i) = -1;
    }
    return a;
}

// Eliminating the first unknown fills in the whole factor.
Eigen::MatrixXi arrow(int n)
{
    Eigen::MatrixXi a = 2 * n * Eigen::MatrixXi::Identity(n, n);
    for (int i = 1; i < n; ++i)
        a(0, i) = a(i, 0) = 1;
    return a;
}

// The 5-point grid of rows x columns, numbered row by row: fill within the band.
Eigen::MatrixXi grid(int rowCount, int columnCount)
{
    const int n = rowCount * columnCount;
    Eigen::MatrixXi a = 5 * Eigen::MatrixXi::Identity(n, n);
    for (int r = 0; r < rowCount; ++r)
        for (int c = 0; c < columnCount; ++c) {
            const int k = r * columnCount + c;
            if (c + 1 < columnCount)
                a(k, k + 1) = a(k + 1, k) = -1;
            if (r + 1 < rowCount)
                a(k, k + columnCount) = a(k + columnCount, k) = -1;
        }
    return a;
}

SymmetricPattern patternOf(const Eigen::MatrixXi& a)
{
    SymmetricPattern p;
    for (int j = 0; j < a.cols(); ++j) {
        for (int i = 0; i <= j; ++i)
            if (a(i, j) != 0)
                p.rows.push_back(i);
        p.start.push_back(static_cast<int>(p.rows.size()));
    }
    return p;
}

template <class T>
std::vector<T> valuesOf(const Eigen::MatrixXi& a, const SymmetricPattern& p)
{
    std::vector<T> v;
    for (int j = 0; j < p.size(); ++j)
        for (int q = p.start[std::size_t(j)]; q < p.start[std::size_t(j) + 1]; ++q)
            v.push_back(T(a(p.rows[std::size_t(q)], j)));
    return v;
}

template <class T>
std::vector<T> solved(const Eigen::MatrixXi& a, const std::vector<T>& b)
{
    const SymmetricPattern p = patternOf(a);
    const FactorShape shape = factorShape(p, 1000);
    LdlFactor<T> factor;
    const std::vector<T> values = valuesOf<T>(a, p);
    EXPECT_EQ(factor.factorise(p, shape, values), -1);
    std::vector<T> x = b;
    factor.solve(x);
    return x;
}

// A x = b exactly, in the residues.
template <class R>
void expectExactSolution(const Eigen::MatrixXi& a)
{
    const int n = static_cast<int>(a.rows());
    std::vector<R> b;
    for (int i = 0; i < n; ++i)
        b.push_back(R(i + 1));
    const std::vector<R> x = solved(a, b);
    for (int i = 0; i < n; ++i) {
        R sum;
        for (int j = 0; j < n; ++j)
            sum += R(a(i, j)) * x[std::size_t(j)];
        EXPECT_TRUE(sum == b[std::size_t(i)]) << "row " << i;
    }
}

class FactorTest : public testing::TestWithParam<Matrix> {};

TEST_P(FactorTest, SolvesAsEigensDenseLdlt)
{
    const Eigen::MatrixXd a = GetParam().a.cast<double>();
    const Eigen::VectorXd b = Eigen::VectorXd::LinSpaced(a.rows(), 1.0, double(a.rows()));
    const Eigen::VectorXd expected = a.ldlt().solve(b);
    const std::vector<double> x = solved(GetParam().a, std::vector<double>(b.data(), b.data() + b.size()));
    for (int i = 0; i < a.rows(); ++i)
        EXPECT_NEAR(x[std::size_t(i)], expected(i), 1e-14 * expected.cwiseAbs().maxCoeff()) << "unknown " << i;
}

TEST_P(FactorTest, SolvesExactlyModuloAPrime)
{
    expectExactSolution<Residue>(GetParam().a);
    expectExactSolution<DrawnPrimeResidue>(GetParam().a);
}

// The count's entries are the structural non-zeros of L, which the dense
// Cholesky factor (no pivoting, no cancellation in these matrices) shows.
TEST_P(FactorTest, CountsTheFactorsNonZeros)
{
    const Eigen::MatrixXd l = GetParam().a.cast<double>().llt().matrixL();
    std::int64_t nonZeros = 0;
    for (int j = 0; j < l.cols(); ++j)
        for (int i = j + 1; i < l.rows(); ++i)
            nonZeros += l(i, j) != 0.0;
    const FactorShape shape = factorShape(patternOf(GetParam().a), 1000);
    EXPECT_TRUE(shape.counted);
    EXPECT_EQ(shape.entries, nonZeros);
    if (nonZeros > 0) {
        EXPECT_FALSE(factorShape(patternOf(GetParam().a), nonZeros - 1).counted) << "a limit below the count stops it";
    }
}

INSTANTIATE_TEST_SUITE_P(Kernel, FactorTest,
                         testing::Values(Matrix{"single", Eigen::MatrixXi::Constant(1, 1, 7)}, Matrix{"banded", banded(6)},
                                         Matrix{"arrow", arrow(6)}, Matrix{"grid", grid(3, 4)}),
                         [](const auto& info) { return info.param.name; });

// A Single is an integer times a power of two: its residue times the
// inverse power is the integer's.
template <class R>
void expectSinglesAsIntegers()
{
    EXPECT_TRUE(R::ofSingle(0.375f) * R(8) == R(3));
    EXPECT_TRUE(R::ofSingle(-2.5f) * R(2) == R(-5));
    EXPECT_TRUE(R::ofSingle(0x1p-70f) * R::ofSingle(0x1p40f) * R::ofSingle(0x1p30f) == R(1));
    EXPECT_TRUE(R::ofSingle(0x1.8p100f) == R(3) * R::ofSingle(0x1p99f));
    EXPECT_TRUE(R::ofSingle(0.0f) == R(0));
}

TEST(ResidueTest, HoldsSinglesExactly)
{
    expectSinglesAsIntegers<Residue>();
    expectSinglesAsIntegers<DrawnPrimeResidue>();
}

struct Number {
    std::string name;
    std::uint64_t n;
    bool prime;
};

class PrimalityTest : public testing::TestWithParam<Number> {};

TEST_P(PrimalityTest, Decides)
{
    EXPECT_EQ(isPrime(GetParam().n), GetParam().prime);
}

INSTANTIATE_TEST_SUITE_P(
    Kernel, PrimalityTest,
    testing::Values(Number{"zero", 0, false}, Number{"one", 1, false}, Number{"two", 2, true},
                    Number{"witness37", 37, true}, Number{"mersenne61", (std::uint64_t{1} << 61) - 1, true},
                    Number{"below2to62", (std::uint64_t{1} << 62) - 57, true},
                    Number{"below2to63", (std::uint64_t{1} << 63) - 25, true}, Number{"carmichael561", 561, false},
                    Number{"carmichael41041", 41041, false}, Number{"carmichael825265", 825265, false},
                    Number{"carmichael321197185", 321197185, false},
                    // A strong pseudoprime to every base up to 37 but 37 itself.
                    Number{"pseudoprimeTo31", 3825123056546413051u, false},
                    Number{"squareOfPrime", std::uint64_t{2147483647} * 2147483647, false},
                    Number{"above2to62", (std::uint64_t{1} << 62) + 1, false}),
    [](const auto& info) { return info.param.name; });

// Refinement with the factor of scale x A for A: each correction is
// (1 - 1/scale) times the last, so a scale below 1/2 makes them grow.
struct Scaled {
    std::string name;
    double scale;
    bool diverged;
};

struct InOrder {
    int positionOf(int unknown) const { return unknown; }
};

class RefinementTest : public testing::TestWithParam<Scaled> {};

TEST_P(RefinementTest, ReportsDivergence)
{
    const Eigen::MatrixXd a = grid(3, 3).cast<double>();
    const SymmetricPattern p = patternOf(grid(3, 3));
    std::vector<double> values = valuesOf<double>(grid(3, 3), p);
    for (double& v : values)
        v *= GetParam().scale;
    LdlFactor<double> factor;
    ASSERT_EQ(factor.factorise(p, factorShape(p, 1000), values), -1);
    const Eigen::VectorXd b = Eigen::VectorXd::LinSpaced(a.rows(), 1.0, double(a.rows()));
    const auto residualOf = [&](const std::vector<double>& x) {
        const Eigen::VectorXd r = b - a * Eigen::Map<const Eigen::VectorXd>(x.data(), Eigen::Index(x.size()));
        return std::vector<double>(r.data(), r.data() + r.size());
    };
    const Refined<double> r = refine(factor, InOrder{}, std::vector<double>(b.data(), b.data() + b.size()), residualOf, 60);
    EXPECT_EQ(r.diverged, GetParam().diverged);
    if (!GetParam().diverged) {
        const Eigen::VectorXd expected = a.ldlt().solve(b);
        for (int i = 0; i < a.rows(); ++i)
            EXPECT_NEAR(r.x[std::size_t(i)], expected(i), 1e-12 * expected.cwiseAbs().maxCoeff()) << "unknown " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Kernel, RefinementTest,
                         testing::Values(Scaled{"exact", 1.0, false}, Scaled{"tenPercentOff", 1.1, false},
                                         Scaled{"aFifthLessStiff", 0.8, false}, Scaled{"aThirdAsStiff", 1.0 / 3.0, true},
                                         Scaled{"aFifthAsStiff", 0.2, true}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
