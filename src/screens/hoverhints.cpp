#include "hoverhints.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
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
        for (const QPointer<QLabel>& hint : lights_.value(watched)) {
            if (hint) {
                setColour(hint, litColour());
            }
        }
        // A move a control ignored travels on to its parent; over a child it is
        // not a move over the surface, so it must not reset.
        auto* surface = qobject_cast<QWidget*>(watched);
        const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (surface && !surface->childAt(pos)) {
            for (const QPointer<QLabel>& hint : resets_.value(watched)) {
                if (hint) {
                    setColour(hint, unlitColour());
                }
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace pv
