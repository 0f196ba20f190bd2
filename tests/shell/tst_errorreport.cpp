#include "errorreportwindow.h"
#include "errorstate.h"
#include "setupwindow.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QString kFix =
    u"Please contact the author with the error number above.\nThis program will now end!"_s;

// The four value texts: number, explanation, source, action.
QStringList values(QWidget* report) {
    QStringList texts;
    for (const char* name : {"lblENumMsg", "lblEDescMsg", "lblESourceMsg", "lblEFixMsg"}) {
        texts << test::control<QLabel>(report, QLatin1String(name))->text();
    }
    return texts;
}

}  // namespace

class ErrorReportTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() {
        windows().setExitAction({});
        windows().reset();
        programErrors() = {};
    }

    // Each row: the code and number as shown, what failed, and the form and section.
    void activateExplainsTheCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("expected");  // the four value texts
        QTest::addColumn<QString>("description");   // as recorded afterwards
        for (const char* row : {"I - CS - 53|save the screen data|Ingredient - cmdISave",
                                "I - FL - 76|open the needed folder or file|Ingredient - Form_Load",
                                "R - CD - 70|delete the screen data|Recipe - chkRDel",
                                "R - FL - 53|open the needed folder or file|Recipe - Form_Load",
                                "R - LF - 62|open the needed folder or file|Recipe - lswRFile",
                                "S - CC - 76|create the needed folder|Setup - cmdSCreate",
                                "S - CD - 75|delete the screen data|Setup - cmdSDel",
                                "S - FL - 57|open the needed folder or file|Setup - Form_Load",
                                "H - CD - 53|delete the screen data|Shop - cmdHDel",
                                "H - CS - 61|save the screen data|Shop - cmdHSave",
                                "H - FL - 76|open the needed folder or file|Shop - Form_Load",
                                "H - LF - 53|open the needed folder or file|Shop - lswHOpen",
                                "S - CC --2147|create the needed folder|Setup - cmdSCreate"}) {
            const QStringList parts = QString::fromLatin1(row).split(u'|');
            const QString line = u"This program has failed to "_s + parts[1];
            QTest::newRow(row) << parts[0].left(8) << parts[0].mid(8).trimmed().toInt()
                               << QStringList{parts[0], line + u"\ncorrectly."_s,
                                              u"(form) "_s + parts[2] + u" section"_s, kFix}
                               << line + u"\rcorrectly."_s;
        }
        // An unknown code leaves the designed texts and the recorded description.
        const QStringList designed{"2", "error", "section", "22"};
        for (const QString& code : {QString(), u"X - CC -"_s, u"s - cc -"_s, u"S - CC"_s}) {
            QTest::addRow("unknown \"%s\"", qPrintable(code))
                << code << 53 << designed << u"Path not found"_s;
        }
    }
    void activateExplainsTheCode() {
        QFETCH(QString, code);
        QFETCH(int, number);
        QFETCH(QStringList, expected);
        QFETCH(QString, description);
        // Twelve places, each found again by its own code.
        QCOMPARE(errorLocationRows().size(), 12);
        for (const ErrorLocationRow& row : errorLocationRows()) {
            QCOMPARE(&errorLocationRow(row.location), findErrorLocationRow(row.code));
        }
        programErrors() = {code, errorNumberText(number), u"Path not found"_s};
        // Explained from the first showing: a window manager may never activate it.
        windows().registerWindow(WindowId::Error, [] { return new ErrorReportWindow; });
        auto* report = windows().load(WindowId::Error);
        report->show();
        QCOMPARE(values(report), expected);
        QCOMPARE(programErrors().errorDescription, description);
        QCOMPARE(errorActionText(),
                 u"Please contact the author with the error number above.\r"
                 u"This program will now end!"_s);
    }

    void setupFailureEndsInTheReport_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << u"click"_s;
        QTest::newRow("Enter") << u"enter"_s;
        QTest::newRow("close button") << u"close"_s;
    }
    // The whole road: a create on the setup screen without a category root, with a hidden
    // window loaded too; every way out of the report ends the program.
    void setupFailureEndsInTheReport() {
        QFETCH(QString, how);
        test::ScreenBench bench({test::screen<SetupWindow>(WindowId::Setup),
                                 test::screen<ErrorReportWindow>(WindowId::Error)});
        int exits = 0;
        windows().setExitAction([&] { ++exits; });
        test::registerStandIns({WindowId::Splash});
        QPointer<PvWindow> splash = windows().show(WindowId::Splash);
        splash->hide();
        QPointer<PvWindow> main = windows().show(WindowId::Main);
        QPointer<PvWindow> setup = windows().show(WindowId::Setup);
        QVERIFY(QTest::qWaitForWindowActive(setup));
        QVERIFY(QDir(bench.app.file(u"Category"_s)).removeRecursively());
        auto* name = test::control<QLineEdit>(setup, u"txtSCreate"_s);
        name->setFocus();
        QTest::keyClicks(name, u"Soups"_s);
        test::click(setup, u"cmdSCreate"_s);

        QPointer<ErrorReportWindow> report = windows().loadedAs<ErrorReportWindow>(WindowId::Error);
        QVERIFY(report && QTest::qWaitForWindowActive(report));
        QVERIFY(!setup->isVisible() && main->isVisible());
        QCOMPARE(bench.shown(), QStringList());
        const QStringList expected{
            "S - CC - 76", "This program has failed to create the needed folder\ncorrectly.",
            "(form) Setup - cmdSCreate section", kFix};
        QCOMPARE(values(report), expected);

        // The user clicks the main menu, then the report again: rebuilt, not appended to.
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        report->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(report));
        QCOMPARE(values(report), expected);
        auto* ok = test::control<QPushButton>(report, u"cmdEBack"_s);
        QCOMPARE(QApplication::focusWidget(), ok);
        QCOMPARE(windows().loadedCount(), 4);

        if (how == u"close"_s) {
            report->close();
        } else if (how == u"enter"_s) {
            QTest::keyClick(ok, Qt::Key_Return);
        } else {
            QTest::mouseClick(ok, Qt::LeftButton);
        }
        QCOMPARE(exits, 1);
        QCOMPARE(windows().loadedCount(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(splash.isNull() && setup.isNull() && main.isNull() && report.isNull());
    }
};

QTEST_MAIN(ErrorReportTest)
#include "tst_errorreport.moc"
