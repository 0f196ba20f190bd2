#include "errorreportwindow.h"
#include "errorstate.h"
#include "setupwindow.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QString kFix =
    u"Please contact the author with the error number above.\nThis program will now end!"_s;

void record(const QString& code, int number, const QString& description) {
    programErrors().errorLocation = code;
    programErrors().errorNumberText = errorNumberText(number);
    programErrors().errorDescription = description;
}

// The four value texts: number, explanation, source, action.
QStringList values(QWidget* report) {
    QStringList texts;
    for (const char* name : {"lblENumMsg", "lblEDescMsg", "lblESourceMsg", "lblEFixMsg"}) {
        texts << report->findChild<QLabel*>(QLatin1String(name))->text();
    }
    return texts;
}

QPushButton* okButton(QWidget* report) {
    return report->findChild<QPushButton*>(u"cmdEBack"_s);
}

}  // namespace

class ErrorReportTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        windows().registerWindow(WindowId::Error, [] { return new ErrorReportWindow; });
        test::registerStandIns({WindowId::Main});
    }
    void cleanup() {
        windows().setExitAction({});
        windows().reset();
        programErrors() = {};
    }

    void activateExplainsTheCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("expected");  // the four value texts
        QTest::addColumn<QString>("description");   // as recorded afterwards
        const QString save = u"This program has failed to save the screen data"_s;
        const QString open = u"This program has failed to open the needed folder or file"_s;
        const QString del = u"This program has failed to delete the screen data"_s;
        const QString make = u"This program has failed to create the needed folder"_s;
        const auto row = [](const char* code, int number, const QString& caption,
                            const QString& line, const QString& source) {
            QTest::newRow(code) << QString::fromLatin1(code) << number
                                << QStringList{caption, line + u"\ncorrectly."_s, source, kFix}
                                << line + u"\rcorrectly."_s;
        };
        row("I - CS -", 53, u"I - CS - 53"_s, save, u"(form) Ingredient - cmdISave section"_s);
        row("I - FL -", 76, u"I - FL - 76"_s, open, u"(form) Ingredient - Form_Load section"_s);
        row("R - CD -", 70, u"R - CD - 70"_s, del, u"(form) Recipe - chkRDel section"_s);
        row("R - FL -", 53, u"R - FL - 53"_s, open, u"(form) Recipe - Form_Load section"_s);
        row("R - LF -", 62, u"R - LF - 62"_s, open, u"(form) Recipe - lswRFile section"_s);
        row("S - CC -", 76, u"S - CC - 76"_s, make, u"(form) Setup - cmdSCreate section"_s);
        row("S - CD -", 75, u"S - CD - 75"_s, del, u"(form) Setup - cmdSDel section"_s);
        row("S - FL -", 57, u"S - FL - 57"_s, open, u"(form) Setup - Form_Load section"_s);
        row("H - CD -", 53, u"H - CD - 53"_s, del, u"(form) Shop - cmdHDel section"_s);
        row("H - CS -", 61, u"H - CS - 61"_s, save, u"(form) Shop - cmdHSave section"_s);
        row("H - FL -", 76, u"H - FL - 76"_s, open, u"(form) Shop - Form_Load section"_s);
        row("H - LF -", 53, u"H - LF - 53"_s, open, u"(form) Shop - lswHOpen section"_s);
        QTest::newRow("negative number") << u"S - CC -"_s << -2147
                                         << QStringList{"S - CC --2147", make + u"\ncorrectly."_s,
                                                        "(form) Setup - cmdSCreate section", kFix}
                                         << make + u"\rcorrectly."_s;
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
        record(code, number, u"Path not found"_s);
        // Explained from the first showing: a window manager may never activate it.
        auto* report = windows().load(WindowId::Error);
        QVERIFY(report);
        report->show();
        QCOMPARE(values(report), expected);
        // Activation rebuilds the texts; nothing is appended.
        QVERIFY(QTest::qWaitForWindowActive(report));
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
        auto* name = setup->findChild<QLineEdit*>(u"txtSCreate"_s);
        name->setFocus();
        QTest::keyClicks(name, u"Soups"_s);
        QTest::mouseClick(setup->findChild<QPushButton*>(u"cmdSCreate"_s), Qt::LeftButton);

        QPointer<ErrorReportWindow> report = windows().loadedAs<ErrorReportWindow>(WindowId::Error);
        QVERIFY(report);
        QVERIFY(QTest::qWaitForWindowActive(report));
        QVERIFY(!setup->isVisible());
        QVERIFY(main->isVisible());
        QVERIFY(bench.messages.shown.isEmpty());
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
        QCOMPARE(QApplication::focusWidget(), okButton(report));
        QCOMPARE(windows().loadedCount(), 4);

        if (how == u"close"_s) {
            report->close();
        } else if (how == u"enter"_s) {
            QTest::keyClick(okButton(report), Qt::Key_Return);
        } else {
            QTest::mouseClick(okButton(report), Qt::LeftButton);
        }
        QCOMPARE(exits, 1);
        QCOMPARE(windows().loadedCount(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(splash.isNull() && setup.isNull() && main.isNull() && report.isNull());
    }
};

QTEST_MAIN(ErrorReportTest)
#include "tst_errorreport.moc"
