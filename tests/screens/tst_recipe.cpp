#include "errorstate.h"
#include "hoverhints.h"
#include "notice.h"
#include "recipescreen.h"
#include "screentext.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

using namespace pv;

namespace {

class StandIn : public PvWindow {};

// One record of 35 quoted fields, with the given fields set (1-based).
QByteArray record(const QMap<int, QByteArray>& set) {
    QByteArray bytes;
    for (int field = 1; field <= 35; ++field) {
        if (field > 1) {
            bytes += ',';
        }
        bytes += '"' + set.value(field) + '"';
    }
    return bytes + "\r\n";
}

QString today() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

}  // namespace

class RecipeScreenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempAppFolder> app_;
    std::unique_ptr<test::RecordingMessages> messages_;

    RecipeScreen* open() {
        auto* screen = qobject_cast<RecipeScreen*>(windows().show(QStringLiteral("frmRecipe")));
        if (screen && screen->isVisible()) {
            QApplication::processEvents();
        }
        return screen;
    }
    template <typename T = QLineEdit>
    static T* child(QWidget* screen, const QString& name) {
        T* found = screen->findChild<T*>(name);
        if (!found) {
            qWarning("no control %s", qPrintable(name));
        }
        return found;
    }
    static QString text(QWidget* screen, const QString& name) {
        return child(screen, name)->text();
    }
    static void pick(QWidget* screen, const QString& category) {
        auto* box = child<QComboBox>(screen, QStringLiteral("cboRCat"));
        const int index = box->findText(category);
        QVERIFY(index >= 0);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    static QStringList listed(QWidget* screen) {
        QStringList names;
        QAbstractItemModel* model = child<QListView>(screen, QStringLiteral("lswRFile"))->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            names << model->index(row, 0).data().toString();
        }
        return names;
    }
    static void clickFile(QWidget* screen, const QString& name) {
        auto* list = child<QListView>(screen, QStringLiteral("lswRFile"));
        const QModelIndexList found = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        list->scrollTo(found.first());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(found.first()).center());
    }
    static void checkFixedTexts(QWidget* screen, const QString& serving, const QString& hours,
                                const QString& minutes) {
        QCOMPARE(text(screen, QStringLiteral("txtRSrv")), serving);
        QCOMPARE(text(screen, QStringLiteral("txtRTemp1")), QStringLiteral("F"));
        QCOMPARE(text(screen, QStringLiteral("txtRSlash")), QString(121, QLatin1Char('-')));
        const QStringList headings{"Amt", "Type", "Ingredients", "Amt", "Type", "Ingredients"};
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(text(screen, QStringLiteral("Text%1").arg(i + 1)), headings.at(i));
        }
        QCOMPARE(text(screen, QStringLiteral("txtRHr")), hours);
        QCOMPARE(text(screen, QStringLiteral("txtRMin")), minutes);
    }

private slots:
    void init() {
        app_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
        windows().registerWindow(QStringLiteral("frmRecipe"), [] { return new RecipeScreen; });
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new StandIn; });
        windows().registerWindow(QStringLiteral("frmError"), [] { return new StandIn; });
        QVERIFY(app_->write(QStringLiteral("Category/category.txt"),
                            "Soups\r\nPies\r\nEmpty\r\nGone\r\n"));
        QDir root(app_->path());
        QVERIFY(root.mkpath(QStringLiteral("Category/Soups")));
        QVERIFY(root.mkpath(QStringLiteral("Category/Pies")));
        QVERIFY(root.mkpath(QStringLiteral("Category/Empty")));
        QVERIFY(
            app_->write(QStringLiteral("Category/Soups/Stew"), record({{1, "2"},
                                                                       {11, "lbs"},
                                                                       {21, "beef"},
                                                                       {10, "1"},
                                                                       {20, "tsp"},
                                                                       {30, "salt"},
                                                                       {31, "Brown.\r\nSimmer."},
                                                                       {32, "325"},
                                                                       {33, "6"},
                                                                       {34, "2"},
                                                                       {35, "15"}})));
        QVERIFY(app_->write(QStringLiteral("Category/Soups/borscht.txt"), record({{21, "beets"}})));
        QVERIFY(app_->write(QStringLiteral("Category/Pies/Apple"), record({{21, "apples"}})));
    }
    void cleanup() {
        windows().reset();
        messages_.reset();
        app_.reset();
    }

    void designedTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("framed");
        QTest::newRow("name") << "txtRName"
                              << "" << QRect(152, 184, 289, 21) << true << true;
        QTest::newRow("serving label") << "txtRSrv"
                                       << "Size:" << QRect(520, 184, 33, 11) << true << false;
        QTest::newRow("serving size") << "txtRSize"
                                      << "" << QRect(552, 184, 25, 19) << false << false;
        QTest::newRow("date") << "txtRDate"
                              << " current date" << QRect(672, 184, 73, 17) << true << false;
        QTest::newRow("dashes") << "txtRSlash" << QString(121, QLatin1Char('-'))
                                << QRect(152, 200, 609, 19) << true << false;
        QTest::newRow("heading 1") << "Text1"
                                   << "Amt" << QRect(152, 208, 41, 17) << true << false;
        QTest::newRow("heading 3") << "Text3"
                                   << "Ingredients" << QRect(248, 208, 81, 17) << true << false;
        QTest::newRow("heading 5") << "Text5"
                                   << "Type" << QRect(496, 208, 41, 17) << true << false;
        QTest::newRow("amount 1") << "txtRA1"
                                  << "" << QRect(160, 232, 41, 19) << false << false;
        QTest::newRow("type 5") << "txtRT5"
                                << "" << QRect(208, 328, 41, 19) << false << false;
        QTest::newRow("ingredient 6") << "txtRI6"
                                      << "" << QRect(552, 232, 161, 19) << false << false;
        QTest::newRow("amount 10") << "txtRA10"
                                   << "" << QRect(456, 328, 41, 19) << false << false;
        QTest::newRow("temperature") << "txtRTemp"
                                     << "" << QRect(136, 464, 25, 11) << true << false;
        QTest::newRow("unit") << "txtRTemp1"
                              << "F" << QRect(160, 464, 7, 13) << true << false;
        QTest::newRow("hours label") << "txtRHr"
                                     << "H:" << QRect(176, 464, 17, 13) << true << false;
        QTest::newRow("hours") << "txtRHr1"
                               << "" << QRect(192, 464, 17, 13) << true << false;
        QTest::newRow("minutes label") << "txtRMin"
                                       << "M:" << QRect(216, 464, 17, 13) << true << false;
        QTest::newRow("minutes") << "txtRMin1"
                                 << "" << QRect(240, 464, 17, 11) << true << false;
    }
    void designedTexts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, geometry);
        QFETCH(bool, bold);
        QFETCH(bool, framed);
        RecipeScreen* screen = open();
        QVERIFY(screen);
        QCOMPARE(screen->windowTitle(), QStringLiteral("Recipes"));
        QCOMPARE(screen->findChild<QWidget*>(QStringLiteral("clientArea"))->size(),
                 QSize(786, 509));
        QLineEdit* box = child(screen, name);
        QVERIFY(box);
        QCOMPARE(box->text(), text);
        // Placed as designed; a wider stand-in font may only make it grow.
        QCOMPARE(box->pos(), geometry.topLeft());
        QCOMPARE(box->height(), geometry.height());
        QVERIFY(box->width() >= geometry.width());
        QVERIFY(box->width() >= box->fontMetrics().horizontalAdvance(text));
        QCOMPARE(box->font().bold(), bold);
        QCOMPARE(box->hasFrame(), framed);
        QVERIFY(!box->accessibleName().isEmpty());
    }

    void coloursLabelsAndButtons() {
        RecipeScreen* screen = open();
        const QColor blue(0, 0, 255);
        const QColor red(255, 0, 0);
        for (int i = 1; i <= 6; ++i) {
            QCOMPARE(
                child(screen, QStringLiteral("Text%1").arg(i))->palette().color(QPalette::Text),
                blue);
        }
        const QColor face = screen->palette().color(QPalette::Button);
        for (const char* name :
             {"txtRTemp", "txtRTemp1", "txtRHr", "txtRHr1", "txtRMin", "txtRMin1"}) {
            QCOMPARE(child(screen, QLatin1String(name))->palette().color(QPalette::Base), face);
        }
        for (const char* name : {"txtRTemp1", "txtRHr", "txtRMin"}) {
            QCOMPARE(child(screen, QLatin1String(name))->palette().color(QPalette::Text), red);
        }
        const QList<std::pair<QString, QString>> hints{
            {"lblRMsg", "Click the down arrow and click on a category name."},
            {"lblRMsg1", "Click a file name in the files box."},
            {"lblRMsg2", "To delete a file check this box."},
            {"lblRmsg3", "Enter the cooking directions here."}};
        for (const auto& [name, caption] : hints) {
            QCOMPARE(child<QLabel>(screen, name)->text(), caption);
        }
        QCOMPARE(HoverHints::colourOf(child<QLabel>(screen, QStringLiteral("lblRmsg3"))), blue);
        QCOMPARE(HoverHints::colourOf(child<QLabel>(screen, QStringLiteral("lblRMsg"))),
                 HoverHints::unlitColour());
        auto* frame = child<QGroupBox>(screen, QStringLiteral("fraRWhich"));
        QCOMPARE(frame->title(), QStringLiteral("Which one?"));
        QCOMPARE(frame->pos(), QPoint(136, 8));
        QCOMPARE(frame->height(), 145);
        QVERIFY(frame->width() >= 505);
        QVERIFY(frame->font().bold());
        QCOMPARE(child<QLabel>(screen, QStringLiteral("lblRCat"))->text(),
                 QStringLiteral("Categories:"));
        QVERIFY(!child<QLabel>(screen, QStringLiteral("lblRCat"))->font().bold());
        QCOMPARE(child<QLabel>(screen, QStringLiteral("lblRFile"))->text(),
                 QStringLiteral("Files:"));
        auto* box = child<QCheckBox>(screen, QStringLiteral("chkRDel"));
        QCOMPARE(box->text(), QStringLiteral("Delete this file?"));
        QCOMPARE(box->pos(), QPoint(408, 32));
        QCOMPARE(box->height(), 17);
        // Its caption is never cut, and the frame grows to hold it.
        QVERIFY(box->width() >= qMax(89, box->sizeHint().width()));
        QVERIFY(frame->contentsRect().right() >= box->geometry().right());
        QCOMPARE(child<QListView>(screen, QStringLiteral("lswRFile"))->geometry(),
                 QRect(168, 32, 201, 89));
        QCOMPARE(child<QPlainTextEdit>(screen, QStringLiteral("txtRDirec"))->geometry(),
                 QRect(136, 376, 641, 73));
        const QList<std::pair<QString, QString>> buttons{
            {"cmdRNew", "New"}, {"cmdRPrint", "Print"}, {"cmdRMain", "Main"}};
        int left = 560;
        for (const auto& [name, caption] : buttons) {
            auto* button = child<QPushButton>(screen, name);
            QCOMPARE(button->text(), caption);
            QCOMPARE(button->geometry(), QRect(left, 480, 65, 25));
            left += 72;
        }
    }

    void menuBarItemsAndDispatch() {
        RecipeScreen* screen = open();
        auto* bar = child<ScreenMenuBar>(screen, QStringLiteral("SMXPR"));
        QVERIFY(bar);
        const QStringList keys{"keyfile", "keyNew", "", "keyPrint", "", "keyMain"};
        for (int id = 1; id <= 6; ++id) {
            QCOMPARE(bar->keyOf(id), keys.at(id - 1));
        }
        const QList<QAction*> entries =
            bar->actionFor(QStringLiteral("keyfile"))->menu()->actions();
        QCOMPARE(entries.size(), 5);
        QCOMPARE(entries.at(0)->text(), QStringLiteral("New"));
        QVERIFY(entries.at(1)->isSeparator());
        QCOMPARE(entries.at(2)->text(), QStringLiteral("Print"));
        QVERIFY(entries.at(3)->isSeparator());
        QCOMPARE(entries.at(4)->text(), QStringLiteral("Main"));
        for (int i : {0, 2, 4}) {
            QVERIFY(!entries.at(i)->icon().isNull());
        }

        pick(screen, QStringLiteral("Soups"));
        clickFile(screen, QStringLiteral("Stew"));
        QCOMPARE(text(screen, QStringLiteral("txtRName")), QStringLiteral("Stew"));
        emit bar->itemClicked(1);  // the top menu does nothing
        emit bar->itemClicked(3);  // nor does a separator
        QCOMPARE(text(screen, QStringLiteral("txtRName")), QStringLiteral("Stew"));
        bar->actionFor(QStringLiteral("keyNew"))->trigger();
        QVERIFY(text(screen, QStringLiteral("txtRName")).isEmpty());
        QVERIFY(listed(screen).isEmpty());

        const QString pdf = app_->file(QStringLiteral("menu.pdf"));
        test::PdfPrinter printer(pdf);
        bar->actionFor(QStringLiteral("keyPrint"))->trigger();
        QCOMPARE(printer.dialogsShown, 1);
        QVERIFY(QFile::exists(pdf));

        bar->actionFor(QStringLiteral("keyMain"))->trigger();
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmMain"))->isVisible());
    }

    void loadFillsTheCategoriesAndDisablesTheDeleteBox() {
        QVERIFY(app_->write(QStringLiteral("Category/category.txt"),
                            "Soups\r\nBreads, Cakes\r\n  Pies\r\n"));
        RecipeScreen* screen = open();
        auto* categories = child<QComboBox>(screen, QStringLiteral("cboRCat"));
        QStringList names;
        for (int i = 0; i < categories->count(); ++i) {
            names << categories->itemText(i);
        }
        QCOMPARE(names, QStringList({"Soups", "Breads", "Cakes", "Pies"}));
        QCOMPARE(categories->currentIndex(), -1);
        QVERIFY(!child<QCheckBox>(screen, QStringLiteral("chkRDel"))->isEnabled());
        auto* list = child<QListView>(screen, QStringLiteral("lswRFile"));
        QCOMPARE(list->viewMode(), QListView::ListMode);
        QCOMPARE(list->model()->rowCount(), 0);
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal).toString(),
                 QStringLiteral("(recipe name)"));
        QCOMPARE(list->model()->headerData(0, Qt::Horizontal, Qt::SizeHintRole).toSize().width(),
                 210);
        QVERIFY(!list->model()->headerData(1, Qt::Horizontal).isValid());
        QVERIFY(messages_->shown.isEmpty());
    }

    void loadWithoutCategoryListShowsTheNotice() {
        QVERIFY(QFile::remove(app_->file(QStringLiteral("Category/category.txt"))));
        RecipeScreen* screen = open();
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, noCategoryText());
        QVERIFY(windows().loaded(QStringLiteral("frmMain"))->isVisible());
        QVERIFY(screen->isVisible());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
    }

    void loadFailureEndsInTheErrorReport() {
        QVERIFY(QFile::remove(app_->file(QStringLiteral("Category/category.txt"))));
        QVERIFY(QDir(app_->path()).mkpath(QStringLiteral("Category/category.txt")));
        RecipeScreen* screen = open();
        QCOMPARE(programErrors().ErrorLocation, QStringLiteral("R - FL -"));
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmError"))->isVisible());
        QVERIFY(messages_->shown.isEmpty());
    }

    void pickingACategoryListsItsFiles() {
        RecipeScreen* screen = open();
        QVERIFY(app_->write(QStringLiteral("Category/Soups/notes.doc"), "not a recipe"));
        QVERIFY(QDir(app_->path()).mkpath(QStringLiteral("Category/Soups/sub")));
        pick(screen, QStringLiteral("Soups"));
        QCOMPARE(listed(screen), QStringList({"borscht.txt", "notes.doc", "Stew"}));
        pick(screen, QStringLiteral("Empty"));
        QVERIFY(listed(screen).isEmpty());
        // Picking again reads the folder again.
        QVERIFY(app_->write(QStringLiteral("Category/Empty/Fresh"), record({})));
        pick(screen, QStringLiteral("Empty"));
        QCOMPARE(listed(screen), QStringList{QStringLiteral("Fresh")});
        QVERIFY(messages_->shown.isEmpty());
    }

    void missingCategoryFolderIsAUserError() {
        RecipeScreen* screen = open();
        pick(screen, QStringLiteral("Soups"));
        pick(screen, QStringLiteral("Gone"));
        QVERIFY(listed(screen).isEmpty());
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QCOMPARE(messages_->shown.at(0).text,
                 QStringLiteral("The folder of the category \"Gone\" is missing.\r"
                                "Its recipes cannot be listed."));
        QCOMPARE(messages_->shown.at(0).text, missingCategoryFolderText(QStringLiteral("Gone")));
        QVERIFY(screen->isVisible());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
        // The program goes on: another category still lists.
        pick(screen, QStringLiteral("Pies"));
        QCOMPARE(listed(screen), QStringList{QStringLiteral("Apple")});
    }

    void clickingAFileShowsTheRecipe() {
        RecipeScreen* screen = open();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        pick(screen, QStringLiteral("Soups"));
        auto* box = child<QCheckBox>(screen, QStringLiteral("chkRDel"));
        QVERIFY(!box->isEnabled());
        clickFile(screen, QStringLiteral("Stew"));
        QVERIFY(box->isEnabled());
        QVERIFY(!box->isChecked());
        QCOMPARE(text(screen, QStringLiteral("txtRName")), QStringLiteral("Stew"));
        QCOMPARE(text(screen, QStringLiteral("txtRSize")), QStringLiteral("6"));
        QCOMPARE(text(screen, QStringLiteral("txtRDate")), today());
        QCOMPARE(text(screen, QStringLiteral("txtRA1")), QStringLiteral("2"));
        QCOMPARE(text(screen, QStringLiteral("txtRT1")), QStringLiteral("lbs"));
        QCOMPARE(text(screen, QStringLiteral("txtRI1")), QStringLiteral("beef"));
        QCOMPARE(text(screen, QStringLiteral("txtRA10")), QStringLiteral("1"));
        QCOMPARE(text(screen, QStringLiteral("txtRT10")), QStringLiteral("tsp"));
        QCOMPARE(text(screen, QStringLiteral("txtRI10")), QStringLiteral("salt"));
        QVERIFY(text(screen, QStringLiteral("txtRA2")).isEmpty());
        auto* directions = child<MultiLineBox>(screen, QStringLiteral("txtRDirec"));
        QCOMPARE(directions->text(), QStringLiteral("Brown.\r\nSimmer."));
        QCOMPARE(directions->toPlainText(), QStringLiteral("Brown.\nSimmer."));
        QCOMPARE(text(screen, QStringLiteral("txtRTemp")), QStringLiteral("325"));
        QCOMPARE(text(screen, QStringLiteral("txtRHr1")), QStringLiteral("2"));
        QCOMPARE(text(screen, QStringLiteral("txtRMin1")), QStringLiteral("15"));
        // The designed fixed texts are not touched by showing a recipe.
        checkFixedTexts(screen, QStringLiteral("Size:"), QStringLiteral("H:"),
                        QStringLiteral("M:"));

        // The name shown is the file name, extension and all.
        clickFile(screen, QStringLiteral("borscht.txt"));
        QCOMPARE(text(screen, QStringLiteral("txtRName")), QStringLiteral("borscht.txt"));
        QCOMPARE(text(screen, QStringLiteral("txtRI1")), QStringLiteral("beets"));
        QVERIFY(text(screen, QStringLiteral("txtRI10")).isEmpty());
        QVERIFY(messages_->shown.isEmpty());
    }

    void keyboardOpensTheCurrentFile() {
        RecipeScreen* screen = open();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        pick(screen, QStringLiteral("Soups"));
        auto* list = child<QListView>(screen, QStringLiteral("lswRFile"));
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(text(screen, QStringLiteral("txtRName")), list->currentIndex().data().toString());
        QVERIFY(!text(screen, QStringLiteral("txtRName")).isEmpty());
        QVERIFY(child<QCheckBox>(screen, QStringLiteral("chkRDel"))->isEnabled());
    }

    void twoRecordsShowTheSecond() {
        QVERIFY(app_->write(QStringLiteral("Category/Pies/Twice"),
                            record({{21, "first"}, {33, "1"}}) +
                                record({{21, "second"}, {33, "2"}, {31, "a\r\nb"}})));
        RecipeScreen* screen = open();
        pick(screen, QStringLiteral("Pies"));
        clickFile(screen, QStringLiteral("Twice"));
        QCOMPARE(text(screen, QStringLiteral("txtRI1")), QStringLiteral("second"));
        QCOMPARE(text(screen, QStringLiteral("txtRSize")), QStringLiteral("2"));
        QCOMPARE(child<MultiLineBox>(screen, QStringLiteral("txtRDirec"))->text(),
                 QStringLiteral("a\r\nb"));
    }

    void unreadableFileEndsInTheErrorReport_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("numberText");
        QTest::newRow("foreign file") << QByteArray("just some notes\r\n") << " 62";
        QTest::newRow("34 fields") << QByteArray(record({}).replace(",\"\"\r\n", "\r\n")) << " 62";
    }
    void unreadableFileEndsInTheErrorReport() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, numberText);
        QVERIFY(app_->write(QStringLiteral("Category/Pies/notes.txt"), bytes));
        RecipeScreen* screen = open();
        pick(screen, QStringLiteral("Pies"));
        clickFile(screen, QStringLiteral("notes.txt"));
        QCOMPARE(programErrors().ErrorLocation, QStringLiteral("R - LF -"));
        QCOMPARE(programErrors().ErrorNumberText, numberText);
        QCOMPARE(programErrors().ErrorDescription, QStringLiteral("Input past end of file"));
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmError"))->isVisible());
        QVERIFY(text(screen, QStringLiteral("txtRName")).isEmpty());
    }

    void fileGoneSincePickedEndsInTheErrorReport() {
        RecipeScreen* screen = open();
        pick(screen, QStringLiteral("Pies"));
        QVERIFY(QFile::remove(app_->file(QStringLiteral("Category/Pies/Apple"))));
        clickFile(screen, QStringLiteral("Apple"));
        QCOMPARE(programErrors().ErrorLocation, QStringLiteral("R - LF -"));
        QCOMPARE(programErrors().ErrorNumberText, QStringLiteral(" 53"));
        QVERIFY(!screen->isVisible());
    }

    void clickOnAnEmptyListEndsInTheErrorReport() {
        RecipeScreen* screen = open();
        pick(screen, QStringLiteral("Empty"));
        auto* list = child<QListView>(screen, QStringLiteral("lswRFile"));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QCOMPARE(programErrors().ErrorLocation, QStringLiteral("R - LF -"));
        QCOMPARE(programErrors().ErrorNumberText, QStringLiteral(" 91"));
        QCOMPARE(programErrors().ErrorDescription,
                 QStringLiteral("Object variable or With block variable not set"));
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmError"))->isVisible());
    }

    void clickBesideTheNamesOpensTheSelectedItem() {
        RecipeScreen* screen = open();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        pick(screen, QStringLiteral("Pies"));
        auto* list = child<QListView>(screen, QStringLiteral("lswRFile"));
        // Off the names: the first file is the selected item, though not marked selected.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          QPoint(list->viewport()->width() - 3, list->viewport()->height() - 3));
        QCOMPARE(text(screen, QStringLiteral("txtRName")), QStringLiteral("Apple"));
        QVERIFY(!child<QCheckBox>(screen, QStringLiteral("chkRDel"))->isEnabled());
        QVERIFY(programErrors().ErrorLocation.isEmpty());
    }

    void checkingTheBoxDeletesTheFile() {
        RecipeScreen* screen = open();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        pick(screen, QStringLiteral("Soups"));
        clickFile(screen, QStringLiteral("Stew"));
        auto* box = child<QCheckBox>(screen, QStringLiteral("chkRDel"));
        QVERIFY(box->isEnabled());
        QTest::mouseClick(box, Qt::LeftButton);
        QVERIFY(!QFile::exists(app_->file(QStringLiteral("Category/Soups/Stew"))));
        QVERIFY(QFile::exists(app_->file(QStringLiteral("Category/Soups/borscht.txt"))));
        QVERIFY(!box->isChecked());
        QVERIFY(!box->isEnabled());
        QVERIFY(listed(screen).isEmpty());
        QVERIFY(text(screen, QStringLiteral("txtRName")).isEmpty());
        QVERIFY(text(screen, QStringLiteral("txtRI1")).isEmpty());
        QVERIFY(text(screen, QStringLiteral("txtRDate")).isEmpty());
        QVERIFY(child<MultiLineBox>(screen, QStringLiteral("txtRDirec"))->text().isEmpty());
        checkFixedTexts(screen, QStringLiteral("Srv:"), QStringLiteral("H"), QStringLiteral("M"));
        QCOMPARE(child<QComboBox>(screen, QStringLiteral("cboRCat"))->currentText(),
                 QStringLiteral("Soups"));
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(screen->isVisible());
        pick(screen, QStringLiteral("Soups"));
        QCOMPARE(listed(screen), QStringList{QStringLiteral("borscht.txt")});
    }

    void deleteOfAVanishedFileEndsInTheErrorReport() {
        RecipeScreen* screen = open();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        pick(screen, QStringLiteral("Pies"));
        clickFile(screen, QStringLiteral("Apple"));
        QVERIFY(QFile::remove(app_->file(QStringLiteral("Category/Pies/Apple"))));
        QTest::mouseClick(child<QCheckBox>(screen, QStringLiteral("chkRDel")), Qt::LeftButton);
        QCOMPARE(programErrors().ErrorLocation, QStringLiteral("R - CD -"));
        QCOMPARE(programErrors().ErrorNumberText, QStringLiteral(" 53"));
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmError"))->isVisible());
    }

    void newWritesBackTheFixedTexts() {
        RecipeScreen* screen = open();
        pick(screen, QStringLiteral("Soups"));
        clickFile(screen, QStringLiteral("Stew"));
        child(screen, QStringLiteral("Text2"))->setText(QStringLiteral("typed"));
        QTest::mouseClick(child<QPushButton>(screen, QStringLiteral("cmdRNew")), Qt::LeftButton);
        checkFixedTexts(screen, QStringLiteral("Srv:"), QStringLiteral("H"), QStringLiteral("M"));
        QVERIFY(text(screen, QStringLiteral("txtRDate")).isEmpty());
        QVERIFY(text(screen, QStringLiteral("txtRName")).isEmpty());
        QVERIFY(text(screen, QStringLiteral("txtRTemp")).isEmpty());
        QVERIFY(listed(screen).isEmpty());
        QVERIFY(!child<QCheckBox>(screen, QStringLiteral("chkRDel"))->isEnabled());
        QCOMPARE(child<QComboBox>(screen, QStringLiteral("cboRCat"))->currentText(),
                 QStringLiteral("Soups"));
        QVERIFY(screen->isVisible());
    }

    void mainClearsHidesAndActivateDisablesTheBox() {
        RecipeScreen* screen = open();
        QVERIFY(QTest::qWaitForWindowActive(screen));
        pick(screen, QStringLiteral("Soups"));
        clickFile(screen, QStringLiteral("Stew"));
        auto* box = child<QCheckBox>(screen, QStringLiteral("chkRDel"));
        QVERIFY(box->isEnabled());
        QTest::mouseClick(child<QPushButton>(screen, QStringLiteral("cmdRMain")), Qt::LeftButton);
        QVERIFY(!screen->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmMain"))->isVisible());
        checkFixedTexts(screen, QStringLiteral("Srv:"), QStringLiteral("H"), QStringLiteral("M"));
        QVERIFY(text(screen, QStringLiteral("txtRDate")).isEmpty());
        QVERIFY(text(screen, QStringLiteral("txtRName")).isEmpty());
        QVERIFY(listed(screen).isEmpty());
        QVERIFY(!box->isChecked());
        QVERIFY(box->isEnabled());  // Main leaves it; the next activation disables it

        QCOMPARE(open(), screen);
        QVERIFY(QTest::qWaitForWindowActive(screen));
        QVERIFY(!box->isEnabled());
        QCOMPARE(child<QComboBox>(screen, QStringLiteral("cboRCat"))->count(), 4);
    }

    void hoverHintsFollowThePointer() {
        RecipeScreen* screen = open();
        auto hint = [screen](const char* name) {
            return child<QLabel>(screen, QLatin1String(name));
        };
        auto move = [](QWidget* over) {
            QMouseEvent event(QEvent::MouseMove, QPointF(1, 1), over->mapToGlobal(QPointF(1, 1)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(over, &event);
        };
        move(child<QPushButton>(screen, QStringLiteral("cmdRMain")));
        QVERIFY(HoverHints::isLit(hint("lblRmsg3")));
        move(child<QLabel>(screen, QStringLiteral("lblRCat")));
        QVERIFY(HoverHints::isLit(hint("lblRMsg")));
        move(child<QListView>(screen, QStringLiteral("lswRFile"))->viewport());
        QVERIFY(HoverHints::isLit(hint("lblRMsg1")));
        move(child<QCheckBox>(screen, QStringLiteral("chkRDel")));
        QVERIFY(HoverHints::isLit(hint("lblRMsg2")));
        QVERIFY(HoverHints::isLit(hint("lblRmsg3")));
        // The frame puts back its three; the directions hint stays red.
        move(child<QGroupBox>(screen, QStringLiteral("fraRWhich")));
        for (const char* name : {"lblRMsg", "lblRMsg1", "lblRMsg2"}) {
            QCOMPARE(HoverHints::colourOf(hint(name)), HoverHints::unlitColour());
        }
        QVERIFY(HoverHints::isLit(hint("lblRmsg3")));
        move(screen->findChild<QWidget*>(QStringLiteral("clientArea")));
        QCOMPARE(HoverHints::colourOf(hint("lblRmsg3")), HoverHints::unlitColour());
        move(child<MultiLineBox>(screen, QStringLiteral("txtRDirec"))->viewport());
        QVERIFY(HoverHints::isLit(hint("lblRmsg3")));
    }
};

QTEST_MAIN(RecipeScreenTest)
#include "tst_recipe.moc"
