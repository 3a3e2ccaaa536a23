#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>

#include "report/TrussStudy.h"
#include "viewer/FileFollower.h"

// The truss file the viewer shows, apart from any window: it follows the
// file, reads it (reading never blocks: what is not a regular file is
// refused at once) and has it checked and solved away from the caller's
// thread. Each reading is a generation: a solution that arrives for an
// earlier one is dropped. A file that cannot be read leaves the last good
// study in place, and problem() says why.
class TrussDocument : public QObject {
    Q_OBJECT
public:
    explicit TrussDocument(QObject* parent = nullptr);

    // Reads the file, follows it from now on, and starts checking and
    // solving it; false when it cannot be read.
    bool open(const QString& path);

    QString filePath() const { return follower.path(); }  // absolute; empty before a file was opened
    std::shared_ptr<const TrussStudy> study() const { return study_; }  // null before a file was read
    bool solving() const { return pending; }
    QString problem() const { return problem_; }

    // Runs job with the study once it is checked and solved: at once when it
    // is, else when the solution arrives (of the newest generation, should
    // the file change meanwhile). Dropped with context.
    void whenStudied(QObject* context, std::function<void(const TrussStudy&)> job);

signals:
    // A new study: read (sameFile when the followed file was read again) or
    // checked and solved (sameFile true).
    void studyChanged(bool sameFile);
    void problemChanged(const QString& problem);

private:
    void studyMeanwhile();
    void show(std::shared_ptr<const TrussStudy> next, bool sameFile);
    void setProblem(const QString& problem);
    void runWaitingJobs();

    struct Job {
        QPointer<QObject> context;
        std::function<void(const TrussStudy&)> run;
    };

    FileFollower follower;
    std::shared_ptr<const TrussStudy> study_;
    QString problem_;
    std::vector<Job> waiting;
    int generation = 0;    // of the file read
    bool pending = false;  // the study shown is being checked and solved
};
