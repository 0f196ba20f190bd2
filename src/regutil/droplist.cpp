#include "droplist.h"

#include <QDragEnterEvent>

namespace ostrel {

DropList::DropList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setDropIndicatorShown(false);
}

bool DropList::takeAsCopy(QDropEvent* event) {
    if (event->source() == this) {
        event->ignore();
        return false;
    }
    // Copy, never move: a move would make the source list delete its dragged items.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    return true;
}

void DropList::dragEnterEvent(QDragEnterEvent* event) {
    takeAsCopy(event);
}

void DropList::dragMoveEvent(QDragMoveEvent* event) {
    takeAsCopy(event);
}

void DropList::dropEvent(QDropEvent* event) {
    if (takeAsCopy(event)) {
        emit dropped();
    }
}

Qt::DropActions DropList::supportedDropActions() const {
    return Qt::CopyAction;
}

}  // namespace ostrel
