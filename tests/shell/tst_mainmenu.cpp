#include "mainmenuwindow.h"
#include "messageservice.h"
#include "sidebar.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QtTest>

using namespace pv;

namespace {

const QList<std::pair<const char*, WindowId>> kScreens = {
    {"Setup", WindowId::Setup},           {"Ingredients", WindowId::RecipeEntry},
    {"Recipes", WindowId::RecipeBrowser}, {"Shopping List", WindowId::ShoppingList},
    {"About", WindowId::About},           {"Credits", WindowId::Credits}};

}  // namespace

class MainMenuTest : public QObject {
    Q_OBJECT
    QMap<WindowId, int> loads_;
    int helpCalls_ = 0;
    int exits_ = 0;

    MainMenuWindow* showMenu() {
        return qobject_cast<MainMenuWindow*>(windows().show(WindowId::Main));
    }
    void click(MainMenuWindow* menu, const QString& key) {
        for (SideBarItem* item : menu->sideBar()->items()) {
            if (item->key() == key)
                item->click();
        }
    }

private slots:
    void init() {
        loads_.clear();
        helpCalls_ = exits_ = 0;
        windows().registerWindow(WindowId::Main, [] { return new MainMenuWindow; });
        for (const auto& [key, screen] : kScreens) {
            windows().registerWindow(screen, [this, screen = screen] {
                ++loads_[screen];
                return new PvWindow;
            });
        }
        MainMenuWindow::setHelpAction([this] { ++helpCalls_; });
        windows().setExitAction([this] { ++exits_; });
    }

    void cleanup() {
        windows().setExitAction({});
        MainMenuWindow::setHelpAction({});
        windows().reset();
    }

    // Groups as "key title special", items as "key | text | icon index".
    void groupsAndItemsInOrder() {
        MainMenuWindow* menu = showMenu();
        QStringList bar;
        for (int g = 0; g < menu->sideBar()->groupCount(); ++g) {
            const SideBarGroup* group = menu->sideBar()->group(g);
            bar << group->key() + u' ' + group->title() + (group->isSpecial() ? " special" : "");
            for (int i = 0; i < group->itemCount(); ++i) {
                const SideBarItem* item = group->item(i);
                bar << item->key() + " | " + item->text() + " | " +
                           QString::number(item->iconIndex());
            }
        }
        QCOMPARE(bar, QStringList({"SPECIAL Prg. Selections special", "Setup | Prg setup | 0",
                                   "Ingredients | Ingredients | 1", "Recipes | Display recipes | 2",
                                   "Shopping List | Create a shopping list | 3",
                                   "Exit | Exit this program | 4", "Others Misc",
                                   "Help | View the help file | 5", "About | About screen | 6",
                                   "Credits | Credits | 7"}));
        QCOMPARE(menu->icons()->count(), 8);
    }

    // Only the exact, case-sensitive key acts; a screen is loaded once and shown
    // again as it was left.
    void dispatchOnExactKey_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QList<WindowId>>("opened");
        QTest::addColumn<int>("help");
        for (const auto& [key, screen] : kScreens)
            QTest::newRow(key) << key << QList<WindowId>{screen} << 0;
        QTest::newRow("Help") << "Help" << QList<WindowId>() << 1;
        for (const char* key :
             {"setup", "HELP", "Exit ", "Prg setup", "frmSetup", "SPECIAL", "", "ShoppingList"})
            QTest::newRow(qPrintable(QStringLiteral("'%1'").arg(key)))
                << key << QList<WindowId>() << 0;
    }

    void dispatchOnExactKey() {
        QFETCH(QString, key);
        QFETCH(QList<WindowId>, opened);
        QFETCH(int, help);
        test::RecordingMessages messages;
        MainMenuWindow* menu = showMenu();
        menu->dispatch(key);
        QCOMPARE(windows().loadedWindows(), QList<WindowId>{WindowId::Main} + opened);
        QCOMPARE(helpCalls_, help);
        QVERIFY(messages.shown.isEmpty());
        QVERIFY(menu->isVisible());
        if (opened.isEmpty())
            return;
        const WindowId screen = opened.constFirst();
        PvWindow* shown = windows().loaded(screen);
        QVERIFY(shown->isVisible() && !shown->isModal());
        shown->hide();
        click(menu, key);
        QCOMPARE(windows().loaded(screen), shown);
        QVERIFY(shown->isVisible());
        QCOMPARE(loads_.value(screen), 1);
    }

    // Yes closes every loaded window, hidden ones too; No brings the menu back unchanged.
    void exitQuestion_data() {
        QTest::addColumn<bool>("byClosing");
        QTest::addColumn<bool>("yes");
        QTest::newRow("item, yes") << false << true;
        QTest::newRow("item, no") << false << false;
        QTest::newRow("closing, yes") << true << true;
        QTest::newRow("closing, no") << true << false;
    }

    void exitQuestion() {
        QFETCH(bool, byClosing);
        QFETCH(bool, yes);
        test::RecordingMessages messages;
        messages.answers = {yes ? msg::kResultYes : msg::kResultNo};
        bool menuVisibleDuringQuestion = true;
        messages.onShow = [&](const test::RecordingMessages::Shown&) {
            menuVisibleDuringQuestion = windows().loaded(WindowId::Main)->isVisible();
        };
        MainMenuWindow* menu = showMenu();
        click(menu, QStringLiteral("Ingredients"));
        click(menu, QStringLiteral("Recipes"));
        QPointer<PvWindow> hidden = windows().loaded(WindowId::RecipeEntry);
        hidden->hide();
        QPointer<PvWindow> guard = menu;

        if (byClosing)
            menu->close();
        else
            click(menu, QStringLiteral("Exit"));

        QCOMPARE(messages.shown.size(), 1);
        QCOMPARE(messages.shown[0].title + QString::number(messages.shown[0].flags),
                 QStringLiteral("Quit?4132"));
        QCOMPARE(messages.shown[0].text, QStringLiteral("You have indicated you wish to exit\r"
                                                        "this program. Is this correct?"));
        QVERIFY(!menuVisibleDuringQuestion);
        QCOMPARE(exits_, yes ? 1 : 0);
        if (yes) {
            QCOMPARE(windows().loadedCount(), 0);
            QTRY_VERIFY(guard.isNull() && hidden.isNull());
            return;
        }
        QVERIFY(menu->isVisible());
        QCOMPARE(windows().loadedWindows(),
                 QList({WindowId::Main, WindowId::RecipeEntry, WindowId::RecipeBrowser}));
        QVERIFY(!hidden->isVisible());
        QVERIFY(windows().loaded(WindowId::RecipeBrowser)->isVisible());
    }
};

QTEST_MAIN(MainMenuTest)
#include "tst_mainmenu.moc"
