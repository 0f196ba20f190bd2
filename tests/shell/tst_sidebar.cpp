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
    ImageList* icons_ = nullptr;

private slots:
    void init() {
        window_ = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(window_.get());
        bar_ = new SideBar(window_.get());
        layout->addWidget(bar_);
        icons_ = new ImageList(window_.get());
        icons_->add(filled(Qt::red));
        icons_->add(filled(Qt::green));
        bar_->setImageList(icons_);
        SideBarGroup* first = bar_->addGroup(QStringLiteral("G1"), QStringLiteral("First"));
        first->setSpecial(true);
        first->addItem(QStringLiteral("a"), QStringLiteral("Alpha"), 0);
        first->addItem(QStringLiteral("b"), QStringLiteral("Beta"), 1);
        SideBarGroup* second = bar_->addGroup(QStringLiteral("G2"), QStringLiteral("Second"));
        second->addItem(QStringLiteral("c"), QStringLiteral("Gamma"), 1);
        window_->resize(200, 300);
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    }

    void cleanup() { window_.reset(); }

    void imageListAnswersByIndex() {
        QCOMPARE(icons_->count(), 2);
        QCOMPARE(icons_->iconSize(), QSize(16, 16));
        QCOMPARE(icons_->icon(1).pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::green));
        QVERIFY(icons_->icon(2).isNull());
        QVERIFY(icons_->icon(-1).isNull());
        QCOMPARE(icons_->add(filled(Qt::blue)), 2);
    }

    void itemWithAnIndexOutsideTheListIsDrawnWithoutIcon() {
        SideBarItem* item =
            bar_->group(1)->addItem(QStringLiteral("d"), QStringLiteral("Delta"), 9);
        QCOMPARE(item->iconIndex(), 9);
        QVERIFY(!item->grab().isNull());
        QCOMPARE(bar_->items().size(), 4);
    }

    void redrawSwitch() {
        bar_->setRedraw(false);
        QVERIFY(!bar_->redraw());
        QVERIFY(!bar_->updatesEnabled());
        bar_->setRedraw(true);
        QVERIFY(bar_->redraw());
    }

    void groupsKeepKeyTitleAndStyle() {
        QCOMPARE(bar_->groupCount(), 2);
        QCOMPARE(bar_->group(0)->key(), QStringLiteral("G1"));
        QVERIFY(bar_->group(0)->isSpecial());
        QVERIFY(!bar_->group(1)->isSpecial());
        QCOMPARE(bar_->group(1)->header()->text(), QStringLiteral("Second"));
        // The special header is drawn differently from an ordinary one.
        const QImage special = bar_->group(0)->grab().toImage();
        const QImage plain = bar_->group(1)->grab().toImage();
        QVERIFY(special.pixelColor(20, 3) != plain.pixelColor(20, 3));
        QVERIFY(bar_->group(2) == nullptr);
    }

    void mouseClickGivesTheKey() {
        QSignalSpy clicked(bar_, &SideBar::itemClicked);
        QTest::mouseClick(bar_->group(1)->item(0), Qt::LeftButton);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("c"));
    }

    void tabAndArrowsMoveAlongTheItems() {
        const QList<SideBarItem*> items = bar_->items();
        items.at(0)->setFocus();
        QTRY_VERIFY(items.at(0)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(items.at(1)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(items.at(2)->hasFocus());
        // Nothing past the last item.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        QVERIFY(items.at(2)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(items.at(1)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home);
        QVERIFY(items.at(0)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(items.at(0)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        QVERIFY(items.at(2)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(items.at(1)->hasFocus());
    }

    void keysActivateTheFocusedItem_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Return") << int(Qt::Key_Return) << 1;
        QTest::newRow("Enter") << int(Qt::Key_Enter) << 1;
        QTest::newRow("Space") << int(Qt::Key_Space) << 1;
        QTest::newRow("letter") << int(Qt::Key_A) << 0;
    }

    void keysActivateTheFocusedItem() {
        QFETCH(int, key);
        QFETCH(int, clicks);
        QSignalSpy clicked(bar_, &SideBar::itemClicked);
        SideBarItem* item = bar_->items().at(1);
        item->setFocus();
        QTRY_VERIFY(item->hasFocus());
        QTest::keyClick(item, Qt::Key(key));
        QCOMPARE(clicked.size(), clicks);
        if (clicks) {
            QCOMPARE(clicked.at(0).at(0).toString(), QStringLiteral("b"));
        }
    }

    void accessibleNamesAreTheTexts() {
        for (SideBarItem* item : bar_->items()) {
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(item);
            QVERIFY(face);
            QCOMPARE(face->text(QAccessible::Name), item->text());
        }
        QAccessibleInterface* header =
            QAccessible::queryAccessibleInterface(bar_->group(0)->header());
        QVERIFY(header);
        QCOMPARE(header->text(QAccessible::Name), QStringLiteral("First"));
    }

    void mainMenuWorksByKeyboard() {
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new MainMenuWindow; });
        int setupLoads = 0;
        windows().registerWindow(QStringLiteral("frmSetup"), [&setupLoads] {
            struct Setup : PvWindow {
                explicit Setup(int* loads) { ++*loads; }
            };
            return new Setup(&setupLoads);
        });
        auto* menu = qobject_cast<MainMenuWindow*>(windows().show(QStringLiteral("frmMain")));
        QVERIFY(menu);
        menu->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        // The window opens with the first item in focus; Tab goes on to the next.
        const QList<SideBarItem*> items = menu->sideBar()->items();
        QTRY_VERIFY(items.at(0)->hasFocus());
        QTest::keyClick(menu, Qt::Key_Tab);
        QVERIFY(items.at(1)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
        QVERIFY(items.at(0)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(setupLoads, 1);
        QVERIFY(windows().loaded(QStringLiteral("frmSetup"))->isVisible());
        windows().reset();
    }
};

QTEST_MAIN(SideBarTest)
#include "tst_sidebar.moc"
