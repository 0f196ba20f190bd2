#include "importprogresswindow.h"
#include "ui_importprogresswindow.h"

#include "formsetup.h"

namespace pv {

ImportProgressWindow::ImportProgressWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::ImportProgressWindow>()) {
    ui_->setupUi(this);
    finishForm(this, FormSetup::withoutShadowAtLoad());
    setClosesOnEscape(true);
    connect(ui_->cmdGCancel, &QPushButton::clicked, this, &ImportProgressWindow::cancel);
}

ImportProgressWindow::~ImportProgressWindow() = default;

void ImportProgressWindow::begin(const QString& message, std::function<void()> cancel) {
    ui_->lblGMsg->setText(message);
    ui_->pbGTask->setValue(0);
    ui_->cmdGCancel->setEnabled(true);
    cancel_ = std::move(cancel);
    ui_->cmdGCancel->setFocus();
}

void ImportProgressWindow::setPercent(int percent) {
    ui_->pbGTask->setValue(std::clamp(percent, 0, 100));
}

void ImportProgressWindow::end() {
    cancel_ = {};
    hide();
}

void ImportProgressWindow::cancel() {
    // The work stops at its next look; the window goes when it has.
    ui_->cmdGCancel->setEnabled(false);
    ui_->lblGMsg->setText(QStringLiteral("Cancelling..."));
    if (cancel_) {
        cancel_();
    }
}

}  // namespace pv
