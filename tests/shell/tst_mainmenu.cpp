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
            if (item->key() == key)
                return item;
        }
        return nullptr;
    }

private slots:
    void init() {
        loads_.clear();
        helpCalls_ = exits_ = 0;
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new MainMenuWindow; });
        for (const char* name :
             {"frmSetup", "frmIngred", "frmRecipe", "frmShop", "frmAbout", "frmCredit"}) {
            const QString screen = QString::fromLatin1(name);
            windows().registerWindow(screen,
                                     [this, screen] { return new ProbeWindow(&loads_[screen]); });
        }
        MainMenuWindow::setHelpAction([this] { ++helpCalls_; });
        windows().setExitAction([this] { ++exits_; });
    }

    void cleanup() {
        windows().setExitAction({});
        MainMenuWindow::setHelpAction({});
        windows().reset();
    }

    void groupsAndItemsInOrder() {
        MainMenuWindow* menu = showMenu();
        QCOMPARE(menu->windowTitle(), QStringLiteral("Main Menu:"));
        SideBar* bar = menu->sideBar();
        QCOMPARE(bar->groupCount(), 2);
        QCOMPARE(bar->group(0)->key(), QStringLiteral("SPECIAL"));
        QCOMPARE(bar->group(0)->title(), QStringLiteral("Prg. Selections"));
        QVERIFY(bar->group(0)->isSpecial());
        QCOMPARE(bar->group(1)->key(), QStringLiteral("Others"));
        QCOMPARE(bar->group(1)->title(), QStringLiteral("Misc"));
        QVERIFY(!bar->group(1)->isSpecial());
        QCOMPARE(bar->group(0)->itemCount(), 5);
        QCOMPARE(menu->icons()->count(), 8);

        const QStringList expected = {
            "Setup",   "Prg setup",         "Ingredients",   "Ingredients",
            "Recipes", "Display recipes",   "Shopping List", "Create a shopping list",
            "Exit",    "Exit this program", "Help",          "View the help file",
            "About",   "About screen",      "Credits",       "Credits"};
        const QList<SideBarItem*> items = bar->items();
        QCOMPARE(items.size(), 8);
        for (int i = 0; i < items.size(); ++i) {
            QCOMPARE(items.at(i)->key(), expected.at(2 * i));
            QCOMPARE(items.at(i)->text(), expected.at(2 * i + 1));
            QCOMPARE(items.at(i)->accessibleName(), expected.at(2 * i + 1));
            QCOMPARE(items.at(i)->iconIndex(), i);
        }
    }

    // Only the exact, case-sensitive key acts; a screen is loaded once and shown
    // again as it was left.
    void dispatchOnExactKey_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("screen");
        QTest::addColumn<int>("help");
        QTest::newRow("Setup") << "Setup"
                               << "frmSetup" << 0;
        QTest::newRow("Ingredients") << "Ingredients"
                                     << "frmIngred" << 0;
        QTest::newRow("Recipes") << "Recipes"
                                 << "frmRecipe" << 0;
        QTest::newRow("Shopping List") << "Shopping List"
                                       << "frmShop" << 0;
        QTest::newRow("About") << "About"
                               << "frmAbout" << 0;
        QTest::newRow("Credits") << "Credits"
                                 << "frmCredit" << 0;
        QTest::newRow("Help") << "Help"
                              << "" << 1;
        for (const char* key :
             {"setup", "HELP", "Exit ", "Prg setup", "frmSetup", "SPECIAL", "", "ShoppingList"})
            QTest::newRow(qPrintable(QStringLiteral("'%1'").arg(key))) << key << "" << 0;
    }

    void dispatchOnExactKey() {
        QFETCH(QString, key);
        QFETCH(QString, screen);
        QFETCH(int, help);
        test::RecordingMessages messages;
        MainMenuWindow* menu = showMenu();
        menu->dispatch(key);
        const QStringList names =
            screen.isEmpty() ? QStringList{"frmMain"} : QStringList{"frmMain", screen};
        QCOMPARE(windows().loadedNames(), names);
        QCOMPARE(helpCalls_, help);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(menu->isVisible());
        if (screen.isEmpty())
            return;
        PvWindow* shown = windows().loaded(screen);
        QVERIFY(shown->isVisible() && !shown->isModal());
        shown->hide();
        itemByKey(menu, key)->click();
        QCOMPARE(windows().loaded(screen), shown);
        QVERIFY(shown->isVisible());
        QCOMPARE(loads_.value(screen), 1);
    }

    void screensNotYetBuiltDoNothing() {
        windows().reset();
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new MainMenuWindow; });
        MainMenuWindow* menu = showMenu();
        for (SideBarItem* item : menu->sideBar()->items()) {
            if (item->key() != QLatin1String("Exit"))
                item->click();
        }
        QCOMPARE(windows().loadedNames(), QStringList{"frmMain"});
        QVERIFY(menu->isVisible());
    }

    // Yes closes every loaded window, hidden ones too; No brings the menu back unchanged.
    void exitQuestion_data() {
        QTest::addColumn<bool>("byClosing");
        QTest::addColumn<int>("answer");
        QTest::newRow("item, yes") << false << int(msg::kResultYes);
        QTest::newRow("item, no") << false << int(msg::kResultNo);
        QTest::newRow("closing, yes") << true << int(msg::kResultYes);
        QTest::newRow("closing, no") << true << int(msg::kResultNo);
    }

    void exitQuestion() {
        QFETCH(bool, byClosing);
        QFETCH(int, answer);
        const bool yes = answer == msg::kResultYes;
        test::RecordingMessages messages;
        messages.answers = {answer};
        bool menuVisibleDuringQuestion = true;
        messages.onShow = [&](const test::RecordingMessages::Shown&) {
            menuVisibleDuringQuestion = windows().loaded(QStringLiteral("frmMain"))->isVisible();
        };
        MainMenuWindow* menu = showMenu();
        itemByKey(menu, QStringLiteral("Ingredients"))->click();
        itemByKey(menu, QStringLiteral("Recipes"))->click();
        QPointer<PvWindow> hidden = windows().loaded(QStringLiteral("frmIngred"));
        hidden->hide();
        QPointer<PvWindow> guard = menu;
        const QList<SideBarItem*> before = menu->sideBar()->items();

        if (byClosing)
            menu->close();
        else
            itemByKey(menu, QStringLiteral("Exit"))->click();

        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(
            messages.shown.at(0).text,
            QStringLiteral("You have indicated you wish to exit\rthis program. Is this correct?"));
        QCOMPARE(messages.shown.at(0).title, QStringLiteral("Quit?"));
        QCOMPARE(messages.shown.at(0).flags, 4132);
        QVERIFY(!menuVisibleDuringQuestion);
        QCOMPARE(exits_, yes ? 1 : 0);
        if (yes) {
            QCOMPARE(windows().loadedCount(), 0);
            QTRY_VERIFY(guard.isNull() && hidden.isNull());
            return;
        }
        QCOMPARE(windows().loaded(QStringLiteral("frmMain")), menu);
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->sideBar()->items(), before);
        QCOMPARE(windows().loadedNames(), QStringList({"frmMain", "frmIngred", "frmRecipe"}));
        QVERIFY(!hidden->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmRecipe"))->isVisible());
    }
};

QTEST_MAIN(MainMenuTest)
#include "tst_mainmenu.moc"
