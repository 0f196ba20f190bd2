#pragma once

#include "pvwindow.h"

#include <QList>
#include <QString>

class QLabel;
class QPushButton;

namespace pv {

// One location code of a guarded handler and how the report explains it.
struct ErrorCodeRow {
    QString code;       // "S - CC -"
    QString source;     // "(form) Setup - cmdSCreate section"
    QString firstLine;  // the explanation's first line; "correctly." follows on the next
};

// The error report: the one place a failed file operation ends in. It explains
// the failure by the location code in programErrors() and its only button ends
// the program.
class ErrorReportWindow : public PvWindow {
    Q_OBJECT
public:
    explicit ErrorReportWindow(QWidget* parent = nullptr);

    // The twelve location codes of the guarded handlers.
    static const QList<ErrorCodeRow>& codeTable();
    // The action text every row shares.
    static QString actionText();

    void onLoad() override;
    // Rebuilds the four value texts for the recorded location code.
    void onActivate() override;

protected:
    // A window manager may refuse to activate a window it did not expect; the
    // report explains the failure from its first showing all the same.
    void showEvent(QShowEvent* event) override;
    // The close button ends the program too: there is no way back from a failure.
    void onCloseRequested() override { endProgram(); }

private:
    void fitToFont();
    void endProgram();
    void setValue(QLabel* label, const QString& text);

    QLabel* numberValue_ = nullptr;
    QLabel* descriptionValue_ = nullptr;
    QLabel* sourceValue_ = nullptr;
    QLabel* actionValue_ = nullptr;
    QPushButton* okButton_ = nullptr;
};

}  // namespace pv
