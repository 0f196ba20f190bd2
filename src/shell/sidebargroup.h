#pragma once

#include <QList>
#include <QString>
#include <QWidget>

class QLabel;
class QVBoxLayout;

namespace pv {

class SideBar;
class SideBarItem;

// A titled group of items. The special group has the highlighted header.
class SideBarGroup : public QWidget {
    Q_OBJECT
public:
    SideBarGroup(SideBar* bar, const QString& key, const QString& title, QWidget* parent);

    QString key() const { return key_; }
    QString title() const { return title_; }
    bool isSpecial() const { return special_; }
    void setSpecial(bool special);

    SideBarItem* addItem(const QString& key, const QString& text, int iconIndex);
    int itemCount() const { return int(items_.size()); }
    SideBarItem* item(int index) const { return items_.value(index); }
    QLabel* header() const { return header_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void styleHeader();

    SideBar* bar_;
    QString key_;
    QString title_;
    bool special_ = false;
    QLabel* header_;
    QVBoxLayout* itemsLayout_;
    QList<SideBarItem*> items_;
};

}  // namespace pv
