#include "viewer/TrussDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include "kvrfile/TrussFileReader.h"
#include "savefile/FileName.h"
#include "viewer/LoadsStudy.h"

TrussDocument::TrussDocument(QObject* parent) : QObject(parent)
{
    connect(&follower, &FileFollower::changed, this, [this] { open(follower.path()); });
    connect(&design, &DesignFileWatch::changed, this, [this] {
        emit designFileChanged();
        if (!(wanted == LoadsShown{}))
            showUnderLoads(true);
    });
}

bool TrussDocument::open(const QString& path)
{
    const bool sameFile = QFileInfo(path).absoluteFilePath() == follower.path();
    if (!sameFile) {
        follower.follow(path);
        wanted = {};  // another truss: its own loads first
        design.followBeside(follower.path());
    }
    // Messages name the file as the system shows names.
    TrussFileRead read = readTrussFile(fileName::toBytes(QDir::toNativeSeparators(path)).toStdString());
    if (!read.value) {
        const QString reason = QString::fromStdString(read.error);
        setProblem(study_ ? tr("%1; the view shows the file as it was last read.").arg(reason) : reason);
        return false;
    }
    ++generation;
    pending = false;
    // A file without its tables has nothing to solve and is checked at once.
    if (read.value->hasTables())
        show(std::make_shared<const TrussStudy>(TrussStudy{std::move(*read.value), {}, std::nullopt, {}}), sameFile);
    else
        show(std::make_shared<const TrussStudy>(studyTruss(std::move(*read.value))), sameFile);
    if (study_->toStudy())
        studyMeanwhile();
    else
        runWaitingJobs();
    return true;
}

// A large truss takes a while to check and solve: it is shown drawn
// meanwhile, and the window stays responsive.
void TrussDocument::studyMeanwhile()
{
    pending = true;
    const int ticket = generation;
    auto* watcher = new QFutureWatcher<TrussStudy>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, ticket] {
        watcher->deleteLater();
        if (ticket != generation)
            return;
        pending = false;
        show(std::make_shared<const TrussStudy>(watcher->result()), true);
        runWaitingJobs();
    });
    watcher->setFuture(QtConcurrent::run([truss = study_->truss]() mutable { return studyTruss(std::move(truss)); }));
}

void TrussDocument::show(std::shared_ptr<const TrussStudy> next, bool sameFile)
{
    study_ = std::move(next);
    setProblem(study_->drawable() ? QString() : QString::fromStdString(study_->refusal));
    emit studyChanged(sameFile);
    showUnderLoads(sameFile);
}

LoadsShown TrussDocument::loadsShown() const
{
    const bool given = design.state() == DesignFileWatch::State::Read && offers(design.design().get(), wanted);
    return given ? wanted : LoadsShown{};
}

void TrussDocument::showLoads(const LoadsShown& loads)
{
    wanted = loads;
    showUnderLoads(true);
}

// A case, a combination or the envelope is solved away from the caller's
// thread, once for each truss read, design file read and loads; meanwhile
// the truss is shown without loads or results.
void TrussDocument::showUnderLoads(bool sameFile)
{
    if (!study_)
        return;
    const LoadsShown loads = loadsShown();
    if (loads == LoadsShown{} || !study_->drawable()) {
        ++loadsTicket;
        loadsPending = false;
        madeFor = {};
        shown_ = study_;
        envelope_.reset();
        emit shownChanged(sameFile);
        return;
    }
    const Made asked{generation, design.design(), loads};
    if (!(asked == madeFor)) {
        madeFor = asked;
        const int ticket = ++loadsTicket;
        loadsPending = true;
        shown_ = studyAwaiting(*study_);
        envelope_.reset();
        auto* watcher = new QFutureWatcher<LoadsStudy>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, ticket] {
            watcher->deleteLater();
            if (ticket != loadsTicket)
                return;
            LoadsStudy made = watcher->result();
            loadsPending = false;
            shown_ = std::move(made.study);
            envelope_ = std::move(made.envelope);
            emit shownChanged(true);
        });
        watcher->setFuture(QtConcurrent::run(
            [file = study_, designFile = asked.design, loads] { return studyUnder(*file, *designFile, loads); }));
    }
    emit shownChanged(sameFile);
}

void TrussDocument::setProblem(const QString& problem)
{
    problem_ = problem;
    emit problemChanged(problem_);
}

void TrussDocument::whenStudied(QObject* context, std::function<void(const TrussStudy&)> job)
{
    if (study_ && !pending)
        job(*study_);
    else
        waiting.push_back({context, std::move(job)});
}

void TrussDocument::runWaitingJobs()
{
    std::vector<Job> jobs;
    jobs.swap(waiting);
    for (const Job& job : jobs)
        if (job.context)
            job.run(*study_);
}
