#include "registrationwindow.h"

#include "droplist.h"
#include "folderlist.h"
#include "picturebutton.h"
#include "reglistrules.h"
#include "regmessages.h"
#include "regpointer.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <QStyle>

namespace ostrel {
namespace {

// Positions are given in twips; at 96 dots per inch a pixel is 15 twips.
int px(int twips) {
    return (twips + 7) / 15;
}

QRect twipRect(int left, int top, int width, int height) {
    return QRect(px(left), px(top), px(width), px(height));
}

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
      ownEngine_(engine ? nullptr : std::make_unique<RegistrationEngine>()),
      engine_(engine ? *engine : *ownEngine_) {
    setObjectName(QStringLiteral("frmreg"));
    setWindowTitle(QStringLiteral("Auto Object Registery"));
    buildControls();
    load();
}

void RegistrationWindow::buildControls() {
    QMenu* fileMenu = menuBar()->addMenu(QStringLiteral("&File"));
    fileMenu->setObjectName(QStringLiteral("mnufile"));
    QAction* exitAction = fileMenu->addAction(QStringLiteral("E&xit"));
    exitAction->setObjectName(QStringLiteral("mnuExit"));
    connect(exitAction, &QAction::triggered, this, [this] {
        exitRequested_ = true;
        close();
        QCoreApplication::quit();
    });

    auto* client = new QWidget(this);
    client->setFixedSize(px(8790), px(3945));
    setCentralWidget(client);

    auto* frame = new QGroupBox(client);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setAccessibleName(QStringLiteral("Library files"));
    frame->setGeometry(twipRect(120, 0, 8535, 3735));

    folders_ = new FolderList(frame);
    folders_->setObjectName(QStringLiteral("Dir1"));
    folders_->setAccessibleName(QStringLiteral("Folders"));
    folders_->setGeometry(twipRect(120, 240, 2175, 2790));

    drives_ = new QComboBox(frame);
    drives_->setObjectName(QStringLiteral("Drive1"));
    drives_->setAccessibleName(QStringLiteral("Drives"));
    drives_->setGeometry(twipRect(120, 3240, 2175, 315));

    pattern_ = new QLineEdit(frame);
    pattern_->setObjectName(QStringLiteral("Text1"));
    pattern_->setAccessibleName(QStringLiteral("File pattern"));
    pattern_->setGeometry(twipRect(2400, 240, 1575, 285));
    pattern_->setText(QStringLiteral("*.ocx;*.dll"));

    files_ = new DropList(frame);
    files_->setObjectName(QStringLiteral("File1"));
    files_->setAccessibleName(QStringLiteral("Files"));
    files_->setGeometry(twipRect(2400, 600, 1575, 2820));

    // Image1(i) with its caption Label1(labelOf[i]).
    struct PictureButtonPlace {
        const char* caption;
        int labelIndex;
        QRect picture;
        QRect label;
        bool right;
        bool twice;
    };
    const PictureButtonPlace pictures[4] = {
        {"Add Selected", 2, twipRect(4080, 240, 480, 480), twipRect(4080, 720, 735, 375), true,
         false},
        {"Remove Selected", 1, twipRect(4080, 1080, 480, 480), twipRect(4080, 1560, 735, 375),
         false, false},
        {"Add All", 0, twipRect(4080, 1920, 480, 480), twipRect(4080, 2280, 495, 255), true, true},
        {"Remove All", 3, twipRect(4080, 2520, 480, 480), twipRect(4080, 2880, 735, 375), false,
         true},
    };
    QFont captionFont = font();
    captionFont.setPointSizeF(7.0);
    for (int i = 0; i < 4; ++i) {
        const PictureButtonPlace& place = pictures[i];
        const QString caption = QString::fromLatin1(place.caption);
        pictureButtons_[i] =
            new PictureButton(arrowPicture(place.right, place.twice), caption, frame);
        pictureButtons_[i]->setObjectName(QStringLiteral("Image1_%1").arg(i));
        pictureButtons_[i]->setGeometry(place.picture);
        auto* label = new QLabel(caption, frame);
        label->setObjectName(QStringLiteral("Label1_%1").arg(place.labelIndex));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFont(captionFont);
        label->setGeometry(place.label);
        label->setBuddy(pictureButtons_[i]);
        pictureCaptions_[place.labelIndex] = label;
    }

    registerList_ = new DropList(frame);
    registerList_->setObjectName(QStringLiteral("RegList"));
    registerList_->setAccessibleName(QStringLiteral("Register list"));
    registerList_->setGeometry(twipRect(4800, 240, 3615, 2790));

    const char* commandCaptions[2] = {"Register", "UnRegister"};
    const QRect commandRects[2] = {twipRect(5160, 3240, 1455, 375),
                                   twipRect(6840, 3240, 1455, 375)};
    for (int i = 0; i < 2; ++i) {
        const QString caption = QString::fromLatin1(commandCaptions[i]);
        commandButtons_[i] = new QPushButton(caption, frame);
        commandButtons_[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        commandButtons_[i]->setAccessibleName(caption);
        commandButtons_[i]->setGeometry(commandRects[i]);
        connect(commandButtons_[i], &QPushButton::clicked, this, [this, i] { runRegistration(i); });
    }

    QWidget* order[] = {folders_,           drives_,
                        pattern_,           files_,
                        pictureButtons_[0], pictureButtons_[1],
                        pictureButtons_[2], pictureButtons_[3],
                        registerList_,      commandButtons_[0],
                        commandButtons_[1]};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    connect(folders_, &FolderList::pathChanged, this, [this](const QString& path) {
        filesPath_ = path;
        refreshFiles();
    });
    connect(folders_, &FolderList::folderChosen, this, &RegistrationWindow::changeFolder);
    connect(drives_, &QComboBox::currentIndexChanged, this, &RegistrationWindow::changeDrive);
    connect(pattern_, &QLineEdit::textChanged, this, &RegistrationWindow::changePattern);
    connect(files_, &QListWidget::itemDoubleClicked, this, [this] { addSelectedFiles(); });
    connect(files_, &DropList::dropped, this, &RegistrationWindow::removeSelected);
    connect(registerList_, &DropList::dropped, this, &RegistrationWindow::addSelectedFiles);
    connect(pictureButtons_[0], &QToolButton::clicked, this, &RegistrationWindow::addSelectedFiles);
    connect(pictureButtons_[1], &QToolButton::clicked, this, &RegistrationWindow::removeSelected);
    connect(pictureButtons_[2], &QToolButton::clicked, this, &RegistrationWindow::addAll);
    connect(pictureButtons_[3], &QToolButton::clicked, this, &RegistrationWindow::removeAll);
}

void RegistrationWindow::load() {
    // Start one folder above the working folder; fall back to it, then to the root.
    const QString working = QDir::currentPath();
    const QString candidates[] = {QDir::cleanPath(working + QStringLiteral("/..")), working,
                                  QDir::rootPath()};
    for (const QString& candidate : candidates) {
        if (folders_->setPath(candidate)) {
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

    changePattern(pattern_->text());
    registerList_->clear();
    updateCommandButtons();
}

void RegistrationWindow::setDrives(const QStringList& roots) {
    const QSignalBlocker block(drives_);
    drives_->clear();
    for (const QString& root : roots) {
        drives_->addItem(native(root), root);
    }
    selectDriveOf(folders_->path());
}

void RegistrationWindow::selectDriveOf(const QString& path) {
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drives_->count(); ++i) {
        QString root = drives_->itemData(i).toString();
        if (!root.endsWith(QLatin1Char('/'))) {
            root += QLatin1Char('/');
        }
        const QString inside = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        if (inside.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker block(drives_);
    drives_->setCurrentIndex(best);
    driveIndex_ = best;
}

void RegistrationWindow::changeFolder(const QString& path) {
    if (folders_->setPath(path)) {
        return;
    }
    showMessage(QStringLiteral("The folder ") + native(path) +
                    QStringLiteral(" cannot be read. The folder list stays at ") +
                    native(folders_->path()) + QLatin1Char('.'),
                MessageIcon::Exclamation);
}

void RegistrationWindow::changeDrive(int index) {
    if (index < 0) {
        return;
    }
    const QString root = drives_->itemData(index).toString();
    if (folders_->setPath(root)) {
        driveIndex_ = index;
        return;
    }
    {
        const QSignalBlocker block(drives_);
        drives_->setCurrentIndex(driveIndex_);
    }
    const QString kept = driveIndex_ >= 0 ? drives_->itemText(driveIndex_) : QString();
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
            const QSignalBlocker block(pattern_);
            pattern_->setText(kept);
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
    files_->clear();
    if (filesPath_.isEmpty()) {
        return;
    }
    // Regular files only: QDir lists links to pipes and devices too, which the engine
    // would refuse.
    const QFileInfoList entries =
        QDir(filesPath_).entryInfoList(patterns_, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.isFile()) {
            files_->addItem(entry.fileName());
        }
    }
}

QString RegistrationWindow::filesFolder() const {
    return native(filesPath_);
}

QStringList RegistrationWindow::registerEntries() const {
    QStringList entries;
    for (int i = 0; i < registerList_->count(); ++i) {
        entries.append(registerList_->item(i)->text());
    }
    return entries;
}

void RegistrationWindow::updateCommandButtons() {
    const bool any = registerList_->count() > 0;
    commandButtons_[0]->setEnabled(any);
    commandButtons_[1]->setEnabled(any);
}

void RegistrationWindow::addSelectedFiles() {
    QStringList entries = registerEntries();
    const QString folder = filesFolder();
    for (int i = 0; i < files_->count(); ++i) {
        QListWidgetItem* item = files_->item(i);
        if (!item->isSelected()) {
            continue;
        }
        const QString name = item->text();
        if (!listedBySuffix(entries, name)) {
            const QString path = joinFolderFile(folder, name);
            registerList_->addItem(path);
            entries.append(path);
        }
        item->setSelected(false);
    }
    updateCommandButtons();
}

void RegistrationWindow::removeSelected() {
    for (int i = registerList_->count() - 1; i >= 0; --i) {
        if (registerList_->item(i)->isSelected()) {
            delete registerList_->takeItem(i);
        }
    }
    updateCommandButtons();
}

void RegistrationWindow::addAll() {
    QStringList entries = registerEntries();
    const QString folder = filesFolder();
    for (int i = 0; i < files_->count(); ++i) {
        const QString name = files_->item(i)->text();
        if (!listedByName(entries, name)) {
            const QString path = joinFolderFile(folder, name);
            registerList_->addItem(path);
            entries.append(path);
        }
    }
    updateCommandButtons();
}

void RegistrationWindow::removeAll() {
    registerList_->clear();
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

    const int count = registerList_->count();
    for (int i = 0; i < count; ++i) {
        // Entries removed between files leave this index without an entry.
        QListWidgetItem* item = registerList_->item(i);
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
    registerList_->clear();
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
