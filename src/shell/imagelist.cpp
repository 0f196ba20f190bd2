#include "imagelist.h"

namespace pv {

ImageList::ImageList(QObject* parent, QSize iconSize) : QObject(parent), iconSize_(iconSize) {}

int ImageList::add(const QIcon& icon) {
    icons_.append(icon);
    return int(icons_.size()) - 1;
}

QIcon ImageList::icon(int index) const {
    return index >= 0 && index < icons_.size() ? icons_.at(index) : QIcon();
}

}  // namespace pv
