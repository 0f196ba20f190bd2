#include "about.h"
#include "calendar.h"
#include "credits.h"
#include "hoverhints.h"
#include "windowregistry.h"

#include <QAccessible>
#include <QCalendarWidget>
#include <QLabel>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using namespace pv;

namespace {

PvWindow* showWindow(const char* name) {
    PvWindow* window = windows().show(QString::fromLatin1(name));
    if (window && !QTest::qWaitForWindowExposed(window)) {
        return nullptr;
    }
    return window;
}

// A click on the named control, or on the window's own margin when the name is empty.
void clickOn(PvWindow* window, const QString& control) {
    if (control.isEmpty()) {
        QTest::mouseClick(window, Qt::LeftButton, {}, QPoint(2, 2));
        return;
    }
    auto* widget = window->findChild<QWidget*>(control);
    QVERIFY2(widget, qPrintable(control));
    QTest::mouseClick(widget, Qt::LeftButton, {}, QPoint(4, 4));
}

QString accessibleName(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name) : QString();
}

}  // namespace

class AboutTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        windows().registerWindow(QStringLiteral("frmAbout"), [] { return new AboutScreen; });
        windows().registerWindow(QStringLiteral("frmCredit"), [] { return new CreditsScreen; });
        windows().registerWindow(QStringLiteral("frmCalendar"), [] { return new CalendarScreen; });
    }
    void cleanup() { windows().reset(); }

    void aboutShowsItsTexts() {
        PvWindow* about = showWindow("frmAbout");
        QVERIFY(about);
        QCOMPARE(about->windowTitle(), QStringLiteral("About"));
        QCOMPARE(about->size(), QSize(6570 / 15, 2790 / 15));
        QCOMPARE(about->font().family(), QStringLiteral("Tahoma"));
        auto* title = about->findChild<QLabel*>(QStringLiteral("lblATitle"));
        QCOMPARE(title->text(), QStringLiteral("Pantrova"));
        QCOMPARE(title->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(title->font().pointSize(), 24);
        QCOMPARE(HoverHints::colourOf(title), HoverHints::unlitColour());
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblAVer"))->text(),
                 QStringLiteral("V1.0"));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("lblAMsg2"))->text(),
                 QStringLiteral("As always,. thanks for trying my program :)"));
        QVERIFY(about->findChild<QLabel*>(QStringLiteral("lblAEMail"))
                    ->text()
                    .endsWith(QStringLiteral("@example.org")));
        const QString message = about->findChild<QLabel*>(QStringLiteral("lblAMsg"))->text();
        QVERIFY(message.contains(QStringLiteral("recipes")));
        QVERIFY(message.contains(QStringLiteral("help file")));
        QVERIFY(!about->findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
        QVERIFY(about->findChild<QWidget*>(QStringLiteral("Shape1")));
        for (QWidget* child : about->findChildren<QWidget*>()) {
            QVERIFY2(!accessibleName(child).isEmpty(), qPrintable(child->objectName()));
        }
    }

    void aboutHidesOnClicks_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("hides");
        QTest::newRow("window") << QString() << true;
        for (const char* name :
             {"lblATitle", "lblAVer", "lblAMsg", "lblAMsg1", "lblAEMail", "lblAMsg2", "Shape1"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        }
        QTest::newRow("Image1") << QStringLiteral("Image1") << false;
    }
    void aboutHidesOnClicks() {
        QFETCH(QString, control);
        QFETCH(bool, hides);
        PvWindow* about = showWindow("frmAbout");
        QVERIFY(about);
        clickOn(about, control);
        QCOMPARE(about->isVisible(), !hides);
        QCOMPARE(windows().loaded(QStringLiteral("frmAbout")), about);
    }

    void windowsLoadOnce_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("about") << QStringLiteral("frmAbout");
        QTest::newRow("credits") << QStringLiteral("frmCredit");
        QTest::newRow("calendar") << QStringLiteral("frmCalendar");
    }
    void windowsLoadOnce() {
        QFETCH(QString, name);
        QSignalSpy loads(&windows(), &WindowRegistry::windowLoaded);
        PvWindow* first = windows().show(name);
        QVERIFY(first && first->isVisible());
        QVERIFY(QTest::qWaitForWindowExposed(first));
        QTest::keyClick(first, Qt::Key_Escape);
        QVERIFY(!first->isVisible());
        PvWindow* again = windows().show(name);
        QCOMPARE(again, first);
        QVERIFY(again->isVisible());
        QVERIFY(!again->isModal());
        QCOMPARE(loads.count(), 1);
    }

    void creditsThankTheLibraries() {
        PvWindow* credits = showWindow("frmCredit");
        QVERIFY(credits);
        QCOMPARE(credits->windowTitle(), QStringLiteral("Credits"));
        QCOMPARE(credits->size(), QSize(10245 / 15, 4710 / 15));
        QCOMPARE(
            credits->findChild<QLabel*>(QStringLiteral("lblCrMsg1"))->text(),
            QStringLiteral(
                "-- for the code concerning the main screen. I did modify it for my purposes."));
        for (const char* reason : {"lblCrMsg1", "lblCrMsg2", "lblCrMsg3", "lblCrMsg4"}) {
            auto* label = credits->findChild<QLabel*>(QString::fromLatin1(reason));
            QVERIFY2(label, reason);
            QVERIFY2(label->text().startsWith(QStringLiteral("-- ")), reason);
        }
        QVERIFY(credits->findChild<QLabel*>(QStringLiteral("lblCrAcc"))
                    ->text()
                    .contains(QStringLiteral("Qt")));
        QVERIFY(credits->findChild<QLabel*>(QStringLiteral("lblCrSMenu"))
                    ->text()
                    .contains(QStringLiteral("Qt")));
        QVERIFY(!credits->findChild<QLabel*>(QStringLiteral("lblCrMsg"))->text().isEmpty());
        QVERIFY(!credits->findChild<QLabel*>(QStringLiteral("imgCredit"))->pixmap().isNull());
    }

    void creditsHideOnClicks_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("hides");
        QTest::newRow("window") << QString() << true;
        for (const char* name : {"imgCredit", "lblCrMsg", "lblCrAcc", "lblCrMsg1", "lblCrChm",
                                 "lblCrMsg2", "lblCrGcc", "lblCrMsg3", "lblCrSMenu"}) {
            QTest::newRow(name) << QString::fromLatin1(name) << true;
        }
        QTest::newRow("lblCrMsg4") << QStringLiteral("lblCrMsg4") << false;
    }
    void creditsHideOnClicks() {
        QFETCH(QString, control);
        QFETCH(bool, hides);
        PvWindow* credits = showWindow("frmCredit");
        QVERIFY(credits);
        clickOn(credits, control);
        QCOMPARE(credits->isVisible(), !hides);
    }

    void calendarIsAToolWindowWithOnlyTheCalendar() {
        PvWindow* calendar = showWindow("frmCalendar");
        QVERIFY(calendar);
        QCOMPARE(calendar->windowTitle(), QStringLiteral("Calendar"));
        QCOMPARE(calendar->windowType(), Qt::Tool);
        QCOMPARE(calendar->children().size(), 1);
        auto* month = calendar->findChild<QCalendarWidget*>(QStringLiteral("MonthView1"));
        QVERIFY(month);
        QCOMPARE(month->parentWidget(), calendar);
        QVERIFY(calendar->width() >= 2610 / 15 && calendar->height() >= 2400 / 15);
        // A margin around the calendar is left to click on.
        QVERIFY(month->geometry().left() > 0 && month->geometry().top() > 0);
        QVERIFY(month->geometry().right() < calendar->width() - 1);
    }

    void calendarClicksStayInTheCalendar() {
        PvWindow* calendar = showWindow("frmCalendar");
        QVERIFY(calendar);
        auto* month = calendar->findChild<QCalendarWidget*>(QStringLiteral("MonthView1"));
        auto* days = month->findChild<QTableView*>();
        QVERIFY(days);
        const auto clickDay = [&](int row, int column) {
            const QModelIndex index = days->model()->index(row, column);
            QTest::mouseClick(days->viewport(), Qt::LeftButton, {},
                              days->visualRect(index).center());
            return month->selectedDate();
        };
        // Two different days: the selection follows, the window stays.
        const QDate first = clickDay(3, 1);
        QVERIFY(calendar->isVisible());
        const QDate second = clickDay(4, 2);
        QVERIFY(calendar->isVisible());
        QVERIFY(first.isValid() && second.isValid());
        QVERIFY(first != second);
        // The calendar's own bars and buttons keep the window too.
        QTest::mouseClick(month, Qt::LeftButton, {}, QPoint(1, 1));
        QVERIFY(calendar->isVisible());
        // The margin hides it.
        QTest::mouseClick(calendar, Qt::LeftButton, {}, QPoint(2, calendar->height() - 2));
        QVERIFY(!calendar->isVisible());
    }
};

QTEST_MAIN(AboutTest)
#include "tst_about.moc"
