#include "busypointer.h"
#include "errorstate.h"
#include "setupwindow.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QString kExists =
    u"User error|4160|This category already exists! You MUST\rdelete it first and then "
    u"re-enter the category."_s;
const QString kDeleted = u"Pantrova|0|1 category is deleted."_s;
// Enabled state of the create group, then the delete group, then the screen's own mode.
const QString kCreateMode = u"11110000C"_s;
const QString kDeleteMode = u"00001111D"_s;

}  // namespace

class SetupWindowTest : public QObject {
    Q_OBJECT

    std::optional<test::ScreenBench> bench_;
    QPointer<SetupWindow> screen_;

    template <typename T = QWidget>
    T* control(const char* name) const {
        return test::control<T>(screen_, QLatin1String(name));
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QListWidget* list() const { return control<QListWidget>("lswSetup"); }
    void click(const char* name) { QTest::mouseClick(button(name), Qt::LeftButton); }

    SetupWindow* open() {
        screen_ = qobject_cast<SetupWindow*>(windows().show(WindowId::Setup));
        const bool ready =
            screen_ && (!screen_->isVisible() || QTest::qWaitForWindowActive(screen_));
        return ready ? screen_.data() : nullptr;
    }
    QStringList items() const {
        QStringList names;
        for (int row = 0; row < list()->count(); ++row) {
            names << list()->item(row)->text();
        }
        return names;
    }
    QStringList shown() const { return bench_->shown(); }
    QString mode() const {
        QString state;
        for (const char* name : {"txtSCreate", "cmdSCreate", "cmdSCCancel", "lblSCreate", "txtSDel",
                                 "cmdSDel", "cmdSDelCancel", "lblSDel"}) {
            state += control(name)->isEnabled() ? u'1' : u'0';
        }
        return state + (screen_->inCreateMode() ? u'C' : u'D');
    }
    void clickItem(const QString& name) {
        const auto found = list()->findItems(name, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        const QRect rect = list()->visualItemRect(found.first());
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    // Characters outside ASCII come as an input method gives them: text without a key.
    void type(const char* boxName, const QString& text) {
        QLineEdit* edit = box(boxName);
        edit->setFocus();
        for (const QChar ch : text) {
            ch.unicode() < 0x80 ? QTest::keyClick(edit, ch.toLatin1()) : edit->insert(ch);
        }
    }
    QByteArray listBytes() const { return bench_->app.read(u"Category/category.txt"_s); }
    bool categoryFolder(const QString& name) const {
        return QFileInfo(bench_->app.file(u"Category/"_s + name)).isDir();
    }
    void makeCategories(const QStringList& names) {
        QByteArray bytes;
        for (const QString& name : names) {
            QVERIFY(QDir(bench_->app.file(u"Category"_s)).mkdir(name));
            bytes += name.toLatin1() + "\r\n";
        }
        QVERIFY(bench_->app.write(u"Category/category.txt"_s, bytes));
    }

private slots:
    void init() { bench_.emplace(QList{test::screen<SetupWindow>(WindowId::Setup)}); }
    void cleanup() { bench_.reset(); }

    void loadListsNamesByLine() {
        QVERIFY(bench_->app.write(u"Category/category.txt"_s,
                                  "Soups\r\nBreads, Cakes\r\n \"Quoted\r\napple Pie\r\n"));
        QVERIFY(open());
        QCOMPARE(items(), (QStringList{"Soups", "Breads, Cakes", " \"Quoted", "apple Pie"}));
        QVERIFY(bench_->messages.shown.isEmpty());
        QCOMPARE(mode(), kCreateMode);
    }

    void createsThenDeletesThroughTheScreen() {
        // No list file yet: an empty list, and an empty box only takes the focus.
        QVERIFY(open());
        QCOMPARE(list()->count(), 0);
        button("cmdSMain")->setFocus();
        click("cmdSCreate");
        QCOMPARE(QApplication::focusWidget(), box("txtSCreate"));
        QVERIFY(!QFileInfo::exists(bench_->app.file(u"Category/category.txt"_s)));

        // The button and Enter in the box create alike.
        type("txtSCreate", u"Soups"_s);
        click("cmdSCreate");
        QCOMPARE(box("txtSCreate")->text(), QString());
        for (const QString& name : {u"breads & Cakes"_s, u"Apple"_s}) {
            type("txtSCreate", name);
            QTest::keyClick(box("txtSCreate"), Qt::Key_Return);
        }
        // The list sorts; the file keeps the order of creation.
        QCOMPARE(items(), (QStringList{"Apple", "breads & Cakes", "Soups"}));
        QCOMPARE(listBytes(), QByteArray("Soups\r\nbreads & Cakes\r\nApple\r\n"));
        QVERIFY(categoryFolder(u"breads & Cakes"_s));
        QVERIFY(bench_->messages.shown.isEmpty());

        // An existing name, in any case: the box is emptied before the message.
        QStringList boxWhileShown;
        bench_->messages.onShow = [&](const test::RecordingMessages::Shown&) {
            boxWhileShown << box("txtSCreate")->text();
        };
        for (const QString& name : {u"Soups"_s, u"SOUPS"_s}) {
            type("txtSCreate", name);
            click("cmdSCreate");
        }
        QCOMPARE(boxWhileShown, (QStringList{QString(), QString()}));
        QCOMPARE(listBytes(), QByteArray("Soups\r\nbreads & Cakes\r\nApple\r\n"));
        QCOMPARE(items().size(), 3);
        QCOMPARE(QApplication::focusWidget(), box("txtSCreate"));
        QCOMPARE(mode(), kCreateMode);

        clickItem(u"breads & Cakes"_s);
        click("cmdSDel");
        QCOMPARE(listBytes(), QByteArray("Soups\r\nApple\r\n"));
        // Once sorted, the refilled list stays sorted.
        QCOMPARE(items(), (QStringList{"Apple", "Soups"}));
        // Enter in the delete box deletes as the button does.
        clickItem(u"Apple"_s);
        QTest::keyClick(box("txtSDel"), Qt::Key_Return);
        clickItem(u"Soups"_s);
        click("cmdSDel");
        QCOMPARE(shown(), (QStringList{kExists, kExists, kDeleted, kDeleted, kDeleted}));
        QCOMPARE(listBytes(), QByteArray());
        QCOMPARE(list()->count(), 0);
    }

    void refusedNameIsAUserError_data() {
        QTest::addColumn<bool>("onDelete");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const QString bad =
            u"A category name cannot contain / \\ : * ? \" < > | or control characters, and "
            u"cannot be \".\" or \"..\"."_s;
        QTest::newRow("separator") << false << u"a/b"_s << bad;
        QTest::newRow("colon") << false << u"Pies: sweet"_s << bad;
        QTest::newRow("outside the code page")
            << false << u"Soup \u4E2D"_s
            << u"The character \"\u4E2D\" (U+4E2D) cannot be saved. Please remove or replace it."_s;
        QTest::newRow("delete a path") << true << u"../Soups"_s << bad;
    }

    void refusedNameIsAUserError() {
        QFETCH(bool, onDelete);
        QFETCH(QString, name);
        QFETCH(QString, text);
        makeCategories({u"Soups"_s});
        QVERIFY(open());
        const char* boxName = onDelete ? "txtSDel" : "txtSCreate";
        if (onDelete) {
            clickItem(u"Soups"_s);
            box(boxName)->clear();
        }
        type(boxName, name);
        click(onDelete ? "cmdSDel" : "cmdSCreate");

        QCOMPARE(shown(), QStringList{u"User error|4144|"_s + text});
        QCOMPARE(box(boxName)->text(), name);
        QCOMPARE(items(), QStringList{"Soups"});
        QCOMPARE(windows().loaded(WindowId::Error), nullptr);
        QCOMPARE(listBytes(), QByteArray("Soups\r\n"));
        QCOMPARE(QDir(bench_->app.file(u"Category"_s))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 (QStringList{"category.txt", "Soups"}));
        QVERIFY(!QFileInfo::exists(bench_->app.file(u"a"_s)));
    }

    void failureIsReported_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("breakage");
        QTest::addColumn<QString>("numberText");
        QTest::newRow("load, no category root") << u"S - FL -"_s << u"no root"_s << u" 76"_s;
        QTest::newRow("load, list is a folder") << u"S - FL -"_s << u"list folder"_s << u" 75"_s;
        QTest::newRow("create, a file where the folder goes")
            << u"S - CC -"_s << u"file"_s << u" 58"_s;
        QTest::newRow("delete, a file where the folder is")
            << u"S - CD -"_s << u"ghost"_s << u" 76"_s;
    }

    void failureIsReported() {
        QFETCH(QString, code);
        QFETCH(QString, breakage);
        QFETCH(QString, numberText);
        const bool onLoad = code == u"S - FL -"_s;
        if (!onLoad) {
            makeCategories({u"Pies"_s});
            QVERIFY(open());
        }
        QDir root(bench_->app.file(u"Category"_s));
        if (breakage == u"no root"_s) {
            QVERIFY(root.removeRecursively());
        } else if (breakage == u"list folder"_s) {
            QVERIFY(root.mkdir(u"category.txt"_s));
        } else if (breakage == u"file"_s) {
            QVERIFY(bench_->app.write(u"Category/Soups"_s, "not a folder"));
        }
        if (onLoad) {
            QVERIFY(open());
        } else if (code == u"S - CC -"_s) {
            type("txtSCreate", u"Soups"_s);
            click("cmdSCreate");
        } else {
            // The list is rewritten and told, then removing the "folder" fails.
            QVERIFY(bench_->app.write(u"Category/Ghost"_s, "not a folder"));
            clickItem(u"Pies"_s);
            box("txtSDel")->setText(u"Ghost"_s);
            click("cmdSDel");
            QCOMPARE(shown(), QStringList{u"Pantrova|0|0 category is deleted."_s});
            QCOMPARE(listBytes(), QByteArray("Pies\r\n"));
        }

        // The screen hides and the report shows what the failing handler recorded.
        PvWindow* report = windows().loaded(WindowId::Error);
        QVERIFY(report && report->isVisible() && !screen_->isVisible());
        QCOMPARE(programErrors().errorLocation, code);
        QCOMPARE(programErrors().errorNumberText, numberText);
        QVERIFY(!isBusyPointer());
        QCOMPARE(bench_->messages.shown.isEmpty(), code != u"S - CD -"_s);
    }

    void sequencesThatChangeNothing() {
        makeCategories({u"Soups"_s, u"Pies"_s});
        QVERIFY(open());
        type("txtSCreate", u"half typed"_s);
        click("cmdSCCancel");
        QCOMPARE(box("txtSCreate")->text(), QString());
        QCOMPARE(mode(), kDeleteMode);
        QCOMPARE(QApplication::focusWidget(), box("txtSDel"));

        clickItem(u"Pies"_s);
        QCOMPARE(box("txtSDel")->text(), u"Pies"_s);
        click("cmdSDelCancel");
        QCOMPARE(box("txtSDel")->text(), QString());
        QCOMPARE(mode(), kCreateMode);
        QCOMPARE(QApplication::focusWidget(), box("txtSCreate"));

        // The keyboard picks an item as a click does.
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_End);
        QTest::keyClick(list(), Qt::Key_Return);
        QCOMPARE(mode(), kDeleteMode);
        QCOMPARE(box("txtSDel")->text(), u"Pies"_s);

        // Delete with the box emptied only takes the focus back to it.
        box("txtSDel")->setFocus();
        QTest::keyClick(box("txtSDel"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box("txtSDel"), Qt::Key_Backspace);
        button("cmdSMain")->setFocus();
        click("cmdSDel");
        QCOMPARE(QApplication::focusWidget(), box("txtSDel"));
        QCOMPARE(mode(), kDeleteMode);
        QCOMPARE(listBytes(), QByteArray("Soups\r\nPies\r\n"));

        // Main hides the screen; it comes back as left, without reading the list again.
        clickItem(u"Soups"_s);
        click("cmdSMain");
        QVERIFY(!screen_->isVisible());
        QVERIFY(windows().loaded(WindowId::Main)->isVisible());
        QVERIFY(bench_->app.write(u"Category/category.txt"_s, "Soups\r\nPies\r\nOther\r\n"));
        QCOMPARE(open(), screen_.data());
        QCOMPARE(mode(), kDeleteMode);
        QCOMPARE(box("txtSDel")->text(), u"Soups"_s);
        QCOMPARE(items(), (QStringList{"Soups", "Pies"}));
        QVERIFY(bench_->messages.shown.isEmpty());
    }

    void deleteOfListedName() {
        makeCategories({u"Apple Pie"_s, u"Pie"_s, u"Pies"_s});
        QVERIFY(bench_->app.write(u"Category/Pie/Cherry"_s, "\"1\",\"cup\"\r\n"));
        QVERIFY(open());
        QStringList duringMessage;
        bench_->messages.onShow = [&](const test::RecordingMessages::Shown&) {
            duringMessage << (isBusyPointer() ? u"busy"_s : u"idle"_s)
                          << (categoryFolder(u"Pie"_s) ? u"folder"_s : u"gone"_s)
                          << QString::fromLatin1(listBytes());
        };
        clickItem(u"Pie"_s);
        click("cmdSDel");

        QCOMPARE(shown(), QStringList{kDeleted});
        // The list is rewritten and told before the folder goes.
        QCOMPARE(duringMessage, (QStringList{"busy", "folder", "Apple Pie\r\nPies\r\n"}));
        QVERIFY(!isBusyPointer());
        QCOMPARE(listBytes(), QByteArray("Apple Pie\r\nPies\r\n"));
        QVERIFY(!QFileInfo::exists(bench_->app.file(u"Category/Pie"_s)));
        QVERIFY(categoryFolder(u"Pies"_s));
        QCOMPARE(items(), (QStringList{"Apple Pie", "Pies"}));
        QCOMPARE(box("txtSDel")->text(), u"Pie"_s);
        QCOMPARE(mode(), kDeleteMode);

        // Delete again on the name left in the box: nothing more goes, and the
        // program carries on instead of ending in the error report.
        bench_->messages.onShow = nullptr;
        click("cmdSDel");
        QCOMPARE(shown(), (QStringList{kDeleted, u"Pantrova|0|0 category is deleted."_s}));
        QCOMPARE(windows().loaded(WindowId::Error), nullptr);
        QVERIFY(screen_->isVisible());
        QCOMPARE(listBytes(), QByteArray("Apple Pie\r\nPies\r\n"));
        QCOMPARE(items(), (QStringList{"Apple Pie", "Pies"}));
    }

    void commandsWaitForARunningDelete() {
        makeCategories({u"Soups"_s, u"Pie"_s});
        QVERIFY(open());
        clickItem(u"Pie"_s);
        // Clicks that arrive while the list is rewritten run in the middle of it.
        QPushButton* del = button("cmdSDel");
        QMetaObject::invokeMethod(del, &QPushButton::click, Qt::QueuedConnection);
        QMetaObject::invokeMethod(button("cmdSDelCancel"), &QPushButton::click,
                                  Qt::QueuedConnection);
        del->click();

        QCOMPARE(shown(), QStringList{kDeleted});
        QCOMPARE(listBytes(), QByteArray("Soups\r\n"));
        QCOMPARE(items(), QStringList{"Soups"});
        // The Cancel click ran during the delete and switched the mode back.
        QCOMPARE(mode(), kCreateMode);
    }

    void deleteWithoutTemporaryFileIsToldAndChangesNothing() {
        makeCategories({u"Soups"_s});
        QVERIFY(open());
        clickItem(u"Soups"_s);
        // Without the category root there is nowhere to put the temporary list.
        QVERIFY(QDir().rename(bench_->app.file(u"Category"_s), bench_->app.file(u"Elsewhere"_s)));
        click("cmdSDel");

        QCOMPARE(shown(), QStringList{u"Pantrova|0|Error getting temporary file path."_s});
        QVERIFY(!isBusyPointer());
        QCOMPARE(windows().loaded(WindowId::Error), nullptr);
        QCOMPARE(items(), QStringList{"Soups"});
        QCOMPARE(box("txtSDel")->text(), u"Soups"_s);
        QCOMPARE(bench_->app.read(u"Elsewhere/category.txt"_s), QByteArray("Soups\r\n"));
    }
};

QTEST_MAIN(SetupWindowTest)
#include "tst_setup.moc"
