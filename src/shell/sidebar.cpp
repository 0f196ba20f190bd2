#include "sidebar.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QVBoxLayout>

namespace pv {
namespace {

const QColor kItemText(33, 93, 198);
const QColor kItemHover(66, 142, 255);
const QColor kGroupBody(214, 223, 247);
const QColor kGroupBorder(255, 255, 255);

// The blue backdrop behind the groups.
class Backdrop : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient fill(rect().topLeft(), rect().bottomLeft());
        fill.setColorAt(0, QColor(123, 162, 231));
        fill.setColorAt(1, QColor(99, 117, 214));
        p.fillRect(rect(), fill);
    }
};

constexpr int kHeaderHeight = 24;
constexpr int kItemPadding = 4;

}  // namespace

ImageList::ImageList(QObject* parent, QSize iconSize) : QObject(parent), iconSize_(iconSize) {}

int ImageList::add(const QIcon& icon) {
    icons_.append(icon);
    return int(icons_.size()) - 1;
}

QIcon ImageList::icon(int index) const {
    return index >= 0 && index < icons_.size() ? icons_.at(index) : QIcon();
}

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

SideBarGroup::SideBarGroup(SideBar* bar, const QString& key, const QString& title, QWidget* parent)
    : QWidget(parent), bar_(bar), key_(key), title_(title) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    header_ = new QLabel(title, this);
    header_->setObjectName(QStringLiteral("header"));
    header_->setAccessibleName(title);
    header_->setFixedHeight(kHeaderHeight);
    header_->setContentsMargins(10, 0, 6, 0);
    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);
    layout->addWidget(header_);
    itemsLayout_ = new QVBoxLayout;
    itemsLayout_->setContentsMargins(4, 3, 4, 4);
    itemsLayout_->setSpacing(0);
    layout->addLayout(itemsLayout_);
    styleHeader();
}

void SideBarGroup::setSpecial(bool special) {
    special_ = special;
    styleHeader();
    update();
}

void SideBarGroup::styleHeader() {
    QPalette palette = header_->palette();
    palette.setColor(QPalette::WindowText, special_ ? QColor(Qt::white) : QColor(33, 93, 198));
    header_->setPalette(palette);
}

SideBarItem* SideBarGroup::addItem(const QString& key, const QString& text, int iconIndex) {
    auto* item = new SideBarItem(bar_, key, text, iconIndex, this);
    itemsLayout_->addWidget(item);
    items_.append(item);
    connect(item, &QAbstractButton::clicked, bar_,
            [bar = bar_, key] { emit bar->itemClicked(key); });
    item->show();
    return item;
}

void SideBarGroup::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF whole = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath body;
    body.addRoundedRect(whole, 4, 4);
    p.fillPath(body, special_ ? QColor(239, 243, 255) : kGroupBody);

    // The header: rounded on top only, a deep blue band for the special group.
    QPainterPath head;
    head.setFillRule(Qt::WindingFill);
    const QRectF headRect(whole.left(), whole.top(), whole.width(), kHeaderHeight);
    head.addRoundedRect(headRect, 4, 4);
    head.addRect(headRect.adjusted(0, kHeaderHeight / 2.0, 0, 0));
    QLinearGradient fill(headRect.topLeft(), headRect.topRight());
    if (special_) {
        fill.setColorAt(0, QColor(0, 73, 181));
        fill.setColorAt(1, QColor(41, 93, 206));
    } else {
        fill.setColorAt(0, QColor(255, 255, 255));
        fill.setColorAt(1, QColor(199, 211, 247));
    }
    p.fillPath(head.simplified(), fill);
    p.setPen(kGroupBorder);
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
}

SideBar::SideBar(QWidget* parent) : QScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFocusPolicy(Qt::NoFocus);
    auto* content = new Backdrop;
    groupsLayout_ = new QVBoxLayout(content);
    groupsLayout_->setContentsMargins(8, 8, 8, 8);
    groupsLayout_->setSpacing(8);
    groupsLayout_->addStretch(1);
    setWidget(content);
}

void SideBar::setImageList(ImageList* list) {
    imageList_ = list;
    for (SideBarItem* item : items()) {
        item->updateGeometry();
        item->update();
    }
}

SideBarGroup* SideBar::addGroup(const QString& key, const QString& title) {
    auto* group = new SideBarGroup(this, key, title, widget());
    // Before the closing stretch, so groups stay at the top.
    groupsLayout_->insertWidget(groupsLayout_->count() - 1, group);
    groups_.append(group);
    group->show();
    return group;
}

QList<SideBarItem*> SideBar::items() const {
    QList<SideBarItem*> all;
    for (SideBarGroup* group : groups_) {
        for (int i = 0; i < group->itemCount(); ++i) {
            all.append(group->item(i));
        }
    }
    return all;
}

void SideBar::moveFocus(SideBarItem* from, int step) {
    const QList<SideBarItem*> all = items();
    const qsizetype next = all.indexOf(from) + step;
    if (next >= 0 && next < all.size()) {
        all.at(next)->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
    }
}

void SideBar::focusEnd(bool last) {
    const QList<SideBarItem*> all = items();
    if (!all.isEmpty()) {
        (last ? all.constLast() : all.constFirst())->setFocus(Qt::OtherFocusReason);
    }
}

}  // namespace pv
