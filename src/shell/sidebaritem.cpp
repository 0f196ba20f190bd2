#include "sidebaritem.h"

#include "imagelist.h"
#include "sidebar.h"
#include "sidebarlook.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace pv {

using namespace sidebarlook;

SideBarItem::SideBarItem(SideBar* bar, const QString& key, const QString& text, int iconIndex,
                         QWidget* parent)
    : QAbstractButton(parent), bar_(bar), key_(key), iconIndex_(iconIndex) {
    setText(text);
    setAccessibleName(text);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize SideBarItem::sizeHint() const {
    const QSize icon = bar_->imageList() ? bar_->imageList()->iconSize() : QSize(16, 16);
    const QFontMetrics metrics(font());
    return {kItemPadding * 3 + icon.width() + metrics.horizontalAdvance(text()),
            std::max(icon.height(), metrics.height()) + kItemPadding + 1};
}

void SideBarItem::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QSize iconSize = bar_->imageList() ? bar_->imageList()->iconSize() : QSize(16, 16);
    const QRect iconRect(kItemPadding, (height() - iconSize.height()) / 2, iconSize.width(),
                         iconSize.height());
    const QIcon picture = bar_->imageList() ? bar_->imageList()->icon(iconIndex_) : QIcon();
    if (!picture.isNull()) {
        picture.paint(&p, iconRect);
    }
    QFont face = font();
    face.setUnderline(hovered_ || hasFocus());
    p.setFont(face);
    p.setPen(hovered_ ? kItemHover : kItemText);
    const QRect textRect = rect().adjusted(iconRect.right() + kItemPadding, 0, -2, 0);
    const QString shown = QFontMetrics(face).elidedText(text(), Qt::ElideRight, textRect.width());
    p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, shown);
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = textRect.adjusted(-2, 1, 0, -1);
        option.rect.setWidth(
            std::min(option.rect.width(), QFontMetrics(face).horizontalAdvance(shown) + 4));
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
    }
}

void SideBarItem::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            click();
            return;
        case Qt::Key_Up:
        case Qt::Key_Left:
            bar_->moveFocus(this, -1);
            return;
        case Qt::Key_Down:
        case Qt::Key_Right:
            bar_->moveFocus(this, +1);
            return;
        case Qt::Key_Home:
            bar_->focusEnd(false);
            return;
        case Qt::Key_End:
            bar_->focusEnd(true);
            return;
        default:
            QAbstractButton::keyPressEvent(event);
    }
}

void SideBarItem::focusInEvent(QFocusEvent* event) {
    QAbstractButton::focusInEvent(event);
    bar_->ensureWidgetVisible(this, 0, 4);
}

void SideBarItem::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SideBarItem::leaveEvent(QEvent* event) {
    hovered_ = false;
    update();
    QAbstractButton::leaveEvent(event);
}

}  // namespace pv
