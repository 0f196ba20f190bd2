#pragma once

#include "registrationengine.h"

#include <QMainWindow>

#include <memory>

namespace ostrel {

namespace Ui {
class RegistrationWindow;
}

// frmreg: picks library files into the register list and registers or unregisters them.
// It shows what the engine reports: the busy pointer and a message box per failure.
class RegistrationWindow : public QMainWindow, private RegistrationObserver {
    Q_OBJECT
public:
    // The engine is borrowed; without one the window runs its own, with the default wait
    // limit and the platform's loader.
    explicit RegistrationWindow(RegistrationEngine* engine = nullptr, QWidget* parent = nullptr);
    ~RegistrationWindow() override;

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

    void buildMenuBar();
    void load();
    void changeFolder(const QString& path);
    void changeDrive(int index);
    void changePattern(const QString& text);
    void refreshFiles();
    void updateCommandButtons();
    void selectDriveOf(const QString& path);

    std::unique_ptr<Ui::RegistrationWindow> ui_;
    std::unique_ptr<RegistrationEngine> ownEngine_;
    RegistrationEngine& engine_;
    QString commandMode_;
    bool running_ = false;
    bool exitRequested_ = false;

    QString filesPath_;
    QStringList patterns_;
    QString patternText_;
    int driveIndex_ = -1;
};

}  // namespace ostrel
