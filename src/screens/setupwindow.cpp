#include "setupwindow.h"
#include "twips.h"
#include "windowregistry.h"

#include "appfolder.h"
#include "busypointer.h"
#include "errorstate.h"
#include "formsetup.h"
#include "messageservice.h"
#include "store.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>

namespace pv {
namespace {

constexpr int kNameLimit = 35;

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLineEdit* makeBox(QWidget* parent, const char* name, const QRect& geometry) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(geometry);
    box->setMaxLength(kNameLimit);
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAccessibleName(caption);
    button->setAutoDefault(false);
    return button;
}

// Once sorted, the list orders names as a person reads them, ignoring case.
class CategoryItem : public QListWidgetItem {
public:
    explicit CategoryItem(const QString& name) : QListWidgetItem(name) {}
    bool operator<(const QListWidgetItem& other) const override {
        const int byLetters = text().compare(other.text(), Qt::CaseInsensitive);
        return byLetters != 0 ? byLetters < 0 : text() < other.text();
    }
};

}  // namespace

SetupWindow::SetupWindow(QWidget* parent) : PvWindow(parent) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(QStringLiteral("Program setup"));
    setFixedSize(12780 / 15, 4230 / 15);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    buildControls();
}

void SetupWindow::buildControls() {
    // The decorative panel down the left side carries the two hint labels.
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("shaSPanel"));
    panel->setGeometry(twips(120, 240, 1815, 3255));
    panel->setFrameShape(QFrame::Box);
    panel->setFrameShadow(QFrame::Sunken);

    lblSMsg1_ =
        makeLabel(this, "lblSMsg1",
                  QStringLiteral("Enter the name in the box and click the 'create' button."),
                  twips(240, 480, 1305, 795));
    lblSMsg2_ = makeLabel(this, "lblSMsg2",
                          QStringLiteral("Click on the name in the 'current categories' box and "
                                         "click the delete button. THIS WILL DELETE ALL RECIPES "
                                         "IN THE SELECTED CATEGORY"),
                          twips(240, 1560, 1335, 1815));
    for (QLabel* hint : {lblSMsg1_, lblSMsg2_}) {
        hint->setWordWrap(true);
    }

    fraSCategory_ = new QGroupBox(QStringLiteral("Categories:"), this);
    fraSCategory_->setObjectName(QStringLiteral("fraSCategory"));
    fraSCategory_->setGeometry(twips(2040, 240, 10335, 3255));

    lblSCreate_ = makeLabel(fraSCategory_, "lblSCreate", QStringLiteral("Create new category:"),
                            twips(120, 360, 1590, 195));
    txtSCreate_ = makeBox(fraSCategory_, "txtSCreate", twips(120, 600, 2895, 285));
    lblSCreate_->setBuddy(txtSCreate_);
    txtSCreate_->setAccessibleName(lblSCreate_->text());

    auto* createBox = new QWidget(fraSCategory_);
    createBox->setObjectName(QStringLiteral("picSCreate"));
    createBox->setGeometry(twips(1920, 1080, 1215, 1095));
    cmdSCreate_ =
        makeButton(createBox, "cmdSCreate", QStringLiteral("Create"), twips(120, 120, 975, 375));
    cmdSCCancel_ =
        makeButton(createBox, "cmdSCCancel", QStringLiteral("Cancel"), twips(120, 600, 975, 375));
    cmdSCCancel_->setAccessibleDescription(
        QStringLiteral("Stop creating; pick a category to delete"));

    lblSCurrent_ = makeLabel(fraSCategory_, "lblSCurrent", QStringLiteral("(current categories)"),
                             twips(3600, 360, 1440, 195));
    lswSetup_ = new QListWidget(fraSCategory_);
    lswSetup_->setObjectName(QStringLiteral("lswSetup"));
    lswSetup_->setGeometry(twips(3600, 600, 3015, 2415));
    lswSetup_->setSelectionMode(QAbstractItemView::SingleSelection);
    lblSCurrent_->setBuddy(lswSetup_);
    lswSetup_->setAccessibleName(QStringLiteral("Current categories"));

    lblSDel_ = makeLabel(fraSCategory_, "lblSDel", QStringLiteral("Delete category:"),
                         twips(7200, 360, 1215, 195));
    txtSDel_ = makeBox(fraSCategory_, "txtSDel", twips(7200, 600, 2895, 285));
    lblSDel_->setBuddy(txtSDel_);
    txtSDel_->setAccessibleName(lblSDel_->text());

    auto* deleteBox = new QWidget(fraSCategory_);
    deleteBox->setObjectName(QStringLiteral("picSDel"));
    deleteBox->setGeometry(twips(9000, 1200, 1095, 1095));
    cmdSDel_ = makeButton(deleteBox, "cmdSDel", QStringLiteral("Delete"), twips(120, 0, 975, 375));
    cmdSDelCancel_ =
        makeButton(deleteBox, "cmdSDelCancel", QStringLiteral("Cancel"), twips(120, 480, 975, 375));
    cmdSDelCancel_->setAccessibleDescription(
        QStringLiteral("Stop deleting; go back to creating a category"));

    cmdSMain_ = makeButton(this, "cmdSMain", QStringLiteral("Main"), twips(11400, 3720, 975, 375));

    connect(lswSetup_, &QListWidget::itemClicked, this, &SetupWindow::itemPicked);
    // Enter on an item picks it, for keyboard users.
    connect(lswSetup_, &QListWidget::itemActivated, this, &SetupWindow::itemPicked);
    connect(cmdSCreate_, &QPushButton::clicked, this, &SetupWindow::createCategory);
    connect(txtSCreate_, &QLineEdit::returnPressed, this, &SetupWindow::createCategory);
    connect(cmdSCCancel_, &QPushButton::clicked, this, &SetupWindow::cancelCreate);
    connect(cmdSDel_, &QPushButton::clicked, this, &SetupWindow::deleteCategory);
    connect(txtSDel_, &QLineEdit::returnPressed, this, &SetupWindow::deleteCategory);
    connect(cmdSDelCancel_, &QPushButton::clicked, this, &SetupWindow::cancelDelete);
    connect(cmdSMain_, &QPushButton::clicked, this, &SetupWindow::backToMain);

    setTabOrder(txtSCreate_, cmdSCreate_);
    setTabOrder(cmdSCreate_, cmdSCCancel_);
    setTabOrder(cmdSCCancel_, lswSetup_);
    setTabOrder(lswSetup_, txtSDel_);
    setTabOrder(txtSDel_, cmdSDel_);
    setTabOrder(cmdSDel_, cmdSDelCancel_);
    setTabOrder(cmdSDelCancel_, cmdSMain_);

    FormSetup setup;
    setup.growToText = {lblSCreate_, lblSCurrent_, lblSDel_};
    // Hints that need more lines widen within the panel and then lengthen it,
    // the frame and the window below them.
    setup.hintPanel = {panel, {lblSMsg1_, lblSMsg2_}, 7, 8, {fraSCategory_, this}, {cmdSMain_}};
    setup.hints = {{cmdSCreate_, lblSMsg1_},
                   {txtSCreate_, lblSMsg1_},
                   {cmdSDel_, lblSMsg2_},
                   {txtSDel_, lblSMsg2_}};
    setup.resets = {{fraSCategory_, {lblSMsg1_, lblSMsg2_}}};
    finishForm(this, setup);
}

void SetupWindow::onLoad() {
    setCreateMode(true);
    fillList();
}

bool SetupWindow::inCreateMode() const {
    return txtSCreate_->isEnabled();
}

void SetupWindow::setCreateMode(bool create) {
    for (QWidget* control :
         {static_cast<QWidget*>(lblSCreate_), static_cast<QWidget*>(txtSCreate_),
          static_cast<QWidget*>(cmdSCreate_), static_cast<QWidget*>(cmdSCCancel_)}) {
        control->setEnabled(create);
    }
    for (QWidget* control :
         {static_cast<QWidget*>(lblSDel_), static_cast<QWidget*>(txtSDel_),
          static_cast<QWidget*>(cmdSDel_), static_cast<QWidget*>(cmdSDelCancel_)}) {
        control->setEnabled(!create);
    }
}

bool SetupWindow::fillList() {
    const store::Store store(dataFolder());
    const auto names = store.listCategoriesByLine();
    if (!names) {
        // No list yet simply means no categories.
        if (names.failure().isFileNotFound()) {
            return true;
        }
        handleStoreFailure(this, ErrorLocation::SetupLoad, names.failure());
        return false;
    }
    for (const QString& name : names.value()) {
        lswSetup_->addItem(new CategoryItem(name));
    }
    return true;
}

void SetupWindow::itemPicked(QListWidgetItem* item) {
    if (!item) {
        return;
    }
    setCreateMode(false);
    txtSDel_->setText(item->text());
}

void SetupWindow::createCategory() {
    if (!txtSCreate_->isEnabled() || working_) {
        return;
    }
    const QString name = txtSCreate_->text();
    if (name.isEmpty()) {
        txtSCreate_->setFocus();
        return;
    }
    store::Store store(dataFolder());
    const auto result = store.createCategory(name);
    if (!result) {
        // A refused name keeps its text, so the user can correct it.
        handleStoreFailure(this, ErrorLocation::SetupCreate, result.failure());
        if (result.failure().isRefusal()) {
            txtSCreate_->setFocus();
        }
        return;
    }
    txtSCreate_->clear();
    txtSCreate_->setFocus();
    if (result.value() == store::CreateResult::AlreadyExists) {
        showMessage(QStringLiteral("This category already exists! You MUST\r"
                                   "delete it first and then re-enter the category."),
                    msg::kOkOnly | msg::kInformation | msg::kSystemModal,
                    QStringLiteral("User error"));
        return;
    }
    lswSetup_->addItem(new CategoryItem(name));
    // From now on the list stays in ascending order, refills included.
    lswSetup_->setSortingEnabled(true);
    lswSetup_->sortItems(Qt::AscendingOrder);
}

void SetupWindow::cancelCreate() {
    setCreateMode(false);
    txtSCreate_->clear();
    txtSDel_->setFocus();
}

void SetupWindow::deleteCategory() {
    // The delete lets pending events run once while the list is rewritten; a
    // second command arriving then must wait for this one to finish.
    if (!txtSDel_->isEnabled() || working_) {
        return;
    }
    const QScopedValueRollback<bool> working(working_, true);
    const QString name = txtSDel_->text();
    if (name.isEmpty()) {
        txtSDel_->setFocus();
        return;
    }
    // No question first: the warning is the permanent text of lblSMsg2.
    store::DeleteHooks hooks;
    hooks.beforeRewrite = [] {
        setBusyPointer();
        QCoreApplication::processEvents();
    };
    hooks.listRewritten = [](int count) {
        showMessage(QString::number(count) + QStringLiteral(" category is deleted."), msg::kOkOnly,
                    QString());
        setDefaultPointer();
    };
    store::Store store(dataFolder());
    const auto result = store.deleteCategory(name, hooks);
    setDefaultPointer();
    if (!result) {
        const store::Failure& failure = result.failure();
        switch (failure.kind) {
            case store::Failure::Kind::NoTempPath:
                showMessage(QStringLiteral("Error getting temporary file path."), msg::kOkOnly);
                return;
            case store::Failure::Kind::NoTempFile:
                showMessage(QStringLiteral("Error getting temporary filename."), msg::kOkOnly);
                return;
            default:
                handleStoreFailure(this, ErrorLocation::SetupDelete, failure);
                if (failure.isRefusal()) {
                    txtSDel_->setFocus();
                }
                return;
        }
    }
    lswSetup_->clear();
    const auto names = store.listCategoriesByLine();
    if (!names) {
        if (!names.failure().isFileNotFound()) {
            handleStoreFailure(this, ErrorLocation::SetupDelete, names.failure());
        }
        return;
    }
    for (const QString& remaining : names.value()) {
        lswSetup_->addItem(new CategoryItem(remaining));
    }
}

void SetupWindow::cancelDelete() {
    setCreateMode(true);
    txtSDel_->clear();
    txtSCreate_->setFocus();
}

void SetupWindow::backToMain() {
    hide();
    windows().show(WindowId::Main);
}

}  // namespace pv
