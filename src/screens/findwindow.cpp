#include "findwindow.h"
#include "ui_findwindow.h"

#include "appfolder.h"
#include "folderwatcher.h"
#include "formsetup.h"
#include "recipefinder.h"
#include "showinbrowser.h"
#include "store.h"

#include <QHeaderView>
#include <QKeyEvent>

namespace pv {

namespace {

constexpr int kCategoryRole = Qt::UserRole;
constexpr int kFileRole = Qt::UserRole + 1;

}  // namespace

FindWindow::FindWindow(QWidget* parent)
    : PvWindow(parent),
      ui_(std::make_unique<Ui::FindWindow>()),
      finder_(std::make_unique<find::RecipeFinder>(dataFolder())) {
    ui_->setupUi(this);
    FormSetup setup;
    setup.growToText = {ui_->lblFFind};
    finishForm(this, setup);
    setClosesOnEscape(true);

    QHeaderView* header = ui_->lswFMatch->header();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->resizeSection(0, 160);
    header->resizeSection(1, 100);
    header->setStretchLastSection(true);

    connect(ui_->txtFFind, &QLineEdit::textChanged, this, &FindWindow::search);
    connect(ui_->txtFFind, &QLineEdit::returnPressed, this, &FindWindow::showMatch);
    // Enter and a double click on a match.
    connect(ui_->lswFMatch, &QTreeWidget::activated, this, &FindWindow::showMatch);
    connect(ui_->cmdFShow, &QPushButton::clicked, this, &FindWindow::showMatch);
    connect(ui_->cmdFClose, &QPushButton::clicked, this, &FindWindow::closeWindow);
    connect(finder_.get(), &find::RecipeFinder::matchesFound, this, &FindWindow::addMatches);
    connect(finder_.get(), &find::RecipeFinder::finished, this, &FindWindow::searchDone);
    ui_->txtFFind->installEventFilter(this);

    watcher_ = new FolderWatcher(this, [this] { return matchFolders(); });
    connect(watcher_, &FolderWatcher::changed, this, &FindWindow::dropDeletedMatches);
}

FindWindow::~FindWindow() = default;

void FindWindow::onLoad() {
    ui_->cmdFShow->setEnabled(false);
    ui_->txtFFind->setFocus();
}

bool FindWindow::onShowAgain() {
    // Recipes may have been written or deleted meanwhile: the query runs anew.
    search();
    ui_->txtFFind->selectAll();
    ui_->txtFFind->setFocus();
    return true;
}

void FindWindow::startOver() {
    ui_->lswFMatch->clear();
    ui_->cmdFShow->setEnabled(false);
    ui_->lblFCount->clear();
}

void FindWindow::search() {
    startOver();
    const QString query = ui_->txtFFind->text();
    if (query.trimmed().isEmpty()) {
        finder_->abandon();
        return;
    }
    ui_->lblFCount->setText(QStringLiteral("Searching..."));
    finder_->find(query);
}

void FindWindow::addMatches(quint64 query, const find::MatchList& matches) {
    if (query != finder_->currentQuery()) {
        return;
    }
    QList<QTreeWidgetItem*> items;
    items.reserve(matches.size());
    for (const find::Match& match : matches) {
        auto* item =
            new QTreeWidgetItem(QStringList{match.recipeName(), match.category, match.line});
        item->setData(0, kCategoryRole, match.category);
        item->setData(0, kFileRole, match.fileName);
        item->setToolTip(2, match.line);
        items.append(item);
    }
    QTreeWidget* list = ui_->lswFMatch;
    const bool first = list->topLevelItemCount() == 0;
    list->addTopLevelItems(items);
    if (first && list->topLevelItemCount() > 0) {
        // Enter in the box shows the first match.
        list->setCurrentItem(list->topLevelItem(0), 0, QItemSelectionModel::NoUpdate);
        ui_->cmdFShow->setEnabled(true);
    }
    ui_->lblFCount->setText(
        QStringLiteral("Searching... %1 found so far").arg(list->topLevelItemCount()));
}

void FindWindow::searchDone(quint64 query, bool moreThanLimit) {
    if (query != finder_->currentQuery()) {
        return;
    }
    const int count = ui_->lswFMatch->topLevelItemCount();
    QString text;
    if (moreThanLimit) {
        text = QStringLiteral("More than %1 recipes hold these words; the first %1 are shown.")
                   .arg(count);
    } else if (count == 0) {
        text = QStringLiteral("No recipe holds every word.");
    } else if (count == 1) {
        text = QStringLiteral("1 recipe found.");
    } else {
        text = QStringLiteral("%1 recipes found.").arg(count);
    }
    ui_->lblFCount->setText(text);
    watcher_->follow();
}

QTreeWidgetItem* FindWindow::chosenItem() const {
    QTreeWidget* list = ui_->lswFMatch;
    return list->currentItem() ? list->currentItem() : list->topLevelItem(0);
}

void FindWindow::showMatch() {
    const QTreeWidgetItem* item = chosenItem();
    if (!item) {
        return;
    }
    showInBrowser(item->data(0, kCategoryRole).toString(), item->data(0, kFileRole).toString());
}

void FindWindow::closeWindow() {
    hide();
}

void FindWindow::hideEvent(QHideEvent* event) {
    PvWindow::hideEvent(event);
    if (event->spontaneous()) {
        return;  // minimised: the search goes on
    }
    // Nothing is searched for a window nobody sees.
    finder_->abandon();
    if (ui_->lblFCount->text().startsWith(QLatin1String("Searching"))) {
        ui_->lblFCount->clear();
    }
}

bool FindWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->txtFFind && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        QTreeWidget* list = ui_->lswFMatch;
        if ((key == Qt::Key_Down || key == Qt::Key_PageDown) && list->topLevelItemCount() > 0) {
            // Down from the box into the matches.
            list->setFocus();
            list->setCurrentItem(chosenItem());
            return true;
        }
    }
    return PvWindow::eventFilter(watched, event);
}

QStringList FindWindow::matchFolders() const {
    // The folders of the categories the matches lie in, a bounded number.
    constexpr qsizetype kMostFolders = 100;
    QStringList categories;
    const QTreeWidget* list = ui_->lswFMatch;
    for (int row = 0; row < list->topLevelItemCount() && categories.size() < kMostFolders; ++row) {
        const QString category = list->topLevelItem(row)->data(0, kCategoryRole).toString();
        if (!categories.contains(category)) {
            categories.append(category);
        }
    }
    QStringList folders;
    for (const QString& category : categories) {
        folders.append(FolderWatcher::dataPath(QStringLiteral("Category/") + category));
    }
    return folders;
}

void FindWindow::dropDeletedMatches() {
    const store::Store store(dataFolder());
    QTreeWidget* list = ui_->lswFMatch;
    bool dropped = false;
    for (int row = list->topLevelItemCount() - 1; row >= 0; --row) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        const QString file = item->data(0, kFileRole).toString();
        if (store.storedRecipeName(item->data(0, kCategoryRole).toString(), file) != file) {
            delete list->takeTopLevelItem(row);
            dropped = true;
        }
    }
    const int count = list->topLevelItemCount();
    ui_->cmdFShow->setEnabled(count > 0);
    if (dropped && !ui_->lblFCount->text().startsWith(QLatin1String("Searching")) &&
        !ui_->lblFCount->text().startsWith(QLatin1String("More than"))) {
        ui_->lblFCount->setText(count == 0   ? QStringLiteral("No recipe holds every word.")
                                : count == 1 ? QStringLiteral("1 recipe found.")
                                             : QStringLiteral("%1 recipes found.").arg(count));
    }
    watcher_->follow();
}

}  // namespace pv
