#include "aboutwindow.h"
#include "calendarwindow.h"
#include "creditswindow.h"
#include "windowregistry.h"

#include <QCalendarWidget>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using namespace pv;

namespace {

PvWindow* showWindow(WindowId id) {
    PvWindow* window = windows().show(id);
    return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
}

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        windows().registerWindow(WindowId::About, [] { return new AboutWindow; });
        windows().registerWindow(WindowId::Credits, [] { return new CreditsWindow; });
        windows().registerWindow(WindowId::Calendar, [] { return new CalendarWindow; });
    }
    void cleanup() { windows().reset(); }

    // Every control but one hides the window, and so does its margin.
    void clicksHide_data() {
        QTest::addColumn<WindowId>("window");
        QTest::addColumn<QString>("keeper");
        QTest::newRow("about") << WindowId::About << QStringLiteral("Image1");
        QTest::newRow("credits") << WindowId::Credits << QStringLiteral("lblCrMsg4");
    }
    void clicksHide() {
        QFETCH(WindowId, window);
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
        QTest::addColumn<WindowId>("name");
        for (WindowId id : {WindowId::About, WindowId::Credits, WindowId::Calendar}) {
            QTest::newRow(qPrintable(objectNameOf(id))) << id;
        }
    }
    void windowsLoadOnce() {
        QFETCH(WindowId, name);
        QSignalSpy loads(&windows(), &WindowRegistry::windowLoaded);
        PvWindow* first = showWindow(name);
        QVERIFY(first);
        QTest::keyClick(first, Qt::Key_Escape);
        QVERIFY(!first->isVisible());
        QCOMPARE(windows().show(name), first);
        QVERIFY(first->isVisible() && !first->isModal());
        QCOMPARE(loads.count(), 1);
    }

    void calendarHidesOnlyByItsMargin() {
        PvWindow* calendar = showWindow(WindowId::Calendar);
        QVERIFY(calendar);
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
