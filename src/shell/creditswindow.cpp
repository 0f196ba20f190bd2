#include "creditswindow.h"
#include "ui_creditswindow.h"

#include "formsetup.h"
#include "pictures.h"

#include <QPixmap>

namespace pv {

CreditsWindow::CreditsWindow(QWidget* parent)
    : ClickAwayWindow(parent), ui_(std::make_unique<Ui::CreditsWindow>()) {
    ui_->setupUi(this);
    finishForm(this, FormSetup::withoutShadowAtLoad());

    ui_->imgCredit->setPixmap(QPixmap::fromImage(pictures::recipeBookPicture(64)));
    // The last reason line does not react to clicks.
    ui_->lblCrMsg4->setAttribute(Qt::WA_NoMousePropagation);
}

CreditsWindow::~CreditsWindow() = default;

}  // namespace pv
