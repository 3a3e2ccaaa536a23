// Building and encoding a truss, against copying as many bytes as its file
// holds. The largest truss makes a 1.57 MB file. And solving the truss of a
// file, whose cost should grow with the panel count, not faster.
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "analysis/TrussSolver.h"
#include "kvrfile/TrussFile.h"
#include "kvrfile/TrussFileEncoder.h"
#include "kvrfile/TrussFileReader.h"
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

TrussParameters parameters(std::int16_t np)
{
    return {.config = clsTruss::prattTruss, .topE = 205.0f, .btmE = 205.0f, .webE = 205.0f, .topA = 100.0f,
            .btmA = 100.0f, .webA = 100.0f, .loadType = clsTruss::uniformLoad, .loadValue = 10.0f, .L = 6.0f,
            .h = 1.0f, .np = np};
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
TrussFileContent contentOf(std::int16_t np)
{
    SilentSink sink;
    clsTruss truss(sink);
    truss.setParameters(parameters(np));
    truss.generate();
    return readTrussFile(encodeTrussFile(truss.file())).value.value();
}

// Check, assembly, factorisation, solution and member forces.
void solve(benchmark::State& state)
{
    const TrussFileContent content = contentOf(static_cast<std::int16_t>(state.range(0)));
    for (auto _ : state) {
        const TrussAnalysis analysis = solveTruss(content);
        if (!analysis.value)
            state.SkipWithError(analysis.error.c_str());
        benchmark::DoNotOptimize(analysis.value);
    }
}

BENCHMARK(buildAndEncode)->Arg(7)->Arg(largest);
BENCHMARK(plainCopy)->Arg(7)->Arg(largest);
BENCHMARK(solve)->Arg(7)->Arg(1024)->Arg(largest)->Unit(benchmark::kMillisecond);

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
    benchmark::Shutdown();
    return 0;
}
