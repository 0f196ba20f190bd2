#pragma once

#include <QListWidget>

namespace ostrel {

// A list that is a drag source and a drop target. A drop is only a signal: the dropped
// data is never read. A list never takes a drop of its own drag.
class DropList : public QListWidget {
    Q_OBJECT
public:
    explicit DropList(QWidget* parent = nullptr);

signals:
    void dropped();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    Qt::DropActions supportedDropActions() const override;

private:
    // Takes a drag from elsewhere as a copy; false, and ignored, for one of its own.
    bool takeAsCopy(QDropEvent* event);
};

}  // namespace ostrel
