#pragma once

#include "regengine.h"

#include <QListWidget>
#include <QMainWindow>
#include <QToolButton>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ostrel {

// A folder list: the open folder's ancestors from the root down, the open folder, then
// its subfolders, each an item of its own. Enter or a double-click opens an item.
class FolderList : public QListWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    // The open folder ('/' separated).
    QString path() const { return path_; }
    // Opens the folder when it can be read; otherwise returns false and changes nothing.
    bool setPath(const QString& path);
    // Whether the folder exists and its entries can be listed.
    static bool isReadableFolder(const QString& path);

signals:
    void pathChanged(const QString& path);
    // The user opened an entry; the window decides whether it can be read.
    void folderChosen(const QString& path);

private:
    QString path_;
};

// A list that is a drag source and a drop target. A drop is only a signal: the dropped
// data is never read. A list never takes a drop of its own drag.
class DropList : public QListWidget {
    Q_OBJECT
public:
    explicit DropList(QWidget* parent = nullptr);

signals:
    void dropped();

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    Qt::DropActions supportedDropActions() const override;
};

// A picture that acts on click, reachable by Tab and pressed with Space or Enter.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    PictureButton(const QIcon& picture, const QString& caption, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// frmreg: picks library files into the register list and registers or unregisters them.
// It shows what the engine reports: the busy pointer and a message box per failure.
class RegistrationWindow : public QMainWindow, private RegistrationObserver {
    Q_OBJECT
public:
    // The engine is borrowed; without one the window runs its own, with the default wait
    // limit and the platform's loader.
    explicit RegistrationWindow(RegistrationEngine* engine = nullptr, QWidget* parent = nullptr);

    // The drive list's roots; the one holding the open folder becomes current.
    void setDrives(const QStringList& roots);

    void addSelectedFiles();
    void removeSelected();
    void addAll();
    void removeAll();
    // index 0 registers, 1 unregisters every register-list entry.
    void runRegistration(int index);

    RegistrationEngine& engine() { return engine_; }
    const RegistrationEngine& engine() const { return engine_; }
    QString commandMode() const { return commandMode_; }
    bool lastSucceeded() const { return engine_.lastSucceeded(); }
    std::uint32_t waitResult() const { return engine_.waitResult(); }
    // The folder whose files File1 lists, with native separators.
    QString filesFolder() const;
    QStringList registerEntries() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void setBusy(bool busy) override;
    void reported(const Report& report) override;

    void buildControls();
    void load();
    void changeFolder(const QString& path);
    void changeDrive(int index);
    void changePattern(const QString& text);
    void refreshFiles();
    void updateCommandButtons();
    void selectDriveOf(const QString& path);

    std::unique_ptr<RegistrationEngine> ownEngine_;
    RegistrationEngine& engine_;
    QString commandMode_;
    bool running_ = false;
    bool exitRequested_ = false;

    QString filesPath_;
    QStringList patterns_;
    QString patternText_;
    int driveIndex_ = -1;

    FolderList* dir1_ = nullptr;
    QComboBox* drive1_ = nullptr;
    QLineEdit* text1_ = nullptr;
    DropList* file1_ = nullptr;
    DropList* regList_ = nullptr;
    PictureButton* image1_[4] = {};
    QLabel* label1_[4] = {};
    QPushButton* command1_[2] = {};
};

}  // namespace ostrel
