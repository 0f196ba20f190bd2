#pragma once

#include <QColor>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QLabel;
class QWidget;

namespace pv {

// Instruction labels that turn red when the pointer moves over the control
// they explain, and back to the active title bar colour when it moves over a
// background surface. There is no leave event and no timer, so two labels
// can stay red at once.
class HoverHints : public QObject {
    Q_OBJECT
public:
    explicit HoverHints(QObject* parent = nullptr);

    static QColor litColour();    // red 255
    static QColor unlitColour();  // the active title bar colour
    static void setColour(QLabel* label, const QColor& colour);
    static QColor colourOf(const QLabel* label);
    static bool isLit(const QLabel* label);

    // A move over the control lights the label.
    void explain(QWidget* control, QLabel* hint);
    // A move over the surface itself (not over its child controls) puts the
    // labels back to the unlit colour.
    void resetOn(QWidget* surface, const QList<QLabel*>& hints);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void track(QWidget* widget);

    QHash<QObject*, QList<QPointer<QLabel>>> lights_;
    QHash<QObject*, QList<QPointer<QLabel>>> resets_;
};

}  // namespace pv
