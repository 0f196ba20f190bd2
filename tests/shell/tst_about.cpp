#include "aboutwindow.h"
#include "calendarwindow.h"
#include "creditswindow.h"
#include "windowregistry.h"

#include <QAccessible>
#include <QCalendarWidget>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using namespace pv;

namespace {

PvWindow* showWindow(const QString& name) {
    PvWindow* window = windows().show(name);
    return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        windows().registerWindow(QStringLiteral("frmAbout"), [] { return new AboutWindow; });
        windows().registerWindow(QStringLiteral("frmCredit"), [] { return new CreditsWindow; });
        windows().registerWindow(QStringLiteral("frmCalendar"), [] { return new CalendarWindow; });
    }
    void cleanup() { windows().reset(); }

    // Exact texts, every control named for screen readers, the pictures drawn.
    void textsNamesAndPictures() {
        const QList<QStringList> texts = {
            {"frmAbout", "lblATitle", "Pantrova"},
            {"frmAbout", "lblAVer", "V1.0"},
            {"frmAbout", "lblAEMail", "marten.holloway@example.org"},
            {"frmAbout", "lblAMsg2", "As always,. thanks for trying my program :)"},
            {"frmCredit", "lblCrAcc", "The Qt Project"},
            {"frmCredit", "lblCrChm", "Jed Wing (CHM Lib)"},
            {"frmCredit", "lblCrMsg1",
             "-- for the code concerning the main screen. I did modify it for my purposes."}};
        for (const QStringList& text : texts) {
            QCOMPARE(showWindow(text[0])->findChild<QLabel*>(text[1])->text(), text[2]);
        }
        QCOMPARE(showWindow("frmAbout")->windowTitle(), QStringLiteral("About"));
        QCOMPARE(showWindow("frmCredit")->windowTitle(), QStringLiteral("Credits"));
        QCOMPARE(showWindow("frmCalendar")->windowTitle(), QStringLiteral("Calendar"));
        for (const char* name : {"frmAbout", "frmCredit"}) {
            for (QWidget* child : windows().loaded(name)->findChildren<QWidget*>()) {
                QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child);
                QVERIFY2(accessible && !accessible->text(QAccessible::Name).isEmpty(),
                         qPrintable(child->objectName()));
            }
        }
        for (const char* reason : {"lblCrMsg1", "lblCrMsg2", "lblCrMsg3", "lblCrMsg4"}) {
            auto* label = windows().loaded("frmCredit")->findChild<QLabel*>(reason);
            QVERIFY2(label && label->text().startsWith(QStringLiteral("-- ")), reason);
        }
        QVERIFY(!windows().loaded("frmAbout")->findChild<QLabel*>("Image1")->pixmap().isNull());
        QVERIFY(!windows().loaded("frmCredit")->findChild<QLabel*>("imgCredit")->pixmap().isNull());
    }

    // Every control but one hides the window, and so does its margin.
    void clicksHide_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("keeper");
        QTest::newRow("about") << QStringLiteral("frmAbout") << QStringLiteral("Image1");
        QTest::newRow("credits") << QStringLiteral("frmCredit") << QStringLiteral("lblCrMsg4");
    }
    void clicksHide() {
        QFETCH(QString, window);
        QFETCH(QString, keeper);
        PvWindow* shown = showWindow(window);
        QVERIFY(shown);
        const auto controls = shown->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        QVERIFY(controls.size() >= 8);
        for (QWidget* control : controls) {
            QCOMPARE(windows().show(window), shown);
            QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, 4));
            QVERIFY2(shown->isVisible() == (control->objectName() == keeper),
                     qPrintable(control->objectName()));
        }
        windows().show(window);
        QTest::mouseClick(shown, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(!shown->isVisible());
    }

    void windowsLoadOnce_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"frmAbout", "frmCredit", "frmCalendar"}) {
            QTest::newRow(name) << name;
        }
    }
    void windowsLoadOnce() {
        QFETCH(QString, name);
        QSignalSpy loads(&windows(), &WindowRegistry::windowLoaded);
        PvWindow* first = showWindow(name);
        QVERIFY(first);
        QTest::keyClick(first, Qt::Key_Escape);
        QVERIFY(!first->isVisible());
        QCOMPARE(windows().show(name), first);
        QVERIFY(first->isVisible() && !first->isModal());
        QCOMPARE(loads.count(), 1);
    }

    void calendarIsAToolWindowThatOnlyItsMarginHides() {
        PvWindow* calendar = showWindow(QStringLiteral("frmCalendar"));
        QVERIFY(calendar);
        QCOMPARE(calendar->windowType(), Qt::Tool);
        QCOMPARE(calendar->children().size(), 1);
        auto* month = calendar->findChild<QCalendarWidget*>(QStringLiteral("MonthView1"));
        QVERIFY(month && month->parentWidget() == calendar);
        // A day, or the calendar's own bars and buttons, keep the window; its margin hides it.
        auto* days = month->findChild<QTableView*>();
        QVERIFY(days);
        const auto clickDay = [&](int row, int column) {
            const QRect cell = days->visualRect(days->model()->index(row, column));
            QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, cell.center());
            return month->selectedDate();
        };
        QVERIFY(clickDay(3, 1) != clickDay(4, 2));
        QTest::mouseClick(month, Qt::LeftButton, {}, QPoint(1, 1));
        QVERIFY(calendar->isVisible());
        QTest::mouseClick(calendar, Qt::LeftButton, {}, QPoint(2, calendar->height() - 2));
        QVERIFY(!calendar->isVisible());
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
