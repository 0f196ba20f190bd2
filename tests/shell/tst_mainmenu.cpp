#include "aboutwindow.h"
#include "calendarwindow.h"
#include "creditswindow.h"
#include "mainmenuwindow.h"
#include "messageservice.h"
#include "pictures.h"
#include "sidebar.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QCalendarWidget>
#include <QImageReader>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

const QList<std::pair<const char*, WindowId>> kScreens = {
    {"Setup", WindowId::Setup},           {"Ingredients", WindowId::RecipeEntry},
    {"Recipes", WindowId::RecipeBrowser}, {"Shopping List", WindowId::ShoppingList},
    {"About", WindowId::About},           {"Credits", WindowId::Credits}};

// Opaque and fully transparent pixels both present: a shape, not a filled square.
bool hasShape(const QImage& image) {
    QSet<int> alphas;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) alphas.insert(qAlpha(image.pixel(x, y)));
    }
    return alphas.contains(255) && alphas.contains(0);
}

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
        QVERIFY(messages.shown.isEmpty() && menu->isVisible());
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

        QCOMPARE(messages.lines(), QStringList{"Quit?|4132|You have indicated you wish to exit\r"
                                               "this program. Is this correct?"});
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
        QVERIFY(!hidden->isVisible() && windows().loaded(WindowId::RecipeBrowser)->isVisible());
    }

    // The window opens with the first item in focus; Tab and the arrows move along the
    // items across the groups, never past either end. The mouse, Return, Enter and
    // Space activate an item, a letter does not.
    void sideBarKeyboard() {
        MainMenuWindow* menu = showMenu();
        menu->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(menu));
        SideBar* bar = menu->sideBar();
        const QList<SideBarItem*> items = bar->items();
        QTRY_VERIFY(items.at(0)->hasFocus());
        const QList<std::pair<Qt::Key, int>> steps = {
            {Qt::Key_Tab, 1}, {Qt::Key_Down, 2}, {Qt::Key_Up, 1},   {Qt::Key_Home, 0},
            {Qt::Key_Up, 0},  {Qt::Key_End, 7},  {Qt::Key_Down, 7}, {Qt::Key_Backtab, 6},
            {Qt::Key_Up, 5},  {Qt::Key_Up, 4},   {Qt::Key_Home, 0}};
        for (const auto& [key, index] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QVERIFY2(items.at(index)->hasFocus(), qPrintable(QString::number(index)));
        }
        QSignalSpy clicked(bar, &SideBar::itemClicked);
        for (Qt::Key key : {Qt::Key_A, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space})
            QTest::keyClick(items.at(6), key);
        QTest::mouseClick(items.at(6), Qt::LeftButton);
        QCOMPARE(clicked.size(), 4);
        for (const QList<QVariant>& key : clicked) QCOMPARE(key.at(0).toString(), u"About"_s);
        QVERIFY(windows().loaded(WindowId::About)->isVisible());
    }

    // About, credits and the calendar: every control but one hides the window, and
    // so do its margin and Escape; shown again it is the same window, loaded once.
    void smallWindowsHide_data() {
        QTest::addColumn<WindowId>("window");
        QTest::addColumn<QString>("keeper");
        QTest::newRow("about") << WindowId::About << u"Image1"_s;
        QTest::newRow("credits") << WindowId::Credits << u"lblCrMsg4"_s;
        QTest::newRow("calendar") << WindowId::Calendar << u"MonthView1"_s;
    }
    void smallWindowsHide() {
        QFETCH(WindowId, window);
        QFETCH(QString, keeper);
        for (const auto& [id, factory] : {test::screen<AboutWindow>(WindowId::About),
                                          test::screen<CreditsWindow>(WindowId::Credits),
                                          test::screen<CalendarWindow>(WindowId::Calendar)}) {
            windows().registerWindow(id, factory);
        }
        QSignalSpy loads(&windows(), &WindowRegistry::windowLoaded);
        PvWindow* shown = windows().show(window);
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QVERIFY(shown->findChild<QWidget*>(keeper, Qt::FindDirectChildrenOnly));
        for (QWidget* control : shown->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            QCOMPARE(windows().show(window), shown);
            QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, 4));
            QVERIFY2(shown->isVisible() == (control->objectName() == keeper),
                     qPrintable(control->objectName()));
        }
        QTest::mouseClick(shown, Qt::LeftButton, {}, QPoint(2, shown->height() - 2));
        QVERIFY(!shown->isVisible());
        QCOMPARE(windows().show(window), shown);
        QVERIFY(shown->isVisible() && !shown->isModal());
        QTest::keyClick(shown, Qt::Key_Escape);
        QVERIFY(!shown->isVisible());
        QCOMPARE(loads.count(), 1);
        if (window != WindowId::Calendar)
            return;
        // A day keeps the calendar.
        windows().show(window);
        auto* month = test::control<QCalendarWidget>(shown, keeper);
        auto* days = month->findChild<QTableView*>();
        const auto clickDay = [&](int row, int column) {
            const QRect cell = days->visualRect(days->model()->index(row, column));
            QTest::mouseClick(days->viewport(), Qt::LeftButton, {}, cell.center());
            return month->selectedDate();
        };
        QVERIFY(clickDay(3, 1) != clickDay(4, 2));
        QVERIFY(shown->isVisible());
    }

    void shippedIconFilesHoldEverySize_data() {
        QTest::addColumn<QString>("name");
        for (const QString& name : pictures::screenIconNames())
            QTest::newRow(qPrintable(name)) << name;
    }
    // The files in images/ are made from the same drawings: a stale file shows here.
    void shippedIconFilesHoldEverySize() {
        QFETCH(QString, name);
        QImageReader reader(QStringLiteral(PV_APPDIR "/images/") + name + u".ico"_s);
        QVERIFY(reader.canRead());
        QList<int> sizes;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            sizes.append(image.width());
            QVERIFY(hasShape(image));
            QCOMPARE(image, pictures::screenIconImage(name, image.width()));
        }
        QCOMPARE(sizes, QList<int>({16, 24, 32, 48}));
    }

    void sideBarIconsAreEightDifferentPictures() {
        QList<QImage> seen;
        for (int i = 0; i < 8; ++i) {
            const QImage image = pictures::menuImage(i, 16);
            QVERIFY(hasShape(image) && !seen.contains(image));
            seen.append(image);
        }
        QVERIFY(pictures::menuImage(8, 16).isNull());
        QVERIFY(pictures::screenIconImage(u"new"_s, 16).isNull());
        QVERIFY(hasShape(pictures::appImage(48)) && hasShape(pictures::splashPicture(104, 104)));
    }
};

QTEST_MAIN(MainMenuTest)
#include "tst_mainmenu.moc"
