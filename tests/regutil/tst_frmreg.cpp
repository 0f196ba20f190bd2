#include "frmreg.h"
#include "reglistrules.h"
#include "regtest.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
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

QStringList texts(const QListWidget* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i) {
        all.append(list->item(i)->text());
    }
    return all;
}

QStringList selectedTexts(const QListWidget* list) {
    QStringList all;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) {
            all.append(list->item(i)->text());
        }
    }
    return all;
}

void select(QListWidget* list, const QStringList& names) {
    for (int i = 0; i < list->count(); ++i) {
        if (names.contains(list->item(i)->text())) {
            list->item(i)->setSelected(true);
        }
    }
}

bool copyFixture(const QString& fixtureName, const QString& target) {
    return QFile::copy(fixture(fixtureName), target);
}

// Whether the accessible tree below the interface holds an item of that name.
bool hasAccessibleItem(QAccessibleInterface* node, const QString& name, int depth = 0) {
    if (!node || depth > 4) {
        return false;
    }
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child &&
            (child->text(QAccessible::Name) == name || hasAccessibleItem(child, name, depth + 1))) {
            return true;
        }
    }
    return false;
}

QString timeoutFailure(const QString& file) {
    return QStringLiteral("Registration failed in signaled state or time-out for ") + file +
           QLatin1Char('.');
}

QString entryFailure(const QString& file) {
    return QStringLiteral("Registration failed in obtaining entry point or creating thread for ") +
           file + QLatin1Char('.');
}

const QString kLoadFailure = QStringLiteral("Failure loading control DLL");
const QStringList kLibsFiles = {"a.dll", "b.ocx", "c.dll", "f.ocx", "r.dll", "UPPER.DLL"};
const QStringList kRunFiles = {"good1.dll", "good2.ocx", "regonly.dll", "sleep.dll", "text.dll"};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(temp_.isValid());
        startFolder_ = QDir::currentPath();
    }

    void init() {
        root_ = QDir::cleanPath(temp_.filePath(QStringLiteral("t%1").arg(++testNumber_)));
        libs_ = root_ + QStringLiteral("/libs");
        run_ = root_ + QStringLiteral("/run");
        QVERIFY(QDir().mkpath(libs_ + QStringLiteral("/sub")));
        QVERIFY(QDir().mkpath(run_));
        QVERIFY(copyFixture("good.dll", libs_ + "/a.dll"));
        QVERIFY(copyFixture("goodctl.ocx", libs_ + "/b.ocx"));
        QVERIFY(copyFixture("good.dll", libs_ + "/c.dll"));
        QVERIFY(copyFixture("failcode.ocx", libs_ + "/f.ocx"));
        QVERIFY(copyFixture("regonly.dll", libs_ + "/r.dll"));
        QVERIFY(copyFixture("good.dll", libs_ + "/UPPER.DLL"));
        QVERIFY(copyFixture("notalib.dll", libs_ + "/readme.txt"));
        QVERIFY(copyFixture("good.dll", libs_ + "/sub/s.dll"));
        QVERIFY(copyFixture("good.dll", run_ + "/good1.dll"));
        QVERIFY(copyFixture("goodctl.ocx", run_ + "/good2.ocx"));
        QVERIFY(copyFixture("regonly.dll", run_ + "/regonly.dll"));
        QVERIFY(copyFixture("sleeper.dll", run_ + "/sleep.dll"));
        QVERIFY(copyFixture("notalib.dll", run_ + "/text.dll"));
        tracePath_ = root_ + QStringLiteral("/trace.txt");
        releasePath_ = root_ + QStringLiteral("/release");
        qputenv("OSTREL_TRACE", QFile::encodeName(tracePath_));
        qputenv("OSTREL_RELEASE", QFile::encodeName(releasePath_));

        messages_ = std::make_unique<RecordingMessages>();
        QVERIFY(QDir::setCurrent(libs_ + QStringLiteral("/sub")));
        window_ = std::make_unique<RegistrationWindow>(300);
        QVERIFY(QDir::setCurrent(startFolder_));
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
        QCOMPARE(dir1()->path(), libs_);
        QCOMPARE(window_->filesFolder(), native(libs_));
        QCOMPARE(text1()->text(), QStringLiteral("*.ocx;*.dll"));
        QCOMPARE(texts(file1()), kLibsFiles);
        QCOMPARE(file1()->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(regList()->selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled());
        QVERIFY(!command(1)->isEnabled());
        QCOMPARE(command(0)->text(), QStringLiteral("Register"));
        QCOMPARE(command(1)->text(), QStringLiteral("UnRegister"));
        QVERIFY(window_->findChild<QGroupBox*>(QStringLiteral("Frame1")));
        QVERIFY(drive1()->count() > 0);
        QVERIFY(drive1()->currentIndex() >= 0);
        QCOMPARE(messages_->shown.size(), 0);

        const char* captions[4][2] = {{"Label1_2", "Add Selected"},
                                      {"Label1_1", "Remove Selected"},
                                      {"Label1_0", "Add All"},
                                      {"Label1_3", "Remove All"}};
        for (int i = 0; i < 4; ++i) {
            auto* label = window_->findChild<QLabel*>(QString::fromLatin1(captions[i][0]));
            QVERIFY(label);
            QCOMPARE(label->text(), QString::fromLatin1(captions[i][1]));
            QCOMPARE(label->buddy(), image(i));
            QCOMPARE(image(i)->accessibleName(), QString::fromLatin1(captions[i][1]));
        }

        auto* fileMenu = window_->findChild<QMenu*>(QStringLiteral("mnufile"));
        QVERIFY(fileMenu);
        QCOMPARE(fileMenu->title(), QStringLiteral("&File"));
        auto* exitAction = window_->findChild<QAction*>(QStringLiteral("mnuExit"));
        QVERIFY(exitAction);
        QCOMPARE(exitAction->text(), QStringLiteral("E&xit"));
        QVERIFY(fileMenu->actions().contains(exitAction));
    }

    void patternFollowsEveryKeystroke() {
        text1()->clear();
        QCOMPARE(texts(file1()).size(), 7);  // an empty pattern lists every file
        const QList<QPair<char, int>> steps = {{'*', 7}, {'.', 0}, {'t', 0}, {'x', 0}, {'t', 1}};
        for (const auto& [key, count] : steps) {
            QTest::keyClick(text1(), key);
            QCOMPARE(texts(file1()).size(), count);
        }
        QCOMPARE(texts(file1()), QStringList({"readme.txt"}));

        // Typing a class passes through an unclosed "[" without complaint.
        text1()->clear();
        QTest::keyClicks(text1(), QStringLiteral("[ab]*"));
        QCOMPARE(text1()->text(), QStringLiteral("[ab]*"));
        QCOMPARE(texts(file1()), QStringList({"a.dll", "b.ocx"}));
        QCOMPARE(messages_->shown.size(), 0);
    }

    void unusablePatternIsRefused() {
        text1()->setText(QStringLiteral("*.dll"));
        const QStringList dlls = {"a.dll", "c.dll", "r.dll", "UPPER.DLL"};
        QCOMPARE(texts(file1()), dlls);
        QTest::keyClick(text1(), '/');
        QCOMPARE(text1()->text(), QStringLiteral("*.dll"));
        QCOMPARE(texts(file1()), dlls);
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown[0].text,
                 QStringLiteral("The pattern *.dll/ cannot be used: a pattern names files in the "
                                "folder, such as *.dll, and several are separated by \";\". The "
                                "file list keeps *.dll."));
        QCOMPARE(messages_->shown[0].flags, 48);
        QCOMPARE(messages_->shown[0].title, QStringLiteral("Ostrel32"));
        QTest::keyClicks(text1(), QStringLiteral(";*.ocx"));
        QCOMPARE(texts(file1()), kLibsFiles);
        QCOMPARE(messages_->shown.size(), 1);
    }

    void addSelectedTwiceAppendsOnce() {
        select(file1(), {"a.dll", "b.ocx"});
        image(0)->click();
        const QStringList added = {native(libs_ + "/a.dll"), native(libs_ + "/b.ocx")};
        QCOMPARE(texts(regList()), added);
        QCOMPARE(selectedTexts(file1()), QStringList());
        QVERIFY(command(0)->isEnabled());
        QVERIFY(command(1)->isEnabled());

        select(file1(), {"a.dll", "b.ocx"});
        image(0)->click();
        QCOMPARE(texts(regList()), added);
        QCOMPARE(selectedTexts(file1()), QStringList());
    }

    void presenceTestsOfAddSelectedAndAddAll() {
        // "xa.dll" ends with "a.dll": present for Add Selected, not for Add All.
        const QString other = native(QStringLiteral("/elsewhere/xa.dll"));
        regList()->addItem(other);
        select(file1(), {"a.dll"});
        image(0)->click();
        QCOMPARE(texts(regList()), QStringList({other}));
        QCOMPARE(selectedTexts(file1()), QStringList());

        // The suffix test is case-sensitive.
        regList()->addItem(native(QStringLiteral("/elsewhere/B.OCX")));
        select(file1(), {"b.ocx"});
        image(0)->click();
        QCOMPARE(texts(regList()).last(), native(libs_ + "/b.ocx"));

        image(2)->click();
        QCOMPARE(texts(regList()),
                 QStringList({other, native("/elsewhere/B.OCX"), native(libs_ + "/b.ocx"),
                              native(libs_ + "/a.dll"), native(libs_ + "/c.dll"),
                              native(libs_ + "/f.ocx"), native(libs_ + "/r.dll"),
                              native(libs_ + "/UPPER.DLL")}));
    }

    void addAllSkipsListedAndKeepsSelection() {
        select(file1(), {"c.dll"});
        image(0)->click();
        select(file1(), {"b.ocx"});
        image(2)->click();
        QCOMPARE(texts(regList()),
                 QStringList({native(libs_ + "/c.dll"), native(libs_ + "/a.dll"),
                              native(libs_ + "/b.ocx"), native(libs_ + "/f.ocx"),
                              native(libs_ + "/r.dll"), native(libs_ + "/UPPER.DLL")}));
        QCOMPARE(selectedTexts(file1()), QStringList({"b.ocx"}));
        QVERIFY(command(0)->isEnabled());
    }

    void emptyFileListLeavesButtonsAlone() {
        text1()->setText(QStringLiteral("*.none"));
        QCOMPARE(file1()->count(), 0);
        image(2)->click();
        image(0)->click();
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled());
    }

    void removeRulesAndButtonStates() {
        select(file1(), {"a.dll", "b.ocx", "c.dll"});
        image(0)->click();
        image(1)->click();  // nothing selected in the register list
        QCOMPARE(regList()->count(), 3);

        select(regList(), {native(libs_ + "/b.ocx"), native(libs_ + "/c.dll")});
        image(1)->click();
        QCOMPARE(texts(regList()), QStringList({native(libs_ + "/a.dll")}));
        QVERIFY(command(0)->isEnabled());
        QVERIFY(command(1)->isEnabled());

        select(regList(), {native(libs_ + "/a.dll")});
        image(1)->click();
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled());
        QVERIFY(!command(1)->isEnabled());

        image(2)->click();
        QCOMPARE(regList()->count(), 6);
        QVERIFY(command(1)->isEnabled());
        image(3)->click();
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled());
        QVERIFY(!command(1)->isEnabled());
        image(3)->click();
        QVERIFY(!command(0)->isEnabled());
    }

    void doubleClickAddsSelected() {
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        const QRect rect = file1()->visualItemRect(file1()->item(1));
        QTest::mouseClick(file1()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(file1()->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(texts(regList()), QStringList({native(libs_ + "/b.ocx")}));
        QCOMPARE(selectedTexts(file1()), QStringList());
    }

    void dropsTriggerTheActions() {
        QMimeData data;
        data.setText(QStringLiteral("/tmp/dropped.dll"));
        data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/dropped.dll"))});

        select(file1(), {"a.dll", "c.dll"});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(regList()->viewport(), &enter);
        QVERIFY(enter.isAccepted());
        QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(regList()->viewport(), &move);
        QVERIFY(move.isAccepted());
        QDropEvent drop(QPointF(6, 6), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(regList()->viewport(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QCOMPARE(texts(regList()),
                 QStringList({native(libs_ + "/a.dll"), native(libs_ + "/c.dll")}));
        QCOMPARE(selectedTexts(file1()), QStringList());
        QVERIFY(command(0)->isEnabled());

        select(regList(), {native(libs_ + "/a.dll")});
        QDragEnterEvent enterBack(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data,
                                  Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(file1()->viewport(), &enterBack);
        QVERIFY(enterBack.isAccepted());
        QDropEvent back(QPointF(6, 6), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                        Qt::NoModifier);
        QCoreApplication::sendEvent(file1()->viewport(), &back);
        QVERIFY(back.isAccepted());
        QCOMPARE(texts(regList()), QStringList({native(libs_ + "/c.dll")}));
        QCOMPARE(texts(file1()), kLibsFiles);
        // Both lists start drags of their own and never move items out by them.
        QVERIFY(file1()->dragEnabled());
        QVERIFY(regList()->dragEnabled());
        QCOMPARE(file1()->defaultDropAction(), Qt::CopyAction);
    }

    void registerAndUnregisterRuns() {
        QList<bool> busyWindow;
        messages_->onShow = [this, &busyWindow] {
            busyWindow.append(window_->testAttribute(Qt::WA_SetCursor) &&
                              window_->cursor().shape() == Qt::WaitCursor);
        };
        select(file1(), {"a.dll", "c.dll"});
        image(0)->click();
        command(0)->click();
        QCOMPARE(messages_->texts(), QStringList({"Registering completed"}));
        QCOMPARE(messages_->shown[0].flags, 0);
        QCOMPARE(messages_->shown[0].title, QStringLiteral("Ostrel32"));
        QCOMPARE(busyWindow, QList<bool>({true}));
        QCOMPARE(window_->commandMode(), QString());
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled());
        QVERIFY(!command(1)->isEnabled());
        QVERIFY(window_->cursor().shape() == Qt::ArrowCursor);

        select(file1(), {"a.dll", "c.dll"});
        image(0)->click();
        command(1)->click();
        QCOMPARE(messages_->texts(),
                 QStringList({"Registering completed", "UnRegistering completed"}));
        QCOMPARE(window_->commandMode(), QStringLiteral("u"));
        QCOMPARE(regList()->count(), 0);

        const QStringList entries = readTrace(tracePath_).filter(QStringLiteral("Server "));
        QCOMPARE(entries, QStringList({"DllRegisterServer " + native(libs_ + "/a.dll"),
                                       "DllRegisterServer " + native(libs_ + "/c.dll"),
                                       "DllUnregisterServer " + native(libs_ + "/a.dll"),
                                       "DllUnregisterServer " + native(libs_ + "/c.dll")}));
    }

    void runOutcomes_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QStringList>("expected");
        const QString done = QStringLiteral("Registering completed");
        const QString undone = QStringLiteral("UnRegistering completed");
        QTest::newRow("last fails to load")
            << 0 << QStringList{"good1.dll", "text.dll"} << QStringList{kLoadFailure, done};
        QTest::newRow("only file fails to load")
            << 0 << QStringList{"text.dll"} << QStringList{kLoadFailure};
        QTest::newRow("last times out")
            << 0 << QStringList{"good1.dll", "good2.ocx", "sleep.dll"}
            << QStringList{timeoutFailure(QStringLiteral("%RUN%/sleep.dll"))};
        QTest::newRow("last has no unregister entry")
            << 1 << QStringList{"good1.dll", "regonly.dll"}
            << QStringList{entryFailure(QStringLiteral("%RUN%/regonly.dll"))};
        QTest::newRow("middle fails, last succeeds")
            << 1 << QStringList{"good2.ocx", "regonly.dll", "good1.dll"}
            << QStringList{entryFailure(QStringLiteral("%RUN%/regonly.dll")), undone};
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
        QCOMPARE(regList()->count(), files.size());
        command(index)->click();
        QCOMPARE(messages_->texts(), expected);
        for (const ShownMessage& message : messages_->shown) {
            QVERIFY(!message.busyPointer);
        }
        QCOMPARE(regList()->count(), 0);
        QVERIFY(!command(0)->isEnabled());
        QVERIFY(window_->cursor().shape() == Qt::ArrowCursor);
        QVERIFY(!isBusyPointer());
    }

    void usableAfterTimeOut() {
        QVERIFY(dir1()->setPath(run_));
        select(file1(), {"sleep.dll"});
        image(0)->click();
        command(0)->click();
        QCOMPARE(messages_->texts(), QStringList({timeoutFailure(native(run_ + "/sleep.dll"))}));
        QCOMPARE(window_->waitResult(), kWaitTimeout);
        QVERIFY(!window_->lastSucceeded());

        select(file1(), {"good1.dll"});
        image(0)->click();
        command(0)->click();
        QCOMPARE(messages_->texts().last(), QStringLiteral("Registering completed"));

        // The same library again, now that it may finish.
        QVERIFY(releaseSleepers(releasePath_));
        select(file1(), {"sleep.dll"});
        image(0)->click();
        command(1)->click();
        QCOMPARE(messages_->texts().last(), QStringLiteral("UnRegistering completed"));
        QCOMPARE(messages_->shown.size(), 3);
    }

    void entriesRemovedDuringRun() {
        QVERIFY(dir1()->setPath(run_));
        for (const QString& file : QStringList{"text.dll", "good1.dll", "good2.ocx"}) {
            select(file1(), {file});
            image(0)->click();
        }
        bool removed = false;
        messages_->onShow = [this, &removed] {
            if (!removed) {
                removed = true;
                image(3)->click();
            }
        };
        command(0)->click();
        QCOMPARE(messages_->texts(), QStringList({kLoadFailure, "Subscript out of range   9"}));
        QCOMPARE(messages_->shown[1].flags, 0);
        QCOMPARE(messages_->shown[1].title, QStringLiteral("Ostrel32"));
        QVERIFY(window_->cursor().shape() == Qt::ArrowCursor);
        QVERIFY(readTrace(tracePath_).filter(QStringLiteral("Server ")).isEmpty());
    }

    void clickDuringRunDoesNotStartAnother() {
        QVERIFY(dir1()->setPath(run_));
        for (const QString& file : QStringList{"text.dll", "good1.dll"}) {
            select(file1(), {file});
            image(0)->click();
        }
        messages_->onShow = [this] {
            if (command(0)->isEnabled()) {
                command(0)->click();
            }
        };
        command(0)->click();
        QCOMPARE(messages_->texts(), QStringList({kLoadFailure, "Registering completed"}));
        QCOMPARE(readTrace(tracePath_).filter(QStringLiteral("DllRegisterServer ")).size(), 1);
    }

    void unreadableFolderKeepsTheList() {
        QListWidgetItem* sub = nullptr;
        for (int i = 0; i < dir1()->count(); ++i) {
            if (dir1()->item(i)->data(Qt::UserRole).toString() == libs_ + "/sub") {
                sub = dir1()->item(i);
            }
        }
        QVERIFY(sub);
        QVERIFY(QDir(libs_ + "/sub").removeRecursively());
        dir1()->setCurrentItem(sub);
        QTest::keyClick(dir1(), Qt::Key_Return);
        QCOMPARE(dir1()->path(), libs_);
        QCOMPARE(texts(file1()), kLibsFiles);
        QCOMPARE(messages_->texts(),
                 QStringList({"The folder " + native(libs_ + "/sub") +
                              " cannot be read. The folder list stays at " + native(libs_) + "."}));
        QCOMPARE(messages_->shown[0].flags, 48);
        QCOMPARE(messages_->shown[0].title, QStringLiteral("Ostrel32"));

        // A file where a folder is asked for.
        QVERIFY(!dir1()->setPath(libs_ + "/a.dll"));
        QCOMPARE(dir1()->path(), libs_);
    }

    void folderListFollowsKeyboard() {
        dir1()->setFocus();
        QTest::keyClick(dir1(), Qt::Key_Down);
        QCOMPARE(dir1()->currentItem()->data(Qt::UserRole).toString(), libs_ + "/sub");
        QTest::keyClick(dir1(), Qt::Key_Return);
        QCOMPARE(dir1()->path(), libs_ + "/sub");
        QCOMPARE(texts(file1()), QStringList({"s.dll"}));
        QCOMPARE(window_->filesFolder(), native(libs_ + "/sub"));
    }

    void unreadableDriveKeepsTheDrive() {
        const QString missing = root_ + "/missing";
        window_->setDrives({libs_, missing, run_});
        QCOMPARE(drive1()->currentIndex(), 0);
        drive1()->setCurrentIndex(1);
        QCOMPARE(drive1()->currentIndex(), 0);
        QCOMPARE(dir1()->path(), libs_);
        QCOMPARE(messages_->texts(),
                 QStringList({"The drive " + native(missing) +
                              " cannot be read. The drive list stays at " + native(libs_) + "."}));
        QCOMPARE(messages_->shown[0].flags, 48);

        drive1()->setCurrentIndex(2);
        QCOMPARE(dir1()->path(), run_);
        QCOMPARE(texts(file1()), kRunFiles);
        QCOMPARE(messages_->shown.size(), 1);
    }

    void everyControlIsAccessible() {
        const char* names[] = {"Dir1",     "Drive1",     "Text1",     "File1",
                               "Image1_0", "Image1_1",   "Image1_2",  "Image1_3",
                               "RegList",  "Command1_0", "Command1_1"};
        for (const char* name : names) {
            auto* widget = window_->findChild<QWidget*>(QString::fromLatin1(name));
            QVERIFY2(widget, name);
            QVERIFY2(!widget->accessibleName().isEmpty(), name);
            QVERIFY2(widget->focusPolicy() & Qt::TabFocus, name);
        }
        select(file1(), {"b.ocx"});
        image(0)->click();
        QVERIFY(hasAccessibleItem(QAccessible::queryAccessibleInterface(file1()),
                                  QStringLiteral("a.dll")));
        QVERIFY(hasAccessibleItem(QAccessible::queryAccessibleInterface(regList()),
                                  native(libs_ + "/b.ocx")));
        QVERIFY(hasAccessibleItem(QAccessible::queryAccessibleInterface(dir1()),
                                  QStringLiteral("sub")));
        window_->setDrives({libs_, run_});
        QVERIFY(hasAccessibleItem(QAccessible::queryAccessibleInterface(drive1()), native(run_)));
    }

    void keyboardAlone() {
        window_->show();
        QApplication::setActiveWindow(window_.get());
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
        auto key = [](Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
            QTest::keyClick(QApplication::focusWidget(), k, mods);
        };
        auto focused = [] {
            return QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                               : QString();
        };

        // Choose the folder: up to the parent, then down to "run".
        dir1()->setFocus();
        QCOMPARE(focused(), QStringLiteral("Dir1"));
        key(Qt::Key_Up);
        key(Qt::Key_Return);
        QCOMPARE(dir1()->path(), root_);
        key(Qt::Key_Down);
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QCOMPARE(dir1()->path(), run_);

        key(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("Drive1"));
        key(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("Text1"));
        key(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("File1"));
        key(Qt::Key_Home);
        key(Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(selectedTexts(file1()), QStringList({"good1.dll", "good2.ocx"}));
        key(Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("Image1_0"));
        key(Qt::Key_Space);
        QCOMPARE(texts(regList()),
                 QStringList({native(run_ + "/good1.dll"), native(run_ + "/good2.ocx")}));
        for (const char* next : {"Image1_1", "Image1_2", "Image1_3", "RegList", "Command1_0"}) {
            key(Qt::Key_Tab);
            QCOMPARE(focused(), QString::fromLatin1(next));
        }
        key(Qt::Key_Space);
        QCOMPARE(messages_->texts(), QStringList({"Registering completed"}));
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
        QCOMPARE(messages_->shown.size(), 0);
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
    QString startFolder_;
    QString root_;
    QString libs_;
    QString run_;
    QString tracePath_;
    QString releasePath_;
    int testNumber_ = 0;
    std::unique_ptr<RecordingMessages> messages_;
    std::unique_ptr<RegistrationWindow> window_;
};

QTEST_MAIN(WindowTest)
#include "tst_frmreg.moc"
