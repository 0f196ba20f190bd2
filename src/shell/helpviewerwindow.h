#pragma once

#include "chmarchive.h"
#include "helpcontents.h"

#include <QUrl>
#include <QWidget>

#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace pv::help {

class HelpBrowser;

namespace Ui {
class HelpViewerWindow;
}

// The help window used where the platform has no HTML help viewer of its own: the
// contents on the left, the page on the right. A top-level window, not modal,
// deleted when closed; nothing in the program keeps a pointer to it.
class HelpViewerWindow : public QWidget {
    Q_OBJECT
public:
    // Opens a new viewer on the file's default topic and shows it. Null (nothing
    // shown) for a missing file, one chmlib cannot open, or one without a readable
    // contents file.
    static HelpViewerWindow* open(const QString& chmPath);
    ~HelpViewerWindow() override;

    QTreeWidget* contentsTree() const;
    HelpBrowser* browser() const;
    QUrl defaultTopic() const { return home_; }

private:
    HelpViewerWindow(std::unique_ptr<ChmArchive> archive, const QList<ContentsEntry>& entries,
                     const QString& title, const QUrl& home);
    void showEntry(QTreeWidgetItem* item);
    void selectEntryFor(const QUrl& url);

    std::unique_ptr<Ui::HelpViewerWindow> ui_;
    std::unique_ptr<ChmArchive> archive_;
    QUrl home_;
};

}  // namespace pv::help
