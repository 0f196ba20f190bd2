#include "errorstate.h"
#include "hoverhints.h"
#include "multilinebox.h"
#include "notice.h"
#include "shoppinglistwindow.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace pv;

class ShoppingListTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        folder_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
        registerWindows();
    }
    void cleanup() {
        windows().reset();
        messages_.reset();
        folder_.reset();
    }

    // Every file of the folder is listed, whatever its extension; folders are not.
    void loadListsEveryFileOfTheFolder() {
        QVERIFY(put("weekly.txt", "milk\r\n") && put("Notes.doc", "x"));
        QVERIFY(QDir(path("")).mkdir(QStringLiteral("sub")));
        show();
        QCOMPARE(listed(), (QStringList{"Notes.doc", "weekly.txt"}));
        QVERIFY(messages_->shown.isEmpty());
    }

    void saveThenOpenRoundTrips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        const auto row = [](const char* tag, const QString& name, const QString& text,
                            const QString& fileName, const QByteArray& bytes) {
            QTest::newRow(tag) << name << text << fileName << bytes;
        };
        row("three lines", "Week 1", "milk\r\neggs\r\nbread", "Week 1.txt",
            "milk\r\neggs\r\nbread\r\n");
        row("commas, quotes, leading blanks", "party",
            "  2 lb \"red\" apples, washed\r\n,,\r\n   \"", "party.txt",
            "  2 lb \"red\" apples, washed\r\n,,\r\n   \"\r\n");
        row("empty name", "", "tea", ".txt", "tea\r\n");
        row("empty list", "nothing", "", "nothing.txt", "\r\n");
        row("Windows-1252", "caf\u00e9", "p\u00e2t\u00e9 \u20ac3", "caf\u00e9.txt",
            "p\xe2t\xe9 \x80"
            "3\r\n");
    }
    void saveThenOpenRoundTrips() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, fileName);
        show();
        typeList(text);
        nameBox()->insert(name);
        click("cmdHSave");
        QTEST(folder_->read(QStringLiteral("Shopping List/") + fileName), "bytes");
        // No refresh: the list saved during this visit is not listed yet.
        QVERIFY(!listed().contains(fileName));
        QCOMPARE(list()->text(), text);
        QCOMPARE(nameBox()->text(), name);
        QVERIFY(messages_->shown.isEmpty());

        // Loaded anew it is listed, and opens by keyboard; the name box keeps its text.
        windows().reset();
        registerWindows();
        show();
        QCOMPARE(listed(), QStringList{fileName});
        typeList(QStringLiteral("x"));
        QTest::keyClicks(nameBox(), QStringLiteral("kept"));
        files()->setFocus();
        files()->setCurrentRow(0);  // moving does not open
        QCOMPARE(list()->text(), QStringLiteral("x"));
        QTest::keyClick(files(), Qt::Key_Return);
        QCOMPARE(list()->text(), text);
        QCOMPARE(nameBox()->text(), QStringLiteral("kept"));
        QVERIFY(programErrors().errorLocation.isEmpty());
    }

    void failuresReportTheirLocation_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("description");
        const auto row = [](const char* action, const char* location, const char* number,
                            const char* description) {
            QTest::newRow(action) << action << location << number << description;
        };
        row("load, folder gone", "H - FL -", " 76", "Path not found");
        row("open, file gone", "H - LF -", " 53", "File not found");
        row("delete, file gone", "H - CD -", " 53", "File not found");
        row("save, folder gone", "H - CS -", " 76", "Path not found");
        row("save onto a folder", "H - CS -", " 75", "Path/File access error");
    }
    void failuresReportTheirLocation() {
        QFETCH(QString, action);
        QVERIFY(put("weekly.txt", "milk\r\n"));
        if (action.startsWith(QLatin1String("load"))) {
            QVERIFY(QDir(path("")).removeRecursively());
        }
        show();
        typeList(QStringLiteral("text"));
        if (action.endsWith(QLatin1String("file gone"))) {
            files()->setCurrentRow(0);
            files()->setFocus();
            if (action.startsWith(QLatin1String("delete"))) {
                QTest::keyClick(files(), Qt::Key_Return);  // Delete deletes the list opened
            }
            QVERIFY(QFile::remove(path("weekly.txt")));
        }
        if (action.startsWith(QLatin1String("open"))) {
            QTest::keyClick(files(), Qt::Key_Return);
        } else if (action.startsWith(QLatin1String("delete"))) {
            click("cmdHDel");
        } else if (action.startsWith(QLatin1String("save"))) {
            QVERIFY(action.endsWith(QLatin1String("gone")) ? QDir(path("")).removeRecursively()
                                                           : QDir(path("")).mkdir("n.txt"));
            QTest::keyClicks(nameBox(), QStringLiteral("n"));
            click("cmdHSave");
        }
        QTEST(programErrors().errorLocation, "location");
        QTEST(programErrors().errorNumberText, "number");
        QTEST(programErrors().errorDescription, "description");
        QVERIFY(!screen_->isVisible());
        QVERIFY(windows().loaded(WindowId::Error)->isVisible());
    }

    // Delete deletes only the list on screen, opened from the item still picked; else
    // it asks for a list to be picked and the typed text and every file stay.
    void deleteAsksUnlessTheOpenedListIsPicked_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("text");  // in the list box afterwards
        QTest::addColumn<QStringList>("left");
        const QStringList both{"other.txt", "weekly.txt"};
        const auto row = [](const char* tag, const char* road, const char* text,
                            const QStringList& left) {
            QTest::newRow(tag) << QString::fromLatin1(road) << QString::fromLatin1(text) << left;
        };
        row("nothing picked, a click beside the names", "beside", "eggs", both);
        row("a list opened, then typing and a click beside the names", "opened, beside", "milkeggs",
            both);
        row("New after Open, then typing", "new", "eggs", both);
        row("arrow keys moved to another list", "arrows", "milk", both);
        row("the opened list", "opened", "", {"other.txt"});
    }
    void deleteAsksUnlessTheOpenedListIsPicked() {
        QFETCH(QString, road);
        QFETCH(QString, text);
        QFETCH(QStringList, left);
        QVERIFY(put("weekly.txt", "milk\r\n") && put("other.txt", "tea\r\n"));
        show();
        if (road != "beside") {
            clickItem(QStringLiteral("weekly.txt"));
            QCOMPARE(list()->text(), QStringLiteral("milk"));
        }
        if (road.endsWith(QLatin1String("beside"))) {
            // Beside the names the item picked before opens nothing.
            typeList(QStringLiteral("eggs"));
            QTest::mouseClick(files()->viewport(), Qt::LeftButton, {},
                              QPoint(5, files()->viewport()->height() - 5));
            QCOMPARE(list()->text(), text);
        }
        if (road == "new") {
            click("cmdHNew");
            QVERIFY(files()->selectedItems().isEmpty());
            QCOMPARE(files()->currentRow(), -1);
            typeList(QStringLiteral("eggs"));
        } else if (road == "arrows") {
            files()->setFocus();
            QTest::keyClick(files(), Qt::Key_Up);
            QCOMPARE(files()->selectedItems().value(0)->text(), QStringLiteral("other.txt"));
        }
        click("cmdHDel");
        QCOMPARE(list()->text(), text);
        QCOMPARE(QDir(path("")).entryList(QDir::Files), left);
        QCOMPARE(listed(), left);  // a deleted list's item goes with it
        QCOMPARE(messages_->shown.size(), road == "opened" ? 0 : 1);
        if (!messages_->shown.isEmpty()) {
            QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
            QCOMPARE(messages_->shown.at(0).text,
                     QStringLiteral("Please click the shopping list you want to delete in the "
                                    "'Shopping list files' box first."));
            QCOMPARE(messages_->shown.at(0).flags, 4144);
        }
        QVERIFY(programErrors().errorLocation.isEmpty() && screen_->isVisible());
    }

    void refusedNameIsAUserError() {
        show();
        typeList(QStringLiteral("milk"));
        QTest::keyClicks(nameBox(), QStringLiteral("a/b"));
        click("cmdHSave");
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QCOMPARE(messages_->shown.at(0).text,
                 QStringLiteral("A shopping list name cannot contain / \\ : * ? \" < > | or "
                                "control characters, and cannot be \".\" or \"..\"."));
        QVERIFY(programErrors().errorLocation.isEmpty() && screen_->isVisible());
        QVERIFY(list()->text() == QStringLiteral("milk") && nameBox()->text() == "a/b");
        QVERIFY(QDir(path("")).isEmpty());
    }

    void loadWithoutIconGivesTheCategoryNotice() {
        QVERIFY(QFile::remove(folder_->file(QStringLiteral("images/Calendar.ico"))));
        show();
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, noCategoryText());
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QVERIFY(programErrors().errorLocation.isEmpty());
        QVERIFY(windows().loaded(WindowId::Main)->isVisible());
    }

    // The name box is locked (label and box disabled, button-face background) after Load,
    // New, Open and Delete, and opened by a key that types a character in the list box.
    // Delete needs text; it deletes the opened file and its item, and clears both boxes.
    void newOpenDeleteSave() {
        QVERIFY(put("weekly.txt", "milk\r\n") && put("other.txt", "tea\r\n"));
        show();
        const auto state = [this] {
            const QList<bool> locked = {
                screen_->nameBoxLocked(), !label("lblHName")->isEnabled(),
                nameBox()->palette().color(QPalette::Base) == palette(QPalette::Button),
                nameBox()->palette().color(QPalette::Base) != palette(QPalette::Base)};
            return locked.count(true) == 4 ? "locked" : locked.count(false) == 4 ? "open" : "mixed";
        };
        QCOMPARE(state(), "locked");
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Down, Qt::Key_Home, Qt::Key_Shift, Qt::Key_F5}) {
            QTest::keyClick(list(), key);
        }
        QCOMPARE(state(), "locked");
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(state(), "open");
        click("cmdHNew");
        QCOMPARE(state(), "locked");
        QVERIFY(list()->hasFocus() && list()->text().isEmpty());
        files()->setCurrentRow(1);
        click("cmdHDel");
        QVERIFY(QFile::exists(path("weekly.txt")));
        QTest::keyClicks(list(), QStringLiteral("q"));
        QCOMPARE(list()->text(), QStringLiteral("q"));  // the key reaches the box
        QCOMPARE(state(), "open");
        clickItem(QStringLiteral("weekly.txt"));
        QCOMPARE(state(), "locked");
        QTest::keyClicks(list(), QStringLiteral("z"));
        QTest::keyClicks(nameBox(), QStringLiteral("kept?"));
        click("cmdHDel");
        QCOMPARE(state(), "locked");
        QVERIFY(!QFile::exists(path("weekly.txt")) && QFile::exists(path("other.txt")));
        QVERIFY(list()->text().isEmpty() && nameBox()->text().isEmpty());
        QCOMPARE(listed(), QStringList{"other.txt"});
        QTest::keyClicks(list(), QStringLiteral("a"));
        QTest::keyClicks(nameBox(), QStringLiteral("n"));
        click("cmdHSave");
        QCOMPARE(state(), "open");
        QVERIFY(messages_->shown.isEmpty() && programErrors().errorLocation.isEmpty());
    }

    void menuRunsTheCommands() {
        QVERIFY(put("m.txt", "stale\r\n"));
        show();
        typeList(QStringLiteral("milk"));
        QTest::keyClicks(nameBox(), QStringLiteral("m"));
        trigger("keySave");
        QCOMPARE(folder_->read(QStringLiteral("Shopping List/m.txt")), QByteArray("milk\r\n"));
        QCOMPARE(listed(), QStringList{"m.txt"});
        // The menus themselves run no command.
        for (QAction* top : menuBar()->actions()) {
            top->trigger();
        }
        QVERIFY(screen_->isVisible() && !windows().loaded(WindowId::Calendar));
        QCOMPARE(list()->text(), QStringLiteral("milk"));
        // The calendar opens from its picture (click or Space) and its menu item; Main
        // hides it with the screen, which keeps its contents.
        auto* icon = screen_->findChild<QWidget*>(QStringLiteral("imgHCal"));
        QTest::mouseClick(icon, Qt::LeftButton, {}, QPoint(16, 16));
        QVERIFY(windows().loaded(WindowId::Calendar)->isVisible());
        trigger("keyMain");
        QVERIFY(!windows().loaded(WindowId::Calendar)->isVisible());
        QVERIFY(!screen_->isVisible() && windows().loaded(WindowId::Main)->isVisible());
        QCOMPARE(windows().show(WindowId::ShoppingList), screen_);
        QCOMPARE(list()->text(), QStringLiteral("milk"));
        icon->setFocus();
        QTest::keyClick(icon, Qt::Key_Space);
        QVERIFY(windows().loaded(WindowId::Calendar)->isVisible());
        windows().hide(WindowId::Calendar);
        trigger("keyCalendar");
        QVERIFY(windows().loaded(WindowId::Calendar)->isVisible());
        trigger("keyNew");
        QVERIFY(list()->text().isEmpty() && nameBox()->text().isEmpty());
    }

    // Print prints the saved file of the selected item; a cancelled dialog or no item
    // selected ends quietly.
    void printPrintsTheSavedFileOrNothing() {
        QVERIFY(put("weekly.txt", "milk\r\neggs\r\n"));
        QTemporaryDir out;
        test::PdfPrinter pdf(out.filePath(QStringLiteral("list.pdf")));
        pdf.answers = {false, true, true};
        show();
        typeList(QStringLiteral("not printed"));
        files()->setCurrentRow(0);
        click("cmdHPrint");  // dialog cancelled
        files()->setCurrentRow(-1);
        click("cmdHPrint");  // no item selected
        QVERIFY(!QFile::exists(pdf.printer()->outputFileName()));
        files()->setCurrentRow(0);
        trigger("keyPrint");
        QCOMPARE(pdf.dialogsShown, 3);
        QCOMPARE(test::pdfText(pdf.printer()->outputFileName()).trimmed(),
                 QStringLiteral("milk\neggs"));
        QVERIFY(messages_->shown.isEmpty() && programErrors().errorLocation.isEmpty());
        QVERIFY(screen_->isVisible());
    }

    // Which of the four hints is lit after the pointer moves over a control.
    void hoverHintsFollowThePointer() {
        show();
        QWidget* client = screen_->findChild<QWidget*>(QStringLiteral("clientArea"));
        typeList(QStringLiteral("a"));  // opens the name box, so that it takes the pointer
        QCOMPARE(hover(list()->viewport()), QStringLiteral("0100"));
        QCOMPARE(hover(nameBox()), QStringLiteral("0110"));
        QCOMPARE(hover(client, QPoint(5, 5)), QStringLiteral("0000"));
        hover(files()->viewport());
        hover(label("lblHName"));
        QCOMPARE(hover(screen_->findChild<QWidget*>(QStringLiteral("imgHCal"))), "1011");
        QCOMPARE(hover(client, QPoint(5, 5)), QStringLiteral("0000"));
    }

private:
    void registerWindows() {
        windows().registerWindow(WindowId::ShoppingList, [] { return new ShoppingListWindow; });
        test::registerStandIns({WindowId::Error, WindowId::Main, WindowId::Calendar});
    }
    void show() {
        screen_ = qobject_cast<ShoppingListWindow*>(windows().show(WindowId::ShoppingList));
        QVERIFY(screen_);
        QVERIFY(!screen_->isVisible() || QTest::qWaitForWindowExposed(screen_));
    }
    bool put(const char* file, const QByteArray& bytes) {
        return folder_->write(QStringLiteral("Shopping List/") + QLatin1String(file), bytes);
    }
    QString path(const char* file) {
        return folder_->file(QStringLiteral("Shopping List/") + QLatin1String(file));
    }
    QColor palette(QPalette::ColorRole role) { return screen_->palette().color(role); }
    QLabel* label(const char* name) { return screen_->findChild<QLabel*>(QLatin1String(name)); }
    QLineEdit* nameBox() { return screen_->findChild<QLineEdit*>(QStringLiteral("txtHName")); }
    MultiLineBox* list() { return screen_->findChild<MultiLineBox*>(QStringLiteral("txtHList")); }
    QListWidget* files() { return screen_->findChild<QListWidget*>(QStringLiteral("lswHOpen")); }
    ScreenMenuBar* menuBar() { return screen_->findChild<ScreenMenuBar*>(QStringLiteral("SMXPH")); }
    void trigger(const char* key) { menuBar()->actionFor(QLatin1String(key))->trigger(); }
    void click(const char* button) {
        QTest::mouseClick(screen_->findChild<QPushButton*>(QLatin1String(button)), Qt::LeftButton);
    }
    QStringList listed() {
        QStringList names;
        for (int i = 0; i < files()->count(); ++i) {
            names << files()->item(i)->text();
        }
        return names;
    }
    void clickItem(const QString& name) {
        const auto items = files()->findItems(name, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        QTest::mouseClick(files()->viewport(), Qt::LeftButton, {},
                          files()->visualItemRect(items.at(0)).center());
    }
    // Types at the end of the list box as the user does: a key goes through the keyboard
    // (a blank, taken back), the text (line breaks included) is put in place after it.
    void typeList(const QString& text) {
        list()->setFocus();
        list()->moveCursor(QTextCursor::End);
        QTest::keyClick(list(), Qt::Key_Space);
        list()->setText(list()->text().chopped(1) + text);
    }
    QString hover(QWidget* widget, QPoint pos = {}) {
        pos = pos.isNull() ? widget->rect().center() : pos;
        QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
        QString lit;
        for (const char* hint : {"lblHMsg", "lblHMsg1", "lblHMsg2", "lblHMsg3"}) {
            lit += HoverHints::isLit(label(hint)) ? u'1' : u'0';
        }
        return lit;
    }

    std::unique_ptr<test::TempAppFolder> folder_;
    std::unique_ptr<test::RecordingMessages> messages_;
    ShoppingListWindow* screen_ = nullptr;
};

QTEST_MAIN(ShoppingListTest)
#include "tst_shoppinglist.moc"
