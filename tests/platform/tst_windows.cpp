#include "messageservice.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

using namespace pv;

namespace {

class CountingWindow : public PvWindow {
public:
    explicit CountingWindow(int* loads) : loads_(loads) {}
    void onLoad() override { ++*loads_; }
    bool onShowAgain() override {
        ++showsAgain;
        return true;
    }
    void onActivate() override { ++activations; }
    int showsAgain = 0;
    int activations = 0;

private:
    int* loads_;
};

class HidingWindow : public PvWindow {
public:
    void onLoad() override { hide(); }
    bool onShowAgain() override { return !refuseAgain; }
    bool refuseAgain = false;
};

// Notes whether the shadow was already asked for when its Load handler ran.
class ShadowWindow : public PvWindow {
public:
    void onLoad() override { shadowAtLoad = !windowFlags().testFlag(Qt::NoDropShadowWindowHint); }
    bool shadowAtLoad = false;
};

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { windows().reset(); }

    // Coming back from a dialog or from another program is not an Activate
    // (a recipe's delete box stays enabled after Print); another window is.
    void activateOnlyAfterAnotherOfTheWindows() {
        int loads = 0;
        CountingWindow first(&loads);
        CountingWindow second(&loads);
        const auto activate = [](QWidget* window) {
            window->show();
            window->activateWindow();
            return QTest::qWaitForWindowActive(window);
        };
        QVERIFY(activate(&first));
        QDialog dialog(&first);
        QVERIFY(activate(&dialog));
        dialog.close();
        QVERIFY(activate(&first));
        QCOMPARE(first.activations, 1);
        QVERIFY(activate(&second));
        QVERIFY(activate(&first));
        QCOMPARE(first.activations, 2);
        QCOMPARE(second.activations, 1);
    }

    // The close button only hides: showing again finds the window as it was,
    // without a second Load.
    void loadRunsOnceAndClosedWindowKeepsItsState() {
        int loads = 0;
        windows().registerWindow(WindowId::Setup, [&] { return new CountingWindow(&loads); });
        auto* first = static_cast<CountingWindow*>(windows().show(WindowId::Setup));
        QVERIFY(first && first->isVisible());
        first->setWindowTitle(QStringLiteral("kept"));
        first->close();
        QVERIFY(!first->isVisible());
        QCOMPARE(windows().loaded(WindowId::Setup), first);
        QCOMPARE(first->showsAgain, 0);
        QCOMPARE(windows().show(WindowId::Setup), first);
        QCOMPARE(first->windowTitle(), QStringLiteral("kept"));
        QVERIFY(first->isVisible());
        QVERIFY(!first->isModal());
        // Every later showing, of a visible window too, runs its show-again step.
        windows().show(WindowId::Setup);
        QCOMPARE(first->showsAgain, 2);
        QCOMPARE(loads, 1);
    }

    // The shadow comes with Load, before the window's own handler, and only when asked for.
    void dropShadowComesWithLoad_data() {
        QTest::addColumn<bool>("asked");
        QTest::newRow("asked") << true;
        QTest::newRow("not asked") << false;
    }
    void dropShadowComesWithLoad() {
        QFETCH(bool, asked);
        windows().registerWindow(WindowId::Setup, [asked] {
            auto* window = new ShadowWindow;
            window->setWindowFlag(Qt::NoDropShadowWindowHint);
            window->setDropShadowAtLoad(asked);
            return window;
        });
        auto* window = static_cast<ShadowWindow*>(windows().show(WindowId::Setup));
        QCOMPARE(window->shadowAtLoad, asked);
        QCOMPARE(window->windowFlags().testFlag(Qt::NoDropShadowWindowHint), !asked);
    }

    void windowHiddenByItsLoadStaysHidden() {
        windows().registerWindow(WindowId::Credits, [] { return new HidingWindow; });
        PvWindow* window = windows().show(WindowId::Credits);
        QVERIFY(window);
        QVERIFY(!window->isVisible());
        QVERIFY(windows().show(WindowId::Credits)->isVisible());
        // A show-again step that reports a failure keeps the window hidden.
        window->hide();
        static_cast<HidingWindow*>(window)->refuseAgain = true;
        QCOMPARE(windows().show(WindowId::Credits), window);
        QVERIFY(!window->isVisible());
    }

    void closeAllClosesHiddenWindowsAndEnds() {
        int loads = 0;
        int exits = 0;
        windows().setExitAction([&] { ++exits; });
        windows().registerWindow(WindowId::Setup, [&] { return new CountingWindow(&loads); });
        windows().registerWindow(WindowId::About, [&] { return new CountingWindow(&loads); });
        QPointer<PvWindow> a = windows().show(WindowId::Setup);
        QPointer<PvWindow> b = windows().show(WindowId::About);
        b->hide();
        QSignalSpy closed(&windows(), &WindowRegistry::allClosed);
        windows().closeAll();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(exits, 1);
        QCOMPARE(windows().loadedCount(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(a.isNull());
        QVERIFY(b.isNull());
        windows().setExitAction({});
    }

    // The program's own message box shows names and file texts as they are, a CR
    // breaking the line: brackets and ampersands are not taken for markup, here or
    // by a screen reader.
    void messageBoxShowsTextAsItIs_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("bold tag") << QStringLiteral("The category \"<b>Soups</b>\" is missing.")
                                  << QStringLiteral("The category \"<b>Soups</b>\" is missing.");
        QTest::newRow("entity and line break") << QStringLiteral("Tom &amp; Jerry\r<i>pie</i>")
                                               << QStringLiteral("Tom &amp; Jerry\n<i>pie</i>");
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << QStringLiteral("a\nb");
        QTest::newRow("whole document") << QStringLiteral("<html><h1>Week</h1></html>")
                                        << QStringLiteral("<html><h1>Week</h1></html>");
    }
    void messageBoxShowsTextAsItIs() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QString label, spoken;
        Qt::TextFormat format = Qt::AutoText;
        // Read while the box is up, then answer it.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (auto* shownLabel =
                    box ? box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")) : nullptr) {
                label = shownLabel->text();
                format = shownLabel->textFormat();
                spoken = QAccessible::queryAccessibleInterface(shownLabel)->text(QAccessible::Name);
            }
            if (box) {
                box->accept();
            }
        });
        QCOMPARE(showMessage(text, msg::kExclamation), msg::kResultOk);
        QCOMPARE(label, shown);
        QCOMPARE(spoken, shown);
        QCOMPARE(format, Qt::PlainText);
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
