#include "digitfilter.h"
#include "errorstate.h"
#include "failures.h"
#include "multilinebox.h"
#include "notice.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "setupwindow.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;

class RecipeEntryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempAppFolder> app_;
    std::unique_ptr<test::RecordingMessages> messages_;
    RecipeEntryWindow* screen_ = nullptr;

    template <typename T = QLineEdit>
    T* child(const QString& name) const {
        T* found = screen_->findChild<T*>(name);
        if (!found) {
            qWarning("no control %s", qPrintable(name));
        }
        return found;
    }
    RecipeEntryWindow* open() {
        return screen_ = qobject_cast<RecipeEntryWindow*>(windows().show(WindowId::RecipeEntry));
    }
    void pick(const QString& category) {
        auto* box = child<QComboBox>(u"cboIng"_s);
        box->setCurrentIndex(box->findText(category));
    }
    void click(const QString& button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    QStringList files(const QString& folder) const {
        return QDir(app_->file(folder)).entryList(QDir::Files);
    }

private slots:
    void init() {
        app_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
        windows().registerWindow(WindowId::RecipeEntry, [] { return new RecipeEntryWindow; });
        test::registerStandIns();
        QVERIFY(app_->write(u"Category/category.txt"_s, "Soups\r\nBreads, Cakes\r\nPies\r\n"));
        QVERIFY(QDir(app_->path()).mkpath(u"Category/Soups"_s));
        QVERIFY(QDir(app_->path()).mkpath(u"Category/Pies"_s));
    }
    void cleanup() {
        windows().reset();
        messages_.reset();
        app_.reset();
    }

    void menuBarItemsAndDispatch() {
        QVERIFY(QFile::remove(app_->file(u"images/Save.ico"_s)));
        QVERIFY(open());
        auto* bar = child<ScreenMenuBar>(u"SMXPI"_s);
        // A missing icon costs only its picture.
        QVERIFY(bar->actionFor(u"keySave"_s)->icon().isNull());
        QVERIFY(!bar->actionFor(u"keyMain"_s)->icon().isNull());

        pick(u"Soups"_s);
        child(u"txtIName"_s)->setText(u"Stew"_s);
        bar->actionFor(u"keySave"_s)->trigger();
        QCOMPARE(files(u"Category/Soups"_s), QStringList{u"Stew"_s});
        bar->actionFor(u"keyNew"_s)->trigger();
        QVERIFY(child(u"txtIName"_s)->text().isEmpty());
        bar->actionFor(u"keyMain"_s)->trigger();
        QVERIFY(!screen_->isVisible());
        QVERIFY(windows().loaded(WindowId::Main)->isVisible());
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(programErrors().errorLocation.isEmpty());
    }

    void loadFillsTheCategories_data() {
        QTest::addColumn<int>("list");  // 0 there, 1 missing, 2 a folder in its place
        QTest::newRow("by field") << 0;
        QTest::newRow("missing list: the notice") << 1;
        QTest::newRow("folder in its place: the error report") << 2;
    }
    void loadFillsTheCategories() {
        QFETCH(int, list);
        if (list > 0) {
            QVERIFY(QFile::remove(app_->file(u"Category/category.txt"_s)));
        }
        if (list == 2) {
            QVERIFY(QDir(app_->path()).mkpath(u"Category/category.txt"_s));
        }
        QVERIFY(open());
        auto* category = child<QComboBox>(u"cboIng"_s);
        QStringList names;
        for (int i = 0; i < category->count(); ++i) {
            names << category->itemText(i);
        }
        QCOMPARE(names, list ? QStringList() : QStringList({"Soups", "Breads", "Cakes", "Pies"}));
        QCOMPARE(category->currentIndex(), -1);
        QVERIFY(!category->isEditable());
        QCOMPARE(screen_->isVisible(), list < 2);
        QCOMPARE(windows().loaded(WindowId::Error) != nullptr, list == 2);
        QCOMPARE(programErrors().errorLocation, list == 2 ? u"I - FL -"_s : QString());
        QVERIFY(list < 2 || programErrors().errorNumberText != u" 53"_s);
        QCOMPARE(messages_->shown.size(), list == 1 ? 1 : 0);
        if (list == 1) {
            QCOMPARE(messages_->shown.at(0).text, noCategoryText());
            QCOMPARE(messages_->shown.at(0).title, u"User error"_s);
        }
    }

    void savedByteForByte() {
        QVERIFY(open());
        pick(u"Soups"_s);
        const std::pair<const char*, const char*> typed[] = {
            {"txtIName", "Onion soup"}, {"txtIT1", "lbs"}, {"txtIT7", " cups "},
            {"txtIN7", "broth"},        {"txtICHr", "1h"}, {"txtICMin", "30"}};
        for (const auto& [box, text] : typed) {
            child(QLatin1String(box))->setText(QLatin1String(text));
        }
        child<MultiLineBox>(u"txtIDirec"_s)->setText(u"Slice.\r\nSimmer."_s);
        click(u"cmdISave"_s);
        QByteArray expected =
            "\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\","
            "\"lbs\",\"\",\"\",\"\",\"\",\"\",\" cups \",\"\",\"\",\"\","
            "\"\",\"\",\"\",\"\",\"\",\"\",\"broth\",\"\",\"\",\"\","
            "\"Slice.\r\nSimmer.\",\"\",\"\",\"1h\",\"30\"\r\n";
        QCOMPARE(app_->read(u"Category/Soups/Onion soup"_s), expected);
        QVERIFY(messages_->shown.isEmpty());
        QCOMPARE(child(u"txtIName"_s)->text(), u"Onion soup"_s);  // the boxes keep their text

        // Saved again under the same name, the file is replaced.
        child(u"txtIT1"_s)->setText(u"kg"_s);
        click(u"cmdISave"_s);
        QCOMPARE(app_->read(u"Category/Soups/Onion soup"_s), expected.replace("\"lbs\"", "\"kg\""));
        QCOMPARE(files(u"Category/Soups"_s).size(), 1);

        // An empty recipe is 35 empty fields.
        click(u"cmdINew"_s);
        child(u"txtIName"_s)->setText(u"Blank"_s);
        click(u"cmdISave"_s);
        QCOMPARE(app_->read(u"Category/Soups/Blank"_s),
                 "\"\"" + QByteArray(",\"\"").repeated(34) + "\r\n");
        QVERIFY(messages_->shown.isEmpty());
    }

    void refusedSaveKeepsTheBoxes_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ingredient");
        QTest::addColumn<QString>("message");
        using store::Refusal, store::refusalMessage;
        QTest::newRow("no category")
            << QString() << u"Stew"_s << u"beef"_s << refusalMessage(Refusal::EmptyCategory);
        QTest::newRow("no name") << u"Soups"_s << QString() << u"beef"_s
                                 << refusalMessage(Refusal::EmptyRecipeName);
        QTest::newRow("separator in name")
            << u"Soups"_s << u"../Stew"_s << u"beef"_s << refusalMessage(Refusal::BadRecipeName);
        QTest::newRow("not Windows-1252")
            << u"Soups"_s << u"Stew"_s << u"b\u0101ef"_s
            << refusalMessage(Refusal::UnencodableCharacter, u"\u0101"_s);
    }
    void refusedSaveKeepsTheBoxes() {
        QFETCH(QString, category);
        QFETCH(QString, name);
        QFETCH(QString, ingredient);
        QFETCH(QString, message);
        QVERIFY(open());
        pick(category);
        child(u"txtIName"_s)->setText(name);
        child(u"txtIN3"_s)->setText(ingredient);
        click(u"cmdISave"_s);
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).title, u"User error"_s);
        QCOMPARE(messages_->shown.at(0).text, message);
        QVERIFY(screen_->isVisible());
        QVERIFY(programErrors().errorLocation.isEmpty());
        QCOMPARE(child(u"txtIName"_s)->text(), name);
        QCOMPARE(child(u"txtIN3"_s)->text(), ingredient);
        QVERIFY(files(u"Category/Soups"_s).isEmpty());
        QCOMPARE(files(u"Category"_s), QStringList{u"category.txt"_s});
    }

    // A listed category without a folder is the user's to sort out, the boxes keep their
    // text; any other failure of the file system still ends in the error report.
    void saveWithoutTheCategoryFolder_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("change");  // made outside the program after the pick
        QTest::addColumn<QString>("number");  // in the error report; empty: a User error
        QTest::newRow("listed, never made") << u"Cakes"_s << QString() << QString();
        QTest::newRow("folder removed") << u"Soups"_s << u"Category/Soups"_s << QString();
        QTest::newRow("category root removed") << u"Soups"_s << u"Category"_s << QString();
        QTest::newRow("a file in the folder's place")
            << u"Soups"_s << u"Category/Soups file"_s << u" 76"_s;
        QTest::newRow("a folder in the recipe's place")
            << u"Soups"_s << u"Category/Soups/Sponge/"_s << u" 75"_s;
    }
    void saveWithoutTheCategoryFolder() {
        QFETCH(QString, category);
        QFETCH(QString, change);
        QFETCH(QString, number);
        QVERIFY(open());
        pick(category);
        child(u"txtIName"_s)->setText(u"Sponge"_s);
        child(u"txtIN3"_s)->setText(u"eggs"_s);
        if (change.endsWith(u'/')) {
            QVERIFY(QDir(app_->path()).mkpath(change));
        } else if (!change.isEmpty()) {
            QVERIFY(QDir(app_->file(change.section(u' ', 0, 0))).removeRecursively());
            if (change.endsWith(u" file"_s)) {
                QVERIFY(app_->write(u"Category/Soups"_s, "not a folder"));
            }
        }
        click(u"cmdISave"_s);
        QCOMPARE(screen_->isVisible(), number.isEmpty());
        QCOMPARE(child(u"txtIName"_s)->text(), u"Sponge"_s);
        QCOMPARE(child(u"txtIN3"_s)->text(), u"eggs"_s);
        QVERIFY(!QFileInfo(app_->file(u"Category/"_s + category + u"/Sponge"_s)).isFile());
        if (number.isEmpty()) {
            QCOMPARE(messages_->shown.size(), 1);
            QCOMPARE(messages_->shown.at(0).title, u"User error"_s);
            QCOMPARE(messages_->shown.at(0).text,
                     u"The folder of the category \"%1\" is missing.\r"
                     "The recipe cannot be saved in it."_s.arg(category));
            QVERIFY(programErrors().errorLocation.isEmpty());
        } else {
            QVERIFY(messages_->shown.isEmpty());
            QCOMPARE(programErrors().errorLocation, u"I - CS -"_s);
            QCOMPARE(programErrors().errorNumberText, number);
            QVERIFY(windows().loaded(WindowId::Error)->isVisible());
        }
    }

    // Shown again, as the main menu does, either screen reads the categories again:
    // those made on the setup screen appear, deleted ones go. The choice stays while it
    // is listed; typed text is never touched; the browser drops a gone category's files
    // and the recipe it showed.
    void categoriesFollowTheSetupScreen_data() {
        QTest::addColumn<WindowId>("window");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("change");  // on the setup screen, or outside the program
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("after");  // the choice afterwards
        const QStringList setupLeaves{"Pies", "Breads"};
        for (WindowId window : {WindowId::RecipeEntry, WindowId::RecipeBrowser}) {
            const QByteArray w = objectNameOf(window).toLatin1();
            QTest::addRow("%s: choice still listed", w.data())
                << window << u"Pies"_s << u"setup"_s << setupLeaves << u"Pies"_s;
            QTest::addRow("%s: chosen category deleted", w.data())
                << window << u"Soups"_s << u"setup"_s << setupLeaves << QString();
            QTest::addRow("%s: list file gone", w.data())
                << window << u"Pies"_s << u"list gone"_s << QStringList() << QString();
            QTest::addRow("%s: a folder in the list's place", w.data())
                << window << u"Pies"_s << u"list a folder"_s << QStringList() << QString();
        }
    }
    void categoriesFollowTheSetupScreen() {
        QFETCH(WindowId, window);
        QFETCH(QString, chosen);
        QFETCH(QString, change);
        QFETCH(QStringList, offered);
        QFETCH(QString, after);
        windows().registerWindow(WindowId::RecipeBrowser, [] { return new RecipeBrowserWindow; });
        windows().registerWindow(WindowId::Setup, [] { return new SetupWindow; });
        QVERIFY(app_->write(u"Category/category.txt"_s, "Soups\r\nPies\r\n"));
        const QByteArray empty = "\"\"" + QByteArray(",\"\"").repeated(34) + "\r\n";
        QVERIFY(app_->write(u"Category/Soups/Stew"_s, empty));
        QVERIFY(app_->write(u"Category/Pies/Tart"_s, empty));
        const bool browser = window == WindowId::RecipeBrowser;
        QWidget* screen = windows().show(window);
        auto* category = screen->findChild<QComboBox*>(browser ? u"cboRCat"_s : u"cboIng"_s);
        category->setCurrentIndex(category->findText(chosen));
        QLineEdit* name = screen->findChild<QLineEdit*>(browser ? u"txtRName"_s : u"txtIName"_s);
        auto* files = screen->findChild<QListView*>(u"lswRFile"_s);
        if (browser) {
            emit category->activated(category->currentIndex());
            files->setFocus();
            QTest::keyClick(files, Qt::Key_Return);  // shows the first recipe
            QVERIFY(!name->text().isEmpty());
        } else {
            QTest::keyClicks(name, u"Sponge"_s);
            QTest::keyClicks(screen->findChild<QLineEdit*>(u"txtIN1"_s), u"flour"_s);
            QTest::mouseClick(screen->findChild<QPushButton*>(u"cmdIMain"_s), Qt::LeftButton);
        }
        const QString shown = name->text();

        if (change == u"setup"_s) {
            QWidget* setup = windows().show(WindowId::Setup);
            QTest::keyClicks(setup->findChild<QLineEdit*>(u"txtSCreate"_s), u"Breads"_s);
            QTest::mouseClick(setup->findChild<QPushButton*>(u"cmdSCreate"_s), Qt::LeftButton);
            auto* list = setup->findChild<QListWidget*>(u"lswSetup"_s);
            QTest::mouseClick(
                list->viewport(), Qt::LeftButton, {},
                list->visualItemRect(list->findItems(u"Soups"_s, {}).value(0)).center());
            QTest::mouseClick(setup->findChild<QPushButton*>(u"cmdSDel"_s), Qt::LeftButton);
            QTest::mouseClick(setup->findChild<QPushButton*>(u"cmdSMain"_s), Qt::LeftButton);
            QCOMPARE(messages_->shown.size(), 1);  // "1 category is deleted."
            messages_->shown.clear();
        } else {
            QVERIFY(QFile::remove(app_->file(u"Category/category.txt"_s)));
            if (change == u"list a folder"_s) {
                QVERIFY(QDir(app_->path()).mkpath(u"Category/category.txt"_s));
            }
        }
        QCOMPARE(windows().show(window), screen);

        const bool report = change == u"list a folder"_s;
        QCOMPARE(screen->isVisible(), !report);
        QCOMPARE(programErrors().errorLocation,
                 report ? (browser ? u"R - FL -"_s : u"I - FL -"_s) : QString());
        QStringList names;
        for (int i = 0; i < category->count(); ++i) {
            names << category->itemText(i);
        }
        QCOMPARE(names, offered);
        QCOMPARE(category->currentIndex() >= 0 ? category->currentText() : QString(), after);
        QCOMPARE(messages_->shown.size(), change == u"list gone"_s ? 1 : 0);
        if (!messages_->shown.isEmpty()) {
            QCOMPARE(messages_->shown.at(0).text, noCategoryText());
        }
        if (!browser) {
            QCOMPARE(name->text(), u"Sponge"_s);
            QCOMPARE(screen->findChild<QLineEdit*>(u"txtIN1"_s)->text(), u"flour"_s);
        } else if (!report) {
            // The recipe shown stays with its category, and goes with it.
            QCOMPARE(name->text(), after.isEmpty() ? QString() : shown);
            QCOMPARE(files->model()->rowCount(), after.isEmpty() ? 0 : 1);
            QCOMPARE(screen->findChild<QLineEdit*>(u"txtRHr"_s)->text(),
                     after.isEmpty() ? u"H"_s : u"H:"_s);
            QVERIFY(!screen->findChild<QCheckBox*>(u"chkRDel"_s)->isEnabled() || !after.isEmpty());
        }
    }

    void newEmptiesTheBoxesAndMainKeepsThem() {
        QVERIFY(open());
        pick(u"Pies"_s);
        const auto boxes = screen_->findChildren<QLineEdit*>(QRegularExpression(u"^txtI"_s));
        QCOMPARE(boxes.size(), 35);  // name, 30 grid boxes, four cooking boxes
        for (QLineEdit* box : boxes) {
            box->setText(u"7"_s);
        }
        auto* directions = child<MultiLineBox>(u"txtIDirec"_s);
        directions->setText(u"a\r\nb"_s);
        click(u"cmdINew"_s);
        for (QLineEdit* box : boxes) {
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        }
        QVERIFY(directions->text().isEmpty());
        QCOMPARE(child<QComboBox>(u"cboIng"_s)->currentText(), u"Pies"_s);

        child(u"txtIName"_s)->setText(u"Kept"_s);
        click(u"cmdIMain"_s);
        QVERIFY(!screen_->isVisible());
        QVERIFY(windows().loaded(WindowId::Main)->isVisible());
        RecipeEntryWindow* first = screen_;
        QCOMPARE(open(), first);
        QCOMPARE(child(u"txtIName"_s)->text(), u"Kept"_s);
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("edits");  // keys that reached the box and changed it
        const struct {
            const char *row, *box, *typed, *expected;
            int edits;
        } rows[] = {
            {"a half", "txtIA1", "1/2", "12", 2},
            {"letters", "txtIA4", "abcXYZ", "", 0},
            {"point, minus, blank", "txtIA10", "1.5 -2", "152", 3},
            {"limit of five", "txtIA1", "1234567", "12345", 5},
            {"backspace", "txtIA3", "123\b", "12", 4},
            {"temperature", "txtICTemp", "35o0F", "350", 3},
            {"size", "txtICSize", "x4y", "4", 1},
            {"minutes", "txtICMin", "4:5", "45", 2},
            {"hours take anything", "txtICHr", "1/2", "1/", 2},
            {"type is free text", "txtIT1", "1/2 oz", "1/2 oz", 6},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.row) << QString::fromLatin1(row.box) << QString::fromLatin1(row.typed)
                                   << QString::fromLatin1(row.expected) << row.edits;
        }
    }
    void keyFilter() {
        QFETCH(QString, box);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        QFETCH(int, edits);
        QVERIFY(open());
        QLineEdit* edit = child(box);
        QSignalSpy edited(edit, &QLineEdit::textEdited);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), expected);
        QCOMPARE(edited.count(), edits);
    }

    void pasteKeepsOnlyTheDigits_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("expected");
        QTest::newRow("amount") << u"txtIA2"_s << u"a1/b2 \u00bd \u0663c3"_s << u"123"_s;
        QTest::newRow("within the limit") << u"txtIA1"_s << u"ab12345678"_s << u"12345"_s;
        QTest::newRow("no digits") << u"txtICMin"_s << u"half"_s << QString();
        QTest::newRow("hours take it all") << u"txtICHr"_s << u"1h"_s << u"1h"_s;
    }
    void pasteKeepsOnlyTheDigits() {
        QFETCH(QString, box);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);
        QVERIFY(open());
        QLineEdit* edit = child(box);
        QApplication::clipboard()->setText(clipboard);
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(edit->text(), expected);

        // The Paste of the box's context menu follows the same rule.
        edit->clear();
        QContextMenuEvent request(QContextMenuEvent::Mouse, {2, 2},
                                  edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(edit, &request);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (QAction* action : menu->actions()) {
            if (DigitFilter::isPasteAction(action)) {
                action->trigger();
            }
        }
        menu->close();
        QCOMPARE(edit->text(), expected);
    }
};

QTEST_MAIN(RecipeEntryTest)
#include "tst_recipeentry.moc"
