#include "helpviewerwindow.h"

#include "helpbrowser.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QSplitter>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

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

    const QString title = system.title.isEmpty() ? QStringLiteral("Pantrova Help") : system.title;
    const QUrl home = topic.isEmpty() ? QUrl() : HelpBrowser::pageUrl(topic);
    auto* viewer = new HelpViewerWindow(std::move(archive), entries, title, home);
    viewer->show();
    return viewer;
}

HelpViewerWindow::HelpViewerWindow(std::unique_ptr<ChmArchive> archive,
                                   const QList<ContentsEntry>& entries, const QString& title,
                                   const QUrl& home)
    : QWidget(nullptr), archive_(std::move(archive)), home_(home) {
    setObjectName(QStringLiteral("pvHelpViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    // The help stands beside the program: it never keeps the program running.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(title);
    setAccessibleName(title);
    resize(960, 640);

    auto makeButton = [this](const QString& text, const QString& tip) {
        auto* button = new QToolButton(this);
        button->setText(text);
        button->setToolTip(tip);
        button->setAccessibleName(tip);
        button->setFocusPolicy(Qt::StrongFocus);
        return button;
    };
    back_ = makeButton(tr("&Back"), tr("Back"));
    forward_ = makeButton(tr("&Forward"), tr("Forward"));
    homeButton_ = makeButton(tr("&Contents page"), tr("Contents page"));
    back_->setObjectName(QStringLiteral("cmdHelpBack"));
    forward_->setObjectName(QStringLiteral("cmdHelpForward"));
    homeButton_->setObjectName(QStringLiteral("cmdHelpHome"));

    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("treHelpContents"));
    tree_->setAccessibleName(tr("Help contents"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setFocusPolicy(Qt::StrongFocus);

    browser_ = new HelpBrowser(*archive_, this);
    browser_->setObjectName(QStringLiteral("txtHelpPage"));
    browser_->setAccessibleName(tr("Help page"));
    browser_->setFocusPolicy(Qt::StrongFocus);

    // Contents: each entry goes under the last entry one level up.
    QList<QTreeWidgetItem*> parents;
    for (const ContentsEntry& entry : entries) {
        const int depth = qMin<int>(entry.depth, static_cast<int>(parents.size()));
        parents.resize(depth);
        auto* item =
            parents.isEmpty() ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.name);
        item->setData(0, kLocalRole, entry.local);
        item->setToolTip(0, entry.name);
        parents.append(item);
    }
    tree_->expandAll();

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(tree_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 660});
    splitter->setChildrenCollapsible(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back_);
    buttons->addWidget(forward_);
    buttons->addWidget(homeButton_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);

    // Tab goes from the contents to the page and on to the buttons.
    setTabOrder(tree_, browser_);
    setTabOrder(browser_, back_);
    setTabOrder(back_, forward_);
    setTabOrder(forward_, homeButton_);

    back_->setEnabled(false);
    forward_->setEnabled(false);
    homeButton_->setEnabled(home_.isValid());
    connect(back_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forward_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(homeButton_, &QToolButton::clicked, this, [this] { browser_->setSource(home_); });
    connect(browser_, &QTextBrowser::backwardAvailable, back_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forward_, &QWidget::setEnabled);
    connect(browser_, &QTextBrowser::sourceChanged, this, &HelpViewerWindow::selectEntryFor);
    connect(tree_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { showEntry(item); });
    connect(tree_, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { showEntry(item); });

    if (home_.isValid())
        browser_->setSource(home_);
    tree_->setFocus();
}

HelpViewerWindow::~HelpViewerWindow() {
    // The page view reads from the archive: it goes before the archive does.
    delete browser_;
}

void HelpViewerWindow::showEntry(QTreeWidgetItem* item) {
    if (!item)
        return;
    const QString local = item->data(0, kLocalRole).toString();
    if (local.isEmpty())
        return;  // a heading without a page of its own
    const QUrl url = HelpBrowser::pageUrl(local);
    if (pathOf(url) != pathOf(browser_->source()) ||
        url.fragment() != browser_->source().fragment())
        browser_->setSource(url);
}

void HelpViewerWindow::selectEntryFor(const QUrl& url) {
    const QString path = pathOf(url);
    for (QTreeWidgetItemIterator it(tree_); *it; ++it) {
        const QString local = (*it)->data(0, kLocalRole).toString();
        if (!local.isEmpty() && pathOf(HelpBrowser::pageUrl(local)) == path) {
            if (tree_->currentItem() != *it) {
                const QSignalBlocker block(tree_);
                tree_->setCurrentItem(*it);
            }
            return;
        }
    }
}

}  // namespace pv::help
