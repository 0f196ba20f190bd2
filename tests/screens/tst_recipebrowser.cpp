#include "errorstate.h"
#include "hoverhints.h"
#include "multilinebox.h"
#include "recipebrowserwindow.h"
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
#include <QPushButton>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

// One record of 35 quoted fields, with the given fields set (1-based).
QByteArray record(const QMap<int, QByteArray>& set) {
    QByteArray bytes;
    for (int field = 1; field <= 35; ++field) {
        bytes += (field > 1 ? ",\"" : "\"") + set.value(field) + '"';
    }
    return bytes + "\r\n";
}

}  // namespace

class RecipeBrowserTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempAppFolder> app_;
    std::unique_ptr<test::RecordingMessages> messages_;
    RecipeBrowserWindow* screen_ = nullptr;

    RecipeBrowserWindow* open() {
        screen_ = qobject_cast<RecipeBrowserWindow*>(windows().show(WindowId::RecipeBrowser));
        if (screen_ && screen_->isVisible()) {
            QApplication::processEvents();
        }
        return screen_;
    }
    template <typename T = QLineEdit>
    T* child(const QString& name) const {
        T* found = screen_->findChild<T*>(name);
        if (!found) {
            qWarning("no control %s", qPrintable(name));
        }
        return found;
    }
    QString text(const QString& name) const { return child(name)->text(); }
    QCheckBox* deleteBox() const { return child<QCheckBox>(u"chkRDel"_s); }
    QListView* list() const { return child<QListView>(u"lswRFile"_s); }
    void pick(const QString& category) {
        auto* box = child<QComboBox>(u"cboRCat"_s);
        box->setCurrentIndex(box->findText(category));
        QVERIFY(box->currentIndex() >= 0);
        emit box->activated(box->currentIndex());
    }
    QStringList listed() const {
        QStringList names;
        for (int row = 0; row < list()->model()->rowCount(); ++row) {
            names << list()->model()->index(row, 0).data().toString();
        }
        return names;
    }
    void clickFile(const QString& name) {
        const QModelIndexList found = list()->model()->match(
            list()->model()->index(0, 0), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualRect(found.first()).center());
    }
    void click(const QString& button) {
        QTest::mouseClick(child<QPushButton>(button), Qt::LeftButton);
    }
    // The texts New and Main write back, and the display emptied.
    void checkWrittenBack() {
        QStringList fixed;
        for (const char* name : {"txtRSrv", "txtRTemp1", "Text1", "Text2", "Text3", "Text4",
                                 "Text5", "Text6", "txtRHr", "txtRMin"}) {
            fixed << text(QLatin1String(name));
        }
        QCOMPARE(fixed, u"Srv: F Amt Type Ingredients Amt Type Ingredients H M"_s.split(u' '));
        QCOMPARE(text(u"txtRSlash"_s), QString(121, u'-'));
        for (const char* name : {"txtRName", "txtRDate", "txtRSize", "txtRI1", "txtRTemp"}) {
            QVERIFY2(text(QLatin1String(name)).isEmpty(), name);
        }
        QVERIFY(child<MultiLineBox>(u"txtRDirec"_s)->text().isEmpty());
        QVERIFY(listed().isEmpty());
        QVERIFY(!deleteBox()->isChecked());
    }
    void expectErrorReport(const QString& location, const QString& number) {
        QCOMPARE(programErrors().errorLocation, location);
        QCOMPARE(programErrors().errorNumberText, number);
        QVERIFY(!screen_->isVisible());
        QVERIFY(windows().loaded(WindowId::Error)->isVisible());
        QVERIFY(messages_->shown.isEmpty());
    }

private slots:
    void init() {
        app_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
        windows().registerWindow(WindowId::RecipeBrowser, [] { return new RecipeBrowserWindow; });
        test::registerStandIns();
        QVERIFY(app_->write(u"Category/category.txt"_s, "Soups\r\nPies\r\nEmpty\r\nGone\r\n"));
        for (const QString& folder :
             {u"Category/Soups"_s, u"Category/Pies"_s, u"Category/Empty"_s}) {
            QVERIFY(QDir(app_->path()).mkpath(folder));
        }
        QVERIFY(app_->write(u"Category/Soups/Stew"_s,
                            "\"2\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"1\","
                            "\"lbs\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"tsp\","
                            "\"beef\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"salt\","
                            "\"Brown.\r\nSimmer.\",\"325\",\"6\",\"2\",\"15\"\r\n"));
        QVERIFY(app_->write(u"Category/Soups/borscht.txt"_s, record({{21, "beets"}})));
        QVERIFY(app_->write(u"Category/Pies/Apple"_s, record({{21, "apples"}})));
    }
    void cleanup() {
        windows().reset();
        messages_.reset();
        app_.reset();
    }

    void menuBarItemsAndDispatch() {
        QVERIFY(open());
        auto* bar = child<ScreenMenuBar>(u"SMXPR"_s);
        pick(u"Soups"_s);
        clickFile(u"Stew"_s);
        emit bar->itemClicked(3);  // a separator does nothing
        QCOMPARE(text(u"txtRName"_s), u"Stew"_s);
        bar->actionFor(u"keyNew"_s)->trigger();
        QVERIFY(text(u"txtRName"_s).isEmpty());
        test::PdfPrinter printer(app_->file(u"menu.pdf"_s));
        bar->actionFor(u"keyPrint"_s)->trigger();
        QCOMPARE(printer.dialogsShown, 1);
        bar->actionFor(u"keyMain"_s)->trigger();
        QVERIFY(!screen_->isVisible());
        QVERIFY(windows().loaded(WindowId::Main)->isVisible());
    }

    // The category list is read as on the entry screen; its failure has this screen's code.
    void loadFailureEndsInTheErrorReport() {
        QVERIFY(QFile::remove(app_->file(u"Category/category.txt"_s)));
        QVERIFY(QDir(app_->path()).mkpath(u"Category/category.txt"_s));
        QVERIFY(open());
        QCOMPARE(child<QComboBox>(u"cboRCat"_s)->count(), 0);
        QVERIFY(programErrors().errorNumberText != u" 53"_s);
        expectErrorReport(u"R - FL -"_s, programErrors().errorNumberText);
    }

    void pickingACategoryListsItsFiles() {
        QVERIFY(open());
        QVERIFY(app_->write(u"Category/Soups/notes.doc"_s, "not a recipe"));
        QVERIFY(QDir(app_->path()).mkpath(u"Category/Soups/sub"_s));
        pick(u"Soups"_s);
        QCOMPARE(listed(), QStringList({"borscht.txt", "notes.doc", "Stew"}));
        pick(u"Empty"_s);
        QVERIFY(listed().isEmpty());
        // Picking again reads the folder again.
        QVERIFY(app_->write(u"Category/Empty/Fresh"_s, record({})));
        pick(u"Empty"_s);
        QCOMPARE(listed(), QStringList{u"Fresh"_s});
        QVERIFY(messages_->shown.isEmpty());
    }

    // A listed category whose folder is missing, picked, or removed outside the program
    // after its files were listed or while one of its recipes is shown.
    void missingCategoryFolderIsAUserError_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("consequence");
        const QString unlisted = u"Its recipes cannot be listed."_s;
        QTest::newRow("picked") << u"pick"_s << u"Gone"_s << unlisted;
        QTest::newRow("removed, then a file clicked") << u"click"_s << u"Soups"_s << unlisted;
        QTest::newRow("removed, then the box ticked")
            << u"tick"_s << u"Soups"_s << u"The recipe shown is no longer there."_s;
    }
    void missingCategoryFolderIsAUserError() {
        QFETCH(QString, road);
        QFETCH(QString, category);
        QFETCH(QString, consequence);
        QVERIFY(QTest::qWaitForWindowActive(open()));
        pick(u"Soups"_s);
        if (road == u"pick"_s) {
            pick(category);
        } else {
            if (road == u"tick"_s) {
                clickFile(u"Stew"_s);
            }
            QVERIFY(QDir(app_->file(u"Category/Soups"_s)).removeRecursively());
            if (road == u"click"_s) {
                clickFile(u"Stew"_s);
            } else {
                QTest::mouseClick(deleteBox(), Qt::LeftButton);
            }
        }
        QVERIFY(text(u"txtRName"_s).isEmpty());
        QVERIFY(listed().isEmpty());
        QVERIFY(!deleteBox()->isEnabled() && !deleteBox()->isChecked());
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).title, u"User error"_s);
        QCOMPARE(messages_->shown.at(0).text,
                 u"The folder of the category \"%1\" is missing.\r%2"_s.arg(category, consequence));
        QVERIFY(screen_->isVisible());
        QVERIFY(programErrors().errorLocation.isEmpty());
        pick(u"Pies"_s);  // the program goes on
        QCOMPARE(listed(), QStringList{u"Apple"_s});
    }

    void clickingAFileShowsTheRecipe() {
        QVERIFY(QTest::qWaitForWindowActive(open()));
        pick(u"Soups"_s);
        QVERIFY(!deleteBox()->isEnabled());
        clickFile(u"Stew"_s);
        QVERIFY(deleteBox()->isEnabled());
        QVERIFY(!deleteBox()->isChecked());
        QStringList shown;
        for (const char* name :
             {"txtRName", "txtRSize", "txtRA1", "txtRT1", "txtRI1", "txtRA2", "txtRA10", "txtRT10",
              "txtRI10", "txtRTemp", "txtRHr1", "txtRMin1", "txtRSrv", "txtRHr", "txtRMin"}) {
            shown << text(QLatin1String(name));
        }
        QCOMPARE(shown, QStringList({"Stew", "6", "2", "lbs", "beef", "", "1", "tsp", "salt", "325",
                                     "2", "15", "Size:", "H:", "M:"}));
        QCOMPARE(text(u"txtRDate"_s),
                 QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        QCOMPARE(child<MultiLineBox>(u"txtRDirec"_s)->text(), u"Brown.\r\nSimmer."_s);

        // The name shown is the file name, extension and all.
        clickFile(u"borscht.txt"_s);
        QCOMPARE(text(u"txtRName"_s), u"borscht.txt"_s);
        QCOMPARE(text(u"txtRI1"_s), u"beets"_s);
        QVERIFY(text(u"txtRI10"_s).isEmpty());
        QVERIFY(messages_->shown.isEmpty());
    }

    void keyboardOpensTheCurrentFile() {
        QVERIFY(QTest::qWaitForWindowActive(open()));
        pick(u"Soups"_s);
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(text(u"txtRName"_s), list()->currentIndex().data().toString());
        QVERIFY(!text(u"txtRName"_s).isEmpty());
        QVERIFY(deleteBox()->isEnabled());
    }

    void twoRecordsShowTheSecond() {
        QVERIFY(app_->write(u"Category/Pies/Twice"_s,
                            record({{21, "first"}, {33, "1"}}) +
                                record({{21, "second"}, {33, "2"}, {31, "a\r\nb"}})));
        QVERIFY(open());
        pick(u"Pies"_s);
        clickFile(u"Twice"_s);
        QCOMPARE(text(u"txtRI1"_s), u"second"_s);
        QCOMPARE(text(u"txtRSize"_s), u"2"_s);
        QCOMPARE(child<MultiLineBox>(u"txtRDirec"_s)->text(), u"a\r\nb"_s);
    }

    void unreadableFileEndsInTheErrorReport_data() {
        QTest::addColumn<QByteArray>("bytes");  // empty: the file is gone since the pick
        QTest::addColumn<QString>("number");
        QTest::addColumn<QString>("description");
        const QString pastEnd = u"Input past end of file"_s;
        QTest::newRow("foreign file") << QByteArray("just some notes\r\n") << u" 62"_s << pastEnd;
        QTest::newRow("34 fields")
            << record({}).replace(",\"\"\r\n", "\r\n") << u" 62"_s << pastEnd;
        QTest::newRow("gone since picked") << QByteArray() << u" 53"_s << u"File not found"_s;
    }
    void unreadableFileEndsInTheErrorReport() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, number);
        QFETCH(QString, description);
        QVERIFY(app_->write(u"Category/Pies/notes.txt"_s, bytes));
        QVERIFY(open());
        pick(u"Pies"_s);
        if (bytes.isEmpty()) {
            QVERIFY(QFile::remove(app_->file(u"Category/Pies/notes.txt"_s)));
        }
        clickFile(u"notes.txt"_s);
        expectErrorReport(u"R - LF -"_s, number);
        QCOMPARE(programErrors().errorDescription, description);
        QVERIFY(text(u"txtRName"_s).isEmpty());
    }

    void clicksBesideTheNames() {
        QVERIFY(QTest::qWaitForWindowActive(open()));
        pick(u"Pies"_s);
        // Off the names: the first file is the selected item, though not marked selected.
        const QSize area = list()->viewport()->size();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          {area.width() - 3, area.height() - 3});
        QCOMPARE(text(u"txtRName"_s), u"Apple"_s);
        QVERIFY(!deleteBox()->isEnabled());
        QVERIFY(programErrors().errorLocation.isEmpty());
        // On an empty list a click shows nothing and the screen stays.
        pick(u"Empty"_s);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        QVERIFY(programErrors().errorLocation.isEmpty());
        QVERIFY(windows().loaded(WindowId::RecipeBrowser)->isVisible());
        QCOMPARE(text(u"txtRName"_s), u"Apple"_s);
    }

    void checkingTheBoxDeletesTheFile() {
        QVERIFY(QTest::qWaitForWindowActive(open()));
        pick(u"Soups"_s);
        clickFile(u"Stew"_s);
        QTest::mouseClick(deleteBox(), Qt::LeftButton);
        QVERIFY(!QFile::exists(app_->file(u"Category/Soups/Stew"_s)));
        QVERIFY(QFile::exists(app_->file(u"Category/Soups/borscht.txt"_s)));
        checkWrittenBack();
        QVERIFY(!deleteBox()->isEnabled());
        QCOMPARE(child<QComboBox>(u"cboRCat"_s)->currentText(), u"Soups"_s);
        QVERIFY(messages_->shown.isEmpty());
        pick(u"Soups"_s);
        QCOMPARE(listed(), QStringList{u"borscht.txt"_s});

        // A file gone behind the program's back ends in the error report.
        clickFile(u"borscht.txt"_s);
        QVERIFY(QFile::remove(app_->file(u"Category/Soups/borscht.txt"_s)));
        QTest::mouseClick(deleteBox(), Qt::LeftButton);
        expectErrorReport(u"R - CD -"_s, u" 53"_s);
    }

    // The box deletes the file whose recipe is shown, never whichever item is current;
    // picking a category disables it, as New does.
    void deleteBoxDeletesOnlyTheRecipeShown_data() {
        QTest::addColumn<QString>("road");
        QTest::addColumn<QStringList>("left");  // in Soups and Pies afterwards
        QTest::newRow("another category picked")
            << u"pick"_s << QStringList{"Apple", "Stew", "borscht.txt"};
        QTest::newRow("arrow keys moved the current item")
            << u"arrows"_s << QStringList{"Apple", "borscht.txt"};
        QTest::newRow("another category picked, one of its recipes shown")
            << u"pick and show"_s << QStringList{"Stew", "borscht.txt"};
    }
    void deleteBoxDeletesOnlyTheRecipeShown() {
        QFETCH(QString, road);
        QFETCH(QStringList, left);
        QVERIFY(QTest::qWaitForWindowActive(open()));
        pick(u"Soups"_s);
        clickFile(u"Stew"_s);
        QVERIFY(deleteBox()->isEnabled());
        if (road.startsWith(u"pick"_s)) {
            pick(u"Pies"_s);
            QVERIFY(!deleteBox()->isEnabled() && !deleteBox()->isChecked());
            QCOMPARE(text(u"txtRName"_s), u"Stew"_s);  // the display stays
            QTest::mouseClick(deleteBox(), Qt::LeftButton);
            QVERIFY(!deleteBox()->isChecked());
        }
        if (road == u"pick and show"_s) {
            clickFile(u"Apple"_s);
            QTest::mouseClick(deleteBox(), Qt::LeftButton);
        }
        if (road == u"arrows"_s) {
            list()->setFocus();
            QTest::keyClick(list(), Qt::Key_Up);
            QCOMPARE(list()->currentIndex().data().toString(), u"borscht.txt"_s);
            QCOMPARE(text(u"txtRName"_s), u"Stew"_s);
            QTest::mouseClick(deleteBox(), Qt::LeftButton);
        }
        QStringList files = QDir(app_->file(u"Category/Soups"_s)).entryList(QDir::Files) +
                            QDir(app_->file(u"Category/Pies"_s)).entryList(QDir::Files);
        files.sort();
        QCOMPARE(files, left);
        if (road != u"pick"_s) {
            checkWrittenBack();
        }
        QVERIFY(messages_->shown.isEmpty() && programErrors().errorLocation.isEmpty());
    }

    void newAndMainWriteBackTheFixedTexts_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("New") << u"cmdRNew"_s;
        QTest::newRow("Main") << u"cmdRMain"_s;
    }
    void newAndMainWriteBackTheFixedTexts() {
        QFETCH(QString, button);
        QVERIFY(QTest::qWaitForWindowActive(open()));
        pick(u"Soups"_s);
        clickFile(u"Stew"_s);
        child(u"Text2"_s)->setText(u"typed"_s);
        click(button);
        checkWrittenBack();
        QCOMPARE(child<QComboBox>(u"cboRCat"_s)->currentText(), u"Soups"_s);
        const bool main = button == u"cmdRMain"_s;
        QCOMPARE(screen_->isVisible(), !main);
        QCOMPARE(windows().loaded(WindowId::Main) != nullptr, main);
        // Main leaves the box enabled; the next activation disables it.
        QCOMPARE(deleteBox()->isEnabled(), main);
        if (main) {
            QVERIFY(QTest::qWaitForWindowActive(open()));
            QVERIFY(!deleteBox()->isEnabled());
            QCOMPARE(child<QComboBox>(u"cboRCat"_s)->count(), 4);
        }
    }

    void hoverHintsFollowThePointer() {
        QVERIFY(open());
        auto* directions = child<QLabel>(u"lblRmsg3"_s);
        QCOMPARE(HoverHints::colourOf(directions), QColor(0, 0, 255));  // blue until a move
        auto move = [](QWidget* over) {
            QMouseEvent event(QEvent::MouseMove, QPointF(1, 1), over->mapToGlobal(QPointF(1, 1)),
                              Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(over, &event);
        };
        move(child<QPushButton>(u"cmdRMain"_s));
        QVERIFY(HoverHints::isLit(directions));
        move(deleteBox());
        QVERIFY(HoverHints::isLit(child<QLabel>(u"lblRMsg2"_s)));
        move(child<QGroupBox>(u"fraRWhich"_s));  // the frame puts back only its own three
        QVERIFY(!HoverHints::isLit(child<QLabel>(u"lblRMsg2"_s)) && HoverHints::isLit(directions));
    }
};

QTEST_MAIN(RecipeBrowserTest)
#include "tst_recipebrowser.moc"
