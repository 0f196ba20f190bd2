#include "sidebar.h"

#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

namespace pv {

namespace {

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

}  // namespace

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
