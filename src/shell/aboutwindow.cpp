#include "aboutwindow.h"
#include "ui_aboutwindow.h"

#include "formsetup.h"
#include "hoverhints.h"
#include "pictures.h"

#include <QPixmap>

namespace pv {

AboutWindow::AboutWindow(QWidget* parent)
    : ClickAwayWindow(parent), ui_(std::make_unique<Ui::AboutWindow>()) {
    ui_->setupUi(this);
    finishForm(this, {});

    ui_->Image1->setPixmap(QPixmap::fromImage(pictures::recipeBookPicture(48)));
    // No action belongs to the picture, so its clicks stop here.
    ui_->Image1->setAttribute(Qt::WA_NoMousePropagation);
    // The system's colour of the active title bar, which a form cannot name.
    HoverHints::setColour(ui_->lblATitle, HoverHints::unlitColour());
}

AboutWindow::~AboutWindow() = default;

}  // namespace pv
