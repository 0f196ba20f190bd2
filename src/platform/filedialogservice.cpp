#include "filedialogservice.h"

#include "replaceable.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace pv {

namespace {

class QtFileDialogService final : public FileDialogService {
public:
    QString openFileName(QWidget* parent, const QString& caption, const QString& filter) override {
        const QString file = QFileDialog::getOpenFileName(parent, caption, folder(), filter);
        remember(file);
        return file;
    }
    QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedName,
                         const QString& filter) override {
        const QString file = QFileDialog::getSaveFileName(
            parent, caption, QDir(folder()).filePath(suggestedName), filter);
        remember(file);
        return file;
    }

private:
    // The last folder used, else the documents folder, else home.
    QString folder() const {
        if (!folder_.isEmpty() && QDir(folder_).exists()) {
            return folder_;
        }
        const QString documents =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        return QDir(documents).exists() ? documents : QDir::homePath();
    }
    void remember(const QString& file) {
        if (!file.isEmpty()) {
            folder_ = QFileInfo(file).absolutePath();
        }
    }

    QString folder_;
};

using Slot = Replaceable<FileDialogService, QtFileDialogService>;

}  // namespace

FileDialogService& fileDialogs() {
    return Slot::get();
}

void setFileDialogService(FileDialogService* service) {
    Slot::install(service);
}

}  // namespace pv
