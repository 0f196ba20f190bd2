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

void DropList::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropList::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() == this) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropList::dropEvent(QDropEvent* event) {
    if (event->source() == this) {
        event->ignore();
        return;
    }
    // Copy, never move: a move would make the source list delete its dragged items.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped();
}

Qt::DropActions DropList::supportedDropActions() const {
    return Qt::CopyAction;
}

}  // namespace ostrel
