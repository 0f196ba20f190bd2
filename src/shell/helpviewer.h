#pragma once

#include "chmarchive.h"
#include "helpcontents.h"

#include <QTextBrowser>
#include <QWidget>

#include <memory>

class QTreeWidget;
class QTreeWidgetItem;
class QToolButton;

namespace pv::help {

// Shows the pages of a compiled help file: every page, picture, style sheet and
// linked page comes out of the archive.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(const ChmArchive& archive, QWidget* parent = nullptr);

    // "chm:/index.html" for the archive path "index.html" or "/index.html".
    static QUrl pageUrl(const QString& local);

    QVariant loadResource(int type, const QUrl& name) override;

private:
    void followLink(const QUrl& url);

    const ChmArchive& archive_;
};

// The help window used where the platform has no HTML help viewer of its own: the
// contents on the left, the page on the right. A top-level window, not modal,
// deleted when closed; nothing in the program keeps a pointer to it.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // Opens a new viewer on the file's default topic and shows it. Null (nothing
    // shown) for a missing file, one chmlib cannot open, or one without a readable
    // contents file.
    static HelpViewer* open(const QString& chmPath);
    ~HelpViewer() override;

    QTreeWidget* contentsTree() const { return tree_; }
    HelpBrowser* browser() const { return browser_; }
    QUrl defaultTopic() const { return home_; }

private:
    HelpViewer(std::unique_ptr<ChmArchive> archive, const QList<ContentsEntry>& entries,
               const QString& title, const QUrl& home);
    void showEntry(QTreeWidgetItem* item);
    void selectEntryFor(const QUrl& url);

    std::unique_ptr<ChmArchive> archive_;
    QTreeWidget* tree_ = nullptr;
    HelpBrowser* browser_ = nullptr;
    QToolButton* back_ = nullptr;
    QToolButton* forward_ = nullptr;
    QToolButton* home_button_ = nullptr;
    QUrl home_;
};

}  // namespace pv::help
