#include "errorstate.h"
#include "hoverhints.h"
#include "notice.h"
#include "screentext.h"
#include "shopscreen.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace pv;

namespace {

// Stands in for the windows other screens provide.
class StandInWindow : public PvWindow {};

const QString kShop = QStringLiteral("frmShop");

}  // namespace

class ShopScreenTest : public QObject {
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

    void controlsSitWhereDesigned_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("shaHMenu") << "shaHMenu" << QRect(120, 480, 1815, 4815);
        QTest::newRow("lblHMsg") << "lblHMsg" << QRect(240, 600, 1215, 495);
        QTest::newRow("lblHMsg1") << "lblHMsg1" << QRect(240, 1200, 1455, 615);
        QTest::newRow("lblHMsg2") << "lblHMsg2" << QRect(240, 1920, 1455, 855);
        QTest::newRow("lblHMsg3") << "lblHMsg3" << QRect(240, 4680, 1455, 495);
        QTest::newRow("lblHFile") << "lblHFile" << QRect(2040, 120, 1290, 195);
        QTest::newRow("lswHOpen") << "lswHOpen" << QRect(2040, 360, 3015, 1455);
        QTest::newRow("imgHCal") << "imgHCal" << QRect(2160, 4680, 480, 480);
        QTest::newRow("lblHData") << "lblHData" << QRect(5280, 120, 1335, 195);
        QTest::newRow("txtHList") << "txtHList" << QRect(5280, 360, 4695, 3135);
        QTest::newRow("lblHName") << "lblHName" << QRect(5280, 3600, 630, 195);
        QTest::newRow("txtHName") << "txtHName" << QRect(5280, 3840, 2055, 285);
        QTest::newRow("cmdHNew") << "cmdHNew" << QRect(4560, 5040, 975, 375);
        QTest::newRow("cmdHDel") << "cmdHDel" << QRect(5640, 5040, 975, 375);
        QTest::newRow("cmdHSave") << "cmdHSave" << QRect(6720, 5040, 975, 375);
        QTest::newRow("cmdHPrint") << "cmdHPrint" << QRect(7800, 5040, 975, 375);
        QTest::newRow("cmdHMain") << "cmdHMain" << QRect(9000, 5040, 975, 375);
    }
    void controlsSitWhereDesigned() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        ShopScreen* screen = showScreen();
        auto* control = screen->findChild<QWidget*>(name);
        QVERIFY(control);
        const QRect designed(twips.x() / 15, twips.y() / 15, twips.width() / 15,
                             twips.height() / 15);
        if (qobject_cast<QLabel*>(control)) {
            // A label may grow to hold its text in a wider font, never shrink.
            QCOMPARE(control->pos(), designed.topLeft());
            QVERIFY(control->width() >= designed.width());
            QVERIFY(control->height() >= designed.height());
        } else {
            QCOMPARE(control->geometry(), designed);
        }
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        QVERIFY(accessible);
        QVERIFY(!accessible->text(QAccessible::Name).isEmpty() ||
                name == QLatin1String("shaHMenu"));
    }

    void textsAndTitle() {
        ShopScreen* screen = showScreen();
        QCOMPARE(screen->windowTitle(), QStringLiteral("Shopping list"));
        QCOMPARE(label(screen, "lblHMsg")->text(), QStringLiteral("Click on the file- name."));
        QCOMPARE(label(screen, "lblHMsg1")->text(),
                 QStringLiteral("(1). enter your list in any manner you wish. "));
        QCOMPARE(label(screen, "lblHMsg2")->text(),
                 QStringLiteral("(2). enter the filename") + QString(14, QLatin1Char(' ')) +
                     QStringLiteral("(3). click the Save button."));
        QCOMPARE(label(screen, "lblHMsg3")->text(),
                 QStringLiteral("Click this icon to display a calendar."));
        QCOMPARE(label(screen, "lblHFile")->text(), QStringLiteral("Shopping list files:"));
        QCOMPARE(label(screen, "lblHData")->text(), QStringLiteral("Shopping list data:"));
        QCOMPARE(label(screen, "lblHName")->text(), QStringLiteral("Save as:"));
        QCOMPARE(label(screen, "lblHName")->buddy(), nameBox(screen));
        QCOMPARE(nameBox(screen)->maxLength(), 30);
        const QStringList captions = {"New", "Delete", "Save", "Print", "Main"};
        const QStringList names = {"cmdHNew", "cmdHDel", "cmdHSave", "cmdHPrint", "cmdHMain"};
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(screen->findChild<QPushButton*>(names.at(i))->text(), captions.at(i));
        }
        for (const char* hint : {"lblHMsg", "lblHMsg1", "lblHMsg2", "lblHMsg3"}) {
            QCOMPARE(HoverHints::colourOf(label(screen, hint)), HoverHints::unlitColour());
        }
    }

    void loadListsEveryFileAndLocksTheName() {
        QVERIFY(folder_->write(QStringLiteral("Shopping List/weekly.txt"), "milk\r\n"));
        QVERIFY(folder_->write(QStringLiteral("Shopping List/Notes.doc"), "x"));
        QVERIFY(QDir(folder_->path()).mkpath(QStringLiteral("Shopping List/sub")));
        ShopScreen* screen = showScreen();
        QCOMPARE(listed(screen), (QStringList{"Notes.doc", "weekly.txt"}));
        QVERIFY(screen->nameBoxLocked());
        QVERIFY(!label(screen, "lblHName")->isEnabled());
        QCOMPARE(nameBox(screen)->palette().color(QPalette::Base),
                 nameBox(screen)->palette().color(QPalette::Button));
        QVERIFY(messages_->shown.isEmpty());
    }

    void menuFollowsItsTable() {
        ShopScreen* screen = showScreen();
        auto* bar = screen->findChild<ScreenMenuBar*>(QStringLiteral("SMXPH"));
        QVERIFY(bar);
        QStringList tops;
        for (QAction* action : bar->actions()) {
            tops << action->text();
        }
        QCOMPARE(tops, (QStringList{"&File", "&Edit", "&Tools"}));
        const auto captionsOf = [](QAction* top) {
            QStringList captions;
            for (QAction* action : top->menu()->actions()) {
                captions << action->text();
                if (action->icon().isNull()) {
                    captions << QStringLiteral("(no icon)");
                }
            }
            return captions;
        };
        QCOMPARE(captionsOf(bar->actions().at(0)), (QStringList{"New", "Save", "Print", "Main"}));
        QCOMPARE(captionsOf(bar->actions().at(1)), QStringList{"Del"});
        QCOMPARE(captionsOf(bar->actions().at(2)), QStringList{"Calendar"});
        QCOMPARE(bar->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(bar->font().pointSize(), 8);
    }

    void saveThenOpenRoundTrips_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("three lines") << "Week 1"
                                     << "milk\r\neggs\r\nbread"
                                     << "Week 1.txt" << QByteArray("milk\r\neggs\r\nbread\r\n");
        QTest::newRow("commas, quotes, leading blanks")
            << "party"
            << "  2 lb \"red\" apples, washed\r\n,,\r\n   \""
            << "party.txt" << QByteArray("  2 lb \"red\" apples, washed\r\n,,\r\n   \"\r\n");
        QTest::newRow("empty name") << ""
                                    << "tea"
                                    << ".txt" << QByteArray("tea\r\n");
        QTest::newRow("empty list") << "nothing"
                                    << ""
                                    << "nothing.txt" << QByteArray("\r\n");
        QTest::newRow("Windows-1252")
            << "caf\u00e9" << QString::fromUtf8("p\u00e2t\u00e9 \u20ac3") << "caf\u00e9.txt"
            << QByteArray(
                   "p\xe2t\xe9 \x80"
                   "3\r\n");
    }
    void saveThenOpenRoundTrips() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, fileName);
        QFETCH(QByteArray, bytes);
        ShopScreen* screen = showScreen();
        typeList(screen, text);
        QVERIFY(!screen->nameBoxLocked());
        typeName(screen, name);
        click(screen, "cmdHSave");
        QCOMPARE(folder_->read(QStringLiteral("Shopping List/") + fileName), bytes);
        // No refresh: the list saved during this visit is not listed yet.
        QVERIFY(!listed(screen).contains(fileName));
        QCOMPARE(listBox(screen)->text(), text);
        QCOMPARE(nameBox(screen)->text(), name);
        QVERIFY(!screen->nameBoxLocked());
        QVERIFY(messages_->shown.isEmpty());

        // Loaded anew, the screen lists it and opens it.
        windows().reset();
        registerWindows();
        screen = showScreen();
        QVERIFY(listed(screen).contains(fileName));
        clickItem(screen, fileName);
        QCOMPARE(listBox(screen)->text(), text);
        QVERIFY(screen->nameBoxLocked());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
    }

    void listOpensByKeyboard() {
        QVERIFY(folder_->write(QStringLiteral("Shopping List/a.txt"), "apples\r\n"));
        QVERIFY(folder_->write(QStringLiteral("Shopping List/b.txt"), "bread\r\n"));
        ShopScreen* screen = showScreen();
        QListWidget* list = listWidget(screen);
        list->setFocus();
        list->setCurrentRow(0);
        QTest::keyClick(list, Qt::Key_Down);  // moving does not open
        QVERIFY(listBox(screen)->text().isEmpty());
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(listBox(screen)->text(), QStringLiteral("bread"));
        QTest::keyClick(list, Qt::Key_Up);
        QTest::keyClick(list, Qt::Key_Space);
        QCOMPARE(listBox(screen)->text(), QStringLiteral("apples"));
    }

    void openKeepsTheNameAndSaveUsesIt() {
        QVERIFY(folder_->write(QStringLiteral("Shopping List/weekly.txt"), "bread\r\nbutter\r\n"));
        ShopScreen* screen = showScreen();
        typeList(screen, QStringLiteral("x"));
        QTest::keyClicks(nameBox(screen), QStringLiteral("old"));
        clickItem(screen, QStringLiteral("weekly.txt"));
        QCOMPARE(listBox(screen)->text(), QStringLiteral("bread\r\nbutter"));
        QCOMPARE(nameBox(screen)->text(), QStringLiteral("old"));
        QVERIFY(screen->nameBoxLocked());
        click(screen, "cmdHSave");
        QCOMPARE(folder_->read(QStringLiteral("Shopping List/old.txt")),
                 QByteArray("bread\r\nbutter\r\n"));
    }

    void saveReplacesAnExistingList() {
        QVERIFY(folder_->write(QStringLiteral("Shopping List/weekly.txt"), "old\r\n"));
        ShopScreen* screen = showScreen();
        typeList(screen, QStringLiteral("new"));
        QTest::keyClicks(nameBox(screen), QStringLiteral("weekly"));
        click(screen, "cmdHSave");
        QCOMPARE(folder_->read(QStringLiteral("Shopping List/weekly.txt")), QByteArray("new\r\n"));
        QCOMPARE(QDir(folder_->file(QStringLiteral("Shopping List"))).entryList(QDir::Files).size(),
                 1);
    }

    void deleteNeedsText() {
        QVERIFY(folder_->write(QStringLiteral("Shopping List/weekly.txt"), "milk\r\n"));
        ShopScreen* screen = showScreen();
        listWidget(screen)->setCurrentRow(0);
        QVERIFY(listBox(screen)->text().isEmpty());
        click(screen, "cmdHDel");
        QVERIFY(QFile::exists(folder_->file(QStringLiteral("Shopping List/weekly.txt"))));
        QVERIFY(programErrors().ErrorLocation.isEmpty());
        QVERIFY(screen->isVisible());
    }

    void deleteRemovesFileClearsAndKeepsItem() {
        QVERIFY(folder_->write(QStringLiteral("Shopping List/weekly.txt"), "milk\r\n"));
        QVERIFY(folder_->write(QStringLiteral("Shopping List/other.txt"), "tea\r\n"));
        ShopScreen* screen = showScreen();
        clickItem(screen, QStringLiteral("weekly.txt"));
        typeList(screen, QStringLiteral(" and eggs"));
        QTest::keyClicks(nameBox(screen), QStringLiteral("kept?"));
        QVERIFY(!screen->nameBoxLocked());
        click(screen, "cmdHDel");
        QVERIFY(!QFile::exists(folder_->file(QStringLiteral("Shopping List/weekly.txt"))));
        QVERIFY(QFile::exists(folder_->file(QStringLiteral("Shopping List/other.txt"))));
        QVERIFY(listBox(screen)->text().isEmpty());
        QVERIFY(nameBox(screen)->text().isEmpty());
        QVERIFY(screen->nameBoxLocked());
        QCOMPARE(listed(screen), (QStringList{"other.txt", "weekly.txt"}));
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
    }

    void failuresReportTheirLocation_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("location");
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("description");
        const QString noObject = QStringLiteral("Object variable or With block variable not set");
        QTest::newRow("open, no item selected") << "open"
                                                << "H - LF -"
                                                << " 91" << noObject;
        QTest::newRow("delete, no item selected") << "delete"
                                                  << "H - CD -"
                                                  << " 91" << noObject;
        QTest::newRow("open, file gone") << "open gone"
                                         << "H - LF -"
                                         << " 53"
                                         << "File not found";
        QTest::newRow("delete, file gone") << "delete gone"
                                           << "H - CD -"
                                           << " 53"
                                           << "File not found";
        QTest::newRow("save, folder gone") << "save gone"
                                           << "H - CS -"
                                           << " 76"
                                           << "Path not found";
        QTest::newRow("save onto a folder") << "save folder"
                                            << "H - CS -"
                                            << " 75"
                                            << "Path/File access error";
    }
    void failuresReportTheirLocation() {
        QFETCH(QString, action);
        QFETCH(QString, location);
        QFETCH(QString, number);
        QFETCH(QString, description);
        QVERIFY(folder_->write(QStringLiteral("Shopping List/weekly.txt"), "milk\r\n"));
        ShopScreen* screen = showScreen();
        typeList(screen, QStringLiteral("text"));
        const QString shoppingFolder = folder_->file(QStringLiteral("Shopping List"));
        if (action == QLatin1String("open")) {
            listWidget(screen)->clearSelection();
            clickEmptyListArea(screen);
        } else if (action == QLatin1String("delete")) {
            listWidget(screen)->clearSelection();
            click(screen, "cmdHDel");
        } else if (action == QLatin1String("open gone")) {
            QVERIFY(QFile::remove(shoppingFolder + QStringLiteral("/weekly.txt")));
            clickItem(screen, QStringLiteral("weekly.txt"));
        } else if (action == QLatin1String("delete gone")) {
            listWidget(screen)->setCurrentRow(0);
            QVERIFY(QFile::remove(shoppingFolder + QStringLiteral("/weekly.txt")));
            click(screen, "cmdHDel");
        } else if (action == QLatin1String("save gone")) {
            QVERIFY(QDir(shoppingFolder).removeRecursively());
            QTest::keyClicks(nameBox(screen), QStringLiteral("n"));
            click(screen, "cmdHSave");
        } else if (action == QLatin1String("save folder")) {
            QVERIFY(QDir(shoppingFolder).mkdir(QStringLiteral("taken.txt")));
            QTest::keyClicks(nameBox(screen), QStringLiteral("taken"));
            click(screen, "cmdHSave");
        }
        QCOMPARE(programErrors().ErrorLocation, location);
        QCOMPARE(programErrors().ErrorNumberText, number);
        QCOMPARE(programErrors().ErrorDescription, description);
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmError"))->isVisible());
    }

    void refusedNameIsAUserError() {
        ShopScreen* screen = showScreen();
        typeList(screen, QStringLiteral("milk"));
        QTest::keyClicks(nameBox(screen), QStringLiteral("a/b"));
        click(screen, "cmdHSave");
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QCOMPARE(messages_->shown.at(0).text,
                 QStringLiteral("A shopping list name cannot contain / \\ : * ? \" < > | or "
                                "control characters, and cannot be \".\" or \"..\"."));
        QVERIFY(programErrors().ErrorLocation.isEmpty());
        QVERIFY(screen->isVisible());
        QCOMPARE(listBox(screen)->text(), QStringLiteral("milk"));
        QCOMPARE(nameBox(screen)->text(), QStringLiteral("a/b"));
        QVERIFY(QDir(folder_->file(QStringLiteral("Shopping List")))
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot)
                    .isEmpty());
    }

    void loadWithoutFolderReports() {
        QVERIFY(QDir(folder_->file(QStringLiteral("Shopping List"))).removeRecursively());
        ShopScreen* screen = showScreen();
        QCOMPARE(programErrors().ErrorLocation, QStringLiteral("H - FL -"));
        QCOMPARE(programErrors().ErrorNumberText, QStringLiteral(" 76"));
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmError"))->isVisible());
    }

    void loadWithoutIconGivesTheCategoryNotice() {
        QVERIFY(QFile::remove(folder_->file(QStringLiteral("images/Calendar.ico"))));
        showScreen();
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, noCategoryText());
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QVERIFY(programErrors().ErrorLocation.isEmpty());
        QVERIFY(windows().loaded(QStringLiteral("frmMain"))->isVisible());
        QVERIFY(!windows().loaded(QStringLiteral("frmError")));
    }

    void nameBoxLockRules() {
        QVERIFY(folder_->write(QStringLiteral("Shopping List/weekly.txt"), "milk\r\n"));
        ShopScreen* screen = showScreen();
        QVERIFY(screen->nameBoxLocked());
        // Keys that type nothing leave it locked.
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Down, Qt::Key_Home, Qt::Key_Shift, Qt::Key_F5}) {
            QTest::keyClick(listBox(screen), key);
        }
        QVERIFY(screen->nameBoxLocked());
        QTest::keyClick(listBox(screen), Qt::Key_Return);
        QVERIFY(!screen->nameBoxLocked());
        QVERIFY(label(screen, "lblHName")->isEnabled());
        QCOMPARE(nameBox(screen)->palette().color(QPalette::Base),
                 screen->palette().color(QPalette::Base));
        click(screen, "cmdHNew");
        QVERIFY(screen->nameBoxLocked());
        QVERIFY(listBox(screen)->hasFocus());
        QTest::keyClicks(listBox(screen), QStringLiteral("q"));
        QCOMPARE(listBox(screen)->text(), QStringLiteral("q"));  // the key reaches the box
        QVERIFY(!screen->nameBoxLocked());
        clickItem(screen, QStringLiteral("weekly.txt"));
        QVERIFY(screen->nameBoxLocked());
        QTest::keyClicks(listBox(screen), QStringLiteral("z"));
        QVERIFY(!screen->nameBoxLocked());
        click(screen, "cmdHDel");
        QVERIFY(screen->nameBoxLocked());
        // Saving changes nothing of it.
        QTest::keyClicks(listBox(screen), QStringLiteral("a"));
        QTest::keyClicks(nameBox(screen), QStringLiteral("n"));
        click(screen, "cmdHSave");
        QVERIFY(!screen->nameBoxLocked());
    }

    void menuItemsRunTheButtons() {
        ShopScreen* screen = showScreen();
        auto* bar = screen->findChild<ScreenMenuBar*>(QStringLiteral("SMXPH"));
        typeList(screen, QStringLiteral("milk"));
        QTest::keyClicks(nameBox(screen), QStringLiteral("m"));
        bar->actionFor(QStringLiteral("keySave"))->trigger();
        QCOMPARE(folder_->read(QStringLiteral("Shopping List/m.txt")), QByteArray("milk\r\n"));
        // Keys that name no command, or differ in case, do nothing.
        for (const char* key : {"keyfile", "keyEdit", "keyTool", "keynew", "keyNew ", ""}) {
            screen->dispatchMenuKey(QString::fromLatin1(key));
        }
        QCOMPARE(listBox(screen)->text(), QStringLiteral("milk"));
        bar->actionFor(QStringLiteral("keyNew"))->trigger();
        QVERIFY(listBox(screen)->text().isEmpty());
        QVERIFY(nameBox(screen)->text().isEmpty());
        bar->actionFor(QStringLiteral("keyCalendar"))->trigger();
        QVERIFY(windows().loaded(QStringLiteral("frmCalendar"))->isVisible());
        QVERIFY(screen->isVisible());
        bar->actionFor(QStringLiteral("keyMain"))->trigger();
        QVERIFY(!windows().loaded(QStringLiteral("frmCalendar"))->isVisible());
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmMain"))->isVisible());
        QCOMPARE(bar->keyOf(1), QStringLiteral("keyfile"));
    }

    void mainKeepsTheContents() {
        ShopScreen* screen = showScreen();
        typeList(screen, QStringLiteral("keep me"));
        click(screen, "cmdHMain");
        QVERIFY(!screen->isVisible());
        QCOMPARE(windows().show(kShop), screen);
        QCOMPARE(listBox(screen)->text(), QStringLiteral("keep me"));
        QVERIFY(!screen->nameBoxLocked());
    }

    void calendarPictureOpensTheCalendar() {
        ShopScreen* screen = showScreen();
        auto* icon = screen->findChild<QWidget*>(QStringLiteral("imgHCal"));
        QTest::mouseClick(icon, Qt::LeftButton, {}, QPoint(16, 16));
        QVERIFY(windows().loaded(QStringLiteral("frmCalendar"))->isVisible());
        windows().hide(QStringLiteral("frmCalendar"));
        icon->setFocus();
        QTest::keyClick(icon, Qt::Key_Space);
        QVERIFY(windows().loaded(QStringLiteral("frmCalendar"))->isVisible());
        QVERIFY(screen->isVisible());
    }

    void printPrintsTheSavedFileOfTheSelectedItem() {
        QVERIFY(folder_->write(QStringLiteral("Shopping List/weekly.txt"), "milk\r\neggs\r\n"));
        QTemporaryDir out;
        test::PdfPrinter pdf(out.filePath(QStringLiteral("list.pdf")));
        ShopScreen* screen = showScreen();
        listWidget(screen)->setCurrentRow(0);
        typeList(screen, QStringLiteral("not printed"));
        click(screen, "cmdHPrint");
        QCOMPARE(pdf.dialogsShown, 1);
        const QString text = test::pdfText(pdf.printer()->outputFileName());
        QVERIFY2(text.contains(QRegularExpression(QStringLiteral("milk\\s*\\n\\s*eggs"))),
                 qPrintable(text));
        QVERIFY(!text.contains(QStringLiteral("printed")));
    }

    void printFailuresAreQuiet_data() {
        QTest::addColumn<bool>("dialogAnswer");
        QTest::addColumn<bool>("select");
        QTest::addColumn<bool>("removeFile");
        QTest::newRow("dialog cancelled") << false << true << false;
        QTest::newRow("no item selected") << true << false << false;
        QTest::newRow("file gone") << true << true << true;
    }
    void printFailuresAreQuiet() {
        QFETCH(bool, dialogAnswer);
        QFETCH(bool, select);
        QFETCH(bool, removeFile);
        QVERIFY(folder_->write(QStringLiteral("Shopping List/weekly.txt"), "milk\r\n"));
        QTemporaryDir out;
        test::PdfPrinter pdf(out.filePath(QStringLiteral("list.pdf")));
        pdf.answers = {dialogAnswer};
        ShopScreen* screen = showScreen();
        if (select) {
            listWidget(screen)->setCurrentRow(0);
        }
        if (removeFile) {
            QVERIFY(QFile::remove(folder_->file(QStringLiteral("Shopping List/weekly.txt"))));
        }
        screen->findChild<ScreenMenuBar*>(QStringLiteral("SMXPH"))
            ->actionFor(QStringLiteral("keyPrint"))
            ->trigger();
        QCOMPARE(pdf.dialogsShown, 1);
        QVERIFY(!QFile::exists(pdf.printer()->outputFileName()));
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
        QVERIFY(screen->isVisible());
    }

    void hoverHintsFollowThePointer() {
        ShopScreen* screen = showScreen();
        QLabel* hintFile = label(screen, "lblHMsg");
        QLabel* hintList = label(screen, "lblHMsg1");
        QLabel* hintName = label(screen, "lblHMsg2");
        QLabel* hintCalendar = label(screen, "lblHMsg3");
        const QList<QLabel*> all = {hintFile, hintList, hintName, hintCalendar};
        const auto lit = [&] {
            QList<bool> state;
            for (QLabel* hint : all) {
                state << HoverHints::isLit(hint);
            }
            return state;
        };
        // The name box is locked now; open it so that it takes the pointer.
        typeList(screen, QStringLiteral("a"));
        moveOver(listBox(screen)->viewport());
        QCOMPARE(lit(), (QList<bool>{false, true, false, false}));
        moveOver(nameBox(screen));
        QCOMPARE(lit(), (QList<bool>{false, true, true, false}));
        moveOver(screen->findChild<QWidget*>(QStringLiteral("clientArea")), QPoint(5, 5));
        QCOMPARE(lit(), (QList<bool>{false, false, false, false}));
        moveOver(listWidget(screen)->viewport());
        moveOver(label(screen, "lblHName"));
        moveOver(screen->findChild<QWidget*>(QStringLiteral("imgHCal")));
        QCOMPARE(lit(), (QList<bool>{true, false, true, true}));
        moveOver(screen->findChild<QWidget*>(QStringLiteral("clientArea")), QPoint(5, 5));
        QCOMPARE(lit(), (QList<bool>{false, false, false, false}));
    }

private:
    void registerWindows() {
        windows().registerWindow(kShop, [] { return new ShopScreen; });
        for (const char* name : {"frmError", "frmMain", "frmCalendar"}) {
            windows().registerWindow(QString::fromLatin1(name), [] { return new StandInWindow; });
        }
    }
    ShopScreen* showScreen() {
        auto* screen = qobject_cast<ShopScreen*>(windows().show(kShop));
        if (screen && screen->isVisible()) {
            if (!QTest::qWaitForWindowExposed(screen)) {
                return nullptr;
            }
        }
        return screen;
    }
    static QLabel* label(QWidget* screen, const char* name) {
        return screen->findChild<QLabel*>(QString::fromLatin1(name));
    }
    static QLineEdit* nameBox(QWidget* screen) {
        return screen->findChild<QLineEdit*>(QStringLiteral("txtHName"));
    }
    static MultiLineBox* listBox(QWidget* screen) {
        return screen->findChild<MultiLineBox*>(QStringLiteral("txtHList"));
    }
    static QListWidget* listWidget(QWidget* screen) {
        return screen->findChild<QListWidget*>(QStringLiteral("lswHOpen"));
    }
    static QStringList listed(QWidget* screen) {
        QStringList names;
        for (int i = 0; i < listWidget(screen)->count(); ++i) {
            names << listWidget(screen)->item(i)->text();
        }
        return names;
    }
    static void click(QWidget* screen, const char* button) {
        QTest::mouseClick(screen->findChild<QPushButton*>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    }
    // Types into the list box as the user does: the first key goes through
    // the keyboard, the rest (line breaks included) is put in place after it.
    static void typeList(QWidget* screen, const QString& text) {
        MultiLineBox* box = listBox(screen);
        box->setFocus();
        if (text.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Space);
            box->setText(QString());
            return;
        }
        QTest::keyClicks(box, text.left(1));
        const QString typed = box->text();
        box->setText(typed + text.mid(1));
    }
    // Characters the test keyboard cannot type go in as typed text.
    static void typeName(QWidget* screen, const QString& name) {
        for (const QChar c : name) {
            if (c.unicode() < 128) {
                QTest::keyClicks(nameBox(screen), QString(c));
            } else {
                nameBox(screen)->insert(QString(c));
            }
        }
    }
    static void clickItem(QWidget* screen, const QString& name) {
        QListWidget* list = listWidget(screen);
        const auto items = list->findItems(name, Qt::MatchExactly);
        QCOMPARE(items.size(), 1);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(items.at(0)).center());
    }
    static void clickEmptyListArea(QWidget* screen) {
        QListWidget* list = listWidget(screen);
        const QPoint below(5, list->viewport()->height() - 3);
        QVERIFY(!list->itemAt(below));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, below);
    }
    static void moveOver(QWidget* widget, QPoint pos = {}) {
        if (pos.isNull()) {
            pos = widget->rect().center();
        }
        QMouseEvent move(QEvent::MouseMove, pos, widget->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &move);
    }

    std::unique_ptr<test::TempAppFolder> folder_;
    std::unique_ptr<test::RecordingMessages> messages_;
};

QTEST_MAIN(ShopScreenTest)
#include "tst_shopscreen.moc"
