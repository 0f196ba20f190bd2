#pragma once

#include "pvwindow.h"

#include <memory>

namespace pv {

namespace Ui {
class ImportSummaryWindow;
}

// "Import all": what an Import all saved where, and each recipe it skipped
// and why, in a read-only box to select and copy from.
class ImportSummaryWindow : public PvWindow {
    Q_OBJECT
public:
    explicit ImportSummaryWindow(QWidget* parent = nullptr);
    ~ImportSummaryWindow() override;

    void showSummary(const QString& text);
    QString summary() const;

    // The commands.
    void copyAll();
    void dismiss();

private:
    std::unique_ptr<Ui::ImportSummaryWindow> ui_;
};

}  // namespace pv
