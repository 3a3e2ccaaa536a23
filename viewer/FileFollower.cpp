#include "viewer/FileFollower.h"

#include <QFileInfo>

FileFollower::FileFollower(QObject* parent) : QObject(parent)
{
    settle.setSingleShot(true);
    settle.setInterval(200);
    connect(&watcher, &QFileSystemWatcher::fileChanged, &settle, qOverload<>(&QTimer::start));
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        // A file renamed over ours, or ours appearing again.
        if (!watcher.files().contains(path_) && QFileInfo::exists(path_))
            settle.start();
    });
    connect(&settle, &QTimer::timeout, this, [this] {
        rewatch();
        emit changed();
    });
}

void FileFollower::follow(const QString& path)
{
    if (!watcher.files().isEmpty())
        watcher.removePaths(watcher.files());
    if (!watcher.directories().isEmpty())
        watcher.removePaths(watcher.directories());
    path_ = QFileInfo(path).absoluteFilePath();
    watcher.addPath(QFileInfo(path_).absolutePath());
    rewatch();
}

void FileFollower::rewatch()
{
    if (!watcher.files().contains(path_) && QFileInfo::exists(path_))
        watcher.addPath(path_);
}
