#pragma once

#include "imagelist.h"
#include "sidebargroup.h"
#include "sidebaritem.h"

#include <QList>
#include <QPointer>
#include <QScrollArea>
#include <QString>

class QVBoxLayout;

namespace pv {

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
