#pragma once

#include <QList>

class QLabel;
class QWidget;

namespace pv {

// A control that lights its hint label while the pointer moves over it.
struct HoverHint {
    QWidget* control = nullptr;
    QLabel* hint = nullptr;
};

// A surface whose own moves (not over its controls) put its hint labels back.
struct HoverReset {
    QWidget* surface = nullptr;
    QList<QLabel*> hints;
};

// Word-wrapped hint labels on a decorative panel. Where a wider face stands in
// for Tahoma, a hint that no longer holds its text widens to the panel's inner
// edge and then lengthens, and the panel lengthens to hold its hints.
struct HintPanel {
    QWidget* panel = nullptr;
    QList<QLabel*> hints;  // top to bottom
    int margin = 4;        // pixels kept free inside the panel's right and bottom edges
    int spacing = -1;      // pixels kept between stacked hints; -1 leaves them where they are
    QList<QWidget*> lengthenWith;  // lengthen as the panel does (the frame beside it, the window)
    QList<QWidget*> moveWith;      // move down as the panel lengthens (a button below it)
};

// What a Pantrova window needs beyond what its form holds.
struct FormSetup {
    // Captions that grow to their text where a wider face stands in for Tahoma:
    // labels, check boxes and boxes that show a fixed text. A frame widens to
    // keep a grown control inside it.
    QList<QWidget*> growToText;
    HintPanel hintPanel;
    QList<HoverHint> hints;
    QList<HoverReset> resets;
    // The drop shadow, given when the window loads (at its first showing).
    bool dropShadowAtLoad = true;

    // A window without a Load of its own, which the shadow would wait for.
    static FormSetup withoutShadowAtLoad() {
        FormSetup setup;
        setup.dropShadowAtLoad = false;
        return setup;
    }
};

// The name of the dynamic property that gives a widget's font a fractional
// point size (8.25, 27.75...), which a form's font cannot hold.
inline constexpr char kPointSizeProperty[] = "pointSizeF";

// The step every Pantrova window takes right after ui->setupUi(this): the
// Tahoma look-alikes, the fractional point sizes, captions and hints grown to
// their texts, the hover hints (unlit unless the form colours a hint) and the
// drop shadow at load.
void finishForm(QWidget* window, const FormSetup& setup);

}  // namespace pv
