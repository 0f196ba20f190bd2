#include "folderlist.h"
#include "registrationwindow.h"
#include "regmessages.h"
#include "regpointer.h"
#include "regtest.h"
#include "table.h"

#include <QtTest>
#include <QtWidgets>

#include <sys/stat.h>

using namespace ostrel;
using namespace Qt::StringLiterals;

namespace {

// Records every message box as its message line, marked "BUSY " when the screen-wide
// pointer was still busy while it showed.
class RecordingMessages : public MessageService {
public:
    RecordingMessages() { setMessageService(this); }
    ~RecordingMessages() override { setMessageService(nullptr); }
    void show(const QString& text, MessageIcon icon, const QString& title) override {
        shown.append((isBusyPointer() ? QStringLiteral("BUSY ") : QString()) +
                     messageLine(text, icon, title));
        if (onShow) {
            onShow();
        }
    }
    QStringList shown;
    std::function<void()> onShow;
};

// Quick libraries get a limit no busy machine reaches; the sleepers a short one.
class TestEngine : public RegistrationEngine {
public:
    TestEngine() : RegistrationEngine(kGenerousLimitMs) {}

protected:
    int waitLimitFor(const QString& file) const override {
        return QFileInfo(file).fileName().startsWith(QLatin1String("sleep"))
                   ? kShortLimitMs
                   : RegistrationEngine::waitLimitFor(file);
    }
};

// Reads each real message box once it shows as its message line, marked where its text is
// not shown as plain text or where it has more than one OK button, and closes it.
struct BoxReader {
    BoxReader() {
        poll.callOnTimeout([this] { read(); });
        poll.start(10);
    }
    void read() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            return;
        }
        const auto* label = box->findChild<QLabel*>(u"qt_msgbox_label"_s);
        const bool plain = box->textFormat() == Qt::PlainText && label &&
                           label->textFormat() == Qt::PlainText && label->text() == box->text();
        const MessageIcon icon = box->icon() == QMessageBox::Critical  ? MessageIcon::Critical
                                 : box->icon() == QMessageBox::Warning ? MessageIcon::Exclamation
                                                                       : MessageIcon::None;
        seen.append((plain ? QString() : u"MARKUP "_s) +
                    messageLine(box->text(), icon, box->windowTitle()) +
                    (box->standardButtons() == QMessageBox::Ok ? QString() : u" (not one OK)"_s));
        box->done(QMessageBox::Ok);
    }
    QTimer poll;
    QStringList seen;
};

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QStringList texts(const QListWidget* list, bool selectedOnly = false) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i) {
        if (!selectedOnly || list->item(i)->isSelected()) {
            all.append(list->item(i)->text());
        }
    }
    return all;
}

void select(QListWidget* list, const QStringList& names) {
    for (int i = 0; i < list->count(); ++i) {
        QListWidgetItem* item = list->item(i);
        item->setSelected(item->isSelected() || names.contains(item->text()));
    }
}

// Whether the accessible tree below the interface holds an item of that name.
bool hasAccessibleItem(QAccessibleInterface* node, const QString& name, int depth = 0) {
    for (int i = 0; node && depth <= 4 && i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child &&
            (child->text(QAccessible::Name) == name || hasAccessibleItem(child, name, depth + 1))) {
            return true;
        }
    }
    return false;
}

// Drags something onto the list; the drop only triggers that list's action.
bool drop(QListWidget* list) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/dropped.dll"))});
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(5, 5), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &enter);
    QDropEvent dropped(QPointF(6, 6), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(list->viewport(), &dropped);
    return enter.isAccepted() && dropped.isAccepted() && dropped.dropAction() == Qt::CopyAction;
}

// The buttons' index (register, unregister); the files added one by one in this order, "|"
// between runs; whose entry point ran; the messages.
const pv::test::Table<int, QString, QString, QStringList> kRun({"index", "files", "entered",
                                                                "expected"});
// Closed while a message shows, else between two files.
const pv::test::Table<bool, QString, QStringList> kClose({"duringMessage", "entered", "expected"});

// The warning for a typed pattern the file list cannot use.
QString badPattern(const QString& typed, const QString& kept) {
    return warning(
        u"The pattern %1 cannot be used: a pattern names files in the folder, such as "
        u"*.dll, and several are separated by \";\". The file list keeps %2."_s.arg(typed, kept));
}

const QStringList kLibsFiles = {"a.dll", "b.ocx", "c.dll", "UPPER.DLL"};
const QString kDone = plain(QStringLiteral("Registering completed"));
const QString kUndone = plain(QStringLiteral("UnRegistering completed"));

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QVERIFY(temp_.isValid());
        root_ = QDir::cleanPath(temp_.filePath(QStringLiteral("t%1").arg(++testNumber_)));
        libs_ = root_ + QStringLiteral("/libs");
        run_ = root_ + QStringLiteral("/run");
        QVERIFY(QDir().mkpath(libs_ + QStringLiteral("/sub")) && QDir().mkpath(run_));
        // The list tests only need names; the runs need real libraries.
        for (const char* name :
             {"a.dll", "b.ocx", "c.dll", "UPPER.DLL", "readme.txt", "sub/s.dll"}) {
            QVERIFY(QFile(libs_ + '/' + name).open(QIODevice::WriteOnly));
        }
        // More fixtures are copied in by add() as the tests need them.
        for (const char* name : {"good.dll", "goodctl.ocx", "notalib.dll", "provider.dll",
                                 "regonly.dll", "sleeper.dll"}) {
            QVERIFY(QFile::copy(fixture(name), run_ + '/' + name));
        }
        // Entries that are no regular files are never offered.
        QVERIFY(mkfifo(QFile::encodeName(libs_ + "/pipe.dll").constData(), 0600) == 0);
        QVERIFY(QDir().mkpath(libs_ + "/folder.dll"));
        QVERIFY(QFile::link(QStringLiteral("/dev/null"), libs_ + "/null.ocx"));
        QVERIFY(QFile::link(libs_ + "/pipe.dll", libs_ + "/pipe-link.dll"));
        QVERIFY(QFile::link(libs_ + "/missing.dll", libs_ + "/dangling.dll"));
        tracePath_ = root_ + QStringLiteral("/trace.txt");
        releasePath_ = root_ + QStringLiteral("/release");
        qputenv("OSTREL_TRACE", QFile::encodeName(tracePath_));
        qputenv("OSTREL_RELEASE", QFile::encodeName(releasePath_));

        messages_ = std::make_unique<RecordingMessages>();
        const QString startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(libs_ + QStringLiteral("/sub")));
        engine_ = std::make_unique<TestEngine>();
        window_ = std::make_unique<RegistrationWindow>(engine_.get());
        QVERIFY(QDir::setCurrent(startFolder));
    }

    void cleanup() {
        window_.reset();
        engine_.reset();
        messages_.reset();
        QVERIFY(releaseSleepers(releasePath_));
        QVERIFY(!isBusyPointer());
    }

    // The window opens one folder above the working folder, offering only regular files
    // and folders there, with the register list empty.
    void startState() {
        QCOMPARE(dir1()->path(), libs_);  // the parent of the working folder
        // Pipes, devices and links to them are offered neither as files nor as folders.
        QCOMPARE(texts(file1()), kLibsFiles);
        QStringList subfolders;
        for (int i = dir1()->currentRow() + 1; i < dir1()->count(); ++i) {
            subfolders.append(dir1()->item(i)->data(Qt::AccessibleTextRole).toString());
        }
        QCOMPARE(subfolders, QStringList({"folder.dll", "sub"}));
        QVERIFY(regList()->count() == 0 && !command(0)->isEnabled() && !command(1)->isEnabled());
        QCOMPARE(messages_->shown, QStringList());

        regList()->addItem(QStringLiteral("entry.dll"));
        QVERIFY(drive1()->currentIndex() >= 0);
        const QList<QPair<QWidget*, QString>> items = {{file1(), "a.dll"},
                                                       {regList(), "entry.dll"},
                                                       {dir1(), "sub"},
                                                       {drive1(), drive1()->currentText()}};
        for (const auto& [list, name] : items) {  // items a screen reader reaches
            QVERIFY2(hasAccessibleItem(QAccessible::queryAccessibleInterface(list), name),
                     qPrintable(name));
        }
    }

    void patternFollowsEveryKeystroke() {
        text1()->clear();
        QCOMPARE(file1()->count(), 5);  // an empty pattern lists every file
        const QList<QPair<char, int>> steps = {{'*', 5}, {'.', 0}, {'t', 0}, {'x', 0}, {'t', 1}};
        for (const auto& [key, count] : steps) {
            QTest::keyClick(text1(), key);
            QCOMPARE(file1()->count(), count);
        }
        text1()->setText(QStringLiteral("*.dll"));
        QTest::keyClick(text1(), '/');
        QCOMPARE(text1()->text(), QStringLiteral("*.dll"));
        QCOMPARE(texts(file1()), QStringList({"a.dll", "c.dll", "UPPER.DLL"}));
        QCOMPARE(messages_->shown, QStringList{badPattern("*.dll/", "*.dll")});
        QTest::keyClicks(text1(), QStringLiteral(";*.ocx"));
        QCOMPARE(texts(file1()), kLibsFiles);
        QCOMPARE(messages_->shown.size(), 1);
    }

    // Add Selected skips a file when an entry ends with its name (case-sensitive), Add All
    // when the name after an entry's last separator is the same.
    void addSelectedAndAddAll() {
        const QString other = native(QStringLiteral("/elsewhere/xa.dll"));
        const QString upper = native(QStringLiteral("/elsewhere/B.OCX"));
        regList()->addItems({other, upper});
        for (int round = 0; round < 2; ++round) {  // the second time appends nothing
            select(file1(), {"a.dll", "b.ocx"});
            image(0)->click();
            QCOMPARE(texts(regList()), QStringList({other, upper, inLibs("b.ocx")}));
            QCOMPARE(texts(file1(), true), QStringList());
        }
        select(file1(), {"c.dll"});
        image(2)->click();
        QCOMPARE(texts(regList()), QStringList({other, upper, inLibs("b.ocx"), inLibs("a.dll"),
                                                inLibs("c.dll"), inLibs("UPPER.DLL")}));
        QCOMPARE(texts(file1(), true), QStringList({"c.dll"}));
    }

    // Double-click, drops and picture buttons, with the buttons' states after each.
    void listActions() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        const QRect rect = file1()->visualItemRect(file1()->item(1));
        QTest::mouseClick(file1()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(file1()->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(texts(regList()), QStringList({inLibs("b.ocx")}));

        select(file1(), {"a.dll", "c.dll"});
        QVERIFY(drop(regList()));
        QCOMPARE(texts(file1(), true), QStringList());
        image(1)->click();  // nothing selected in the register list
        QCOMPARE(texts(regList()),
                 QStringList({inLibs("b.ocx"), inLibs("a.dll"), inLibs("c.dll")}));

        select(regList(), {inLibs("a.dll"), inLibs("b.ocx")});
        QVERIFY(drop(file1()));
        QCOMPARE(texts(regList()), QStringList({inLibs("c.dll")}));
        QCOMPARE(texts(file1()), kLibsFiles);
        QVERIFY(command(0)->isEnabled() && command(1)->isEnabled());
        select(regList(), {inLibs("c.dll")});
        image(1)->click();
        QVERIFY(regList()->count() == 0 && !command(0)->isEnabled() && !command(1)->isEnabled());
        image(2)->click();
        QCOMPARE(regList()->count(), 4);
        QVERIFY(command(0)->isEnabled() && command(1)->isEnabled());
        image(3)->click();
        QVERIFY(regList()->count() == 0 && !command(0)->isEnabled() && !command(1)->isEnabled());

        // With a pattern that matches nothing the actions add nothing and leave the
        // buttons as they are, enabled or not.
        for (const bool filled : {false, true}) {
            text1()->setText(QStringLiteral("*.dll"));
            if (filled) {
                image(2)->click();
            }
            const QStringList before = texts(regList());
            text1()->setText(QStringLiteral("*.none"));
            QCOMPARE(file1()->count(), 0);
            image(0)->click();
            image(2)->click();
            QCOMPARE(texts(regList()), before);
            QVERIFY(command(0)->isEnabled() == filled && command(1)->isEnabled() == filled);
        }
        QCOMPARE(messages_->shown, QStringList());
    }

    void runOutcomes_data() {
        kRun.columns();
        const auto& row = kRun;
        const QString regonly = QStringLiteral("%RUN%regonly.dll");
        row("last fails to load", 0, "good.dll notalib.dll", "good.dll", {kLoadFailure, kDone});
        row("only file fails to load", 0, "notalib.dll", "", {kLoadFailure});
        row("last times out", 0, "good.dll goodctl.ocx sleeper.dll",
            "good.dll goodctl.ocx sleeper.dll", {timeoutFailure("%RUN%sleeper.dll")});
        row("last has no unregister entry", 1, "good.dll regonly.dll", "good.dll",
            {entryFailure(regonly)});
        row("middle fails, last succeeds", 1, "goodctl.ocx regonly.dll good.dll",
            "goodctl.ocx good.dll", {entryFailure(regonly), kUndone});
        // The dependent links to a library that has the entry points; they are not its own.
        row("no DllRegisterServer of its own", 0, "good.dll noentry.ocx dependent.dll", "good.dll",
            {entryFailure("%RUN%noentry.ocx"), entryFailure("%RUN%dependent.dll")});
        row("entry points that do not return", 0, "throws.dll exits.dll cancels.ocx good.dll",
            "throws.dll exits.dll cancels.ocx good.dll",
            {timeoutFailure("%RUN%throws.dll"), timeoutFailure("%RUN%exits.dll"),
             timeoutFailure("%RUN%cancels.ocx"), kDone});
        // Each run starts without success: a failed run does not hold back the next, and a
        // success does not carry over into a run where nothing got past loading.
        row("a failed run, then a good one", 1, "regonly.dll | good.dll", "good.dll",
            {entryFailure(regonly), kUndone});
        row("a good run, then one that loads nothing", 0, "good.dll | notalib.dll", "good.dll",
            {kDone, kLoadFailure});
    }

    void runOutcomes() {
        auto [index, files, entered, expected] = kRun.fetch();
        QList<bool> busyWindow;
        // A click while the run shows its messages starts no second run.
        messages_->onShow = [this, index, &busyWindow] {
            busyWindow.append(window_->cursor().shape() == Qt::WaitCursor);
            command(index)->click();
        };
        for (const QString& run : files.split('|')) {
            add(run.split(' ', Qt::SkipEmptyParts), run_);
            command(index)->click();
            QVERIFY(regList()->count() == 0 && !command(0)->isEnabled() &&
                    !command(1)->isEnabled());
        }
        QCOMPARE(messages_->shown, expected.replaceInStrings("%RUN%", inRun("")));
        QCOMPARE(busyWindow, QList<bool>(expected.size(), true));
        QCOMPARE(window_->commandMode(), index == 0 ? QString() : QStringLiteral("u"));
        QCOMPARE(entryPointsRun(), ran(index, entered));
        QVERIFY(window_->cursor().shape() == Qt::ArrowCursor && !isBusyPointer());
    }

    // Closing the window ends the run after the file at hand: no later entry point runs
    // and no closing message shows.
    void closingDuringARun_data() {
        kClose.columns();
        kClose("while a message shows", true, "", {kLoadFailure});
        kClose("between two files", false, "good.dll", {});
    }

    void closingDuringARun() {
        const auto [duringMessage, entered, expected] = kClose.fetch();
        add({duringMessage ? "notalib.dll" : "good.dll", "goodctl.ocx", "regonly.dll"}, run_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        if (duringMessage) {
            messages_->onShow = [this] { window_->close(); };
        } else {  // taken up where the run lets pending events run
            QTimer::singleShot(0, window_.get(), &QWidget::close);
        }
        command(0)->click();
        QVERIFY(!window_->isVisible());
        QCOMPARE(messages_->shown, expected);
        QCOMPARE(entryPointsRun(), ran(0, entered));
        QVERIFY(window_->cursor().shape() == Qt::ArrowCursor && !isBusyPointer());
    }

    // The real message boxes of the program's window, made as main() makes it with the engine's
    // default limit: a path or a typed pattern is shown as it is, never as markup.
    void messageBoxesShowTheirTextAsItIs() {
        messages_.reset();
        window_ = std::make_unique<RegistrationWindow>();
        QCOMPARE(window_->engine().waitLimitMs(), 10000);
        const QString tagged = QStringLiteral("tag<b>bold.dll");
        QVERIFY(QFile::copy(fixture("regonly.dll"), run_ + '/' + tagged));
        add({tagged, "good.dll"}, run_);
        window_->show();
        BoxReader boxes;
        command(1)->click();  // the tagged library has no DllUnregisterServer
        text1()->setText(QStringLiteral("<i>/"));
        QCOMPARE(boxes.seen, QStringList({entryFailure(inRun(tagged)), kUndone,
                                          badPattern("<i>/", "*.ocx;*.dll")}));
    }

    void usableAfterTimeOut() {
        const auto runOne = [this](const QString& file, int index) {
            add({file}, run_);
            command(index)->click();
            return window_->waitResult();
        };
        QCOMPARE(runOne("sleeper.dll", 0), kWaitTimeout);
        QVERIFY(!window_->lastSucceeded());
        QCOMPARE(runOne("good.dll", 0), kWaitEnded);
        // The same library while the first worker still holds it; both may finish now.
        QVERIFY(QFile(releasePath_).open(QIODevice::WriteOnly));
        QCOMPARE(runOne("sleeper.dll", 1), kWaitEnded);
        QCOMPARE(messages_->shown,
                 QStringList({timeoutFailure(inRun("sleeper.dll")), kDone, kUndone}));
    }

    // The run takes the entry count at its start.
    void entriesRemovedDuringRun() {
        add({"notalib.dll", "good.dll", "goodctl.ocx"}, run_);
        messages_->onShow = [this] { image(3)->click(); };
        command(0)->click();
        QCOMPARE(messages_->shown,
                 QStringList({kLoadFailure, plain("Subscript out of range   9")}));
        QVERIFY(window_->cursor().shape() == Qt::ArrowCursor);
        QCOMPARE(entryPointsRun(), QStringList());
    }

    void unreadableFolderOrDriveKeepsThePrevious() {
        const QList<QListWidgetItem*> sub =
            dir1()->findItems(QStringLiteral("sub"), Qt::MatchEndsWith);
        QVERIFY(sub.size() == 1 && QDir(libs_ + "/sub").removeRecursively());
        dir1()->setCurrentItem(sub[0]);
        QTest::keyClick(dir1(), Qt::Key_Return);
        QVERIFY(!dir1()->setPath(libs_ + "/a.dll"));  // a file where a folder is asked for
        QCOMPARE(dir1()->path(), libs_);
        QCOMPARE(texts(file1()), kLibsFiles);

        const QString missing = root_ + "/missing";
        window_->setDrives({libs_, missing, run_});
        drive1()->setCurrentIndex(1);
        QCOMPARE(drive1()->currentIndex(), 0);
        QCOMPARE(dir1()->path(), libs_);
        QCOMPARE(messages_->shown,
                 QStringList(
                     {warning("The folder " + inLibs("sub") +
                              " cannot be read. The folder list stays at " + native(libs_) + "."),
                      warning("The drive " + native(missing) +
                              " cannot be read. The drive list stays at " + native(libs_) + ".")}));
        drive1()->setCurrentIndex(2);
        QCOMPARE(dir1()->path(), run_);
        QCOMPARE(file1()->count(), 6);
        QCOMPARE(messages_->shown.size(), 2);
    }

    void keyboardAlone() {
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        const auto tabTo = [](const char* name) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            return QApplication::focusWidget()->objectName() == QLatin1String(name);
        };
        dir1()->setFocus();
        QTest::keySequence(dir1(), QKeySequence(Qt::Key_Up, Qt::Key_Return));  // to the parent
        QCOMPARE(dir1()->path(), root_);
        QTest::keySequence(dir1(), QKeySequence(Qt::Key_Down, Qt::Key_Down, Qt::Key_Return));
        QCOMPARE(window_->filesFolder(), native(run_));
        QVERIFY(tabTo("Drive1") && tabTo("Text1") && tabTo("File1"));
        QTest::keySequence(
            file1(), QKeySequence(QKeyCombination(Qt::Key_Home), Qt::ShiftModifier | Qt::Key_Down));
        QVERIFY(tabTo("Image1_0"));
        QTest::keyClick(image(0), Qt::Key_Space);
        QCOMPARE(texts(regList()), QStringList({inRun("good.dll"), inRun("goodctl.ocx")}));
        for (const char* next : {"Image1_1", "Image1_2", "Image1_3", "RegList", "Command1_0"}) {
            QVERIFY2(tabTo(next), next);
        }
        QTest::keyClick(command(0), Qt::Key_Space);
        QCOMPARE(messages_->shown, QStringList({kDone}));
        QTest::keyClick(image(2), Qt::Key_Return);
        QCOMPARE(regList()->count(), 6);
        window_->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();  // ends at once
        QVERIFY(!window_->isVisible());
        QCOMPARE(messages_->shown.size(), 1);
    }

private:
    FolderList* dir1() { return window_->findChild<FolderList*>(u"Dir1"_s); }
    QComboBox* drive1() { return window_->findChild<QComboBox*>(u"Drive1"_s); }
    QLineEdit* text1() { return window_->findChild<QLineEdit*>(u"Text1"_s); }
    QListWidget* file1() { return window_->findChild<QListWidget*>(u"File1"_s); }
    QListWidget* regList() { return window_->findChild<QListWidget*>(u"RegList"_s); }
    QToolButton* image(int i) { return window_->findChild<QToolButton*>(u"Image1_%1"_s.arg(i)); }
    QPushButton* command(int i) {
        return window_->findChild<QPushButton*>(u"Command1_%1"_s.arg(i));
    }
    QString inLibs(const QString& name) { return native(libs_ + '/' + name); }
    QString inRun(const QString& name) { return native(run_ + '/' + name); }
    QStringList entryPointsRun() { return readTrace(tracePath_).filter(u"Server "_s); }
    // The trace lines of the entry point of the button at that index in the run folder's files.
    QStringList ran(int index, const QString& names) {
        QStringList lines;
        for (const QString& name : names.split(' ', Qt::SkipEmptyParts)) {
            lines << (index == 0 ? "DllRegisterServer " : "DllUnregisterServer ") + inRun(name);
        }
        return lines;
    }
    // Goes to the folder and adds the files by Add Selected, one at a time in this order.
    // Fixture libraries the run folder does not hold yet are copied in first.
    void add(const QStringList& names, const QString& folder) {
        for (const QString& name : names) {
            const QString copy = run_ + '/' + name;
            if (folder == run_ && !QFile::exists(copy)) {
                QVERIFY(QFile::copy(fixture(name), copy));
            }
        }
        QVERIFY(dir1()->setPath(folder));
        for (const QString& name : names) {
            select(file1(), {name});
            image(0)->click();
        }
    }

    QTemporaryDir temp_;
    QString root_, libs_, run_, tracePath_, releasePath_;
    int testNumber_ = 0;
    std::unique_ptr<RecordingMessages> messages_;
    std::unique_ptr<TestEngine> engine_;
    std::unique_ptr<RegistrationWindow> window_;
};

QTEST_MAIN(WindowTest)
#include "tst_registrationwindow.moc"
