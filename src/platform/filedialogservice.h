#pragma once

#include <QString>

class QWidget;

namespace pv {

// The open-file and save-file dialogs. Tests replace it.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The file the user picked to read, or an empty string when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption,
                                 const QString& filter) = 0;
    // The file the user named to write, or an empty string when cancelled.
    // suggestedName is a file name without a folder; an existing file is
    // replaced only after the user said so.
    virtual QString saveFileName(QWidget* parent, const QString& caption,
                                 const QString& suggestedName, const QString& filter) = 0;
};

FileDialogService& fileDialogs();
// Installs a service (nullptr brings back the default). The caller keeps ownership.
void setFileDialogService(FileDialogService* service);

}  // namespace pv
