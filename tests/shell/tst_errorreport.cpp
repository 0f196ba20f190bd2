#include "errorreport.h"
#include "errorstate.h"
#include "setupscreen.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace pv;

namespace {

const QString kFix = QStringLiteral(
    "Please contact the author with the error number above.\nThis program will now end!");

class PlainWindow : public PvWindow {};

QLabel* labelOf(QWidget* window, const char* name) {
    return window->findChild<QLabel*>(QLatin1String(name));
}

QColor textColour(const QLabel* label) {
    return label->palette().color(QPalette::WindowText);
}

void record(const QString& code, int number, const QString& description) {
    programErrors().ErrorLocation = code;
    programErrors().ErrorNumberText = errorNumberText(number);
    programErrors().ErrorDescription = description;
}

ErrorReportWindow* showReport() {
    auto* report = qobject_cast<ErrorReportWindow*>(windows().show(QStringLiteral("frmError")));
    if (report && QTest::qWaitForWindowActive(report)) {
        return report;
    }
    return nullptr;
}

}  // namespace

class ErrorReportTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        windows().registerWindow(QStringLiteral("frmError"), [] { return new ErrorReportWindow; });
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new PlainWindow; });
    }
    void cleanup() {
        windows().setExitAction({});
        windows().reset();
        programErrors() = {};
    }

    void designedLook() {
        ErrorReportWindow report;
        QCOMPARE(report.objectName(), QStringLiteral("frmError"));
        QCOMPARE(report.windowTitle(), QStringLiteral("Error Report:"));
        // Designed 429 x 303; a font wider than Tahoma widens it.
        QVERIFY(report.width() >= 429);
        QCOMPARE(report.height(), 303);
        QCOMPARE(report.font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(report.font().pointSize(), 9);

        QCOMPARE(report.findChild<QWidget*>(QStringLiteral("Shape2"))->geometry(),
                 QRect(0, 0, 81, 303));
        auto* shape1 = report.findChild<QWidget*>(QStringLiteral("Shape1"));
        QCOMPARE(shape1->pos(), QPoint(80, 0));
        QCOMPARE(shape1->height(), 33);
        QVERIFY(shape1->geometry().right() >= report.width() - 1);
        auto* image = labelOf(&report, "Image1");
        QVERIFY(image);
        QVERIFY(!image->pixmap().isNull());
        QCOMPARE(image->parentWidget()->objectName(), QStringLiteral("Shape2"));

        auto* title = labelOf(&report, "lblETitleMsg");
        QCOMPARE(title->text(),
                 QStringLiteral("The following internal error has occured within this program:"));
        QCOMPARE(textColour(title), QColor(255, 0, 0));
        QVERIFY(!title->font().bold());
        QCOMPARE(title->pos(), QPoint(88, 8));
        QCOMPARE(title->height(), 17);
        QVERIFY(88 + title->fontMetrics().horizontalAdvance(title->text()) < report.width());

        const struct {
            const char* name;
            const char* text;
            bool caption;
            QRect rect;
        } rows[] = {
            {"lblENum", "Err. No:", true, QRect(88, 48, 45, 14)},
            {"lblENumMsg", "2", false, QRect(88, 64, -1, 14)},
            {"lblEDesc", "Err. Description:", true, QRect(88, 88, 98, 14)},
            {"lblEDescMsg", "error", false, QRect(88, 104, 321, 33)},
            {"lblESource", "Source:", true, QRect(88, 152, 46, 14)},
            {"lblESourceMsg", "section", false, QRect(88, 168, 321, 17)},
            {"lblEFix", "Action to take:", true, QRect(88, 200, 93, 14)},
            {"lblEFixMsg", "22", false, QRect(88, 216, 321, 33)},
        };
        for (const auto& row : rows) {
            QLabel* label = labelOf(&report, row.name);
            QVERIFY2(label, row.name);
            QCOMPARE(label->text(), QLatin1String(row.text));
            QCOMPARE(label->font().bold(), row.caption);
            QCOMPARE(textColour(label), row.caption ? QColor(0, 0, 192) : QColor(192, 0, 0));
            QVERIFY(!label->accessibleName().isEmpty());
            QCOMPARE(label->pos(), row.rect.topLeft());
            QCOMPARE(label->height(), row.rect.height());
            QVERIFY(label->width() >= std::max(row.rect.width(), label->sizeHint().width()));
            QVERIFY(label->geometry().right() < report.width());
        }
        auto* ok = report.findChild<QPushButton*>(QStringLiteral("cmdEBack"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QCOMPARE(ok->accessibleName(), QStringLiteral("OK"));
        QCOMPARE(ok->geometry(), QRect(report.width() - 77, 272, 65, 25));
    }

    void codeTableHasTwelveDistinctCodes() {
        const auto& table = ErrorReportWindow::codeTable();
        QCOMPARE(table.size(), 12);
        QSet<QString> codes;
        for (const ErrorCodeRow& row : table) {
            QCOMPARE(row.code.size(), 8);
            QVERIFY(row.code.mid(1, 3) == QStringLiteral(" - "));
            QVERIFY(row.code.endsWith(QStringLiteral(" -")));
            codes.insert(row.code);
        }
        QCOMPARE(codes.size(), 12);
    }

    void activateExplainsTheCode_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("number_caption");
        QTest::addColumn<QString>("first_line");
        QTest::addColumn<QString>("source");
        const QString save = QStringLiteral("This program has failed to save the screen data");
        const QString open =
            QStringLiteral("This program has failed to open the needed folder or file");
        const QString del = QStringLiteral("This program has failed to delete the screen data");
        const QString make = QStringLiteral("This program has failed to create the needed folder");
        QTest::newRow("I - CS -") << "I - CS -" << 53 << "I - CS - 53" << save
                                  << "(form) Ingredient - cmdISave section";
        QTest::newRow("I - FL -") << "I - FL -" << 76 << "I - FL - 76" << open
                                  << "(form) Ingredient - Form_Load section";
        QTest::newRow("R - CD -") << "R - CD -" << 70 << "R - CD - 70" << del
                                  << "(form) Recipe - chkRDel section";
        QTest::newRow("R - FL -") << "R - FL -" << 53 << "R - FL - 53" << open
                                  << "(form) Recipe - Form_Load section";
        QTest::newRow("R - LF -") << "R - LF -" << 62 << "R - LF - 62" << open
                                  << "(form) Recipe - lswRFile section";
        QTest::newRow("S - CC -") << "S - CC -" << 76 << "S - CC - 76" << make
                                  << "(form) Setup - cmdSCreate section";
        QTest::newRow("S - CD -") << "S - CD -" << 75 << "S - CD - 75" << del
                                  << "(form) Setup - cmdSDel section";
        QTest::newRow("S - FL -") << "S - FL -" << 57 << "S - FL - 57" << open
                                  << "(form) Setup - Form_Load section";
        QTest::newRow("H - CD -") << "H - CD -" << 53 << "H - CD - 53" << del
                                  << "(form) Shop - cmdHDel section";
        QTest::newRow("H - CS -") << "H - CS -" << 61 << "H - CS - 61" << save
                                  << "(form) Shop - cmdHSave section";
        QTest::newRow("H - FL -") << "H - FL -" << 76 << "H - FL - 76" << open
                                  << "(form) Shop - Form_Load section";
        QTest::newRow("H - LF -") << "H - LF -" << 53 << "H - LF - 53" << open
                                  << "(form) Shop - lswHOpen section";
        QTest::newRow("negative number") << "S - CC -" << -2147 << "S - CC --2147" << make
                                         << "(form) Setup - cmdSCreate section";
    }

    void activateExplainsTheCode() {
        QFETCH(QString, code);
        QFETCH(int, number);
        QFETCH(QString, number_caption);
        QFETCH(QString, first_line);
        QFETCH(QString, source);
        record(code, number, QStringLiteral("Path not found"));
        ErrorReportWindow* report = showReport();
        QVERIFY(report);
        QCOMPARE(labelOf(report, "lblENumMsg")->text(), number_caption);
        // The number caption grows with its text.
        QVERIFY(labelOf(report, "lblENumMsg")->width() >
                labelOf(report, "lblENumMsg")->fontMetrics().horizontalAdvance(code));
        QCOMPARE(programErrors().ErrorDescription, first_line + QStringLiteral("\rcorrectly."));
        QCOMPARE(labelOf(report, "lblEDescMsg")->text(),
                 first_line + QStringLiteral("\ncorrectly."));
        QCOMPARE(labelOf(report, "lblESourceMsg")->text(), source);
        QCOMPARE(labelOf(report, "lblEFixMsg")->text(), kFix);
        // Nothing is cut off, whatever font stands in for Tahoma.
        for (const char* name : {"lblEDescMsg", "lblEFixMsg"}) {
            QLabel* label = labelOf(report, name);
            QVERIFY(label->heightForWidth(label->width()) <= label->height());
        }
        for (const char* name : {"lblENumMsg", "lblESourceMsg"}) {
            QLabel* label = labelOf(report, name);
            QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(label->text()));
            QVERIFY(label->geometry().right() < report->width());
        }
        QCOMPARE(ErrorReportWindow::actionText(),
                 QStringLiteral("Please contact the author with the error number above.\r"
                                "This program will now end!"));
    }

    void secondActivationRebuildsWithoutAppending() {
        record(QStringLiteral("H - CS -"), 61, QStringLiteral("Disk full"));
        ErrorReportWindow* report = showReport();
        QVERIFY(report);
        PvWindow* main = windows().show(QStringLiteral("frmMain"));
        QVERIFY(QTest::qWaitForWindowActive(main));
        QVERIFY(!report->isActiveWindow());
        report->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(report));
        QCOMPARE(labelOf(report, "lblENumMsg")->text(), QStringLiteral("H - CS - 61"));
        QCOMPARE(labelOf(report, "lblEDescMsg")->text(),
                 QStringLiteral("This program has failed to save the screen data\ncorrectly."));
        QCOMPARE(labelOf(report, "lblESourceMsg")->text(),
                 QStringLiteral("(form) Shop - cmdHSave section"));
        QCOMPARE(labelOf(report, "lblEFixMsg")->text(), kFix);
        QCOMPARE(programErrors().ErrorDescription,
                 QStringLiteral("This program has failed to save the screen data\rcorrectly."));
    }

    void explainsFromTheFirstShowing() {
        record(QStringLiteral("R - LF -"), 62, QStringLiteral("Input past end of file"));
        auto* report = qobject_cast<ErrorReportWindow*>(windows().load(QStringLiteral("frmError")));
        QVERIFY(report);
        // Before the platform has had a chance to activate it (it may never do).
        report->show();
        QVERIFY(!report->isActiveWindow());
        QCOMPARE(labelOf(report, "lblENumMsg")->text(), QStringLiteral("R - LF - 62"));
        QCOMPARE(labelOf(report, "lblESourceMsg")->text(),
                 QStringLiteral("(form) Recipe - lswRFile section"));
        QCOMPARE(labelOf(report, "lblEFixMsg")->text(), kFix);
    }

    void unknownCodeLeavesDesignedTexts_data() {
        QTest::addColumn<QString>("code");
        QTest::newRow("empty") << QString();
        QTest::newRow("other screen") << QStringLiteral("X - CC -");
        QTest::newRow("lower case") << QStringLiteral("s - cc -");
        QTest::newRow("no trailing dash") << QStringLiteral("S - CC");
    }

    void unknownCodeLeavesDesignedTexts() {
        QFETCH(QString, code);
        record(code, 53, QStringLiteral("File not found"));
        ErrorReportWindow* report = showReport();
        QVERIFY(report);
        QCOMPARE(labelOf(report, "lblENumMsg")->text(), QStringLiteral("2"));
        QCOMPARE(labelOf(report, "lblEDescMsg")->text(), QStringLiteral("error"));
        QCOMPARE(labelOf(report, "lblESourceMsg")->text(), QStringLiteral("section"));
        QCOMPARE(labelOf(report, "lblEFixMsg")->text(), QStringLiteral("22"));
        QCOMPARE(programErrors().ErrorDescription, QStringLiteral("File not found"));
    }

    void okClosesEveryWindow_data() {
        QTest::addColumn<bool>("byCloseButton");
        QTest::newRow("OK") << false;
        QTest::newRow("close button") << true;
    }

    void okClosesEveryWindow() {
        QFETCH(bool, byCloseButton);
        int exits = 0;
        windows().setExitAction([&] { ++exits; });
        windows().registerWindow(QStringLiteral("frmSplash"), [] { return new PlainWindow; });
        windows().registerWindow(QStringLiteral("frmShop"), [] { return new PlainWindow; });
        QPointer<PvWindow> splash = windows().show(QStringLiteral("frmSplash"));
        splash->hide();
        QPointer<PvWindow> main = windows().show(QStringLiteral("frmMain"));
        QPointer<PvWindow> shop = windows().show(QStringLiteral("frmShop"));
        shop->hide();
        record(QStringLiteral("H - CS -"), 61, QStringLiteral("Disk full"));
        QPointer<ErrorReportWindow> report = showReport();
        QVERIFY(report);
        QCOMPARE(windows().loadedCount(), 4);

        if (byCloseButton) {
            report->close();
        } else {
            QTest::mouseClick(report->findChild<QPushButton*>(QStringLiteral("cmdEBack")),
                              Qt::LeftButton);
        }
        QCOMPARE(exits, 1);
        QCOMPARE(windows().loadedCount(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(splash.isNull());
        QVERIFY(main.isNull());
        QVERIFY(shop.isNull());
        QVERIFY(report.isNull());
    }

    // The whole road: a create on the setup screen without a category root.
    void setupFailureEndsInTheReport() {
        test::TempAppFolder app;
        test::RecordingMessages messages;
        int exits = 0;
        windows().setExitAction([&] { ++exits; });
        windows().registerWindow(QStringLiteral("frmSetup"), [] { return new SetupScreen; });
        QPointer<PvWindow> main = windows().show(QStringLiteral("frmMain"));
        QPointer<PvWindow> setup = windows().show(QStringLiteral("frmSetup"));
        QVERIFY(QTest::qWaitForWindowActive(setup));
        QVERIFY(QDir(app.file(QStringLiteral("Category"))).removeRecursively());
        auto* name = setup->findChild<QLineEdit*>(QStringLiteral("txtSCreate"));
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("Soups"));
        QTest::mouseClick(setup->findChild<QPushButton*>(QStringLiteral("cmdSCreate")),
                          Qt::LeftButton);

        QPointer<ErrorReportWindow> report =
            windows().loadedAs<ErrorReportWindow>(QStringLiteral("frmError"));
        QVERIFY(report);
        QVERIFY(QTest::qWaitForWindowActive(report));
        QVERIFY(!setup->isVisible());
        QVERIFY(main->isVisible());
        QVERIFY(messages.shown.isEmpty());
        const auto expectTexts = [&] {
            QCOMPARE(labelOf(report, "lblENumMsg")->text(), QStringLiteral("S - CC - 76"));
            QCOMPARE(labelOf(report, "lblEDescMsg")->text(),
                     QStringLiteral("This program has failed to create the needed folder\n"
                                    "correctly."));
            QCOMPARE(labelOf(report, "lblESourceMsg")->text(),
                     QStringLiteral("(form) Setup - cmdSCreate section"));
            QCOMPARE(labelOf(report, "lblEFixMsg")->text(), kFix);
        };
        expectTexts();
        QVERIFY(!QTest::currentTestFailed());

        // The user clicks the main menu, then the report again.
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main));
        report->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(report));
        expectTexts();
        QVERIFY(!QTest::currentTestFailed());

        QTest::mouseClick(report->findChild<QPushButton*>(QStringLiteral("cmdEBack")),
                          Qt::LeftButton);
        QCOMPARE(exits, 1);
        QCOMPARE(windows().loadedCount(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(setup.isNull());
        QVERIFY(main.isNull());
        QVERIFY(report.isNull());
        QVERIFY(!QFileInfo::exists(app.file(QStringLiteral("Category"))));
    }

    void enterPressesOk() {
        int exits = 0;
        windows().setExitAction([&] { ++exits; });
        record(QStringLiteral("S - FL -"), 57, QStringLiteral("Device I/O error"));
        ErrorReportWindow* report = showReport();
        QVERIFY(report);
        QCOMPARE(QApplication::focusWidget(),
                 report->findChild<QPushButton*>(QStringLiteral("cmdEBack")));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(exits, 1);
        QCOMPARE(windows().loadedCount(), 0);
    }
};

QTEST_MAIN(ErrorReportTest)
#include "tst_errorreport.moc"
