#pragma once

#include <filesystem>
#include <memory>

#include <QObject>
#include <QString>

#include "loads/DesignFile.h"
#include "viewer/FileFollower.h"

// The design file beside a truss file, NAME.toml for NAME.kvr: followed as
// the truss file is, and read again, away from the window's thread, each
// time it changes. A file with a mistake is refused whole, as kvrtool
// refuses it, and problem() gives the reader's one line.
class DesignFileWatch : public QObject {
    Q_OBJECT
public:
    enum class State {
        None,     // no truss file open
        Reading,  // read for the first time since it was followed
        Absent,   // no design file by that name
        Read,
        Refused,  // it cannot be read, or has a mistake
    };

    explicit DesignFileWatch(QObject* parent = nullptr);

    // Follows the design file of the truss file at trussPath from now on.
    void followBeside(const QString& trussPath);

    QString path() const { return follower.path(); }  // absolute; empty before a truss file was opened
    QString fileName() const;                         // "roof.toml", as the viewer's words name it
    State state() const { return state_; }
    std::shared_ptr<const DesignFile> design() const { return design_; }  // when Read
    QString problem() const { return problem_; }                          // when Refused

    // NAME.toml beside NAME.kvr.
    static QString pathBeside(const QString& trussPath);
    // The file name as the reader takes it: messages name it as the system
    // shows names, and its bytes reach the system as they are.
    static std::filesystem::path systemPath(const QString& path);

signals:
    void changed();

private:
    void read();

    FileFollower follower;
    State state_ = State::None;
    std::shared_ptr<const DesignFile> design_;
    QString problem_;
    int generation = 0;  // of the reading asked for last
};
