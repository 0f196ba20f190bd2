#pragma once

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class QWidget;

namespace pv {

// Follows folders and files of the data folder for one window, so that its
// lists follow the disk while another machine or a sync tool changes them.
// Changes are gathered: changed() comes once they have stopped for kGatherMs
// (or went on for kLongestGatherMs), so a sync of hundreds of files redraws
// once. While the window is hidden changes are only noted, and changed() comes
// when it is shown again. Following starts at the window's first showing.
class FolderWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kGatherMs = 300;
    static constexpr int kLongestGatherMs = 2000;

    // paths: the folders and files to follow, as full paths (see dataPath);
    // asked again after every change and by follow().
    FolderWatcher(QWidget* window, std::function<QStringList()> paths);

    // Follows what paths() names now (after the window's choice changed).
    void follow();

    // A path of the data folder as the store resolves it ("Category/Soups").
    static QString dataPath(const QString& relative = {});

signals:
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void noted();
    void gathered();

    QWidget* window_;
    std::function<QStringList()> paths_;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QElapsedTimer gathering_;
    bool following_ = false;
    bool pending_ = false;
};

// Removes, once a run and on a worker thread, what saves that never finished
// (the program died mid-save) left in one folder of the data folder
// ("Category/Soups"): called when a screen first lists the folder, so start-up
// never waits for it.
void tidyStaleSaves(const QString& relativeFolder);

}  // namespace pv
