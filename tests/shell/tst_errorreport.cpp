#include "../screens/road.h"
#include "errorreportwindow.h"
#include "errorstate.h"
#include "setupwindow.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QLabel>
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
        QTest::addColumn<QString>("out");  // the step that leaves the report; none: closed
        QTest::newRow("OK") << u"click cmdEBack"_s;
        QTest::newRow("Enter") << u"key cmdEBack=Return"_s;
        QTest::newRow("close button") << QString();
    }
    // The whole road: a create on the setup screen without a category root, with a hidden
    // window loaded too; the user clicks the main menu, then the report again: rebuilt, not
    // appended to. Every way out of the report ends the program.
    void setupFailureEndsInTheReport() {
        QFETCH(QString, out);
        test::RoadBench on({test::screen<SetupWindow>(WindowId::Setup),
                            test::screen<ErrorReportWindow>(WindowId::Error)});
        int exits = 0;
        windows().setExitAction([&] { ++exits; });
        test::registerStandIns({WindowId::Splash});
        const QString explained =
            u"? text lblENumMsg lblEDescMsg lblESourceMsg lblEFixMsg="
            u"S - CC - 76|This program has failed to create the needed folder\n"
            u"correctly.|(form) Setup - cmdSCreate section|"_s +
            kFix + u"; "_s;
        on.road.walk(
            u"open frmSplash; hide frmSplash; open frmMain; open frmSetup; "
            u"remove Category; type txtSCreate=Soups; click cmdSCreate; "
            u"? windows=frmMain|frmError; ? shown=; open frmError; "_s +
            explained + u"open frmMain; open frmError; ? focus=cmdEBack; "_s + explained);
        QList<QPointer<PvWindow>> loaded;
        for (const WindowId id : windows().loadedWindows()) loaded << windows().loaded(id);
        QCOMPARE(loaded.size(), 4);
        if (out.isEmpty())
            on.road.screen()->close();
        on.road.walk(out);
        QCOMPARE(exits, 1);
        QCOMPARE(windows().loadedCount(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(std::none_of(loaded.begin(), loaded.end(), [](auto& window) { return window; }));
    }
};

QTEST_MAIN(ErrorReportTest)
#include "tst_errorreport.moc"
