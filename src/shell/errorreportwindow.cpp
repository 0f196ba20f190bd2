#include "errorreportwindow.h"
#include "ui_errorreportwindow.h"

#include "errorstate.h"
#include "formsetup.h"
#include "messageservice.h"
#include "pictures.h"
#include "windowregistry.h"

#include <QPixmap>

namespace pv {

ErrorReportWindow::ErrorReportWindow(QWidget* parent)
    : PvWindow(parent), ui_(std::make_unique<Ui::ErrorReportWindow>()) {
    ui_->setupUi(this);
    FormSetup setup;
    setup.growToText = {ui_->lblENum, ui_->lblEDesc, ui_->lblESource, ui_->lblEFix};
    finishForm(this, setup);
    widenToTexts();

    ui_->Image1->setPixmap(QPixmap::fromImage(pictures::warningPicture(48)));
    ui_->cmdEBack->setFocus();
    connect(ui_->cmdEBack, &QPushButton::clicked, this, &ErrorReportWindow::endProgram);
}

ErrorReportWindow::~ErrorReportWindow() = default;

void ErrorReportWindow::widenToTexts() {
    // The layout is designed for Tahoma. Where a wider font stands in, the
    // window widens to the longest text a value can show, so nothing is cut off.
    const QFontMetrics metrics(font());
    QStringList texts = {ui_->lblETitleMsg->text(),
                         errorActionText().section(QLatin1Char('\r'), 0, 0)};
    for (const ErrorLocationRow& row : errorLocationRows()) {
        texts << row.firstLine << row.source;
    }
    int widest = 0;
    for (const QString& text : std::as_const(texts)) {
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    QLabel* description = ui_->lblEDescMsg;
    const int left = description->x();
    const int right = std::max(description->geometry().right() + 1, left + widest + 8);
    const int margin = width() - (description->geometry().right() + 1);
    const int buttonFromRight = width() - ui_->cmdEBack->x();
    setFixedSize(right + margin, height());

    QWidget* band = ui_->Shape1;
    band->resize(std::max(band->width(), width() - band->x()), band->height());
    QLabel* title = ui_->lblETitleMsg;
    title->resize(std::max(title->width(), right - left), title->height());
    for (QLabel* value : {ui_->lblEDescMsg, ui_->lblESourceMsg, ui_->lblEFixMsg}) {
        value->resize(right - left, value->height());
    }
    ui_->cmdEBack->move(width() - buttonFromRight, ui_->cmdEBack->y());
}

void ErrorReportWindow::onActivate() {
    ProgramErrors& errors = programErrors();
    const ErrorLocationRow* row = findErrorLocationRow(errors.errorLocation);
    if (!row) {
        return;
    }
    setValue(ui_->lblENumMsg, errors.errorLocation + errors.errorNumberText);
    ui_->lblENumMsg->adjustSize();
    // The recorded description is replaced by the row's own explanation.
    errors.errorDescription = errorExplanation(*row);
    setValue(ui_->lblEDescMsg, errors.errorDescription);
    setValue(ui_->lblESourceMsg, row->source);
    // Built whole each time, so a second activation shows the same text.
    setValue(ui_->lblEFixMsg, errorActionText());
}

void ErrorReportWindow::showEvent(QShowEvent* event) {
    onActivate();
    PvWindow::showEvent(event);
}

void ErrorReportWindow::setValue(QLabel* label, const QString& text) {
    label->setText(displayText(text));
    label->setAccessibleDescription(label->text());
}

void ErrorReportWindow::endProgram() {
    hide();
    windows().closeAll();
}

}  // namespace pv
