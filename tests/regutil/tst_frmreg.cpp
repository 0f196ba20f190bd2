#include "frmreg.h"
#include "reglistrules.h"
#include "regtest.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace ostrel;

namespace {

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
        list->item(i)->setSelected(list->item(i)->isSelected() ||
                                   names.contains(list->item(i)->text()));
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

const QStringList kLibsFiles = {"a.dll", "b.ocx", "c.dll", "f.ocx", "r.dll", "UPPER.DLL"};
const QStringList kRunFiles = {"good1.dll", "good2.ocx", "regonly.dll", "sleep.dll", "text.dll"};
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
        const char* copies[][2] = {
            {"good.dll", "libs/a.dll"},         {"goodctl.ocx", "libs/b.ocx"},
            {"good.dll", "libs/c.dll"},         {"failcode.ocx", "libs/f.ocx"},
            {"regonly.dll", "libs/r.dll"},      {"good.dll", "libs/UPPER.DLL"},
            {"notalib.dll", "libs/readme.txt"}, {"good.dll", "libs/sub/s.dll"},
            {"good.dll", "run/good1.dll"},      {"goodctl.ocx", "run/good2.ocx"},
            {"regonly.dll", "run/regonly.dll"}, {"sleeper.dll", "run/sleep.dll"},
            {"notalib.dll", "run/text.dll"}};
        for (const auto& [from, to] : copies) {
            QVERIFY(QFile::copy(fixture(from), root_ + '/' + to));
        }
        tracePath_ = root_ + QStringLiteral("/trace.txt");
        releasePath_ = root_ + QStringLiteral("/release");
        qputenv("OSTREL_TRACE", QFile::encodeName(tracePath_));
        qputenv("OSTREL_RELEASE", QFile::encodeName(releasePath_));

        messages_ = std::make_unique<RecordingMessages>();
        const QString startFolder = QDir::currentPath();
        QVERIFY(QDir::setCurrent(libs_ + QStringLiteral("/sub")));
        window_ = std::make_unique<RegistrationWindow>(300);
        QVERIFY(QDir::setCurrent(startFolder));
    }

    void cleanup() {
        window_.reset();
        messages_.reset();
        QVERIFY(releaseSleepers(releasePath_));
        QVERIFY(!isBusyPointer());
    }

    void startState() {
        QCOMPARE(window_->objectName(), QStringLiteral("frmreg"));
        QCOMPARE(window_->windowTitle(), QStringLiteral("Auto Object Registery"));
        QCOMPARE(dir1()->path(), libs_);  // the parent of the working folder
        QCOMPARE(window_->filesFolder(), native(libs_));
        QCOMPARE(text1()->text(), QStringLiteral("*.ocx;*.dll"));
        QCOMPARE(texts(file1()), kLibsFiles);
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled() && !command(1)->isEnabled());
        QCOMPARE(command(0)->text(), QStringLiteral("Register"));
        QCOMPARE(command(1)->text(), QStringLiteral("UnRegister"));
        QVERIFY(drive1()->currentIndex() >= 0);
        const char* captions[4] = {"Add Selected", "Remove Selected", "Add All", "Remove All"};
        const int labelOf[4] = {2, 1, 0, 3};
        for (int i = 0; i < 4; ++i) {
            auto* label = window_->findChild<QLabel*>(QStringLiteral("Label1_%1").arg(labelOf[i]));
            QVERIFY(label && label->buddy() == image(i));
            QCOMPARE(label->text(), QString::fromLatin1(captions[i]));
            QCOMPARE(image(i)->accessibleName(), QString::fromLatin1(captions[i]));
        }
        auto* fileMenu = window_->findChild<QMenu*>(QStringLiteral("mnufile"));
        auto* exitAction = window_->findChild<QAction*>(QStringLiteral("mnuExit"));
        QVERIFY(fileMenu && exitAction && fileMenu->actions().contains(exitAction));
        QCOMPARE(fileMenu->title(), QStringLiteral("&File"));
        QCOMPARE(exitAction->text(), QStringLiteral("E&xit"));
        QCOMPARE(messages_->shown, QStringList());
    }

    void patternFollowsEveryKeystroke() {
        text1()->clear();
        QCOMPARE(file1()->count(), 7);  // an empty pattern lists every file
        const QList<QPair<char, int>> steps = {{'*', 7}, {'.', 0}, {'t', 0}, {'x', 0}, {'t', 1}};
        for (const auto& [key, count] : steps) {
            QTest::keyClick(text1(), key);
            QCOMPARE(file1()->count(), count);
        }
        QCOMPARE(texts(file1()), QStringList({"readme.txt"}));
        // Typing a class passes through an unclosed "[" without complaint.
        text1()->clear();
        QTest::keyClicks(text1(), QStringLiteral("[ab]*"));
        QCOMPARE(texts(file1()), QStringList({"a.dll", "b.ocx"}));
        QCOMPARE(messages_->shown, QStringList());
    }

    void unusablePatternIsRefused() {
        text1()->setText(QStringLiteral("*.dll"));
        const QStringList dlls = {"a.dll", "c.dll", "r.dll", "UPPER.DLL"};
        QCOMPARE(texts(file1()), dlls);
        QTest::keyClick(text1(), '/');
        QCOMPARE(text1()->text(), QStringLiteral("*.dll"));
        QCOMPARE(texts(file1()), dlls);
        QCOMPARE(messages_->shown,
                 QStringList{warning(
                     "The pattern *.dll/ cannot be used: a pattern names files in the folder, such "
                     "as *.dll, and several are separated by \";\". The file list keeps *.dll.")});
        QTest::keyClicks(text1(), QStringLiteral(";*.ocx"));
        QCOMPARE(texts(file1()), kLibsFiles);
        QCOMPARE(messages_->shown.size(), 1);
    }

    void addSelectedTwiceAppendsOnce() {
        const QStringList added = {native(libs_ + "/a.dll"), native(libs_ + "/b.ocx")};
        for (int round = 0; round < 2; ++round) {
            select(file1(), {"a.dll", "b.ocx"});
            image(0)->click();
            QCOMPARE(texts(regList()), added);
            QCOMPARE(texts(file1(), true), QStringList());
            QVERIFY(command(0)->isEnabled() && command(1)->isEnabled());
        }
    }

    // Add Selected tests whether an entry ends with the name (case-sensitive), Add All
    // whether the name after the last separator is the same.
    void presenceTestsOfAddSelectedAndAddAll() {
        const QString other = native(QStringLiteral("/elsewhere/xa.dll"));
        const QString upper = native(QStringLiteral("/elsewhere/B.OCX"));
        regList()->addItems({other, upper});
        select(file1(), {"a.dll", "b.ocx"});
        image(0)->click();
        QCOMPARE(texts(regList()), QStringList({other, upper, native(libs_ + "/b.ocx")}));
        QCOMPARE(texts(file1(), true), QStringList());

        select(file1(), {"c.dll"});
        image(2)->click();
        QCOMPARE(texts(regList()),
                 QStringList({other, upper, native(libs_ + "/b.ocx"), native(libs_ + "/a.dll"),
                              native(libs_ + "/c.dll"), native(libs_ + "/f.ocx"),
                              native(libs_ + "/r.dll"), native(libs_ + "/UPPER.DLL")}));
        QCOMPARE(texts(file1(), true), QStringList({"c.dll"}));
    }

    void removeRulesAndButtonStates() {
        select(file1(), {"a.dll", "b.ocx", "c.dll"});
        image(0)->click();
        image(1)->click();  // nothing selected in the register list
        QCOMPARE(regList()->count(), 3);
        select(regList(), {native(libs_ + "/b.ocx"), native(libs_ + "/c.dll")});
        image(1)->click();
        QCOMPARE(texts(regList()), QStringList({native(libs_ + "/a.dll")}));
        QVERIFY(command(0)->isEnabled() && command(1)->isEnabled());
        select(regList(), {native(libs_ + "/a.dll")});
        image(1)->click();
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled() && !command(1)->isEnabled());

        image(2)->click();
        QCOMPARE(regList()->count(), 6);
        QVERIFY(command(0)->isEnabled() && command(1)->isEnabled());
        image(3)->click();
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled() && !command(1)->isEnabled());

        text1()->setText(QStringLiteral("*.none"));  // nothing to add
        image(2)->click();
        image(0)->click();
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled());
    }

    void doubleClickAndDrops() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        const QRect rect = file1()->visualItemRect(file1()->item(1));
        QTest::mouseClick(file1()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(file1()->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(texts(regList()), QStringList({native(libs_ + "/b.ocx")}));
        QCOMPARE(texts(file1(), true), QStringList());

        select(file1(), {"a.dll", "c.dll"});
        QVERIFY(drop(regList()));
        QCOMPARE(texts(regList()), QStringList({native(libs_ + "/b.ocx"), native(libs_ + "/a.dll"),
                                                native(libs_ + "/c.dll")}));
        QCOMPARE(texts(file1(), true), QStringList());

        select(regList(), {native(libs_ + "/a.dll"), native(libs_ + "/b.ocx")});
        QVERIFY(drop(file1()));
        QCOMPARE(texts(regList()), QStringList({native(libs_ + "/c.dll")}));
        QCOMPARE(texts(file1()), kLibsFiles);
    }

    void registerAndUnregisterRuns() {
        QList<bool> busyWindow;
        messages_->onShow = [this, &busyWindow] {
            busyWindow.append(window_->testAttribute(Qt::WA_SetCursor) &&
                              window_->cursor().shape() == Qt::WaitCursor);
        };
        for (int index : {0, 1}) {
            select(file1(), {"a.dll", "c.dll"});
            image(0)->click();
            command(index)->click();
            QCOMPARE(window_->commandMode(), index == 0 ? QString() : QStringLiteral("u"));
            QCOMPARE(regList()->count(), 0);
            QVERIFY(!command(0)->isEnabled() && !command(1)->isEnabled());
            QVERIFY(window_->cursor().shape() == Qt::ArrowCursor);
        }
        QCOMPARE(messages_->shown, QStringList({kDone, kUndone}));
        QCOMPARE(busyWindow, QList<bool>({true, true}));
        QCOMPARE(readTrace(tracePath_).filter(QStringLiteral("Server ")),
                 QStringList({"DllRegisterServer " + native(libs_ + "/a.dll"),
                              "DllRegisterServer " + native(libs_ + "/c.dll"),
                              "DllUnregisterServer " + native(libs_ + "/a.dll"),
                              "DllUnregisterServer " + native(libs_ + "/c.dll")}));
    }

    void runOutcomes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("last fails to load")
            << 0 << QStringList{"good1.dll", "text.dll"} << QStringList{kLoadFailure, kDone};
        QTest::newRow("only file fails to load")
            << 0 << QStringList{"text.dll"} << QStringList{kLoadFailure};
        QTest::newRow("last times out") << 0 << QStringList{"good1.dll", "good2.ocx", "sleep.dll"}
                                        << QStringList{timeoutFailure("%RUN%/sleep.dll")};
        QTest::newRow("last has no unregister entry")
            << 1 << QStringList{"good1.dll", "regonly.dll"}
            << QStringList{entryFailure("%RUN%/regonly.dll")};
        QTest::newRow("middle fails, last succeeds")
            << 1 << QStringList{"good2.ocx", "regonly.dll", "good1.dll"}
            << QStringList{entryFailure("%RUN%/regonly.dll"), kUndone};
    }

    void runOutcomes() {
        QFETCH(int, index);
        QFETCH(QStringList, files);
        QFETCH(QStringList, expected);
        expected.replaceInStrings(QStringLiteral("%RUN%/"), native(run_) + pathSeparator());
        QVERIFY(dir1()->setPath(run_));
        QCOMPARE(texts(file1()), kRunFiles);
        for (const QString& file : files) {
            select(file1(), {file});
            image(0)->click();
        }
        // A click while the run shows its messages starts no second run.
        messages_->onShow = [this, index] { command(index)->click(); };
        command(index)->click();
        QCOMPARE(messages_->shown, expected);
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled());
        QVERIFY(window_->cursor().shape() == Qt::ArrowCursor);
        QVERIFY(!isBusyPointer());
    }

    void usableAfterTimeOut() {
        QVERIFY(dir1()->setPath(run_));
        const auto runOne = [this](const QString& file, int index) {
            select(file1(), {file});
            image(0)->click();
            command(index)->click();
            return window_->waitResult();
        };
        QCOMPARE(runOne("sleep.dll", 0), kWaitTimeout);
        QVERIFY(!window_->lastSucceeded());
        QCOMPARE(runOne("good1.dll", 0), kWaitEnded);
        QVERIFY(releaseSleepers(releasePath_));  // the same library, now free to finish
        QCOMPARE(runOne("sleep.dll", 1), kWaitEnded);
        QCOMPARE(messages_->shown,
                 QStringList({timeoutFailure(native(run_ + "/sleep.dll")), kDone, kUndone}));
    }

    void entriesRemovedDuringRun() {
        QVERIFY(dir1()->setPath(run_));
        for (const QString& file : QStringList{"text.dll", "good1.dll", "good2.ocx"}) {
            select(file1(), {file});
            image(0)->click();
        }
        messages_->onShow = [this] { image(3)->click(); };
        command(0)->click();
        QCOMPARE(messages_->shown,
                 QStringList({kLoadFailure, plain("Subscript out of range   9")}));
        QVERIFY(window_->cursor().shape() == Qt::ArrowCursor);
        QVERIFY(readTrace(tracePath_).filter(QStringLiteral("Server ")).isEmpty());
    }

    void unreadableFolderKeepsTheList() {
        const QList<QListWidgetItem*> sub =
            dir1()->findItems(QStringLiteral("sub"), Qt::MatchEndsWith);
        QCOMPARE(sub.size(), 1);
        QVERIFY(QDir(libs_ + "/sub").removeRecursively());
        dir1()->setCurrentItem(sub[0]);
        QTest::keyClick(dir1(), Qt::Key_Return);
        QCOMPARE(dir1()->path(), libs_);
        QCOMPARE(texts(file1()), kLibsFiles);
        QCOMPARE(messages_->shown,
                 QStringList{warning("The folder " + native(libs_ + "/sub") +
                                     " cannot be read. The folder list stays at " + native(libs_) +
                                     ".")});
        QVERIFY(!dir1()->setPath(libs_ + "/a.dll"));  // a file where a folder is asked for
        QCOMPARE(dir1()->path(), libs_);
    }

    void unreadableDriveKeepsTheDrive() {
        const QString missing = root_ + "/missing";
        window_->setDrives({libs_, missing, run_});
        QCOMPARE(drive1()->currentIndex(), 0);
        drive1()->setCurrentIndex(1);
        QCOMPARE(drive1()->currentIndex(), 0);
        QCOMPARE(dir1()->path(), libs_);
        QCOMPARE(messages_->shown, QStringList{warning("The drive " + native(missing) +
                                                       " cannot be read. The drive list stays at " +
                                                       native(libs_) + ".")});
        drive1()->setCurrentIndex(2);
        QCOMPARE(dir1()->path(), run_);
        QCOMPARE(texts(file1()), kRunFiles);
        QCOMPARE(messages_->shown.size(), 1);
    }

    void everyControlIsAccessible() {
        for (QWidget* widget : window_->findChildren<QWidget*>()) {
            if (widget->focusPolicy() & Qt::TabFocus) {
                QVERIFY2(!widget->accessibleName().isEmpty(), qPrintable(widget->objectName()));
            }
        }
        select(file1(), {"b.ocx"});
        image(0)->click();
        window_->setDrives({libs_, run_});
        const QList<QPair<QWidget*, QString>> items = {{file1(), "a.dll"},
                                                       {regList(), native(libs_ + "/b.ocx")},
                                                       {dir1(), "sub"},
                                                       {drive1(), native(run_)}};
        for (const auto& [list, name] : items) {
            QVERIFY2(hasAccessibleItem(QAccessible::queryAccessibleInterface(list), name),
                     qPrintable(name));
        }
    }

    void keyboardAlone() {
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        const auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), k, mods);
        };
        const auto tabTo = [&key](const char* name) {
            key(Qt::Key_Tab);
            const QWidget* focused = QApplication::focusWidget();
            return focused && focused->objectName() == QLatin1String(name);
        };
        // Choose the folder: up to the parent, then down to "run".
        dir1()->setFocus();
        key(Qt::Key_Up);
        key(Qt::Key_Return);
        QCOMPARE(dir1()->path(), root_);
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QCOMPARE(dir1()->path(), run_);
        QCOMPARE(window_->filesFolder(), native(run_));

        QVERIFY(tabTo("Drive1") && tabTo("Text1") && tabTo("File1"));
        key(Qt::Key_Home);
        key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(texts(file1(), true), QStringList({"good1.dll", "good2.ocx"}));
        QVERIFY(tabTo("Image1_0"));
        key(Qt::Key_Space);
        QCOMPARE(texts(regList()),
                 QStringList({native(run_ + "/good1.dll"), native(run_ + "/good2.ocx")}));
        for (const char* next : {"Image1_1", "Image1_2", "Image1_3", "RegList", "Command1_0"}) {
            QVERIFY2(tabTo(next), next);
        }
        key(Qt::Key_Space);
        QCOMPARE(messages_->shown, QStringList({kDone}));
        QCOMPARE(regList()->count(), 0);
        image(2)->setFocus();
        key(Qt::Key_Return);
        QCOMPARE(regList()->count(), kRunFiles.size());
    }

    void exitEndsAtOnce() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        window_->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
        QVERIFY(!window_->isVisible());
        QCOMPARE(messages_->shown, QStringList());
    }

private:
    FolderList* dir1() { return window_->findChild<FolderList*>(QStringLiteral("Dir1")); }
    QComboBox* drive1() { return window_->findChild<QComboBox*>(QStringLiteral("Drive1")); }
    QLineEdit* text1() { return window_->findChild<QLineEdit*>(QStringLiteral("Text1")); }
    QListWidget* file1() { return window_->findChild<QListWidget*>(QStringLiteral("File1")); }
    QListWidget* regList() { return window_->findChild<QListWidget*>(QStringLiteral("RegList")); }
    QToolButton* image(int i) {
        return window_->findChild<QToolButton*>(QStringLiteral("Image1_%1").arg(i));
    }
    QPushButton* command(int i) {
        return window_->findChild<QPushButton*>(QStringLiteral("Command1_%1").arg(i));
    }

    QTemporaryDir temp_;
    QString root_, libs_, run_, tracePath_, releasePath_;
    int testNumber_ = 0;
    std::unique_ptr<RecordingMessages> messages_;
    std::unique_ptr<RegistrationWindow> window_;
};

QTEST_MAIN(WindowTest)
#include "tst_frmreg.moc"