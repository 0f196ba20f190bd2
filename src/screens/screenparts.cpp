#include "screenparts.h"

#include "appfolder.h"
#include "errorstate.h"
#include "failures.h"
#include "hoverhints.h"
#include "notice.h"
#include "store.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace pv {

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

CategoryChoice followCategories(QComboBox* box) {
    const store::Store store(dataFolder());
    auto names = store.listCategoriesByField();
    if (!names && !names.failure().isFileNotFound()) {
        return CategoryChoice::Kept;
    }
    const QStringList listed = names ? names.value() : QStringList();
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) {
        shown.append(box->itemText(i));
    }
    if (shown == listed) {
        return CategoryChoice::Kept;
    }
    const bool hadChoice = box->currentIndex() >= 0;
    const QString chosen = box->currentText();
    box->clear();
    box->addItems(listed);
    box->setCurrentIndex(hadChoice ? box->findText(chosen) : -1);
    return !hadChoice || box->currentIndex() >= 0 ? CategoryChoice::Kept : CategoryChoice::Dropped;
}

std::array<IngredientBoxes, 10> ingredientBoxes(const QWidget* window, const QString& amount,
                                                const QString& type, const QString& ingredient) {
    std::array<IngredientBoxes, 10> lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QString number = QString::number(i + 1);
        lines[i] = {window->findChild<QLineEdit*>(amount + number),
                    window->findChild<QLineEdit*>(type + number),
                    window->findChild<QLineEdit*>(ingredient + number)};
    }
    return lines;
}

QString missingCategoryFolderText(const QString& category, const QString& consequence) {
    return QStringLiteral("The folder of the category \"%1\" is missing.\r").arg(category) +
           consequence;
}

bool categoryFolderGone(const store::Store& store, const store::Failure& failure,
                        const QString& category) {
    return failure.isPathNotFound() && store.categoryFolderMissing(category);
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

}  // namespace pv
