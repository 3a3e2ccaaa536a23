// The viewer at the smallest and the largest truss: opening a file and
// painting it the first time, painting again at any zoom, and the
// calculation pages as a PDF. Offscreen, so no display is needed.
#include <benchmark/benchmark.h>

#include <iostream>
#include <map>
#include <sstream>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "kvrfile/TrussFileEncoder.h"
#include "kvrfile/TrussFileReader.h"
#include "report/CalculationPages.h"
#include "truss/clsTruss.h"
#include "viewer/StudyDesign.h"
#include "viewer/ViewerWindow.h"

namespace {

class SilentSink : public MessageSink {
public:
    void showMessage(const QString&, MessageIcon) override {}
};

constexpr std::int16_t largest = TrussParameters::largestPanelCount;

// A truss file of np panels, 1 m each, written once.
QString trussFile(std::int16_t np)
{
    static QTemporaryDir dir;
    static std::map<int, QString> written;
    if (const auto found = written.find(np); found != written.end())
        return found->second;
    SilentSink sink;
    clsTruss truss(sink);
    truss.setParameters({.config = clsTruss::prattTruss, .topE = 205.0f, .btmE = 205.0f, .webE = 205.0f, .topA = 1000.0f,
                         .btmA = 1000.0f, .webA = 1000.0f, .loadType = clsTruss::uniformLoad, .loadValue = 10.0f,
                         .L = float(np), .h = 1.0f, .np = np});
    truss.generate();
    const std::vector<std::uint8_t> bytes = encodeTrussFile(truss.file());
    const QString path = dir.filePath(QStringLiteral("truss-%1.kvr").arg(np));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) != qint64(bytes.size()))
        return {};
    return written[np] = path;
}

void paintOnce(TrussCanvas& canvas)
{
    QImage image(canvas.size(), QImage::Format_RGB32);
    canvas.render(&image);
    benchmark::DoNotOptimize(image.bits());
}

// From the file's name to the window painted: reading, check, solution,
// drawing, tables and summary, and the first paint of the drawing.
void openAndPaint(benchmark::State& state)
{
    const QString path = trussFile(static_cast<std::int16_t>(state.range(0)));
    for (auto _ : state) {
        ViewerWindow window;
        window.resize(1200, 760);
        if (!window.openFile(path))
            state.SkipWithError("the file could not be opened");
        paintOnce(window.canvas());
    }
}

// The parts of opening: reading, check and solution; the drawing that fits.
void readAndStudy(benchmark::State& state)
{
    const std::string path = trussFile(static_cast<std::int16_t>(state.range(0))).toStdString();
    for (auto _ : state) {
        const TrussStudy study = studyTruss(*readTrussFile(path).value);
        benchmark::DoNotOptimize(study.solution);
    }
}

void fitDrawing(benchmark::State& state)
{
    const TrussStudy study = studyTruss(*readTrussFile(trussFile(static_cast<std::int16_t>(state.range(0))).toStdString()).value);
    for (auto _ : state) {
        const TrussDrawing drawing = drawTruss(study.truss, study.forces());
        benchmark::DoNotOptimize(drawing.lines.data());
    }
}

// From starting the program with the file to its drawing painted: the
// program's start, the file's opening and the first paint, in a process of
// its own, as the engineer sees it.
void startToWindow(benchmark::State& state)
{
    const QString path = trussFile(static_cast<std::int16_t>(state.range(0)));
    for (auto _ : state) {
        QProcess program;
        QElapsedTimer clock;
        clock.start();
        program.start(QStringLiteral(FIRST_WINDOW), {path});
        const bool painted = program.waitForReadyRead(30000);
        state.SetIterationTime(double(clock.nsecsElapsed()) * 1e-9);
        if (!painted || !program.waitForFinished(30000) || program.exitCode() != 0)
            state.SkipWithError("the program did not paint its window");
    }
}

// From the file's name to its results shown: opening, and solving beside the
// window's thread.
void openAndSolve(benchmark::State& state)
{
    const QString path = trussFile(static_cast<std::int16_t>(state.range(0)));
    for (auto _ : state) {
        ViewerWindow window;
        window.resize(1200, 760);
        if (!window.openFile(path))
            state.SkipWithError("the file could not be opened");
        while (window.solving())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        paintOnce(window.canvas());
    }
}

// A repaint at a magnification of the fit, once the drawing at that zoom has
// been made.
void repaintAtZoom(benchmark::State& state)
{
    ViewerWindow window;
    window.resize(1200, 760);
    window.canvas().resize(700, 700);
    if (!window.openFile(trussFile(largest)))
        state.SkipWithError("the file could not be opened");
    window.canvas().fit();
    window.canvas().zoomBy(double(state.range(0)), window.canvas().rect().center());
    window.canvas().drawAtZoom();
    for (auto _ : state)
        paintOnce(window.canvas());
}

void calculationPages(benchmark::State& state)
{
    const TrussStudy study = studyTruss(*readTrussFile(trussFile(static_cast<std::int16_t>(state.range(0))).toStdString()).value);
    for (auto _ : state) {
        const QByteArray pdf = calculationPdf(study, {QStringLiteral("truss.kvr"), QStringLiteral("2026-01-01"), QStringLiteral("bench")},
                                              QPageSize(QPageSize::A4));
        if (pdf.isEmpty())
            state.SkipWithError("no PDF");
        benchmark::DoNotOptimize(pdf.data());
    }
}

// The Design panel's work away from the window's thread: every member
// checked and coloured by its utilisation; then, on the window's thread,
// the drawing made again in those colours.
void designAndColour(benchmark::State& state)
{
    const auto study = std::make_shared<const TrussStudy>(
        studyTruss(*readTrussFile(trussFile(static_cast<std::int16_t>(state.range(0))).toStdString()).value));
    DesignChoice choice;
    for (const MemberGroup group : designGroups)
        choice.ofCode().sections[group] = QStringLiteral("SHS 100x100x5");
    const DesignInput input = *designInputOf(choice).value;
    for (auto _ : state) {
        const Result<StudyDesign> design = designStudy(study, input);
        if (!design.value)
            state.SkipWithError("not designed");
        benchmark::DoNotOptimize(design.value->colours.looks.data());
    }
}

void drawInColours(benchmark::State& state)
{
    const auto study = std::make_shared<const TrussStudy>(
        studyTruss(*readTrussFile(trussFile(static_cast<std::int16_t>(state.range(0))).toStdString()).value));
    DesignChoice choice;
    for (const MemberGroup group : designGroups)
        choice.ofCode().sections[group] = QStringLiteral("SHS 100x100x5");
    const StudyDesign design = *designStudy(study, *designInputOf(choice).value).value;
    for (auto _ : state) {
        const TrussDrawing drawing = drawTruss(study->truss, study->forces(), 0, &design.colours);
        benchmark::DoNotOptimize(drawing.lines.data());
    }
}

BENCHMARK(openAndPaint)->Arg(7)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(startToWindow)->Arg(7)->Arg(largest)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(openAndSolve)->Arg(7)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(readAndStudy)->Arg(7)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(fitDrawing)->Arg(7)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(repaintAtZoom)->Arg(1)->Arg(8)->Arg(64)->Arg(512)->Arg(4096)->Unit(benchmark::kMillisecond);
BENCHMARK(designAndColour)->Arg(7)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(drawInColours)->Arg(7)->Arg(largest)->Unit(benchmark::kMillisecond);
BENCHMARK(calculationPages)->Arg(7)->Arg(largest)->Unit(benchmark::kMillisecond)->Iterations(1);

// Keeps each run's time per iteration, so that main can set the two opening times side by side.
class Reporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            times[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Reporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::ostringstream name;
    name << "startToWindow/" << largest << "/iterations:5/manual_time";
    const double small = reporter.times["startToWindow/7/iterations:5/manual_time"], large = reporter.times[name.str()];
    if (small > 0 && large > 0)
        std::cout << "start to window, " << largest << " panels against 7: " << large / small
                  << " times (goal: at most 1.5 times; opening and first paint at most 300 ms)\n";
    benchmark::Shutdown();
    return 0;
}
