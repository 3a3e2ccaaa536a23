#include "viewer/TrussDocument.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include "kvrfile/TrussFileReader.h"
#include "savefile/FileName.h"

TrussDocument::TrussDocument(QObject* parent) : QObject(parent)
{
    connect(&follower, &FileFollower::changed, this, [this] { open(follower.path()); });
}

bool TrussDocument::open(const QString& path)
{
    const bool sameFile = QFileInfo(path).absoluteFilePath() == follower.path();
    if (!sameFile)
        follower.follow(path);
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
