// Building and encoding a truss, against copying as many bytes as its file
// holds. The largest truss makes a 1.57 MB file. And solving the truss of a
// file, whose cost should grow with the panel count, not faster; what
// checking the solution costs; what a wider arithmetic costs where double
// falls short. And the largest truss of each type built and encoded, solved,
// and drawn as SVG.
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "analysis/Equilibrium.h"
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
        const std::vector<double> loads = loadsOf<double>(content, system.freedoms);
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

BENCHMARK(buildAndEncode)->Arg(7)->Arg(largest);
BENCHMARK(plainCopy)->Arg(7)->Arg(largest);
BENCHMARK(solve)->Arg(7)->Arg(1024)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(solveUnchecked)->Arg(7)->Arg(1024)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(solveSlender)->Arg(100)->Arg(1)->Unit(benchmark::kMillisecond);

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
