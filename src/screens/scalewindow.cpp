#include "scalewindow.h"
#include "ui_scalewindow.h"

#include "formsetup.h"

#include <QKeyEvent>

namespace pv {

ScaleWindow::ScaleWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::ScaleWindow>()) {
    ui_->setupUi(this);
    FormSetup setup = FormSetup::withoutShadowAtLoad();
    setup.growToText = {ui_->lblScServ};
    finishForm(this, setup);
    setClosesOnEscape(true);

    connect(ui_->cmdScOK, &QPushButton::clicked, this, &ScaleWindow::confirm);
    connect(ui_->cmdScCancel, &QPushButton::clicked, this, &ScaleWindow::cancel);
    // Enter in the box confirms, as the OK button does.
    ui_->spnScServ->installEventFilter(this);
}

ScaleWindow::~ScaleWindow() = default;

void ScaleWindow::ask(int servings, Choice choice) {
    choice_ = std::move(choice);
    ui_->spnScServ->setValue(servings);
    ui_->spnScServ->selectAll();
    ui_->spnScServ->setFocus();
}

void ScaleWindow::confirm() {
    // What is typed counts, even before the box takes it.
    ui_->spnScServ->interpretText();
    const int servings = ui_->spnScServ->value();
    const Choice choice = std::move(choice_);
    choice_ = {};
    hide();
    if (choice) {
        choice(servings);
    }
}

void ScaleWindow::cancel() {
    choice_ = {};
    hide();
}

bool ScaleWindow::event(QEvent* event) {
    // A question, as a message is: coming back from it is no Activate of the
    // window below, whose delete box stays as the click on its file left it.
    if (event->type() == QEvent::WindowActivate) {
        return QWidget::event(event);
    }
    return PvWindow::event(event);
}

bool ScaleWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->spnScServ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            confirm();
            return true;
        }
    }
    return PvWindow::eventFilter(watched, event);
}

}  // namespace pv
