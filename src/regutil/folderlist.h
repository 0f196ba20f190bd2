#pragma once

#include <QListWidget>
#include <QString>

namespace ostrel {

// A folder list: the open folder's ancestors from the root down, the open folder, then
// its subfolders, each an item of its own. Enter or a double-click opens an item.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // The open folder ('/' separated).
    QString path() const { return path_; }
    // Opens the folder when it can be read; otherwise returns false and changes nothing.
    bool setPath(const QString& path);
    // Whether the folder exists and its entries can be listed.
    static bool isReadableFolder(const QString& path);

signals:
    void pathChanged(const QString& path);
    // The user opened an entry; the window decides whether it can be read.
    void folderChosen(const QString& path);

private:
    QString path_;
};

}  // namespace ostrel
