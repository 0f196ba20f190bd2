#include "registrationwindow.h"
#include "ui_registrationwindow.h"

#include "droplist.h"
#include "folderlist.h"
#include "reglistrules.h"
#include "regmessages.h"
#include "regpointer.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>

namespace ostrel {
namespace {

// A 32 x 32 picture of one or two arrows pointing right (towards the register list) or left.
QIcon arrowPicture(bool right, bool twice) {
    QPixmap picture(32, 32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0, 0, 96), 1));
    painter.setBrush(QColor(0, 64, 160));
    const int heads = twice ? 2 : 1;
    for (int i = 0; i < heads; ++i) {
        const qreal offset = twice ? (i == 0 ? -6.0 : 6.0) : 0.0;
        QPainterPath arrow;
        if (right) {
            arrow.moveTo(10 + offset, 6);
            arrow.lineTo(24 + offset, 16);
            arrow.lineTo(10 + offset, 26);
        } else {
            arrow.moveTo(22 + offset, 6);
            arrow.lineTo(8 + offset, 16);
            arrow.lineTo(22 + offset, 26);
        }
        arrow.closeSubpath();
        painter.drawPath(arrow);
    }
    return QIcon(picture);
}

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

}  // namespace

RegistrationWindow::RegistrationWindow(RegistrationEngine* engine, QWidget* parent)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::RegistrationWindow>()),
      ownEngine_(engine ? nullptr : std::make_unique<RegistrationEngine>()),
      engine_(engine ? *engine : *ownEngine_) {
    // The menu bar first, so that it comes before the client area among the window's
    // children, as a screen reader reads them.
    buildMenuBar();
    ui_->setupUi(this);

    ui_->Image1_0->setIcon(arrowPicture(true, false));
    ui_->Image1_1->setIcon(arrowPicture(false, false));
    ui_->Image1_2->setIcon(arrowPicture(true, true));
    ui_->Image1_3->setIcon(arrowPicture(false, true));

    connect(ui_->Dir1, &FolderList::pathChanged, this, [this](const QString& path) {
        filesPath_ = path;
        refreshFiles();
    });
    connect(ui_->Dir1, &FolderList::folderChosen, this, &RegistrationWindow::changeFolder);
    connect(ui_->Drive1, &QComboBox::currentIndexChanged, this, &RegistrationWindow::changeDrive);
    connect(ui_->Text1, &QLineEdit::textChanged, this, &RegistrationWindow::changePattern);
    connect(ui_->File1, &QListWidget::itemDoubleClicked, this, [this] { addSelectedFiles(); });
    connect(ui_->File1, &DropList::dropped, this, &RegistrationWindow::removeSelected);
    connect(ui_->RegList, &DropList::dropped, this, &RegistrationWindow::addSelectedFiles);
    connect(ui_->Image1_0, &QToolButton::clicked, this, &RegistrationWindow::addSelectedFiles);
    connect(ui_->Image1_1, &QToolButton::clicked, this, &RegistrationWindow::removeSelected);
    connect(ui_->Image1_2, &QToolButton::clicked, this, &RegistrationWindow::addAll);
    connect(ui_->Image1_3, &QToolButton::clicked, this, &RegistrationWindow::removeAll);
    connect(ui_->Command1_0, &QPushButton::clicked, this, [this] { runRegistration(0); });
    connect(ui_->Command1_1, &QPushButton::clicked, this, [this] { runRegistration(1); });
    load();
}

RegistrationWindow::~RegistrationWindow() = default;

void RegistrationWindow::buildMenuBar() {
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("mnufile"));
    QAction* exitAction = fileMenu->addAction(QStringLiteral("E&xit"));
    exitAction->setObjectName(QStringLiteral("mnuExit"));
    connect(exitAction, &QAction::triggered, this, [this] {
        exitRequested_ = true;
        close();
        QCoreApplication::quit();
    });
}

void RegistrationWindow::load() {
    // Start one folder above the working folder; fall back to it, then to the root.
    const QString working = QDir::currentPath();
    const QString candidates[] = {QDir::cleanPath(working + QStringLiteral("/..")), working,
                                  QDir::rootPath()};
    for (const QString& candidate : candidates) {
        if (ui_->Dir1->setPath(candidate)) {
            break;
        }
    }

    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        // Mounts of single files (as containers have) are no drives to browse.
        if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir() &&
            !roots.contains(volume.rootPath())) {
            roots.append(volume.rootPath());
        }
    }
    roots.sort(Qt::CaseInsensitive);
    setDrives(roots);

    changePattern(ui_->Text1->text());
    ui_->RegList->clear();
    updateCommandButtons();
}

void RegistrationWindow::setDrives(const QStringList& roots) {
    const QSignalBlocker block(ui_->Drive1);
    ui_->Drive1->clear();
    for (const QString& root : roots) {
        ui_->Drive1->addItem(native(root), root);
    }
    selectDriveOf(ui_->Dir1->path());
}

void RegistrationWindow::selectDriveOf(const QString& path) {
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < ui_->Drive1->count(); ++i) {
        QString root = ui_->Drive1->itemData(i).toString();
        if (!root.endsWith(QLatin1Char('/'))) {
            root += QLatin1Char('/');
        }
        const QString inside = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        if (inside.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker block(ui_->Drive1);
    ui_->Drive1->setCurrentIndex(best);
    driveIndex_ = best;
}

void RegistrationWindow::changeFolder(const QString& path) {
    if (ui_->Dir1->setPath(path)) {
        return;
    }
    showMessage(QStringLiteral("The folder ") + native(path) +
                    QStringLiteral(" cannot be read. The folder list stays at ") +
                    native(ui_->Dir1->path()) + QLatin1Char('.'),
                MessageIcon::Exclamation);
}

void RegistrationWindow::changeDrive(int index) {
    if (index < 0) {
        return;
    }
    const QString root = ui_->Drive1->itemData(index).toString();
    if (ui_->Dir1->setPath(root)) {
        driveIndex_ = index;
        return;
    }
    {
        const QSignalBlocker block(ui_->Drive1);
        ui_->Drive1->setCurrentIndex(driveIndex_);
    }
    const QString kept = driveIndex_ >= 0 ? ui_->Drive1->itemText(driveIndex_) : QString();
    showMessage(QStringLiteral("The drive ") + native(root) +
                    QStringLiteral(" cannot be read. The drive list stays at ") + kept +
                    QLatin1Char('.'),
                MessageIcon::Exclamation);
}

void RegistrationWindow::changePattern(const QString& text) {
    const std::optional<QStringList> patterns = filePatterns(text);
    if (!patterns) {
        const QString kept = patternText_;
        {
            const QSignalBlocker block(ui_->Text1);
            ui_->Text1->setText(kept);
        }
        showMessage(QStringLiteral("The pattern ") + text +
                        QStringLiteral(" cannot be used: a pattern names files in the folder, "
                                       "such as *.dll, and several are separated by \";\". "
                                       "The file list keeps ") +
                        kept + QLatin1Char('.'),
                    MessageIcon::Exclamation);
        return;
    }
    patterns_ = *patterns;
    patternText_ = text;
    refreshFiles();
}

void RegistrationWindow::refreshFiles() {
    ui_->File1->clear();
    if (filesPath_.isEmpty()) {
        return;
    }
    // Regular files only: QDir lists links to pipes and devices too, which the engine
    // would refuse.
    const QFileInfoList entries =
        QDir(filesPath_).entryInfoList(patterns_, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.isFile()) {
            ui_->File1->addItem(entry.fileName());
        }
    }
}

QString RegistrationWindow::filesFolder() const {
    return native(filesPath_);
}

QStringList RegistrationWindow::registerEntries() const {
    QStringList entries;
    for (int i = 0; i < ui_->RegList->count(); ++i) {
        entries.append(ui_->RegList->item(i)->text());
    }
    return entries;
}

void RegistrationWindow::updateCommandButtons() {
    const bool any = ui_->RegList->count() > 0;
    ui_->Command1_0->setEnabled(any);
    ui_->Command1_1->setEnabled(any);
}

void RegistrationWindow::addSelectedFiles() {
    QStringList entries = registerEntries();
    const QString folder = filesFolder();
    for (int i = 0; i < ui_->File1->count(); ++i) {
        QListWidgetItem* item = ui_->File1->item(i);
        if (!item->isSelected()) {
            continue;
        }
        const QString name = item->text();
        if (!listedBySuffix(entries, name)) {
            const QString path = joinFolderFile(folder, name);
            ui_->RegList->addItem(path);
            entries.append(path);
        }
        item->setSelected(false);
    }
    updateCommandButtons();
}

void RegistrationWindow::removeSelected() {
    for (int i = ui_->RegList->count() - 1; i >= 0; --i) {
        if (ui_->RegList->item(i)->isSelected()) {
            delete ui_->RegList->takeItem(i);
        }
    }
    updateCommandButtons();
}

void RegistrationWindow::addAll() {
    QStringList entries = registerEntries();
    const QString folder = filesFolder();
    for (int i = 0; i < ui_->File1->count(); ++i) {
        const QString name = ui_->File1->item(i)->text();
        if (!listedByName(entries, name)) {
            const QString path = joinFolderFile(folder, name);
            ui_->RegList->addItem(path);
            entries.append(path);
        }
    }
    updateCommandButtons();
}

void RegistrationWindow::removeAll() {
    ui_->RegList->clear();
    updateCommandButtons();
}

void RegistrationWindow::runRegistration(int index) {
    // A second click while pending events run between files would start a run inside
    // the run; the first one goes on instead.
    if (running_) {
        return;
    }
    running_ = true;
    setCursor(Qt::WaitCursor);
    engine_.setLastSucceeded(false);
    commandMode_ = index == 0 ? QString() : QStringLiteral("u");

    const int count = ui_->RegList->count();
    for (int i = 0; i < count; ++i) {
        // Entries removed between files leave this index without an entry.
        QListWidgetItem* item = ui_->RegList->item(i);
        if (!item) {
            unsetCursor();
            running_ = false;
            showMessage(QStringLiteral("Subscript out of range   9"));
            return;
        }
        engine_.registerLibraryFile(item->text(), commandMode_, *this);
        QCoreApplication::processEvents();
        if (exitRequested_) {
            unsetCursor();
            running_ = false;
            return;
        }
    }

    if (engine_.lastSucceeded()) {
        showMessage(commandMode_.isEmpty() ? QStringLiteral("Registering completed")
                                           : QStringLiteral("UnRegistering completed"));
    }
    ui_->RegList->clear();
    updateCommandButtons();
    unsetCursor();
    running_ = false;
}

void RegistrationWindow::setBusy(bool busy) {
    if (busy) {
        setBusyPointer();
    } else {
        setDefaultPointer();
    }
}

void RegistrationWindow::reported(const Report& report) {
    if (!report.text.isEmpty()) {
        showMessage(report.text, report.icon, report.title);
    }
}

void RegistrationWindow::closeEvent(QCloseEvent* event) {
    exitRequested_ = true;
    event->accept();
}

}  // namespace ostrel
