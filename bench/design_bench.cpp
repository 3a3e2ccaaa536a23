// The design of the largest Pratt truss against its solution, as the
// engineer runs them: kvrtool design (for the file's loads, and for the
// envelope of five load cases), kvrtool design --size and kvrtool solve,
// each a process of its own with its output thrown away, timed by the CPU
// time the process took (on a machine shared with other work its wall
// time says more of the others than of it); and, to see where the time
// goes, the parts in-process: the member checks, the design's text, the
// sizing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <string>

#include <sys/resource.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "design/SectionTable.h"
#include "design/Sizing.h"
#include "kvrfile/TrussFileEncoder.h"
#include "kvrfile/TrussFileReader.h"
#include "report/DesignText.h"
#include "truss/clsTruss.h"

namespace {

class SilentSink : public MessageSink {
public:
    void showMessage(const QString&, MessageIcon) override {}
};

constexpr std::int16_t largest = TrussParameters::largestPanelCount;

// The solve benchmark's largest truss: 6 m long, 1 m deep, 10 kN/m; written once.
const QString& trussFile()
{
    static QTemporaryDir dir;
    static const QString path = [] {
        SilentSink sink;
        clsTruss truss(sink);
        truss.setParameters({.config = clsTruss::prattTruss,
                             .topE = 205.0f,
                             .btmE = 205.0f,
                             .webE = 205.0f,
                             .topA = 100.0f,
                             .btmA = 100.0f,
                             .webA = 100.0f,
                             .loadType = clsTruss::uniformLoad,
                             .loadValue = 10.0f,
                             .L = 6.0f,
                             .h = 1.0f,
                             .np = largest});
        truss.generate();
        const std::vector<std::uint8_t> bytes = encodeTrussFile(truss.file());
        const QString written = dir.filePath(QStringLiteral("largest.kvr"));
        QFile file(written);
        if (!file.open(QIODevice::WriteOnly)
            || file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
            return QString();
        return written;
    }();
    return path;
}

// Five load cases beside it, their combinations generated to EN 1990.
const QString& designFile()
{
    static const QString path = [] {
        const QString written = trussFile() + QStringLiteral(".toml");
        QFile file(written);
        const QByteArray text = R"(code = "en1993"
[sections]
top = "SHS 100x100x5"
bottom = "SHS 100x100x5"
web = "SHS 60x60x4"
[[case]]
name = "G"
kind = "permanent"
self_weight = true
udl_top = -1.0
[[case]]
name = "Q"
kind = "imposed"
category = "H"
udl_top = -2.0
[[case]]
name = "S"
kind = "snow"
udl_top = -3.0
[[case]]
name = "W_up"
kind = "wind"
udl_top = 1.5
[[case]]
name = "W_side"
kind = "wind"
loads = [ { node = 2, fx = 5.0 } ]
)";
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
            return QString();
        return written;
    }();
    return path;
}

const QStringList sections{QStringLiteral("--code"),    QStringLiteral("en1993"),
                           QStringLiteral("--section"), QStringLiteral("top=SHS 100x100x5"),
                           QStringLiteral("--section"), QStringLiteral("bottom=SHS 100x100x5"),
                           QStringLiteral("--section"), QStringLiteral("web=SHS 60x60x4")};

// The CPU time, user and system, of the child processes waited for so far.
double childSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// kvrtool with these arguments after the file, as a process; its exit status
// one of those given.
void kvrtoolRun(benchmark::State& state, const QStringList& arguments, std::initializer_list<int> statuses)
{
    const QString sized = trussFile() + QStringLiteral("-sized.kvr");
    for (auto _ : state) {
        QProcess program;
        program.setStandardOutputFile(QProcess::nullDevice());
        QStringList all = arguments;
        all.insert(1, trussFile());
        all.replaceInStrings(QStringLiteral("SIZED"), sized).replaceInStrings(QStringLiteral("DESIGN"), designFile());
        const double before = childSeconds();
        program.start(QStringLiteral(KVRTOOL), all);
        const bool done = program.waitForFinished(120000);
        state.SetIterationTime(childSeconds() - before);
        if (!done || program.exitStatus() != QProcess::NormalExit
            || std::find(statuses.begin(), statuses.end(), program.exitCode()) == statuses.end())
            state.SkipWithError(
                ("kvrtool " + all.join(u' ').toStdString() + " failed: " + program.readAllStandardError().toStdString()).c_str());
    }
}

void solveProcess(benchmark::State& state) { kvrtoolRun(state, {QStringLiteral("solve")}, {0}); }
void designProcess(benchmark::State& state) { kvrtoolRun(state, QStringList{QStringLiteral("design")} + sections, {0, 3}); }
void envelopeProcess(benchmark::State& state)
{
    kvrtoolRun(state, {QStringLiteral("design"), QStringLiteral("--design"), QStringLiteral("DESIGN")}, {0, 3});
}
void sizeProcess(benchmark::State& state)
{
    kvrtoolRun(state,
               {QStringLiteral("design"), QStringLiteral("--code"), QStringLiteral("en1993"), QStringLiteral("--size"),
                QStringLiteral("top=SHS"), QStringLiteral("--size"), QStringLiteral("bottom=SHS"), QStringLiteral("--size"),
                QStringLiteral("web=SHS"), QStringLiteral("-o"), QStringLiteral("SIZED")},
               {0, 3});
}

struct Solved {
    TrussFileContent truss;
    TrussSolution solution;
    GroupSections sections;
};

const Solved& solved()
{
    static const Solved s = [] {
        TrussFileContent truss = *readTrussFile(trussFile().toStdString()).value;
        TrussSolution solution = *solveTruss(truss).value;
        const Section* top = findSection(DesignCode::En1993, "SHS 100x100x5");
        const Section* web = findSection(DesignCode::En1993, "SHS 60x60x4");
        return Solved{std::move(truss),
                      std::move(solution),
                      {{MemberGroup::TopChord, top},
                       {MemberGroup::BottomChord, top},
                       {MemberGroup::Vertical, web},
                       {MemberGroup::Diagonal, web}}};
    }();
    return s;
}

void designChecks(benchmark::State& state)
{
    const Solved& s = solved();
    for (auto _ : state)
        benchmark::DoNotOptimize(designTruss(s.truss, s.solution, s.sections, {}));
}

void designReport(benchmark::State& state)
{
    const Solved& s = solved();
    const TrussDesign design = *designTruss(s.truss, s.solution, s.sections, {}).value;
    for (auto _ : state)
        benchmark::DoNotOptimize(designText::report(s.truss, s.solution, design));
}

void sizing(benchmark::State& state)
{
    const Solved& s = solved();
    SizingRequest request;
    for (const MemberGroup group : designGroups)
        request.candidates[group] = sectionsOf(DesignCode::En1993, SectionFamily::SHS);
    for (auto _ : state)
        benchmark::DoNotOptimize(sizeTruss(s.truss, request));
}

// The median of several runs of a few processes each: the others' work on
// the machine slows some runs down, and the median leaves those out.
void processes(benchmark::internal::Benchmark* b)
{
    b->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(7)->ReportAggregatesOnly(true)->UseManualTime();
}

BENCHMARK(solveProcess)->Apply(processes);
BENCHMARK(designProcess)->Apply(processes);
BENCHMARK(envelopeProcess)->Apply(processes);
BENCHMARK(sizeProcess)->Apply(processes);
BENCHMARK(designChecks)->Unit(benchmark::kMillisecond);
BENCHMARK(designReport)->Unit(benchmark::kMillisecond);
BENCHMARK(sizing)->Unit(benchmark::kMillisecond);

class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate)
                times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto time = [&](const char* name) {
        return reporter.times[std::string(name) + "/iterations:3/repeats:7/manual_time_median"];
    };
    if (const double solve = time("solveProcess"); solve > 0) {
        if (const double design = time("designProcess"); design > 0)
            std::cout << "kvrtool design of " << largest << " panels takes " << design / solve
                      << " times as long as kvrtool solve, CPU time, median (goal: at most 1.5)\n";
        if (const double envelope = time("envelopeProcess"); envelope > 0)
            std::cout << "kvrtool design --design of " << largest << " panels, five load cases and their combinations, takes "
                      << envelope / solve << " times as long as kvrtool solve, CPU time, median (goal: at most 2)\n";
        if (const double size = time("sizeProcess"); size > 0)
            std::cout << "kvrtool design --size of " << largest << " panels takes " << size / solve
                      << " times as long as kvrtool solve, CPU time, median (goal: at most 3)\n";
    }
    benchmark::Shutdown();
    return 0;
}
