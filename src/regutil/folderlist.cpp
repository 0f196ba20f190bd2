#include "folderlist.h"

#include <QDir>
#include <QFileInfo>
#include <QStyle>

namespace ostrel {

namespace {

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

}  // namespace

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        emit folderChosen(item->data(Qt::UserRole).toString());
    });
}

bool FolderList::isReadableFolder(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isDir() && info.isReadable() &&
           info.isExecutable();
}

bool FolderList::setPath(const QString& path) {
    const QString open = QDir::cleanPath(QDir(path).absolutePath());
    if (!isReadableFolder(open)) {
        return false;
    }
    QStringList chain;
    QDir walk(open);
    while (true) {
        chain.prepend(walk.absolutePath());
        if (walk.isRoot() || !walk.cdUp()) {
            break;
        }
    }
    // Folders only: QDir lists links to pipes and devices among them too.
    QStringList subfolders;
    const QFileInfoList entries =
        QDir(open).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) {
            subfolders.append(entry.fileName());
        }
    }

    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto addFolder = [this](const QString& full, const QString& name, int depth,
                            const QIcon& icon) {
        auto* item = new QListWidgetItem(icon, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, full);
        item->setData(Qt::AccessibleTextRole, name);
        item->setToolTip(native(full));
    };
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString& full = chain.at(depth);
        const QString name = depth == 0 ? native(full) : QFileInfo(full).fileName();
        addFolder(full, name, depth, openIcon);
    }
    const QString prefix = open.endsWith(QLatin1Char('/')) ? open : open + QLatin1Char('/');
    for (const QString& name : subfolders) {
        addFolder(prefix + name, name, static_cast<int>(chain.size()), closedIcon);
    }
    setCurrentRow(static_cast<int>(chain.size()) - 1);
    path_ = open;
    emit pathChanged(path_);
    return true;
}

}  // namespace ostrel
