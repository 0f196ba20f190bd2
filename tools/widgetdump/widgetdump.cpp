#include "widgetdump.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QCalendarWidget>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTextEdit>
#include <QWidget>

namespace pv::tools {
namespace {

struct Writer {
    QString out;
    QString mask;

    QString clean(QString text) const {
        if (!mask.isEmpty()) {
            text.replace(mask, QStringLiteral("<tmp>"));
            const QString base = mask.section(QLatin1Char('/'), -1);
            if (!base.isEmpty()) {
                text.replace(base, QStringLiteral("<tmp>"));
            }
        }
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        text.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
        text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
        text.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
        return QLatin1Char('"') + text + QLatin1Char('"');
    }

    void line(int depth, const QString& text) {
        out += QString(depth * 2, QLatin1Char(' ')) + text + QLatin1Char('\n');
    }
};

// The Qt class a widget is made of; the program's own class names are not
// what a person sees, and may be renamed freely.
QString qtClass(const QWidget* widget) {
    const QMetaObject* meta = widget->metaObject();
    while (meta && QByteArray(meta->className()).contains("::")) {
        meta = meta->superClass();
    }
    return QLatin1String(meta ? meta->className() : "?");
}

QString rect(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QString fontText(const QFont& font) {
    return QStringLiteral("%1/%2 %3pt%4%5%6")
        .arg(font.family(), QFontInfo(font).family())
        .arg(font.pointSizeF())
        .arg(font.bold() ? QStringLiteral(" bold") : QString())
        .arg(font.italic() ? QStringLiteral(" italic") : QString())
        .arg(font.underline() ? QStringLiteral(" underline") : QString());
}

// The colours set on the widget itself or inherited from a parent that set them.
QString colours(const QWidget* widget) {
    static const struct {
        QPalette::ColorRole role;
        const char* name;
    } roles[] = {{QPalette::WindowText, "windowText"},
                 {QPalette::Window, "window"},
                 {QPalette::Base, "base"},
                 {QPalette::Text, "text"},
                 {QPalette::Button, "button"},
                 {QPalette::ButtonText, "buttonText"},
                 {QPalette::Highlight, "highlight"}};
    const QPalette palette = widget->palette();
    QStringList set;
    for (const auto& r : roles) {
        if (palette.isBrushSet(QPalette::Active, r.role)) {
            set << QStringLiteral("%1=%2").arg(
                QLatin1String(r.name),
                palette.color(QPalette::Active, r.role).name(QColor::HexArgb));
        }
    }
    if (widget->autoFillBackground()) {
        set << QStringLiteral("autoFill");
    }
    if (!widget->styleSheet().isEmpty()) {
        set << QStringLiteral("styleSheet=") + widget->styleSheet();
    }
    return set.join(QLatin1Char(' '));
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(widget);
    return iface ? iface->text(QAccessible::Name) : QString();
}

void dumpActions(Writer& w, const QList<QAction*>& actions, int depth) {
    for (QAction* action : actions) {
        if (action->isSeparator()) {
            w.line(depth, QStringLiteral("action ---"));
            continue;
        }
        w.line(depth, QStringLiteral("action %1%2%3%4%5")
                          .arg(w.clean(action->text()))
                          .arg(action->shortcut().isEmpty()
                                   ? QString()
                                   : QStringLiteral(" shortcut=") + action->shortcut().toString())
                          .arg(action->icon().isNull() ? QString() : QStringLiteral(" icon"))
                          .arg(action->isEnabled() ? QString() : QStringLiteral(" disabled"))
                          .arg(action->isVisible() ? QString() : QStringLiteral(" hidden")));
        if (QMenu* menu = action->menu()) {
            dumpActions(w, menu->actions(), depth + 1);
        }
    }
}

// What the widget shows of its own, by kind.
QString content(Writer& w, QWidget* widget) {
    QStringList parts;
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        parts << QStringLiteral("text=") + w.clean(label->text());
        if (label->textFormat() != Qt::AutoText) {
            parts << QStringLiteral("format=%1").arg(int(label->textFormat()));
        }
        if (label->wordWrap()) {
            parts << QStringLiteral("wrap");
        }
        parts << QStringLiteral("align=%1").arg(int(label->alignment()), 0, 16);
        if (label->buddy()) {
            parts << QStringLiteral("buddy=") + label->buddy()->objectName();
        }
        if (!label->pixmap().isNull()) {
            parts << QStringLiteral("pixmap=%1x%2")
                         .arg(label->pixmap().width())
                         .arg(label->pixmap().height());
        }
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        parts << QStringLiteral("text=") + w.clean(button->text());
        if (button->isCheckable()) {
            parts << (button->isChecked() ? QStringLiteral("checked")
                                          : QStringLiteral("unchecked"));
        }
        if (!button->icon().isNull()) {
            parts << QStringLiteral("icon");
        }
    } else if (auto* line = qobject_cast<QLineEdit*>(widget)) {
        parts << QStringLiteral("text=") + w.clean(line->text());
        if (line->isReadOnly()) {
            parts << QStringLiteral("readOnly");
        }
        if (line->maxLength() != 32767) {
            parts << QStringLiteral("maxLength=%1").arg(line->maxLength());
        }
        if (!line->hasFrame()) {
            parts << QStringLiteral("noFrame");
        }
        parts << QStringLiteral("align=%1").arg(int(line->alignment()), 0, 16);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(widget)) {
        parts << QStringLiteral("text=") + w.clean(plain->toPlainText());
        if (plain->isReadOnly()) {
            parts << QStringLiteral("readOnly");
        }
    } else if (auto* rich = qobject_cast<QTextEdit*>(widget)) {
        parts << QStringLiteral("text=") + w.clean(rich->toPlainText());
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) {
            items << w.clean(combo->itemText(i));
        }
        parts << QStringLiteral("items=[%1] current=%2")
                     .arg(items.join(QLatin1Char(',')))
                     .arg(combo->currentIndex());
        if (combo->isEditable()) {
            parts << QStringLiteral("editable");
        }
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        parts << QStringLiteral("title=") + w.clean(group->title());
    } else if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
        parts << QStringLiteral("value=%1 range=%2..%3")
                     .arg(bar->value())
                     .arg(bar->minimum())
                     .arg(bar->maximum());
    }
    if (auto* view = qobject_cast<QAbstractItemView*>(widget); view && view->model()) {
        QStringList rows;
        const int count = view->model()->rowCount(view->rootIndex());
        for (int row = 0; row < count && row < 20; ++row) {
            rows << w.clean(view->model()->index(row, 0, view->rootIndex()).data().toString());
        }
        parts << QStringLiteral("rows=%1 [%2]").arg(count).arg(rows.join(QLatin1Char(',')));
    }
    if (!widget->toolTip().isEmpty()) {
        parts << QStringLiteral("tip=") + w.clean(widget->toolTip());
    }
    return parts.join(QLatin1Char(' '));
}

void dumpChildren(Writer& w, QWidget* widget, int depth);

void dumpWidget(Writer& w, QWidget* widget, int depth) {
    const QString state =
        QStringLiteral("%1%2 focus=%3")
            .arg(widget->isHidden() ? QStringLiteral("hidden") : QStringLiteral("shown"))
            .arg(widget->isEnabled() ? QString() : QStringLiteral(" disabled"))
            .arg(int(widget->focusPolicy()));
    w.line(depth,
           QStringLiteral("%1 %2 %3 %4")
               .arg(qtClass(widget),
                    widget->objectName().isEmpty() ? QStringLiteral("-") : widget->objectName(),
                    widget->isWindow()
                        ? QStringLiteral("size=%1x%2").arg(widget->width()).arg(widget->height())
                        : rect(widget->geometry()),
                    state));
    w.line(depth + 1, QStringLiteral("font ") + fontText(widget->font()));
    if (const QString set = colours(widget); !set.isEmpty()) {
        w.line(depth + 1, QStringLiteral("colours ") + set);
    }
    if (const QString name = accessibleName(widget); !name.isEmpty()) {
        w.line(depth + 1, QStringLiteral("accessible ") + w.clean(name));
    }
    if (!widget->accessibleDescription().isEmpty()) {
        w.line(depth + 1,
               QStringLiteral("description ") + w.clean(widget->accessibleDescription()));
    }
    if (widget->isWindow()) {
        w.line(depth + 1, QStringLiteral("title ") + w.clean(widget->windowTitle()));
    }
    if (const QString own = content(w, widget); !own.isEmpty()) {
        w.line(depth + 1, own);
    }
    if (auto* menuBar = qobject_cast<QMenuBar*>(widget)) {
        dumpActions(w, menuBar->actions(), depth + 1);
    }
    // The month grid shows today's date; its parts are not the window's own.
    if (qobject_cast<QCalendarWidget*>(widget)) {
        return;
    }
    dumpChildren(w, widget, depth + 1);
}

void dumpChildren(Writer& w, QWidget* widget, int depth) {
    const QList<QWidget*> children = widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (child->isWindow()) {
            continue;
        }
        // A scroll area's viewport is sized by pending layouts; only what it holds counts.
        if (child->objectName() == QLatin1String("qt_scrollarea_viewport")) {
            dumpChildren(w, child, depth);
            continue;
        }
        // Scroll bars, menu-bar extensions and the like are Qt's own parts.
        if (qobject_cast<QScrollBar*>(child) ||
            child->objectName().startsWith(QLatin1String("qt_"))) {
            continue;
        }
        dumpWidget(w, child, depth);
    }
}

}  // namespace

QString dumpWindow(QWidget* window, const QString& mask) {
    Writer w;
    w.mask = mask;
    dumpWidget(w, window, 0);
    // The tab chain, as Tab walks it from the window.
    QStringList chain;
    QWidget* at = window;
    for (int steps = 0; steps < 500; ++steps) {
        at = at->nextInFocusChain();
        if (at == window) {
            break;
        }
        if (at->window() == window && (at->focusPolicy() & Qt::TabFocus) && !at->isHidden()) {
            chain << (at->objectName().isEmpty() ? qtClass(at) : at->objectName());
        }
    }
    w.line(0, QStringLiteral("tab ") + chain.join(QLatin1Char(' ')));
    return w.out;
}

}  // namespace pv::tools
