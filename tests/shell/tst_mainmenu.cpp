#include "mainmenu.h"
#include "messages.h"
#include "sidebar.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QLabel>
#include <QtTest>

using namespace pv;

namespace {

class ProbeWindow : public PvWindow {
public:
    explicit ProbeWindow(int* loads) : loads_(loads) {}
    void onLoad() override { ++*loads_; }

private:
    int* loads_;
};

const QStringList kScreens = {
    QStringLiteral("frmSetup"), QStringLiteral("frmIngred"), QStringLiteral("frmRecipe"),
    QStringLiteral("frmShop"),  QStringLiteral("frmAbout"),  QStringLiteral("frmCredit"),
};

}  // namespace

class MainMenuTest : public QObject {
    Q_OBJECT
private:
    QHash<QString, int> loads_;
    int helpCalls_ = 0;
    int exits_ = 0;

    MainMenuWindow* showMenu() {
        return qobject_cast<MainMenuWindow*>(windows().show(QStringLiteral("frmMain")));
    }

    SideBarItem* itemByKey(MainMenuWindow* menu, const QString& key) {
        for (SideBarItem* item : menu->sideBar()->items()) {
            if (item->key() == key) {
                return item;
            }
        }
        return nullptr;
    }

private slots:
    void init() {
        loads_.clear();
        helpCalls_ = 0;
        exits_ = 0;
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new MainMenuWindow; });
        for (const QString& name : kScreens) {
            windows().registerWindow(name, [this, name] { return new ProbeWindow(&loads_[name]); });
        }
        MainMenuWindow::setHelpAction([this] { ++helpCalls_; });
        windows().setExitAction([this] { ++exits_; });
    }

    void cleanup() {
        windows().setExitAction({});
        MainMenuWindow::setHelpAction({});
        windows().reset();
    }

    void windowLooksAsItShould() {
        MainMenuWindow* menu = showMenu();
        QVERIFY(menu);
        QCOMPARE(menu->objectName(), QStringLiteral("frmMain"));
        QCOMPARE(menu->windowTitle(), QStringLiteral("Main Menu:"));
        QVERIFY(!menu->windowIcon().isNull());
        QCOMPARE(menu->size(), QSize(193, 263));
        QCOMPARE(menu->sideBar()->objectName(), QStringLiteral("vbalExplorerBarCtl1"));
        QCOMPARE(menu->sideBar()->geometry(), menu->rect());
        QVERIFY(menu->sideBar()->redraw());
        ImageList* icons = menu->findChild<ImageList*>(QStringLiteral("ilsIcons"));
        QCOMPARE(icons, menu->icons());
        QCOMPARE(menu->sideBar()->imageList(), icons);
        QCOMPARE(icons->count(), 8);
        for (int i = 0; i < icons->count(); ++i) {
            QVERIFY(!icons->icon(i).pixmap(16, 16).isNull());
        }
    }

    void sideBarHoldsTheGroupsAndItemsInOrder() {
        MainMenuWindow* menu = showMenu();
        SideBar* bar = menu->sideBar();
        QCOMPARE(bar->groupCount(), 2);
        QCOMPARE(bar->group(0)->key(), QStringLiteral("SPECIAL"));
        QCOMPARE(bar->group(0)->title(), QStringLiteral("Prg. Selections"));
        QCOMPARE(bar->group(0)->header()->text(), QStringLiteral("Prg. Selections"));
        QVERIFY(bar->group(0)->isSpecial());
        QCOMPARE(bar->group(1)->key(), QStringLiteral("Others"));
        QCOMPARE(bar->group(1)->title(), QStringLiteral("Misc"));
        QVERIFY(!bar->group(1)->isSpecial());
        QCOMPARE(bar->group(0)->itemCount(), 5);
        QCOMPARE(bar->group(1)->itemCount(), 3);

        const QList<std::tuple<QString, QString, int>> expected = {
            {QStringLiteral("Setup"), QStringLiteral("Prg setup"), 0},
            {QStringLiteral("Ingredients"), QStringLiteral("Ingredients"), 1},
            {QStringLiteral("Recipes"), QStringLiteral("Display recipes"), 2},
            {QStringLiteral("Shopping List"), QStringLiteral("Create a shopping list"), 3},
            {QStringLiteral("Exit"), QStringLiteral("Exit this program"), 4},
            {QStringLiteral("Help"), QStringLiteral("View the help file"), 5},
            {QStringLiteral("About"), QStringLiteral("About screen"), 6},
            {QStringLiteral("Credits"), QStringLiteral("Credits"), 7},
        };
        const QList<SideBarItem*> items = bar->items();
        QCOMPARE(items.size(), expected.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            QCOMPARE(items.at(i)->key(), std::get<0>(expected.at(i)));
            QCOMPARE(items.at(i)->text(), std::get<1>(expected.at(i)));
            QCOMPARE(items.at(i)->accessibleName(), std::get<1>(expected.at(i)));
            QCOMPARE(items.at(i)->iconIndex(), std::get<2>(expected.at(i)));
            QVERIFY(items.at(i)->toolTip().isEmpty());
        }
    }

    void clickingAnItemShowsItsScreen_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("screen");
        QTest::newRow("Setup") << "Setup"
                               << "frmSetup";
        QTest::newRow("Ingredients") << "Ingredients"
                                     << "frmIngred";
        QTest::newRow("Recipes") << "Recipes"
                                 << "frmRecipe";
        QTest::newRow("Shopping List") << "Shopping List"
                                       << "frmShop";
        QTest::newRow("About") << "About"
                               << "frmAbout";
        QTest::newRow("Credits") << "Credits"
                                 << "frmCredit";
    }

    void clickingAnItemShowsItsScreen() {
        QFETCH(QString, key);
        QFETCH(QString, screen);
        MainMenuWindow* menu = showMenu();
        SideBarItem* item = itemByKey(menu, key);
        QVERIFY(item);
        item->click();
        PvWindow* shown = windows().loaded(screen);
        QVERIFY(shown);
        QVERIFY(shown->isVisible());
        QVERIFY(!shown->isModal());
        QVERIFY(menu->isVisible());
        QCOMPARE(windows().loadedNames(), QStringList({QStringLiteral("frmMain"), screen}));

        // Shown again after being hidden: the same window, loaded once.
        shown->hide();
        item->click();
        QCOMPARE(windows().loaded(screen), shown);
        QVERIFY(shown->isVisible());
        QCOMPARE(loads_.value(screen), 1);
        QCOMPARE(helpCalls_, 0);
    }

    void twoScreensCanBeOpenAtOnce() {
        MainMenuWindow* menu = showMenu();
        itemByKey(menu, QStringLiteral("Ingredients"))->click();
        itemByKey(menu, QStringLiteral("Recipes"))->click();
        QVERIFY(windows().loaded(QStringLiteral("frmIngred"))->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmRecipe"))->isVisible());
        QVERIFY(menu->isVisible());
    }

    void helpRunsTheHelpAction() {
        MainMenuWindow* menu = showMenu();
        itemByKey(menu, QStringLiteral("Help"))->click();
        QCOMPARE(helpCalls_, 1);
        QCOMPARE(windows().loadedCount(), 1);
        QVERIFY(menu->isVisible());
    }

    void onlyExactKeysAct_data() {
        QTest::addColumn<QString>("key");
        QTest::newRow("lower case") << "setup";
        QTest::newRow("upper case") << "HELP";
        QTest::newRow("trailing blank") << "Exit ";
        QTest::newRow("item text") << "Prg setup";
        QTest::newRow("window name") << "frmSetup";
        QTest::newRow("group key") << "SPECIAL";
        QTest::newRow("empty") << "";
        QTest::newRow("no blank") << "ShoppingList";
    }

    void onlyExactKeysAct() {
        QFETCH(QString, key);
        test::RecordingMessages messages;
        MainMenuWindow* menu = showMenu();
        menu->dispatch(key);
        QCOMPARE(windows().loadedNames(), QStringList{QStringLiteral("frmMain")});
        QCOMPARE(helpCalls_, 0);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(menu->isVisible());
    }

    void screensNotYetBuiltDoNothing() {
        windows().reset();
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new MainMenuWindow; });
        MainMenuWindow* menu = showMenu();
        for (SideBarItem* item : menu->sideBar()->items()) {
            if (item->key() != QLatin1String("Exit")) {
                item->click();
            }
        }
        QCOMPARE(windows().loadedNames(), QStringList{QStringLiteral("frmMain")});
        QVERIFY(menu->isVisible());
    }

    void exitAnsweredYesClosesEveryWindow() {
        test::RecordingMessages messages;
        messages.answers = {msg::kResultYes};
        bool menuVisibleDuringQuestion = true;
        messages.onShow = [&](const test::RecordingMessages::Shown&) {
            menuVisibleDuringQuestion = windows().loaded(QStringLiteral("frmMain"))->isVisible();
        };
        MainMenuWindow* menu = showMenu();
        itemByKey(menu, QStringLiteral("Ingredients"))->click();
        itemByKey(menu, QStringLiteral("About"))->click();
        QPointer<PvWindow> hiddenScreen = windows().loaded(QStringLiteral("frmIngred"));
        hiddenScreen->hide();
        QPointer<PvWindow> guard = menu;

        itemByKey(menu, QStringLiteral("Exit"))->click();

        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(
            messages.shown.at(0).text,
            QStringLiteral("You have indicated you wish to exit\rthis program. Is this correct?"));
        QCOMPARE(messages.shown.at(0).title, QStringLiteral("Quit?"));
        QCOMPARE(messages.shown.at(0).flags, 4132);
        QVERIFY(!menuVisibleDuringQuestion);
        QCOMPARE(exits_, 1);
        QCOMPARE(windows().loadedCount(), 0);
        QTRY_VERIFY(guard.isNull() && hiddenScreen.isNull());
    }

    void exitAnsweredNoBringsTheMenuBackUnchanged() {
        test::RecordingMessages messages;
        messages.answers = {msg::kResultNo};
        MainMenuWindow* menu = showMenu();
        itemByKey(menu, QStringLiteral("Recipes"))->click();
        const QList<SideBarItem*> before = menu->sideBar()->items();

        itemByKey(menu, QStringLiteral("Exit"))->click();

        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(exits_, 0);
        QCOMPARE(windows().loaded(QStringLiteral("frmMain")), menu);
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->sideBar()->items(), before);
        QCOMPARE(windows().loadedNames(),
                 QStringList({QStringLiteral("frmMain"), QStringLiteral("frmRecipe")}));
        QVERIFY(windows().loaded(QStringLiteral("frmRecipe"))->isVisible());
    }

    void closingTheMenuAsksTheExitQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ends");
        QTest::newRow("yes") << msg::kResultYes << true;
        QTest::newRow("no") << msg::kResultNo << false;
    }

    void closingTheMenuAsksTheExitQuestion() {
        QFETCH(int, answer);
        QFETCH(bool, ends);
        test::RecordingMessages messages;
        messages.answers = {answer};
        MainMenuWindow* menu = showMenu();
        menu->close();
        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown.at(0).title, QStringLiteral("Quit?"));
        QCOMPARE(exits_, ends ? 1 : 0);
        QCOMPARE(windows().loadedCount(), ends ? 0 : 1);
        if (!ends) {
            QVERIFY(menu->isVisible());
        }
    }
};

QTEST_MAIN(MainMenuTest)
#include "tst_mainmenu.moc"
