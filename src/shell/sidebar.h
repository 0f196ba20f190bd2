#pragma once

#include <QAbstractButton>
#include <QIcon>
#include <QList>
#include <QPointer>
#include <QScrollArea>
#include <QSize>
#include <QString>

class QLabel;
class QVBoxLayout;

namespace pv {

class SideBar;

// Icons addressed by index, for the side bar's items.
class ImageList : public QObject {
    Q_OBJECT
public:
    explicit ImageList(QObject* parent = nullptr, QSize iconSize = QSize(16, 16));

    QSize iconSize() const { return iconSize_; }
    // Adds an icon at the end and returns its index.
    int add(const QIcon& icon);
    int count() const { return int(icons_.size()); }
    // A null icon for an index outside the list.
    QIcon icon(int index) const;

private:
    QList<QIcon> icons_;
    QSize iconSize_;
};

// One clickable line of a group: an icon and a text. Reached by Tab and the
// arrow keys; Enter, Return and Space activate it.
class SideBarItem : public QAbstractButton {
    Q_OBJECT
public:
    SideBarItem(SideBar* bar, const QString& key, const QString& text, int iconIndex,
                QWidget* parent);

    QString key() const { return key_; }
    int iconIndex() const { return iconIndex_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    SideBar* bar_;
    QString key_;
    int iconIndex_;
    bool hovered_ = false;
};

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

// The main menu's side bar: groups of icon items, one group marked special.
class SideBar : public QScrollArea {
    Q_OBJECT
public:
    explicit SideBar(QWidget* parent = nullptr);

    // The redraw switch: off while the content is being built.
    void setRedraw(bool on) { setUpdatesEnabled(on); }
    bool redraw() const { return updatesEnabled(); }

    void setImageList(ImageList* list);
    ImageList* imageList() const { return imageList_; }

    SideBarGroup* addGroup(const QString& key, const QString& title);
    int groupCount() const { return int(groups_.size()); }
    SideBarGroup* group(int index) const { return groups_.value(index); }
    // Every item of every group in display order.
    QList<SideBarItem*> items() const;

    // Moves the keyboard focus from an item to its neighbour (step -1 or +1),
    // or to the first or last item; nothing past either end.
    void moveFocus(SideBarItem* from, int step);
    void focusEnd(bool last);

signals:
    void itemClicked(const QString& key);

private:
    QPointer<ImageList> imageList_;
    QList<SideBarGroup*> groups_;
    QVBoxLayout* groupsLayout_;
};

}  // namespace pv
