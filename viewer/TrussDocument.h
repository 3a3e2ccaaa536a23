#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>

#include "report/TrussStudy.h"
#include "viewer/DesignFileWatch.h"
#include "viewer/FileFollower.h"
#include "viewer/LoadsShown.h"
#include "viewer/StudyDesign.h"

// The truss file the viewer shows, apart from any window: it follows the
// file, reads it (reading never blocks: what is not a regular file is
// refused at once) and has it checked and solved away from the caller's
// thread. Each reading is a generation: a solution that arrives for an
// earlier one is dropped. A file that cannot be read leaves the last good
// study in place, and problem() says why. Beside it, the design file: the
// truss is shown under the file's own loads or under a case, a combination
// or the envelope of the design file's, solved away from the caller's
// thread too.
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

    // The design file beside the truss file.
    const DesignFileWatch& designFile() const { return design; }

    // The loads to show the truss under. Kept while the design file does
    // not give them (it has a mistake, or lost that case): the file's own
    // are shown meanwhile, and these again once it gives them.
    void showLoads(const LoadsShown& loads);
    LoadsShown loadsWanted() const { return wanted; }
    LoadsShown loadsShown() const;  // what shown() is under
    // The study under the loads shown: the file's own study, or the truss
    // under a case, a combination or the envelope; null before a file was read.
    std::shared_ptr<const TrussStudy> shown() const { return shown_; }
    // For the envelope, every member's design for its governing combination.
    std::shared_ptr<const StudyDesign> envelope() const { return envelope_; }
    // The loads shown, or the design file, are still being solved or read.
    bool showing() const { return loadsPending || design.state() == DesignFileWatch::State::Reading; }

signals:
    // A new study: read (sameFile when the followed file was read again) or
    // checked and solved (sameFile true).
    void studyChanged(bool sameFile);
    // A new study under the loads shown (sameFile as above; true for other loads).
    void shownChanged(bool sameFile);
    void problemChanged(const QString& problem);
    void designFileChanged();

private:
    void studyMeanwhile();
    void showUnderLoads(bool sameFile);
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

    DesignFileWatch design;
    LoadsShown wanted;
    std::shared_ptr<const TrussStudy> shown_;
    std::shared_ptr<const StudyDesign> envelope_;
    // What the study under loads was made for: the file read, the design file read, the loads.
    struct Made {
        int generation = 0;
        std::shared_ptr<const DesignFile> design;
        LoadsShown loads;
        bool operator==(const Made&) const = default;
    };
    Made madeFor;
    int loadsTicket = 0;        // of the study under loads asked for last
    bool loadsPending = false;  // shown_ is being made
};
