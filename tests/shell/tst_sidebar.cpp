// The side bar as the main menu uses it: drawing and keyboard.
#include "mainmenuwindow.h"
#include "sidebar.h"
#include "windowregistry.h"

#include <QSignalSpy>
#include <QtTest>

using namespace pv;

class SideBarTest : public QObject {
    Q_OBJECT
    MainMenuWindow* menu_ = nullptr;
    SideBar* bar_ = nullptr;

private slots:
    void init() {
        windows().registerWindow(WindowId::Main, [] { return new MainMenuWindow; });
        windows().registerWindow(WindowId::Setup, [] { return new PvWindow; });
        menu_ = qobject_cast<MainMenuWindow*>(windows().show(WindowId::Main));
        bar_ = menu_->sideBar();
        menu_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(menu_));
    }

    void cleanup() { windows().reset(); }

    void drawing() {
        // The special header is drawn differently from an ordinary one.
        QVERIFY(bar_->group(0)->grab().toImage().pixelColor(20, 3) !=
                bar_->group(1)->grab().toImage().pixelColor(20, 3));
        QVERIFY(bar_->imageList()->icon(8).isNull());
        QVERIFY(bar_->imageList()->icon(-1).isNull());
        SideBarItem* item = bar_->group(1)->addItem(QStringLiteral("d"), QStringLiteral("D"), 9);
        QVERIFY(!item->grab().isNull());
        QCOMPARE(bar_->items().size(), 9);
    }

    // The window opens with the first item in focus; Tab and the arrows move along the
    // items across the groups, never past either end; Return opens the item's screen.
    void keyboard() {
        const QList<SideBarItem*> items = bar_->items();
        QTRY_VERIFY(items.at(0)->hasFocus());
        const QList<std::pair<Qt::Key, int>> steps = {
            {Qt::Key_Tab, 1}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1},   {Qt::Key_Home, 0},
            {Qt::Key_Up, 0},  {Qt::Key_End, 7},  {Qt::Key_Down, 7}, {Qt::Key_Backtab, 6},
            {Qt::Key_Up, 5},  {Qt::Key_Up, 4},   {Qt::Key_Home, 0}};
        for (const auto& [key, index] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY2(items.at(index)->hasFocus(), qPrintable(QString::number(index)));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(windows().loaded(WindowId::Setup)->isVisible());
    }

    void activationGivesTheKey_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("clicks");
        QTest::newRow("mouse") << 0 << 1;
        QTest::newRow("Return") << int(Qt::Key_Return) << 1;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << 1;
        QTest::newRow("Space") << int(Qt::Key_Space) << 1;
        QTest::newRow("letter") << int(Qt::Key_A) << 0;
    }

    void activationGivesTheKey() {
        QFETCH(int, key);
        QFETCH(int, clicks);
        QSignalSpy clicked(bar_, &SideBar::itemClicked);
        SideBarItem* item = bar_->items().at(6);
        item->setFocus();
        QTRY_VERIFY(item->hasFocus());
        if (key)
            QTest::keyClick(item, Qt::Key(key));
        else
            QTest::mouseClick(item, Qt::LeftButton);
        QCOMPARE(clicked.size(), clicks);
        if (clicks)
            QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("About"));
    }
};

QTEST_MAIN(SideBarTest)
#include "tst_sidebar.moc"
