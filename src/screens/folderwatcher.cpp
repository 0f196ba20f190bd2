#include "folderwatcher.h"

#include "appfolder.h"
#include "store.h"

#include <QEvent>
#include <QFileInfo>
#include <QSet>
#include <QThreadPool>
#include <QWidget>

namespace pv {

FolderWatcher::FolderWatcher(QWidget* window, std::function<QStringList()> paths)
    : QObject(window), window_(window), paths_(std::move(paths)) {
    quiet_.setSingleShot(true);
    quiet_.setInterval(kGatherMs);
    connect(&quiet_, &QTimer::timeout, this, &FolderWatcher::gathered);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FolderWatcher::noted);
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, &FolderWatcher::noted);
    window_->installEventFilter(this);
}

QString FolderWatcher::dataPath(const QString& relative) {
    const store::Store store(dataFolder());
    return relative.isEmpty() ? store.applicationFolder() : store.resolve(relative);
}

void FolderWatcher::follow() {
    following_ = true;
    QSet<QString> wanted;
    for (const QString& path : paths_()) {
        if (!path.isEmpty() && QFileInfo::exists(path)) {
            wanted.insert(path);
        }
    }
    QStringList gone;
    for (const QString& path : watcher_.directories() + watcher_.files()) {
        if (!wanted.contains(path)) {
            gone.append(path);
        }
    }
    // A file replaced by a rename is a new file: followed anew, or its own
    // later changes would go unseen.
    gone += watcher_.files();
    gone.removeDuplicates();
    if (!gone.isEmpty()) {
        watcher_.removePaths(gone);
    }
    const QStringList watched = watcher_.directories() + watcher_.files();
    QStringList added;
    for (const QString& path : wanted) {
        if (!watched.contains(path)) {
            added.append(path);
        }
    }
    if (!added.isEmpty()) {
        watcher_.addPaths(added);
    }
}

void FolderWatcher::noted() {
    if (!gathering_.isValid()) {
        gathering_.start();
    }
    // Each change restarts the wait, up to the longest gathering.
    if (!quiet_.isActive() || gathering_.elapsed() < kLongestGatherMs) {
        quiet_.start();
    }
}

void FolderWatcher::gathered() {
    gathering_.invalidate();
    follow();
    if (window_->isVisible()) {
        emit changed();
    } else {
        pending_ = true;
    }
}

bool FolderWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && event->type() == QEvent::Show) {
        if (!following_) {
            follow();
        } else if (pending_) {
            pending_ = false;
            // Once the window's own showing is done.
            QTimer::singleShot(0, this, [this] {
                if (window_->isVisible()) {
                    emit changed();
                } else {
                    pending_ = true;
                }
            });
        }
    }
    return QObject::eventFilter(watched, event);
}

void tidyStaleSaves(const QString& relativeFolder) {
    static QSet<QString> tidied;
    const store::Store store(dataFolder());
    const QString folder = store.resolve(relativeFolder);
    if (tidied.contains(folder)) {
        return;
    }
    tidied.insert(folder);
    QThreadPool::globalInstance()->start(
        [store, relativeFolder] { store.removeStaleSaves(relativeFolder); });
}

}  // namespace pv
