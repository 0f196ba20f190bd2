#pragma once

class QPrinter;
class QWidget;

namespace pv {

// The printer set-up dialog and the printer behind it. Tests replace it.
class PrinterService {
public:
    virtual ~PrinterService() = default;
    // The printer set-up dialog; false when the user cancels. Where the machine
    // has no printer the user picks a PDF file to print to.
    virtual bool setupDialog(QWidget* parent) = 0;
    // The printer the next document goes to.
    virtual QPrinter* printer() = 0;
};

PrinterService& printerService();
// Installs a service (nullptr brings back the default). The caller keeps ownership.
void setPrinterService(PrinterService* service);

}  // namespace pv
