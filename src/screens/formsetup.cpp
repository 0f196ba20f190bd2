#include "formsetup.h"

#include "hoverhints.h"
#include "pvwindow.h"
#include "twips.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSet>

#include <algorithm>

namespace pv {
namespace {

// Room a frame keeps to the right of a control that grew (120 twips).
constexpr int kFrameRoom = 8;

void applyPointSizes(QWidget* window) {
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* widget : std::as_const(widgets)) {
        const QVariant size = widget->property(kPointSizeProperty);
        if (size.isValid()) {
            QFont font = widget->font();
            font.setPointSizeF(size.toDouble());
            widget->setFont(font);
        }
    }
}

void growToText(QWidget* control) {
    QSize size = control->size();
    if (auto* box = qobject_cast<QLineEdit*>(control)) {
        // A box showing a fixed text: its frame and margins take 6 pixels.
        size.setWidth(
            std::max(size.width(), box->fontMetrics().horizontalAdvance(box->text()) + 6));
    } else if (qobject_cast<QAbstractButton*>(control)) {
        size.setWidth(std::max(size.width(), control->sizeHint().width()));
    } else {
        size = size.expandedTo(control->sizeHint());
    }
    control->resize(size);
    if (auto* frame = qobject_cast<QGroupBox*>(control->parentWidget())) {
        const int needed = control->geometry().right() + kFrameRoom;
        if (frame->width() < needed) {
            frame->resize(needed, frame->height());
        }
    }
}

void lengthen(QWidget* widget, int by) {
    const QSize size(widget->width(), widget->height() + by);
    if (widget->isWindow() && widget->minimumSize() == widget->maximumSize()) {
        widget->setFixedSize(size);
    } else {
        widget->resize(size);
    }
}

void fitHints(const HintPanel& panel) {
    if (!panel.panel) {
        return;
    }
    const int innerRight = panel.panel->geometry().right() - panel.margin;
    const QLabel* above = nullptr;
    int bottom = 0;
    for (QLabel* hint : panel.hints) {
        if (hint->heightForWidth(hint->width()) > hint->height()) {
            hint->resize(std::max(hint->width(), innerRight - hint->x()), hint->height());
        }
        hint->resize(hint->width(), std::max(hint->height(), hint->heightForWidth(hint->width())));
        if (above && panel.spacing >= 0) {
            hint->move(hint->x(),
                       std::max(hint->y(), above->geometry().bottom() + 1 + panel.spacing));
        }
        above = hint;
        bottom = std::max(bottom, hint->geometry().bottom());
    }
    const int grow = std::max(0, bottom + panel.margin + 1 - panel.panel->geometry().bottom());
    if (grow == 0) {
        return;
    }
    lengthen(panel.panel, grow);
    for (QWidget* widget : panel.lengthenWith) {
        lengthen(widget, grow);
    }
    for (QWidget* widget : panel.moveWith) {
        widget->move(widget->x(), widget->y() + grow);
    }
}

void setUpHints(QWidget* window, const FormSetup& setup) {
    if (setup.hints.isEmpty() && setup.resets.isEmpty()) {
        return;
    }
    QSet<QLabel*> labels;
    auto* hints = new HoverHints(window);
    for (const HoverHint& row : setup.hints) {
        hints->explain(row.control, row.hint);
        // A move over an explained control is its own: passed on to the
        // surface behind it, it would put the hint straight back.
        row.control->setAttribute(Qt::WA_NoMousePropagation);
        labels.insert(row.hint);
    }
    for (const HoverReset& row : setup.resets) {
        hints->resetOn(row.surface, row.hints);
        for (QLabel* hint : row.hints) {
            labels.insert(hint);
        }
    }
    for (QLabel* label : std::as_const(labels)) {
        if (!label->palette().isBrushSet(QPalette::Active, QPalette::WindowText)) {
            HoverHints::setColour(label, HoverHints::unlitColour());
        }
    }
}

}  // namespace

void finishForm(QWidget* window, const FormSetup& setup) {
    preferTahomaLookAlikes();
    applyPointSizes(window);
    for (QWidget* control : setup.growToText) {
        growToText(control);
    }
    fitHints(setup.hintPanel);
    setUpHints(window, setup);
    if (auto* own = qobject_cast<PvWindow*>(window)) {
        own->setDropShadowAtLoad(setup.dropShadowAtLoad);
    }
}

}  // namespace pv
