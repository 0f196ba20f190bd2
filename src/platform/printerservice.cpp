#include "printerservice.h"

#include "replaceable.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

namespace pv {

namespace {

class QtPrinterService final : public PrinterService {
public:
    bool setupDialog(QWidget* parent) override {
        if (QPrinterInfo::availablePrinters().isEmpty()) {
            // No printer on this machine: print into a PDF file the user names.
            QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
            if (!QDir(folder).exists()) {
                folder = QDir::homePath();
            }
            QString file =
                QFileDialog::getSaveFileName(parent, QStringLiteral("Print to PDF file"),
                                             QDir(folder).filePath(QStringLiteral("Printout.pdf")),
                                             QStringLiteral("PDF files (*.pdf)"));
            if (file.isEmpty()) {
                return false;
            }
            if (QFileInfo(file).suffix().isEmpty()) {
                file += QStringLiteral(".pdf");
            }
            printer_.setOutputFormat(QPrinter::PdfFormat);
            printer_.setOutputFileName(file);
            return true;
        }
        printer_.setOutputFormat(QPrinter::NativeFormat);
        QPageSetupDialog dialog(&printer_, parent);
        return dialog.exec() == QDialog::Accepted;
    }
    QPrinter* printer() override { return &printer_; }

private:
    QPrinter printer_{QPrinter::HighResolution};
};

using Slot = Replaceable<PrinterService, QtPrinterService>;

}  // namespace

PrinterService& printerService() {
    return Slot::get();
}

void setPrinterService(PrinterService* service) {
    Slot::install(service);
}

}  // namespace pv
