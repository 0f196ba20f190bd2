#include "errorreportwindow.h"
#include "twips.h"
#include "windowregistry.h"

#include "errorstate.h"
#include "formsetup.h"
#include "messageservice.h"
#include "pictures.h"
#include "screenparts.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace pv {
namespace {

const QColor kCaptionColour(0, 0, 192);
const QColor kValueColour(192, 0, 0);
const QColor kTitleColour(255, 0, 0);

QFrame* band(QWidget* parent, const char* name, const QRect& geometry, const QColor& colour) {
    auto* shape = new QFrame(parent);
    shape->setObjectName(QLatin1String(name));
    shape->setGeometry(geometry);
    shape->setAutoFillBackground(true);
    QPalette palette = shape->palette();
    palette.setColor(QPalette::Window, colour);
    shape->setPalette(palette);
    return shape;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
              const QColor& colour, bool bold) {
    QLabel* lbl = makeLabel(parent, name, text, geometry, bold);
    // The values come from the failed operation: shown as they are, never as markup.
    lbl->setTextFormat(Qt::PlainText);
    lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette palette = lbl->palette();
    palette.setColor(QPalette::WindowText, colour);
    lbl->setPalette(palette);
    return lbl;
}

}  // namespace

ErrorReportWindow::ErrorReportWindow(QWidget* parent) : PvWindow(parent) {
    setObjectName(QStringLiteral("frmError"));
    setWindowTitle(QStringLiteral("Error Report:"));
    setFixedSize(6435 / 15, 4545 / 15);
    setFont(QFont(QStringLiteral("Tahoma"), 9));

    QFrame* shape2 = band(this, "Shape2", QRect(0, 0, 1215 / 15, height()), QColor(0, 0, 128));
    band(this, "Shape1", twips(1200, 0, 5295, 495), QColor(255, 255, 224));

    auto* image1 = new QLabel(shape2);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setPixmap(QPixmap::fromImage(pictures::warningPicture(48)));
    image1->setGeometry((shape2->width() - 48) / 2, 16, 48, 48);
    image1->setAccessibleName(QStringLiteral("Warning"));

    QLabel* title =
        label(this, "lblETitleMsg",
              QStringLiteral("The following internal error has occured within this program:"),
              twips(1320, 120, 5295, 255), kTitleColour, false);
    title->setAccessibleName(title->text());

    const struct {
        const char* caption;
        const char* captionName;
        QRect captionRect;
        const char* valueName;
        const char* designed;
        QRect valueRect;
        const char* accessible;
        QLabel** value;
    } pairs[] = {
        {"Err. No:", "lblENum", twips(1320, 720, 675, 210), "lblENumMsg", "2",
         twips(1320, 960, 675, 210), "Error number", &numberValue_},
        {"Err. Description:", "lblEDesc", twips(1320, 1320, 1470, 210), "lblEDescMsg", "error",
         twips(1320, 1560, 4815, 495), "Error description", &descriptionValue_},
        {"Source:", "lblESource", twips(1320, 2280, 690, 210), "lblESourceMsg", "section",
         twips(1320, 2520, 4815, 255), "Source", &sourceValue_},
        {"Action to take:", "lblEFix", twips(1320, 3000, 1395, 210), "lblEFixMsg", "22",
         twips(1320, 3240, 4815, 495), "Action to take", &actionValue_},
    };
    for (const auto& pair : pairs) {
        QLabel* caption = label(this, pair.captionName, QLatin1String(pair.caption),
                                pair.captionRect, kCaptionColour, true);
        caption->setAccessibleName(caption->text());
        QLabel* value = label(this, pair.valueName, QLatin1String(pair.designed), pair.valueRect,
                              kValueColour, false);
        value->setAccessibleName(QLatin1String(pair.accessible));
        value->setAccessibleDescription(value->text());
        *pair.value = value;
    }
    descriptionValue_->setWordWrap(true);
    actionValue_->setWordWrap(true);
    // The number caption is as wide as its text.
    numberValue_->adjustSize();

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("cmdEBack"));
    okButton_->setGeometry(twips(5280, 4080, 975, 375));
    okButton_->setAccessibleName(QStringLiteral("OK"));
    okButton_->setDefault(true);
    okButton_->setAutoDefault(true);
    okButton_->setFocus();
    connect(okButton_, &QPushButton::clicked, this, &ErrorReportWindow::endProgram);
    FormSetup setup;
    for (const char* name : {"lblENum", "lblEDesc", "lblESource", "lblEFix"}) {
        setup.growToText.append(findChild<QLabel*>(QLatin1String(name)));
    }
    finishForm(this, setup);
    widenToTexts();
}

void ErrorReportWindow::widenToTexts() {
    // The layout is designed for Tahoma. Where a wider font stands in, the
    // window widens to the longest text a value can show, so nothing is cut off.
    const QFontMetrics metrics(font());
    QStringList texts = {findChild<QLabel*>(QStringLiteral("lblETitleMsg"))->text(),
                         errorActionText().section(QLatin1Char('\r'), 0, 0)};
    for (const ErrorLocationRow& row : errorLocationRows()) {
        texts << row.firstLine << row.source;
    }
    int widest = 0;
    for (const QString& text : std::as_const(texts)) {
        widest = std::max(widest, metrics.horizontalAdvance(text));
    }
    const int left = descriptionValue_->x();
    const int right = std::max(descriptionValue_->geometry().right() + 1, left + widest + 8);
    const int margin = width() - (descriptionValue_->geometry().right() + 1);
    setFixedSize(right + margin, height());

    auto* shape1 = findChild<QFrame*>(QStringLiteral("Shape1"));
    shape1->resize(std::max(shape1->width(), width() - shape1->x()), shape1->height());
    auto* title = findChild<QLabel*>(QStringLiteral("lblETitleMsg"));
    title->resize(std::max(title->width(), right - left), title->height());
    for (QLabel* value : {descriptionValue_, sourceValue_, actionValue_}) {
        value->resize(right - left, value->height());
    }
    okButton_->move(width() - (6435 - 5280) / 15, okButton_->y());
}

void ErrorReportWindow::onActivate() {
    ProgramErrors& errors = programErrors();
    const ErrorLocationRow* row = findErrorLocationRow(errors.errorLocation);
    if (!row) {
        return;
    }
    setValue(numberValue_, errors.errorLocation + errors.errorNumberText);
    numberValue_->adjustSize();
    // The recorded description is replaced by the row's own explanation.
    errors.errorDescription = errorExplanation(*row);
    setValue(descriptionValue_, errors.errorDescription);
    setValue(sourceValue_, row->source);
    // Built whole each time, so a second activation shows the same text.
    setValue(actionValue_, errorActionText());
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
