#include "sidebargroup.h"

#include "sidebar.h"
#include "sidebaritem.h"
#include "sidebarlook.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace pv {

using namespace sidebarlook;

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

}  // namespace pv
