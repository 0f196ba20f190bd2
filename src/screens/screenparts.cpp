#include "screenparts.h"

#include "appfolder.h"
#include "errorstate.h"
#include "failures.h"
#include "hoverhints.h"
#include "multilinebox.h"
#include "notice.h"
#include "store.h"
#include "twips.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace pv {

ScreenFrame setUpScreen(QWidget* screen, WindowId id, const QString& title, const QString& menuName,
                        const QSize& clientSize) {
    screen->setObjectName(objectNameOf(id));
    screen->setWindowTitle(title);
    preferTahomaLookAlikes();
    QFont face(QStringLiteral("Tahoma"));
    face.setPointSizeF(8.25);
    screen->setFont(face);
    auto* menu = new ScreenMenuBar(screen);
    menu->setObjectName(menuName);
    return {menu, placeMenuBar(screen, menu, clientSize)};
}

void clearScreenFields(QWidget* screen) {
    const QList<QWidget*> controls = screen->findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (auto* line = qobject_cast<QLineEdit*>(control)) {
            // The edit field inside a drop-down or spin box is part of that control.
            QWidget* owner = line->parentWidget();
            if (qobject_cast<QComboBox*>(owner) || qobject_cast<QAbstractSpinBox*>(owner)) {
                continue;
            }
            line->clear();
        } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
            plain->clear();
        } else if (auto* rich = qobject_cast<QTextEdit*>(control)) {
            rich->clear();
        }
    }
}

QList<MenuEntry> withLoadableIcons(QList<MenuEntry> table) {
    for (MenuEntry& entry : table) {
        if (!entry.iconName.isEmpty() && !loadScreenIcon(entry.iconName)) {
            entry.iconName.clear();
        }
    }
    return table;
}

CategoryChoice loadCategories(QWidget* screen, QComboBox* box, ErrorLocation location) {
    const bool hadChoice = box->currentIndex() >= 0;
    const QString chosen = box->currentText();
    const store::Store store(dataFolder());
    auto names = store.listCategoriesByField();
    if (!names && !names.failure().isFileNotFound()) {
        box->clear();
        handleStoreFailure(screen, location, names.failure());
        return CategoryChoice::Failed;
    }
    box->clear();
    if (!names) {
        // No list (any more): no categories, and the user is told how to make one.
        noCategoryNotice();
    } else {
        box->addItems(names.value());
    }
    // Exact and case-sensitive, as the drop-down's text names the folder.
    box->setCurrentIndex(hadChoice ? box->findText(chosen) : -1);
    return !hadChoice || box->currentIndex() >= 0 ? CategoryChoice::Kept : CategoryChoice::Dropped;
}

QString missingCategoryFolderText(const QString& category, const QString& consequence) {
    return QStringLiteral("The folder of the category \"%1\" is missing.\r").arg(category) +
           consequence;
}

bool categoryFolderGone(const store::Store& store, const store::Failure& failure,
                        const QString& category) {
    return failure.isPathNotFound() && store.categoryFolderMissing(category);
}

QFont styledFont(const QWidget* on, bool bold) {
    QFont font = on->font();
    font.setBold(bold);
    return font;
}

QFrame* makePanel(QWidget* parent, const char* name, const QRect& at) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QLatin1String(name));
    panel->setFrameShape(QFrame::Box);
    panel->setGeometry(at);
    return panel;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QRect& at,
                  bool bold) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(at);
    label->setFont(styledFont(parent, bold));
    return label;
}

QLabel* makeTextLabel(QWidget* parent, const char* name, const QString& text, const QRect& at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setGeometry(at);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel* makeHint(QWidget* parent, const char* name, const QString& caption, const QRect& at,
                 const QColor& colour) {
    QLabel* hint = makeTextLabel(parent, name, caption, at);
    HoverHints::setColour(hint, colour);
    return hint;
}

QLineEdit* makeLineBox(QWidget* parent, const QString& name, const QRect& at, bool bold,
                       const QString& accessibleName) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setGeometry(at);
    box->setFont(styledFont(parent, bold));
    box->setAccessibleName(accessibleName);
    return box;
}

QComboBox* makeCategoryBox(QWidget* parent, const char* name, const QRect& at,
                           const QString& accessibleName, QLabel* label) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(at);
    box->setFont(styledFont(parent, false));
    // Only listed categories can be chosen: a typed name has no folder behind it.
    box->setEditable(false);
    box->setAccessibleName(accessibleName);
    label->setBuddy(box);
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QRect& at) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(at);
    button->setAutoDefault(false);
    return button;
}

MultiLineBox* makeDirectionsBox(QWidget* parent, const char* name, const QRect& at) {
    auto* box = new MultiLineBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(at);
    box->setFont(styledFont(parent, false));
    box->setAccessibleName(QStringLiteral("Directions"));
    return box;
}

void setTabChain(const QList<QWidget*>& order) {
    for (qsizetype i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order.at(i - 1), order.at(i));
    }
}

}  // namespace pv
