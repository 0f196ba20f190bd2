#pragma once

#include "pvwindow.h"

#include <memory>

class QLabel;

namespace pv {

namespace Ui {
class ErrorReportWindow;
}

// The error report: the one place a failed file operation ends in. It explains
// the failure by the location code in programErrors() and its only button ends
// the program.
class ErrorReportWindow : public PvWindow {
    Q_OBJECT
public:
    explicit ErrorReportWindow(QWidget* parent = nullptr);
    ~ErrorReportWindow() override;

    // Rebuilds the four value texts for the recorded location code.
    void onActivate() override;

protected:
    // A window manager may refuse to activate a window it did not expect; the
    // report explains the failure from its first showing all the same.
    void showEvent(QShowEvent* event) override;
    // The close button ends the program too: there is no way back from a failure.
    void onCloseRequested() override { endProgram(); }

private:
    void widenToTexts();
    void endProgram();
    static void setValue(QLabel* label, const QString& text);

    std::unique_ptr<Ui::ErrorReportWindow> ui_;
};

}  // namespace pv
