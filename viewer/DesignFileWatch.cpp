#include "viewer/DesignFileWatch.h"

#include <filesystem>

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include "loads/DesignFileReader.h"
#include "savefile/FileName.h"

namespace {

struct Reading {
    DesignFileWatch::State state = DesignFileWatch::State::Absent;
    std::shared_ptr<const DesignFile> design;
    QString problem;
};

Reading readAt(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return {};
    Result<DesignFile> read = readDesignFile(DesignFileWatch::systemPath(path));
    if (!read.value)
        return {DesignFileWatch::State::Refused, nullptr, QString::fromStdString(read.error)};
    return {DesignFileWatch::State::Read, std::make_shared<const DesignFile>(std::move(*read.value)), {}};
}

}  // namespace

DesignFileWatch::DesignFileWatch(QObject* parent) : QObject(parent)
{
    connect(&follower, &FileFollower::changed, this, &DesignFileWatch::read);
}

QString DesignFileWatch::pathBeside(const QString& trussPath)
{
    const QFileInfo truss(trussPath);
    return truss.absoluteDir().filePath(truss.completeBaseName() + QStringLiteral(".toml"));
}

std::filesystem::path DesignFileWatch::systemPath(const QString& path)
{
    const QString shown = QDir::toNativeSeparators(path);
#ifdef Q_OS_WIN
    return std::filesystem::path(shown.toStdU16String());
#else
    return std::filesystem::path(fileName::toBytes(shown).toStdString());
#endif
}

QString DesignFileWatch::fileName() const { return QFileInfo(path()).fileName(); }

void DesignFileWatch::followBeside(const QString& trussPath)
{
    const QString next = pathBeside(trussPath);
    if (next == path())
        return;
    follower.follow(next);
    state_ = State::Reading;
    design_.reset();
    problem_.clear();
    emit changed();
    read();
}

// A design file is some kilobytes, but it may sit on a slow disk or be
// swapped for something that is no file at all: it is read away from the
// window's thread, and a reading asked for since drops this one.
void DesignFileWatch::read()
{
    const int ticket = ++generation;
    auto* watcher = new QFutureWatcher<Reading>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, ticket] {
        watcher->deleteLater();
        if (ticket != generation)
            return;
        Reading done = watcher->result();
        state_ = done.state;
        design_ = std::move(done.design);
        problem_ = std::move(done.problem);
        emit changed();
    });
    watcher->setFuture(QtConcurrent::run(readAt, path()));
}
