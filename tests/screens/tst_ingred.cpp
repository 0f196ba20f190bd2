#include "digitfilter.h"
#include "errorstate.h"
#include "failures.h"
#include "hoverhints.h"
#include "ingredscreen.h"
#include "notice.h"
#include "screentext.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

using namespace pv;

namespace {

class StandIn : public PvWindow {};

const QByteArray kEmptyRecord = [] {
    QByteArray record;
    for (int i = 0; i < 35; ++i) {
        record += i == 0 ? "\"\"" : ",\"\"";
    }
    return record + "\r\n";
}();

}  // namespace

class IngredScreenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempAppFolder> app_;
    std::unique_ptr<test::RecordingMessages> messages_;

    IngredScreen* open() {
        auto* screen = windows().show(QStringLiteral("frmIngred"));
        return qobject_cast<IngredScreen*>(screen);
    }
    template <typename T = QLineEdit>
    static T* child(QWidget* screen, const QString& name) {
        T* found = screen->findChild<T*>(name);
        if (!found) {
            qWarning("no control %s", qPrintable(name));
        }
        return found;
    }
    static void pick(QComboBox* box, const QString& text) {
        box->setCurrentIndex(box->findText(text));
    }

private slots:
    void init() {
        app_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
        windows().registerWindow(QStringLiteral("frmIngred"), [] { return new IngredScreen; });
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new StandIn; });
        windows().registerWindow(QStringLiteral("frmError"), [] { return new StandIn; });
        QVERIFY(app_->write(QStringLiteral("Category/category.txt"),
                            "Soups\r\nBreads, Cakes\r\nPies\r\n"));
        QDir(app_->path()).mkpath(QStringLiteral("Category/Soups"));
        QDir(app_->path()).mkpath(QStringLiteral("Category/Pies"));
    }
    void cleanup() {
        windows().reset();
        messages_.reset();
        app_.reset();
    }

    void windowAndControls_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("bold");
        QTest::newRow("category label") << "lblICat"
                                        << "Category:" << QRect(160, 16, 55, 13) << true;
        QTest::newRow("recipe label") << "lblIRec"
                                      << "Recipe:" << QRect(352, 16, 41, 13) << true;
        QTest::newRow("directions label") << "lblIDir"
                                          << "Directions:" << QRect(136, 280, 60, 13) << true;
        QTest::newRow("hint 1") << "lblIMsg1"
                                << "Choose a category and enter a recipe name."
                                << QRect(16, 40, 97, 57) << false;
        QTest::newRow("hint 2")
            << "lblIMsg2"
            << "Amt - amount (1,2) Type - how much (oz, lbs)   Ingredient - (beef, carrots)."
            << QRect(16, 128, 97, 73) << false;
        QTest::newRow("hint 3") << "lblIMsg3"
                                << "Enter the cooking directions in any manner you wish."
                                << QRect(16, 304, 97, 49) << false;
        QTest::newRow("amount heading 1") << "lblINAmt1"
                                          << "Amt:" << QRect(16, 24, 41, 13) << true;
        QTest::newRow("type heading 2") << "lblINType2"
                                        << "Type:" << QRect(400, 24, 41, 13) << true;
        QTest::newRow("ingredient heading 2") << "lblINIng2"
                                              << "Ingredient:" << QRect(448, 24, 81, 13) << true;
        QTest::newRow("temperature") << "lblITemp"
                                     << "Oven Temperature:" << QRect(8, 24, 110, 13) << true;
        QTest::newRow("serving size") << "lblISrv"
                                      << "Srv Size:" << QRect(168, 24, 48, 13) << true;
        QTest::newRow("cooking time") << "lblICook"
                                      << "Cooking Time:" << QRect(264, 24, 79, 13) << true;
        QTest::newRow("hours") << "lblIHr"
                               << "Hr" << QRect(384, 32, 11, 13) << false;
        QTest::newRow("minutes") << "lblIMin"
                                 << "Min" << QRect(432, 32, 16, 13) << false;
    }
    void windowAndControls() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        QFETCH(bool, bold);
        IngredScreen* screen = open();
        QVERIFY(screen);
        QCOMPARE(screen->objectName(), QStringLiteral("frmIngred"));
        QCOMPARE(screen->windowTitle(), QStringLiteral("Ingredients"));
        QCOMPARE(screen->findChild<QWidget*>(QStringLiteral("clientArea"))->size(),
                 QSize(826, 538));
        auto* label = child<QLabel>(screen, name);
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        QCOMPARE(label->geometry(), geometry);
        QCOMPARE(label->font().bold(), bold);
    }

    void boxesFramesAndButtons_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("accessibleName");
        QTest::newRow("name") << "txtIName" << QRect(352, 32, 209, 19) << 40 << "Recipe";
        QTest::newRow("amount 1") << "txtIA1" << QRect(16, 40, 33, 19) << 5 << "Amount 1";
        QTest::newRow("amount 2") << "txtIA2" << QRect(16, 64, 33, 19) << 32767 << "Amount 2";
        QTest::newRow("amount 6") << "txtIA6" << QRect(352, 40, 33, 19) << 32767 << "Amount 6";
        QTest::newRow("type 1") << "txtIT1" << QRect(64, 40, 33, 19) << 32767 << "Type 1";
        QTest::newRow("type 10") << "txtIT10" << QRect(400, 136, 33, 19) << 32767 << "Type 10";
        QTest::newRow("ingredient 1")
            << "txtIN1" << QRect(112, 40, 217, 19) << 39 << "Ingredient 1";
        QTest::newRow("ingredient 5")
            << "txtIN5" << QRect(112, 136, 217, 19) << 32767 << "Ingredient 5";
        QTest::newRow("ingredient 6")
            << "txtIN6" << QRect(448, 40, 217, 19) << 39 << "Ingredient 6";
        QTest::newRow("ingredient 7")
            << "txtIN7" << QRect(448, 64, 217, 19) << 32767 << "Ingredient 7";
        QTest::newRow("temperature")
            << "txtICTemp" << QRect(128, 24, 25, 19) << 3 << "Oven Temperature";
        QTest::newRow("size") << "txtICSize" << QRect(224, 24, 25, 19) << 3 << "Srv Size";
        QTest::newRow("hours") << "txtICHr" << QRect(352, 24, 25, 19) << 2 << "Cooking Time hours";
        QTest::newRow("minutes") << "txtICMin" << QRect(400, 24, 25, 19) << 3
                                 << "Cooking Time minutes";
    }
    void boxesFramesAndButtons() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QFETCH(int, limit);
        QFETCH(QString, accessibleName);
        IngredScreen* screen = open();
        auto* box = child(screen, name);
        QVERIFY(box);
        QCOMPARE(box->geometry(), geometry);
        QCOMPARE(box->maxLength(), limit);
        QCOMPARE(box->accessibleName(), accessibleName);
        QVERIFY(!box->font().bold());
        QVERIFY(box->text().isEmpty());
    }

    void framesButtonsAndDirections() {
        IngredScreen* screen = open();
        auto* ingredients = child<QGroupBox>(screen, QStringLiteral("fraIn"));
        QCOMPARE(ingredients->title(), QStringLiteral("Ingredients:"));
        QCOMPARE(ingredients->geometry(), QRect(136, 80, 681, 185));
        QVERIFY(ingredients->font().bold());
        QCOMPARE(child(screen, QStringLiteral("txtIA10"))->parentWidget(), ingredients);
        auto* cooking = child<QGroupBox>(screen, QStringLiteral("fraICook"));
        QCOMPARE(cooking->title(), QStringLiteral("Cooking Info:"));
        QCOMPARE(cooking->geometry(), QRect(136, 432, 681, 57));
        QVERIFY(cooking->font().bold());
        auto* directions = child<MultiLineBox>(screen, QStringLiteral("txtIDirec"));
        QCOMPARE(directions->geometry(), QRect(136, 296, 681, 121));
        QCOMPARE(directions->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        auto* category = child<QComboBox>(screen, QStringLiteral("cboIng"));
        QCOMPARE(category->geometry(), QRect(160, 32, 169, 21));
        QCOMPARE(child<QLabel>(screen, QStringLiteral("lblICat"))->buddy(), category);
        const QList<std::pair<QString, QString>> buttons{
            {"cmdINew", "New"}, {"cmdISave", "Save"}, {"cmdIMain", "Main"}};
        int left = 600;
        for (const auto& [name, caption] : buttons) {
            auto* button = child<QPushButton>(screen, name);
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->geometry(), QRect(left, 504, 65, 25));
            left += name == QLatin1String("cmdINew") ? 72 : 80;
        }
        for (const char* hint : {"lblIMsg1", "lblIMsg2", "lblIMsg3"}) {
            QCOMPARE(HoverHints::colourOf(child<QLabel>(screen, QLatin1String(hint))),
                     HoverHints::unlitColour());
        }
    }

    void tabOrderRunsLineByLine() {
        IngredScreen* screen = open();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        QStringList expected{"cboIng", "txtIName"};
        for (int line = 1; line <= 10; ++line) {
            const QString n = QString::number(line);
            expected << "txtIA" + n << "txtIT" + n << "txtIN" + n;
        }
        expected << "txtICTemp"
                 << "txtICSize"
                 << "txtICHr"
                 << "txtICMin"
                 << "txtIDirec"
                 << "cmdINew"
                 << "cmdISave"
                 << "cmdIMain";
        child<QComboBox>(screen, QStringLiteral("cboIng"))->setFocus();
        QStringList visited{QApplication::focusWidget()->objectName()};
        for (qsizetype i = 1; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void menuBarItemsAndDispatch() {
        IngredScreen* screen = open();
        auto* bar = child<ScreenMenuBar>(screen, QStringLiteral("SMXPI"));
        QVERIFY(bar);
        QCOMPARE(bar->keyOf(1), QStringLiteral("keyfile"));
        QCOMPARE(bar->keyOf(2), QStringLiteral("keyNew"));
        QCOMPARE(bar->keyOf(3), QString());
        QCOMPARE(bar->keyOf(4), QStringLiteral("keySave"));
        QCOMPARE(bar->keyOf(5), QString());
        QCOMPARE(bar->keyOf(6), QStringLiteral("keyMain"));
        QCOMPARE(bar->actionFor(QStringLiteral("keyfile"))->text(), QStringLiteral("&File"));
        const QList<QAction*> entries =
            bar->actionFor(QStringLiteral("keyfile"))->menu()->actions();
        QCOMPARE(entries.size(), 5);
        QCOMPARE(entries.at(0)->text(), QStringLiteral("New"));
        QVERIFY(entries.at(1)->isSeparator());
        QCOMPARE(entries.at(2)->text(), QStringLiteral("Save"));
        QVERIFY(entries.at(3)->isSeparator());
        QCOMPARE(entries.at(4)->text(), QStringLiteral("Main"));
        for (int i : {0, 2, 4}) {
            QVERIFY(!entries.at(i)->icon().isNull());
        }
        QCOMPARE(bar->font().family(), QFont(QStringLiteral("Tahoma")).family());

        // Save by the menu writes the recipe, New by the menu empties the boxes.
        pick(child<QComboBox>(screen, QStringLiteral("cboIng")), QStringLiteral("Soups"));
        child(screen, QStringLiteral("txtIName"))->setText(QStringLiteral("Stew"));
        bar->actionFor(QStringLiteral("keySave"))->trigger();
        QVERIFY(QFile::exists(app_->file(QStringLiteral("Category/Soups/Stew"))));
        bar->actionFor(QStringLiteral("keyNew"))->trigger();
        QVERIFY(child(screen, QStringLiteral("txtIName"))->text().isEmpty());
        // The top menu does nothing; Main hides the screen and shows the main menu.
        emit bar->itemClicked(1);
        QVERIFY(screen->isVisible());
        bar->actionFor(QStringLiteral("keyMain"))->trigger();
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmMain"))->isVisible());
        QVERIFY(messages_->shown.isEmpty());
    }

    void missingIconLeavesTheItemWithoutPicture() {
        QVERIFY(QFile::remove(app_->file(QStringLiteral("images/Save.ico"))));
        IngredScreen* screen = open();
        QVERIFY(screen->isVisible());
        auto* bar = child<ScreenMenuBar>(screen, QStringLiteral("SMXPI"));
        QAction* save = bar->actionFor(QStringLiteral("keySave"));
        QVERIFY(save);
        QVERIFY(save->icon().isNull());
        QVERIFY(!bar->actionFor(QStringLiteral("keyMain"))->icon().isNull());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
        QCOMPARE(child<QComboBox>(screen, QStringLiteral("cboIng"))->count(), 4);
    }

    void loadFillsTheCategoriesByField() {
        IngredScreen* screen = open();
        auto* category = child<QComboBox>(screen, QStringLiteral("cboIng"));
        QStringList names;
        for (int i = 0; i < category->count(); ++i) {
            names << category->itemText(i);
        }
        QCOMPARE(names, QStringList({"Soups", "Breads", "Cakes", "Pies"}));
        QCOMPARE(category->currentIndex(), -1);
        QVERIFY(!category->isEditable());
        QVERIFY(messages_->shown.isEmpty());
    }

    void loadWithoutCategoryListShowsTheNotice() {
        QVERIFY(QFile::remove(app_->file(QStringLiteral("Category/category.txt"))));
        IngredScreen* screen = open();
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, noCategoryText());
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QVERIFY(windows().loaded(QStringLiteral("frmMain"))->isVisible());
        QVERIFY(screen->isVisible());
        QCOMPARE(child<QComboBox>(screen, QStringLiteral("cboIng"))->count(), 0);
        QVERIFY(programErrors().ErrorLocation.isEmpty());
        QVERIFY(!windows().loaded(QStringLiteral("frmError")));
    }

    void loadFailureEndsInTheErrorReport() {
        // A folder where the list file should be.
        QVERIFY(QFile::remove(app_->file(QStringLiteral("Category/category.txt"))));
        QVERIFY(QDir(app_->path()).mkpath(QStringLiteral("Category/category.txt")));
        IngredScreen* screen = open();
        QCOMPARE(programErrors().ErrorLocation, QStringLiteral("I - FL -"));
        QVERIFY(programErrors().ErrorNumberText.startsWith(QLatin1Char(' ')));
        QVERIFY(programErrors().ErrorNumberText != QStringLiteral(" 53"));
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmError"))->isVisible());
        QVERIFY(messages_->shown.isEmpty());
    }

    void typedRecipeIsSavedByteForByte() {
        IngredScreen* screen = open();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        pick(child<QComboBox>(screen, QStringLiteral("cboIng")), QStringLiteral("Soups"));
        QTest::keyClicks(child(screen, QStringLiteral("txtIName")), QStringLiteral("Onion soup"));
        QTest::keyClicks(child(screen, QStringLiteral("txtIA1")), QStringLiteral("1/2"));
        QTest::keyClicks(child(screen, QStringLiteral("txtIT1")), QStringLiteral("lbs"));
        QTest::keyClicks(child(screen, QStringLiteral("txtIN1")), QStringLiteral("onions"));
        QTest::keyClicks(child(screen, QStringLiteral("txtIA7")), QStringLiteral("2"));
        QTest::keyClicks(child(screen, QStringLiteral("txtIT7")), QStringLiteral(" cups "));
        QTest::keyClicks(child(screen, QStringLiteral("txtIN7")), QStringLiteral("broth"));
        auto* directions = child<MultiLineBox>(screen, QStringLiteral("txtIDirec"));
        QTest::keyClicks(directions, QStringLiteral("Slice."));
        QTest::keyClick(directions, Qt::Key_Return);
        QTest::keyClicks(directions, QStringLiteral("Simmer 1 hour."));
        QTest::keyClicks(child(screen, QStringLiteral("txtICTemp")), QStringLiteral("350F"));
        QTest::keyClicks(child(screen, QStringLiteral("txtICSize")), QStringLiteral("4"));
        QTest::keyClicks(child(screen, QStringLiteral("txtICHr")), QStringLiteral("1h"));
        QTest::keyClicks(child(screen, QStringLiteral("txtICMin")), QStringLiteral("30"));
        QTest::mouseClick(child<QPushButton>(screen, QStringLiteral("cmdISave")), Qt::LeftButton);

        QByteArray expected =
            "\"12\",\"\",\"\",\"\",\"\",\"\",\"2\",\"\",\"\",\"\","
            "\"lbs\",\"\",\"\",\"\",\"\",\"\",\" cups \",\"\",\"\",\"\","
            "\"onions\",\"\",\"\",\"\",\"\",\"\",\"broth\",\"\",\"\",\"\","
            "\"Slice.\r\nSimmer 1 hour.\",\"350\",\"4\",\"1h\",\"30\"\r\n";
        QCOMPARE(app_->read(QStringLiteral("Category/Soups/Onion soup")), expected);
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(screen->isVisible());
        // The boxes keep their text after a save.
        QCOMPARE(child(screen, QStringLiteral("txtIName"))->text(), QStringLiteral("Onion soup"));
        QCOMPARE(directions->text(), QStringLiteral("Slice.\r\nSimmer 1 hour."));

        // A second save of the same name replaces the file, still without a message.
        child(screen, QStringLiteral("txtIT1"))->setText(QStringLiteral("kg"));
        QTest::mouseClick(child<QPushButton>(screen, QStringLiteral("cmdISave")), Qt::LeftButton);
        expected.replace("\"lbs\"", "\"kg\"");
        QCOMPARE(app_->read(QStringLiteral("Category/Soups/Onion soup")), expected);
        QCOMPARE(QDir(app_->file(QStringLiteral("Category/Soups"))).entryList(QDir::Files).size(),
                 1);
        QVERIFY(messages_->shown.isEmpty());
    }

    void emptyRecipeIsThirtyFiveEmptyFields() {
        IngredScreen* screen = open();
        pick(child<QComboBox>(screen, QStringLiteral("cboIng")), QStringLiteral("Pies"));
        child(screen, QStringLiteral("txtIName"))->setText(QStringLiteral("Blank"));
        screen->saveRecipe();
        const QByteArray bytes = app_->read(QStringLiteral("Category/Pies/Blank"));
        QCOMPARE(bytes, kEmptyRecord);
        QCOMPARE(bytes.size(), 106);
    }

    void refusedSaveKeepsTheBoxes_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ingredient");
        QTest::addColumn<QString>("message");
        QTest::newRow("no category")
            << QString() << "Stew"
            << "beef" << store::refusalMessage(store::Refusal::EmptyCategory);
        QTest::newRow("no name") << "Soups" << QString() << "beef"
                                 << store::refusalMessage(store::Refusal::EmptyRecipeName);
        QTest::newRow("separator in name")
            << "Soups"
            << "../Stew"
            << "beef" << store::refusalMessage(store::Refusal::BadRecipeName);
        QTest::newRow("not Windows-1252")
            << "Soups"
            << "Stew" << QStringLiteral(u"b\u0101ef")
            << store::refusalMessage(store::Refusal::UnencodableCharacter,
                                     QStringLiteral(u"\u0101"));
    }
    void refusedSaveKeepsTheBoxes() {
        QFETCH(QString, category);
        QFETCH(QString, name);
        QFETCH(QString, ingredient);
        QFETCH(QString, message);
        IngredScreen* screen = open();
        if (!category.isEmpty()) {
            pick(child<QComboBox>(screen, QStringLiteral("cboIng")), category);
        }
        child(screen, QStringLiteral("txtIName"))->setText(name);
        child(screen, QStringLiteral("txtIN3"))->setText(ingredient);
        child(screen, QStringLiteral("txtIA3"))->setText(QStringLiteral("3"));
        child<QPushButton>(screen, QStringLiteral("cmdISave"))->click();
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QCOMPARE(messages_->shown.at(0).text, message);
        QVERIFY(screen->isVisible());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
        QCOMPARE(child(screen, QStringLiteral("txtIName"))->text(), name);
        QCOMPARE(child(screen, QStringLiteral("txtIN3"))->text(), ingredient);
        QCOMPARE(child(screen, QStringLiteral("txtIA3"))->text(), QStringLiteral("3"));
        QCOMPARE(QDir(app_->file(QStringLiteral("Category/Soups"))).entryList(QDir::Files).size(),
                 0);
        QCOMPARE(QDir(app_->file(QStringLiteral("Category"))).entryList(QDir::Files),
                 QStringList{QStringLiteral("category.txt")});
    }

    void saveIntoCategoryWithoutFolderEndsInTheErrorReport() {
        IngredScreen* screen = open();
        pick(child<QComboBox>(screen, QStringLiteral("cboIng")), QStringLiteral("Cakes"));
        child(screen, QStringLiteral("txtIName"))->setText(QStringLiteral("Sponge"));
        child<QPushButton>(screen, QStringLiteral("cmdISave"))->click();
        QCOMPARE(programErrors().ErrorLocation, QStringLiteral("I - CS -"));
        QCOMPARE(programErrors().ErrorNumberText, QStringLiteral(" 76"));
        QCOMPARE(programErrors().ErrorDescription, QStringLiteral("Path not found"));
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmError"))->isVisible());
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(!QFile::exists(app_->file(QStringLiteral("Category/Cakes"))));
    }

    void newEmptiesEveryBoxAndKeepsTheCategory() {
        IngredScreen* screen = open();
        pick(child<QComboBox>(screen, QStringLiteral("cboIng")), QStringLiteral("Pies"));
        const QList<QLineEdit*> boxes =
            screen->findChildren<QLineEdit*>(QRegularExpression(QStringLiteral("^txtI")));
        QCOMPARE(boxes.size(), 35);  // name, 30 grid boxes, four cooking boxes
        for (QLineEdit* box : boxes) {
            box->setText(QStringLiteral("7"));
        }
        child<MultiLineBox>(screen, QStringLiteral("txtIDirec"))->setText(QStringLiteral("a\r\nb"));
        QTest::mouseClick(child<QPushButton>(screen, QStringLiteral("cmdINew")), Qt::LeftButton);
        for (QLineEdit* box : boxes) {
            QVERIFY2(box->text().isEmpty(), qPrintable(box->objectName()));
        }
        QVERIFY(child<MultiLineBox>(screen, QStringLiteral("txtIDirec"))->text().isEmpty());
        QCOMPARE(child<QComboBox>(screen, QStringLiteral("cboIng"))->currentText(),
                 QStringLiteral("Pies"));
        QVERIFY(screen->isVisible());
    }

    void mainHidesAndKeepsTheBoxesForTheNextVisit() {
        IngredScreen* screen = open();
        child(screen, QStringLiteral("txtIName"))->setText(QStringLiteral("Kept"));
        child<QPushButton>(screen, QStringLiteral("cmdIMain"))->click();
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmMain"))->isVisible());
        QCOMPARE(open(), screen);
        QCOMPARE(child(screen, QStringLiteral("txtIName"))->text(), QStringLiteral("Kept"));
    }

    void keyFilter_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("edits");  // keys that reached the box and changed it
        const struct {
            const char* row;
            const char* box;
            const char* typed;
            const char* expected;
            int edits;
        } rows[] = {
            {"a half", "txtIA1", "1/2", "12", 2},
            {"letters", "txtIA4", "abcXYZ", "", 0},
            {"point, minus, blank", "txtIA10", "1.5 -2", "152", 3},
            {"limit of five", "txtIA1", "1234567", "12345", 5},
            {"no limit", "txtIA2", "1234567", "1234567", 7},
            {"temperature", "txtICTemp", "35o0F", "350", 3},
            {"size", "txtICSize", "x4y", "4", 1},
            {"minutes", "txtICMin", "4:5", "45", 2},
            {"hours take anything", "txtICHr", "a/", "a/", 2},
            {"hours limit", "txtICHr", "1/2", "1/", 2},
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
        IngredScreen* screen = open();
        QLineEdit* edit = child(screen, box);
        QSignalSpy edited(edit, &QLineEdit::textEdited);
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), expected);
        QCOMPARE(edited.count(), edits);
    }

    void filteredBoxesStillEdit() {
        IngredScreen* screen = open();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        QLineEdit* amount = child(screen, QStringLiteral("txtIA3"));
        amount->setFocus();
        QTest::keyClicks(amount, QStringLiteral("123"));
        QTest::keyClick(amount, Qt::Key_Backspace);
        QCOMPARE(amount->text(), QStringLiteral("12"));
        QTest::keyClick(amount, Qt::Key_Left);
        QTest::keyClicks(amount, QStringLiteral("9"));
        QCOMPARE(amount->text(), QStringLiteral("192"));
        QTest::keyClick(amount, Qt::Key_Home);
        QTest::keyClick(amount, Qt::Key_Delete);
        QCOMPARE(amount->text(), QStringLiteral("92"));
        QTest::keyClick(amount, Qt::Key_End);
        QTest::keyClicks(amount, QStringLiteral("x7"));
        QCOMPARE(amount->text(), QStringLiteral("927"));
        QTest::keyClick(amount, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), child(screen, QStringLiteral("txtIT3")));
        // Shift+Tab goes back into the amount box.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), amount);
    }

    void pasteKeepsOnlyTheDigits_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("expected");
        QTest::newRow("amount") << "txtIA2"
                                << "a1/b2 c3"
                                << "123";
        QTest::newRow("within the limit") << "txtIA1"
                                          << "ab12345678"
                                          << "12345";
        QTest::newRow("temperature") << "txtICTemp"
                                     << "350 F"
                                     << "350";
        QTest::newRow("no digits") << "txtICMin"
                                   << "half"
                                   << "";
        QTest::newRow("hours take it all") << "txtICHr"
                                           << "1h"
                                           << "1h";
    }
    void pasteKeepsOnlyTheDigits() {
        QFETCH(QString, box);
        QFETCH(QString, clipboard);
        QFETCH(QString, expected);
        IngredScreen* screen = open();
        QLineEdit* edit = child(screen, box);
        QApplication::clipboard()->setText(clipboard);
        QTest::keySequence(edit, QKeySequence::Paste);
        QCOMPARE(edit->text(), expected);

        // The Paste of the box's context menu follows the same rule.
        edit->clear();
        QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(2, 2),
                                  edit->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(edit, &request);
        QMenu* menu = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* candidate = qobject_cast<QMenu*>(top); candidate && candidate->isVisible()) {
                menu = candidate;
            }
        }
        QVERIFY(menu);
        QAction* paste = nullptr;
        for (QAction* action : menu->actions()) {
            if (DigitFilter::isPasteAction(action)) {
                paste = action;
            }
        }
        QVERIFY(paste);
        paste->trigger();
        menu->close();
        QCOMPARE(edit->text(), expected);
    }

    void digitsOfAndPasses() {
        QCOMPARE(DigitFilter::digitsOf(QStringLiteral("1/2 ½ ٣x9")), QStringLiteral("129"));
        QVERIFY(DigitFilter::passes(QChar(8)));
        QVERIFY(DigitFilter::passes(QChar(9)));
        QVERIFY(DigitFilter::passes(QLatin1Char('0')));
        QVERIFY(DigitFilter::passes(QLatin1Char('9')));
        QVERIFY(!DigitFilter::passes(QLatin1Char('/')));
        QVERIFY(!DigitFilter::passes(QLatin1Char(':')));
        QVERIFY(!DigitFilter::passes(QChar(13)));
    }

    void hoverHintsFollowThePointer() {
        IngredScreen* screen = open();
        auto* hint1 = child<QLabel>(screen, QStringLiteral("lblIMsg1"));
        auto* hint2 = child<QLabel>(screen, QStringLiteral("lblIMsg2"));
        auto* hint3 = child<QLabel>(screen, QStringLiteral("lblIMsg3"));
        auto move = [](QWidget* over) {
            QMouseEvent event(QEvent::MouseMove, QPointF(1, 1), over->mapToGlobal(QPointF(1, 1)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(over, &event);
        };
        move(child<QLabel>(screen, QStringLiteral("lblIRec")));
        QVERIFY(HoverHints::isLit(hint1));
        QVERIFY(!HoverHints::isLit(hint2));
        move(child<QGroupBox>(screen, QStringLiteral("fraIn")));
        QVERIFY(HoverHints::isLit(hint1));  // both stay red until the background
        QVERIFY(HoverHints::isLit(hint2));
        move(child<MultiLineBox>(screen, QStringLiteral("txtIDirec"))->viewport());
        QVERIFY(HoverHints::isLit(hint3));
        move(screen->findChild<QWidget*>(QStringLiteral("clientArea")));
        for (QLabel* hint : {hint1, hint2, hint3}) {
            QCOMPARE(HoverHints::colourOf(hint), HoverHints::unlitColour());
        }
        move(child(screen, QStringLiteral("txtIName")));
        QVERIFY(HoverHints::isLit(hint1));
        move(child<QLabel>(screen, QStringLiteral("lblICat")));
        QVERIFY(HoverHints::isLit(hint1));
        QVERIFY(!HoverHints::isLit(hint2));
    }
};

QTEST_MAIN(IngredScreenTest)
#include "tst_ingred.moc"
