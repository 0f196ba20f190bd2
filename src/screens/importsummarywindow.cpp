#include "importsummarywindow.h"
#include "ui_importsummarywindow.h"

#include "formsetup.h"

#include <QClipboard>
#include <QGuiApplication>

namespace pv {

ImportSummaryWindow::ImportSummaryWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::ImportSummaryWindow>()) {
    ui_->setupUi(this);
    finishForm(this, FormSetup::withoutShadowAtLoad());
    setClosesOnEscape(true);
    connect(ui_->cmdYCopy, &QPushButton::clicked, this, &ImportSummaryWindow::copyAll);
    connect(ui_->cmdYOK, &QPushButton::clicked, this, &ImportSummaryWindow::dismiss);
}

ImportSummaryWindow::~ImportSummaryWindow() = default;

void ImportSummaryWindow::showSummary(const QString& text) {
    ui_->txtYSummary->setPlainText(text);
    ui_->cmdYOK->setFocus();
}

QString ImportSummaryWindow::summary() const {
    return ui_->txtYSummary->toPlainText();
}

void ImportSummaryWindow::copyAll() {
    QGuiApplication::clipboard()->setText(summary());
}

void ImportSummaryWindow::dismiss() {
    hide();
}

}  // namespace pv
