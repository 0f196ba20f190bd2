#pragma once

#include <QIcon>
#include <QList>
#include <QObject>
#include <QSize>

namespace pv {

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

}  // namespace pv
