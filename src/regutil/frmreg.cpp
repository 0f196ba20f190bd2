#include "frmreg.h"

#include "reglistrules.h"
#include "regmessages.h"
#include "regpointer.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
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

// ---------------------------------------------------------------------------------------

FolderList::FolderList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        emit folderChosen(item->data(Qt::UserRole).toString());
    });
}

bool FolderList::isReadableFolder(const QString& path) {
    const QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isDir() && info.isReadable() &&
           info.isExecutable();
}

bool FolderList::setPath(const QString& path) {
    const QString open = QDir::cleanPath(QDir(path).absolutePath());
    if (!isReadableFolder(open)) {
        return false;
    }
    QStringList chain;
    QDir walk(open);
    while (true) {
        chain.prepend(walk.absolutePath());
        if (walk.isRoot() || !walk.cdUp()) {
            break;
        }
    }
    // Folders only: QDir lists links to pipes and devices among them too.
    QStringList subfolders;
    const QFileInfoList entries =
        QDir(open).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) {
            subfolders.append(entry.fileName());
        }
    }

    clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    auto addFolder = [this](const QString& full, const QString& name, int depth,
                            const QIcon& icon) {
        auto* item = new QListWidgetItem(icon, QString(depth * 2, QLatin1Char(' ')) + name, this);
        item->setData(Qt::UserRole, full);
        item->setData(Qt::AccessibleTextRole, name);
        item->setToolTip(native(full));
    };
    for (int depth = 0; depth < chain.size(); ++depth) {
        const QString& full = chain.at(depth);
        const QString name = depth == 0 ? native(full) : QFileInfo(full).fileName();
        addFolder(full, name, depth, openIcon);
    }
    const QString prefix = open.endsWith(QLatin1Char('/')) ? open : open + QLatin1Char('/');
    for (const QString& name : subfolders) {
        addFolder(prefix + name, name, static_cast<int>(chain.size()), closedIcon);
    }
    setCurrentRow(static_cast<int>(chain.size()) - 1);
    path_ = open;
    emit pathChanged(path_);
    return true;
}

// ---------------------------------------------------------------------------------------

DropList::DropList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
    setDropIndicatorShown(false);
}

void DropList::dragEnterEvent(QDragEnterEvent* event) {
    if (event->source() == this) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropList::dragMoveEvent(QDragMoveEvent* event) {
    if (event->source() == this) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void DropList::dropEvent(QDropEvent* event) {
    if (event->source() == this) {
        event->ignore();
        return;
    }
    // Copy, never move: a move would make the source list delete its dragged items.
    event->setDropAction(Qt::CopyAction);
    event->accept();
    emit dropped();
}

Qt::DropActions DropList::supportedDropActions() const {
    return Qt::CopyAction;
}

// ---------------------------------------------------------------------------------------

PictureButton::PictureButton(const QIcon& picture, const QString& caption, QWidget* parent)
    : QToolButton(parent) {
    setIcon(picture);
    setIconSize(QSize(28, 28));
    setAutoRaise(true);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(caption);
    setToolTip(caption);
}

void PictureButton::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------

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

    dir1_ = new FolderList(frame);
    dir1_->setObjectName(QStringLiteral("Dir1"));
    dir1_->setAccessibleName(QStringLiteral("Folders"));
    dir1_->setGeometry(twipRect(120, 240, 2175, 2790));

    drive1_ = new QComboBox(frame);
    drive1_->setObjectName(QStringLiteral("Drive1"));
    drive1_->setAccessibleName(QStringLiteral("Drives"));
    drive1_->setGeometry(twipRect(120, 3240, 2175, 315));

    text1_ = new QLineEdit(frame);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setAccessibleName(QStringLiteral("File pattern"));
    text1_->setGeometry(twipRect(2400, 240, 1575, 285));
    text1_->setText(QStringLiteral("*.ocx;*.dll"));

    file1_ = new DropList(frame);
    file1_->setObjectName(QStringLiteral("File1"));
    file1_->setAccessibleName(QStringLiteral("Files"));
    file1_->setGeometry(twipRect(2400, 600, 1575, 2820));

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
        image1_[i] = new PictureButton(arrowPicture(place.right, place.twice), caption, frame);
        image1_[i]->setObjectName(QStringLiteral("Image1_%1").arg(i));
        image1_[i]->setGeometry(place.picture);
        auto* label = new QLabel(caption, frame);
        label->setObjectName(QStringLiteral("Label1_%1").arg(place.labelIndex));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFont(captionFont);
        label->setGeometry(place.label);
        label->setBuddy(image1_[i]);
        label1_[place.labelIndex] = label;
    }

    regList_ = new DropList(frame);
    regList_->setObjectName(QStringLiteral("RegList"));
    regList_->setAccessibleName(QStringLiteral("Register list"));
    regList_->setGeometry(twipRect(4800, 240, 3615, 2790));

    const char* commandCaptions[2] = {"Register", "UnRegister"};
    const QRect commandRects[2] = {twipRect(5160, 3240, 1455, 375),
                                   twipRect(6840, 3240, 1455, 375)};
    for (int i = 0; i < 2; ++i) {
        const QString caption = QString::fromLatin1(commandCaptions[i]);
        command1_[i] = new QPushButton(caption, frame);
        command1_[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        command1_[i]->setAccessibleName(caption);
        command1_[i]->setGeometry(commandRects[i]);
        connect(command1_[i], &QPushButton::clicked, this, [this, i] { runRegistration(i); });
    }

    QWidget* order[] = {dir1_,      drive1_,    text1_,   file1_,       image1_[0],  image1_[1],
                        image1_[2], image1_[3], regList_, command1_[0], command1_[1]};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    connect(dir1_, &FolderList::pathChanged, this, [this](const QString& path) {
        filesPath_ = path;
        refreshFiles();
    });
    connect(dir1_, &FolderList::folderChosen, this, &RegistrationWindow::changeFolder);
    connect(drive1_, &QComboBox::currentIndexChanged, this, &RegistrationWindow::changeDrive);
    connect(text1_, &QLineEdit::textChanged, this, &RegistrationWindow::changePattern);
    connect(file1_, &QListWidget::itemDoubleClicked, this, [this] { addSelectedFiles(); });
    connect(file1_, &DropList::dropped, this, &RegistrationWindow::removeSelected);
    connect(regList_, &DropList::dropped, this, &RegistrationWindow::addSelectedFiles);
    connect(image1_[0], &QToolButton::clicked, this, &RegistrationWindow::addSelectedFiles);
    connect(image1_[1], &QToolButton::clicked, this, &RegistrationWindow::removeSelected);
    connect(image1_[2], &QToolButton::clicked, this, &RegistrationWindow::addAll);
    connect(image1_[3], &QToolButton::clicked, this, &RegistrationWindow::removeAll);
}

void RegistrationWindow::load() {
    // Start one folder above the working folder; fall back to it, then to the root.
    const QString working = QDir::currentPath();
    const QString candidates[] = {QDir::cleanPath(working + QStringLiteral("/..")), working,
                                  QDir::rootPath()};
    for (const QString& candidate : candidates) {
        if (dir1_->setPath(candidate)) {
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

    changePattern(text1_->text());
    regList_->clear();
    updateCommandButtons();
}

void RegistrationWindow::setDrives(const QStringList& roots) {
    const QSignalBlocker block(drive1_);
    drive1_->clear();
    for (const QString& root : roots) {
        drive1_->addItem(native(root), root);
    }
    selectDriveOf(dir1_->path());
}

void RegistrationWindow::selectDriveOf(const QString& path) {
    int best = -1;
    qsizetype bestLength = -1;
    for (int i = 0; i < drive1_->count(); ++i) {
        QString root = drive1_->itemData(i).toString();
        if (!root.endsWith(QLatin1Char('/'))) {
            root += QLatin1Char('/');
        }
        const QString inside = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        if (inside.startsWith(root) && root.size() > bestLength) {
            best = i;
            bestLength = root.size();
        }
    }
    const QSignalBlocker block(drive1_);
    drive1_->setCurrentIndex(best);
    driveIndex_ = best;
}

void RegistrationWindow::changeFolder(const QString& path) {
    if (dir1_->setPath(path)) {
        return;
    }
    showMessage(QStringLiteral("The folder ") + native(path) +
                    QStringLiteral(" cannot be read. The folder list stays at ") +
                    native(dir1_->path()) + QLatin1Char('.'),
                MessageIcon::Exclamation);
}

void RegistrationWindow::changeDrive(int index) {
    if (index < 0) {
        return;
    }
    const QString root = drive1_->itemData(index).toString();
    if (dir1_->setPath(root)) {
        driveIndex_ = index;
        return;
    }
    {
        const QSignalBlocker block(drive1_);
        drive1_->setCurrentIndex(driveIndex_);
    }
    const QString kept = driveIndex_ >= 0 ? drive1_->itemText(driveIndex_) : QString();
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
            const QSignalBlocker block(text1_);
            text1_->setText(kept);
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
    file1_->clear();
    if (filesPath_.isEmpty()) {
        return;
    }
    // Regular files only: QDir lists links to pipes and devices too, which the engine
    // would refuse.
    const QFileInfoList entries =
        QDir(filesPath_).entryInfoList(patterns_, QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.isFile()) {
            file1_->addItem(entry.fileName());
        }
    }
}

QString RegistrationWindow::filesFolder() const {
    return native(filesPath_);
}

QStringList RegistrationWindow::registerEntries() const {
    QStringList entries;
    for (int i = 0; i < regList_->count(); ++i) {
        entries.append(regList_->item(i)->text());
    }
    return entries;
}

void RegistrationWindow::updateCommandButtons() {
    const bool any = regList_->count() > 0;
    command1_[0]->setEnabled(any);
    command1_[1]->setEnabled(any);
}

void RegistrationWindow::addSelectedFiles() {
    QStringList entries = registerEntries();
    const QString folder = filesFolder();
    for (int i = 0; i < file1_->count(); ++i) {
        QListWidgetItem* item = file1_->item(i);
        if (!item->isSelected()) {
            continue;
        }
        const QString name = item->text();
        if (!listedBySuffix(entries, name)) {
            const QString path = joinFolderFile(folder, name);
            regList_->addItem(path);
            entries.append(path);
        }
        item->setSelected(false);
    }
    updateCommandButtons();
}

void RegistrationWindow::removeSelected() {
    for (int i = regList_->count() - 1; i >= 0; --i) {
        if (regList_->item(i)->isSelected()) {
            delete regList_->takeItem(i);
        }
    }
    updateCommandButtons();
}

void RegistrationWindow::addAll() {
    QStringList entries = registerEntries();
    const QString folder = filesFolder();
    for (int i = 0; i < file1_->count(); ++i) {
        const QString name = file1_->item(i)->text();
        if (!listedByName(entries, name)) {
            const QString path = joinFolderFile(folder, name);
            regList_->addItem(path);
            entries.append(path);
        }
    }
    updateCommandButtons();
}

void RegistrationWindow::removeAll() {
    regList_->clear();
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

    const int count = regList_->count();
    for (int i = 0; i < count; ++i) {
        // Entries removed between files leave this index without an entry.
        QListWidgetItem* item = regList_->item(i);
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
    regList_->clear();
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
