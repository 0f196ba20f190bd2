#include "mainmenu.h"
#include "sidebar.h"
#include "windowregistry.h"

#include <QAccessible>
#include <QLabel>
#include <QPixmap>
#include <QSignalSpy>
#include <QVBoxLayout>
#include <QtTest>

using namespace pv;

namespace {

QIcon filled(const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(colour);
    return QIcon(pixmap);
}

}  // namespace

class SideBarTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QWidget> window_;
    SideBar* bar_ = nullptr;

private slots:
    // Two groups, the first special: Alpha (a) and Beta (b), then Gamma (c).
    void init() {
        window_ = std::make_unique<QWidget>();
        bar_ = new SideBar(window_.get());
        (new QVBoxLayout(window_.get()))->addWidget(bar_);
        auto* icons = new ImageList(window_.get());
        icons->add(filled(Qt::red));
        icons->add(filled(Qt::green));
        bar_->setImageList(icons);
        SideBarGroup* first = bar_->addGroup(QStringLiteral("G1"), QStringLiteral("First"));
        first->setSpecial(true);
        first->addItem(QStringLiteral("a"), QStringLiteral("Alpha"), 0);
        first->addItem(QStringLiteral("b"), QStringLiteral("Beta"), 1);
        bar_->addGroup(QStringLiteral("G2"), QStringLiteral("Second"))
            ->addItem(QStringLiteral("c"), QStringLiteral("Gamma"), 1);
        window_->resize(200, 300);
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup() { window_.reset(); }

    void iconIndexOutsideTheListDrawsNoIcon() {
        QCOMPARE(bar_->imageList()->icon(1).pixmap(16, 16).toImage().pixelColor(8, 8),
                 QColor(Qt::green));
        QVERIFY(bar_->imageList()->icon(2).isNull());
        QVERIFY(bar_->imageList()->icon(-1).isNull());
        SideBarItem* item = bar_->group(1)->addItem(QStringLiteral("d"), QStringLiteral("D"), 9);
        QVERIFY(!item->grab().isNull());
        QCOMPARE(bar_->items().size(), 4);
        QVERIFY(bar_->group(2) == nullptr);
        // The special header is drawn differently from an ordinary one.
        QVERIFY(bar_->group(0)->grab().toImage().pixelColor(20, 3) !=
                bar_->group(1)->grab().toImage().pixelColor(20, 3));
    }

    void tabAndArrowsMoveAlongTheItems() {
        const QList<SideBarItem*> items = bar_->items();
        items.at(0)->setFocus();
        QTRY_VERIFY(items.at(0)->hasFocus());
        // Each key and the item focused after it; nothing before the first or past the last.
        const QList<std::pair<Qt::Key, int>> steps = {
            {Qt::Key_Tab, 1},  {Qt::Key_Down, 2}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1},
            {Qt::Key_Home, 0}, {Qt::Key_Up, 0},   {Qt::Key_End, 2},  {Qt::Key_Backtab, 1}};
        for (const auto& [key, index] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY(items.at(index)->hasFocus());
        }
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
        SideBarItem* item = bar_->items().at(1);
        item->setFocus();
        QTRY_VERIFY(item->hasFocus());
        if (key)
            QTest::keyClick(item, Qt::Key(key));
        else
            QTest::mouseClick(item, Qt::LeftButton);
        QCOMPARE(clicked.size(), clicks);
        if (clicks)
            QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("b"));
    }

    void accessibleNamesAreTheTexts() {
        for (SideBarItem* item : bar_->items())
            QCOMPARE(QAccessible::queryAccessibleInterface(item)->text(QAccessible::Name),
                     item->text());
        QCOMPARE(QAccessible::queryAccessibleInterface(bar_->group(0)->header())
                     ->text(QAccessible::Name),
                 QStringLiteral("First"));
    }

    void mainMenuWorksByKeyboard() {
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new MainMenuWindow; });
        windows().registerWindow(QStringLiteral("frmSetup"), [] { return new PvWindow; });
        auto* menu = qobject_cast<MainMenuWindow*>(windows().show(QStringLiteral("frmMain")));
        menu->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        // The window opens with the first item in focus.
        const QList<SideBarItem*> items = menu->sideBar()->items();
        QTRY_VERIFY(items.at(0)->hasFocus());
        QTest::keyClick(menu, Qt::Key_Tab);
        QVERIFY(items.at(1)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(windows().loaded(QStringLiteral("frmSetup"))->isVisible());
        windows().reset();
    }
};

QTEST_MAIN(SideBarTest)
#include "tst_sidebar.moc"
