#include "hoverhints.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QPalette>

namespace pv {

HoverHints::HoverHints(QObject* parent) : QObject(parent) {}

QColor HoverHints::litColour() {
    return QColor(255, 0, 0);
}

QColor HoverHints::unlitColour() {
    return QApplication::palette().color(QPalette::Active, QPalette::Highlight);
}

void HoverHints::setColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QColor HoverHints::colourOf(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

bool HoverHints::isLit(const QLabel* label) {
    return colourOf(label) == litColour();
}

void HoverHints::track(QWidget* widget) {
    widget->setMouseTracking(true);
    widget->installEventFilter(this);
    // Scrolling controls get their mouse events on the viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        area->viewport()->setMouseTracking(true);
        area->viewport()->installEventFilter(this);
    }
}

void HoverHints::explain(QWidget* control, QLabel* hint) {
    lights_[control].append(hint);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
        lights_[area->viewport()].append(hint);
    }
    track(control);
}

void HoverHints::resetOn(QWidget* surface, const QList<QLabel*>& hints) {
    for (QLabel* hint : hints) {
        resets_[surface].append(hint);
    }
    surface->setMouseTracking(true);
    surface->installEventFilter(this);
}

bool HoverHints::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        // Only the surface itself resets; a move over a child control arrives at
        // the child first and lights its own hint.
        for (const QPointer<QLabel>& hint : lights_.value(watched)) {
            if (hint) {
                setColour(hint, litColour());
            }
        }
        for (const QPointer<QLabel>& hint : resets_.value(watched)) {
            if (hint) {
                setColour(hint, unlitColour());
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pv
