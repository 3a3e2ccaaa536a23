// Building and encoding a truss, against copying as many bytes as its file
// holds. The largest truss makes a 1.57 MB file. And solving the truss of a
// file, whose cost should grow with the panel count, not faster; what
// checking the solution costs; what a wider arithmetic costs where double
// falls short; the worst file found for the time bound, and what a
// factorisation costs in each arithmetic. And the largest truss of each type
// built and encoded, solved, and drawn as SVG.
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "analysis/DrawnPrimeResidue.h"
#include "analysis/Equilibrium.h"
#include "analysis/Residue.h"
#include "analysis/Rigidity.h"
#include "analysis/TrussSolver.h"
#include "analysis/TrussSystem.h"
#include "kvrfile/TrussCheck.h"
#include "kvrfile/TrussFile.h"
#include "kvrfile/TrussFileEncoder.h"
#include "drawing/TrussDrawing.h"
#include "kvrfile/TrussFileReader.h"
#include "truss/TrussTypes.h"
#include "truss/clsTruss.h"

namespace {

class SilentSink : public MessageSink {
public:
    void showMessage(const QString&, MessageIcon) override {}
};

constexpr std::int16_t largest = TrussParameters::largestPanelCount;

qint64 fileSize(std::int16_t np)
{
    const std::uint64_t noNodes = 2 * np + 2, noMembers = 4 * np + 1 + np % 2;
    return static_cast<qint64>(trussFile::fileSize(noNodes, noMembers));
}

TrussParameters parameters(std::int16_t np, float L = 6.0f, float h = 1.0f)
{
    return {.config = clsTruss::prattTruss, .topE = 205.0f, .btmE = 205.0f, .webE = 205.0f, .topA = 100.0f,
            .btmA = 100.0f, .webA = 100.0f, .loadType = clsTruss::uniformLoad, .loadValue = 10.0f, .L = L,
            .h = h, .np = np};
}

void buildAndEncode(benchmark::State& state)
{
    const auto np = static_cast<std::int16_t>(state.range(0));
    SilentSink sink;
    // The in-memory file, like the copy's target, exists before the clock starts.
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fileSize(np)));
    for (auto _ : state) {
        clsTruss truss(sink);
        truss.setParameters(parameters(np));
        truss.generate();
        if (!encodeTrussFile(truss.file(), bytes)) {
            state.SkipWithError("the truss does not encode to its file's size");
            break;
        }
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(state.iterations() * fileSize(np));
}

void plainCopy(benchmark::State& state)
{
    const auto size = static_cast<std::size_t>(fileSize(static_cast<std::int16_t>(state.range(0))));
    const std::vector<char> source(size, 1);
    std::vector<char> target(size);
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), size);
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(size));
}

// The file's content as the reader gives it, before the clock starts.
TrussFileContent contentOf(const TrussParameters& input)
{
    SilentSink sink;
    clsTruss truss(sink);
    truss.setParameters(input);
    truss.generate();
    return readTrussFile(encodeTrussFile(truss.file())).value.value();
}

void solveContent(benchmark::State& state, const TrussFileContent& content)
{
    for (auto _ : state) {
        const TrussAnalysis analysis = solveTruss(content);
        if (!analysis.value)
            state.SkipWithError(analysis.error.c_str());
        benchmark::DoNotOptimize(analysis.value);
    }
}

// Check, ordering, mechanism test, factorisation, refined solution, member
// forces and the check of the solution.
void solve(benchmark::State& state) { solveContent(state, contentOf(parameters(static_cast<std::int16_t>(state.range(0))))); }

// The same file's check, ordering, factorisation, one solution and member
// forces, without the mechanism test, the refinement and the check of the
// solution: the difference is what checking costs.
void solveUnchecked(benchmark::State& state)
{
    const TrussFileContent content = contentOf(parameters(static_cast<std::int16_t>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(checkTruss(content));
        const TrussSystem system(content);
        const std::vector<Bar<double>> bars = barsOf<double>(content);
        LdlFactor<double> factor;
        factor.factorise(system.pattern.upper(), system.shape,
                         system.pattern.values(bars, [](std::size_t, const Bar<double>& bar) { return bar.stiffness; }));
        const std::vector<double> loads = loadsOf<double>(fileLoadsOf(content), system.freedoms);
        std::vector<double> x(loads.size()), u(loads.size());
        for (std::size_t i = 0; i < loads.size(); ++i)
            x[std::size_t(system.pattern.positionOf(int(i)))] = loads[i];
        factor.solve(x);
        for (std::size_t i = 0; i < loads.size(); ++i)
            u[i] = x[std::size_t(system.pattern.positionOf(int(i)))];
        benchmark::DoNotOptimize(forcesOf(bars, system.at, u));
    }
}

// 1000 panels 1 m long, 0.1 m high (double falls short: extended precision, a 64-bit significand)
// and 0.001 m high (113-bit).
void solveSlender(benchmark::State& state)
{
    solveContent(state, contentOf(parameters(1000, 1000.0f, static_cast<float>(state.range(0)) / 1000.0f)));
}

// The largest truss of a type, as the solve benchmark's: 6 m long, 1 m deep
// (a roof 1.5 m high).
TrussParameters largestOf(const TrussTypeInfo& type)
{
    TrussParameters input = parameters(type.panels.largest, 6.0f, type.pitched ? 1.5f : 1.0f);
    input.config = static_cast<std::int32_t>(type.type);
    return input;
}

void buildType(benchmark::State& state, const TrussTypeInfo* type)
{
    SilentSink sink;
    for (auto _ : state) {
        clsTruss truss(sink);
        truss.setParameters(largestOf(*type));
        truss.generate();
        benchmark::DoNotOptimize(encodeTrussFile(truss.file()));
    }
}

void solveType(benchmark::State& state, const TrussTypeInfo* type) { solveContent(state, contentOf(largestOf(*type))); }

// The drawing of the file's members by group, and its SVG text.
void drawType(benchmark::State& state, const TrussTypeInfo* type)
{
    const TrussFileContent content = contentOf(largestOf(*type));
    for (auto _ : state)
        benchmark::DoNotOptimize(toSvg(drawTruss(content)));
}

// A grid of 50 x 100 unit cells, each with one diagonal, and 597 more
// members between nodes drawn at random (the same every run), which spoil
// the grid's narrow band: 2.99e8 multiply-adds to factorise, just within
// the limit (analysisLimits::largestWork). The pin is at the bottom-left
// corner, loads on the top row; the roller
// - above: straight above the pin at the top-left corner: the truss can
//   turn about the pin;
// - corner: at the bottom-right corner: it stands;
// - inLine: on a node of its own halfway between the pin and its
//   neighbour, in line with both: it turns about the pin all the same
//   (the roller's node moves in y, which the two members in line allow),
//   and only the exact test of the whole stiffness matrix can tell.
enum GridRoller { above, corner, inLine };

TrussFileContent gridContent(GridRoller roller)
{
    constexpr int columns = 50, rows = 100, extra = 597;
    const auto node = [](int i, int j) { return j * (columns + 1) + i + 1; };
    const int gridNodes = node(columns, rows), inLineNode = gridNodes + 1;
    std::set<std::pair<int, int>> joined;
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= columns; ++i) {
            if (i < columns)
                joined.insert({node(i, j), node(i + 1, j)});
            if (j < rows)
                joined.insert({node(i, j), node(i, j + 1)});
            if (i < columns && j < rows)
                joined.insert({node(i, j), node(i + 1, j + 1)});
        }
    std::mt19937 random(51);
    std::uniform_int_distribution<int> pick(1, gridNodes);
    for (int added = 0; added < extra;) {
        const int a = pick(random), b = pick(random);
        if (a != b && joined.insert(std::minmax(a, b)).second)
            ++added;
    }
    if (roller == inLine) {
        joined.insert({node(0, 0), inLineNode});
        joined.insert({node(1, 0), inLineNode});
    }
    TrussFileContent t;
    t.noNodes = static_cast<std::int16_t>(roller == inLine ? inLineNode : gridNodes);
    t.noMembers = static_cast<std::int16_t>(joined.size());
    t.noMax = std::max(t.noNodes, t.noMembers);
    t.size = t.expectedSize = trussFile::fileSize(t.nodeRows() - 1, t.memberRows() - 1);
    t.nodes = SingleTable(t.nodeRows(), trussFile::nodeColumns);
    t.members = SingleTable(t.memberRows(), trussFile::memberColumns);
    for (int j = 0; j <= rows; ++j)
        for (int i = 0; i <= columns; ++i) {
            const auto n = static_cast<std::size_t>(node(i, j));
            t.nodes(n, NodeColumn::X) = static_cast<float>(i);
            t.nodes(n, NodeColumn::Y) = static_cast<float>(j);
            t.nodes(n, NodeColumn::Load) = j == rows && i > 0 ? -1.0f : 0.0f;
        }
    if (roller == inLine)
        t.nodes(static_cast<std::size_t>(inLineNode), NodeColumn::X) = 0.5f;
    t.nodes(static_cast<std::size_t>(node(0, 0)), NodeColumn::Support) = SupportCode::Pin;
    const int rollerNode = roller == above ? node(0, rows) : roller == corner ? node(columns, 0) : inLineNode;
    t.nodes(static_cast<std::size_t>(rollerNode), NodeColumn::Support) = SupportCode::Roller;
    std::size_t m = 0;
    for (const auto& [a, b] : joined) {
        ++m;
        t.members(m, MemberColumn::First) = static_cast<float>(a);
        t.members(m, MemberColumn::Second) = static_cast<float>(b);
        t.members(m, MemberColumn::E) = 205.0f;
        t.members(m, MemberColumn::A) = 100.0f;
    }
    return t;
}

// The whole of solve on the grid: a refusal (the mechanism) is its result, not an error.
void solveGrid(benchmark::State& state)
{
    const TrussFileContent content = gridContent(GridRoller(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(solveTruss(content));
}

// What check adds to its findings: the mechanism test alone.
void rigidityOfGrid(benchmark::State& state)
{
    const TrussFileContent content = gridContent(GridRoller(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(rigidityOf(content));
}

// One factorisation of the grid that stands, in each arithmetic: what a
// multiply-add costs in each against double (analysisLimits). The exact
// ones see the truss as the mechanism test does, with members of unit
// stiffness.
template <class T>
T fromSingle(float value)
{
    if constexpr (requires { T::ofSingle(value); })
        return T::ofSingle(value);
    else
        return T(value);
}

template <class T>
void factoriseGrid(benchmark::State& state)
{
    const TrussFileContent content = gridContent(corner);
    const TrussSystem system(content);
    std::vector<Bar<T>> bars(content.memberRows());
    for (int m = 1; m <= content.noMembers; ++m) {
        const int a = nodeNumber(content, m, MemberColumn::First), b = nodeNumber(content, m, MemberColumn::Second);
        const auto delta = [&](int column) {
            return fromSingle<T>(content.node(b, column)) - fromSingle<T>(content.node(a, column));
        };
        bars[std::size_t(m)] = {a, b, delta(NodeColumn::X), delta(NodeColumn::Y), T(1)};
    }
    const std::vector<T> values = system.pattern.values(bars, [](std::size_t, const Bar<T>& bar) { return bar.stiffness; });
    for (auto _ : state) {
        LdlFactor<T> factor;
        if (factor.factorise(system.pattern.upper(), system.shape, values) >= 0)
            state.SkipWithError("a pivot is not usable");
        benchmark::DoNotOptimize(factor);
    }
}

BENCHMARK(buildAndEncode)->Arg(7)->Arg(largest);
BENCHMARK(plainCopy)->Arg(7)->Arg(largest);
BENCHMARK(solve)->Arg(7)->Arg(1024)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(solveUnchecked)->Arg(7)->Arg(1024)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(solveSlender)->Arg(100)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(solveGrid)->Arg(above)->Arg(corner)->Arg(inLine)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(factoriseGrid<double>)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(factoriseGrid<Residue>)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(factoriseGrid<DrawnPrimeResidue>)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(factoriseGrid<Extended>)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(factoriseGrid<Quad>)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(rigidityOfGrid)->Arg(above)->Arg(corner)->Arg(inLine)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()
    ->UseRealTime();

// Keeps the time per iteration of every run so that main can set them side by side.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration)
                seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    for (const TrussTypeInfo& type : trussTypes()) {
        const std::string name = std::string("/") + type.name + "/" + std::to_string(type.panels.largest);
        benchmark::RegisterBenchmark(("buildType" + name).c_str(), buildType, &type)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("solveType" + name).c_str(), solveType, &type)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("drawType" + name).c_str(), drawType, &type)->Unit(benchmark::kMillisecond);
    }
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const std::string& np : {std::string("7"), std::to_string(largest)}) {
        const auto build = reporter.seconds.find("buildAndEncode/" + np);
        const auto copy = reporter.seconds.find("plainCopy/" + np);
        if (build != reporter.seconds.end() && copy != reporter.seconds.end() && copy->second > 0)
            std::cout << "np = " << np << ": build and encode take " << build->second / copy->second
                      << " times as long as copying the file's bytes\n";
    }
    const auto mid = reporter.seconds.find("solve/1024"), top = reporter.seconds.find("solve/" + std::to_string(largest));
    if (mid != reporter.seconds.end() && top != reporter.seconds.end() && mid->second > 0)
        std::cout << "solve: " << largest << " panels take " << top->second / mid->second
                  << " times as long as 1024 panels (8x the work; goal at most 10)\n";
    for (const std::string& np : {std::string("7"), std::to_string(largest)}) {
        const auto checked = reporter.seconds.find("solve/" + np), unchecked = reporter.seconds.find("solveUnchecked/" + np);
        if (checked != reporter.seconds.end() && unchecked != reporter.seconds.end() && unchecked->second > 0)
            std::cout << "solve: " << np << " panels: the checked solution takes " << checked->second / unchecked->second
                      << " times as long as the unchecked one\n";
    }
    benchmark::Shutdown();
    return 0;
}
