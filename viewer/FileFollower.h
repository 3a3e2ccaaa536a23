#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// Follows one file on disk: says when it has changed, also when a program
// replaced it whole by renaming a new file over it (the watch on the old
// file ends then, so the folder is watched too and the file watched again).
// Changes that come in a burst are told once, a fifth of a second after the
// last.
class FileFollower : public QObject {
    Q_OBJECT
public:
    explicit FileFollower(QObject* parent = nullptr);

    void follow(const QString& path);
    QString path() const { return path_; }

signals:
    void changed();

private:
    void rewatch();

    QString path_;
    QFileSystemWatcher watcher;
    QTimer settle;
};
