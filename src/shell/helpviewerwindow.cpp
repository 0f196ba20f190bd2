#include "helpviewerwindow.h"
#include "ui_helpviewerwindow.h"

#include "helpbrowser.h"

#include <QFileInfo>
#include <QTreeWidgetItemIterator>

namespace pv::help {

namespace {

constexpr int kLocalRole = Qt::UserRole + 1;

// The contents file named by #SYSTEM, else the first ".hhc" in the archive.
std::optional<QByteArray> readContentsFile(const ChmArchive& archive, const QString& named) {
    if (!named.isEmpty()) {
        if (auto bytes = archive.read(named))
            return bytes;
    }
    const QStringList paths = archive.objectPaths();
    for (const QString& path : paths) {
        if (path.endsWith(u".hhc", Qt::CaseInsensitive)) {
            if (auto bytes = archive.read(path))
                return bytes;
        }
    }
    return std::nullopt;
}

QString pathOf(const QUrl& url) {
    return url.path().toLower();
}

}  // namespace

HelpViewerWindow* HelpViewerWindow::open(const QString& chmPath) {
    if (chmPath.isEmpty() || !QFileInfo(chmPath).isFile())
        return nullptr;
    auto archive = ChmArchive::open(chmPath);
    if (!archive)
        return nullptr;

    SystemInfo system;
    if (auto bytes = archive->read(QStringLiteral("/#SYSTEM")))
        system = parseSystem(*bytes);
    const auto contents = readContentsFile(*archive, system.contentsFile);
    if (!contents)
        return nullptr;
    const QList<ContentsEntry> entries = parseContents(*contents);

    // The default topic, else the first contents entry that opens a page.
    QString topic = system.defaultTopic;
    if (topic.isEmpty() || !archive->read(HelpBrowser::pageUrl(topic).path())) {
        topic.clear();
        for (const ContentsEntry& entry : entries) {
            if (!entry.local.isEmpty() && archive->read(HelpBrowser::pageUrl(entry.local).path())) {
                topic = entry.local;
                break;
            }
        }
    }
    if (entries.isEmpty() && topic.isEmpty())
        return nullptr;  // nothing that could be shown

    const QUrl home = topic.isEmpty() ? QUrl() : HelpBrowser::pageUrl(topic);
    auto* viewer = new HelpViewerWindow(std::move(archive), entries, system.title, home);
    viewer->show();
    return viewer;
}

HelpViewerWindow::HelpViewerWindow(std::unique_ptr<ChmArchive> archive,
                                   const QList<ContentsEntry>& entries, const QString& title,
                                   const QUrl& home)
    : QWidget(nullptr),
      ui_(std::make_unique<Ui::HelpViewerWindow>()),
      archive_(std::move(archive)),
      home_(home) {
    ui_->setupUi(this);
    setAttribute(Qt::WA_DeleteOnClose);
    // The help stands beside the program: it never keeps the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    // The file's own title, else the form's.
    if (!title.isEmpty())
        setWindowTitle(title);

    QTreeWidget* tree = ui_->treHelpContents;
    HelpBrowser* browser = ui_->txtHelpPage;
    browser->setArchive(archive_.get());
    // Contents: each entry goes under the last entry one level up.
    QList<QTreeWidgetItem*> parents;
    for (const ContentsEntry& entry : entries) {
        const int depth = qMin<int>(entry.depth, static_cast<int>(parents.size()));
        parents.resize(depth);
        auto* item =
            parents.isEmpty() ? new QTreeWidgetItem(tree) : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.name);
        item->setData(0, kLocalRole, entry.local);
        item->setToolTip(0, entry.name);
        parents.append(item);
    }
    tree->expandAll();
    // The contents start narrow; the page takes what the window gains.
    ui_->splHelp->setSizes({300, 660});

    ui_->cmdHelpBack->setEnabled(false);
    ui_->cmdHelpForward->setEnabled(false);
    ui_->cmdHelpHome->setEnabled(home_.isValid());
    connect(ui_->cmdHelpBack, &QToolButton::clicked, browser, &QTextBrowser::backward);
    connect(ui_->cmdHelpForward, &QToolButton::clicked, browser, &QTextBrowser::forward);
    connect(ui_->cmdHelpHome, &QToolButton::clicked, this,
            [this, browser] { browser->setSource(home_); });
    connect(browser, &QTextBrowser::backwardAvailable, ui_->cmdHelpBack, &QWidget::setEnabled);
    connect(browser, &QTextBrowser::forwardAvailable, ui_->cmdHelpForward, &QWidget::setEnabled);
    connect(browser, &QTextBrowser::sourceChanged, this, &HelpViewerWindow::selectEntryFor);
    connect(tree, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showEntry(item); });
    connect(tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showEntry(item); });

    if (home_.isValid())
        browser->setSource(home_);
    tree->setFocus();
}

HelpViewerWindow::~HelpViewerWindow() {
    // The page view, a child, outlives the archive: it must not read it any more.
    ui_->txtHelpPage->setArchive(nullptr);
}

QTreeWidget* HelpViewerWindow::contentsTree() const {
    return ui_->treHelpContents;
}

HelpBrowser* HelpViewerWindow::browser() const {
    return ui_->txtHelpPage;
}

void HelpViewerWindow::showEntry(QTreeWidgetItem* item) {
    if (!item)
        return;
    const QString local = item->data(0, kLocalRole).toString();
    if (local.isEmpty())
        return;  // a heading without a page of its own
    const QUrl url = HelpBrowser::pageUrl(local);
    if (pathOf(url) != pathOf(browser()->source()) ||
        url.fragment() != browser()->source().fragment())
        browser()->setSource(url);
}

void HelpViewerWindow::selectEntryFor(const QUrl& url) {
    const QString path = pathOf(url);
    for (QTreeWidgetItemIterator it(contentsTree()); *it; ++it) {
        const QString local = (*it)->data(0, kLocalRole).toString();
        if (!local.isEmpty() && pathOf(HelpBrowser::pageUrl(local)) == path) {
            if (contentsTree()->currentItem() != *it) {
                const QSignalBlocker block(contentsTree());
                contentsTree()->setCurrentItem(*it);
            }
            return;
        }
    }
}

}  // namespace pv::help
