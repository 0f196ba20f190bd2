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
using namespace Qt::StringLiterals;

namespace {

// Counts its handlers; hides itself at Load or refuses a showing again when told to, and
// notes whether the shadow was already asked for when its Load handler ran.
class CountingWindow : public PvWindow {
public:
    void onLoad() override {
        ++loads;
        shadowAtLoad = !windowFlags().testFlag(Qt::NoDropShadowWindowHint);
        if (hideAtLoad)
            hide();
    }
    bool onShowAgain() override {
        ++showsAgain;
        return !refuseAgain;
    }
    void onActivate() override { ++activations; }
    int loads = 0, showsAgain = 0, activations = 0;
    bool hideAtLoad = false, refuseAgain = false, shadowAtLoad = false;
};

CountingWindow* shown(WindowId id) {
    return static_cast<CountingWindow*>(windows().show(id));
}

}  // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { windows().reset(); }

    // Coming back from a dialog or from another program is not an Activate
    // (a recipe's delete box stays enabled after Print); another window is.
    void activateOnlyAfterAnotherOfTheWindows() {
        CountingWindow first, second;
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
        QVERIFY(activate(&second) && activate(&first));
        QCOMPARE(first.activations, 2);
        QCOMPARE(second.activations, 1);
    }

    // The close button only hides: showing again finds the window as it was, without a
    // second Load. Closing all closes the hidden ones too and ends the program.
    void loadRunsOnceAndCloseAllEnds() {
        int exits = 0;
        windows().setExitAction([&] { ++exits; });
        windows().registerWindow(WindowId::Setup, [] { return new CountingWindow; });
        windows().registerWindow(WindowId::About, [] { return new CountingWindow; });
        QPointer<CountingWindow> first = shown(WindowId::Setup);
        QVERIFY(first && first->isVisible());
        first->setWindowTitle(u"kept"_s);
        first->close();
        QVERIFY(!first->isVisible());
        QCOMPARE(windows().loaded(WindowId::Setup), first);
        QCOMPARE(first->showsAgain, 0);
        QCOMPARE(shown(WindowId::Setup), first);
        QCOMPARE(first->windowTitle(), u"kept"_s);
        QVERIFY(first->isVisible() && !first->isModal());
        // Every later showing, of a visible window too, runs its show-again step.
        shown(WindowId::Setup);
        QCOMPARE(first->showsAgain, 2);
        QCOMPARE(first->loads, 1);

        QPointer<PvWindow> hidden = shown(WindowId::About);
        hidden->hide();
        QSignalSpy closed(&windows(), &WindowRegistry::allClosed);
        windows().closeAll();
        QCOMPARE(closed.count(), 1);
        QCOMPARE(exits, 1);
        QCOMPARE(windows().loadedCount(), 0);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull() && hidden.isNull());
        windows().setExitAction({});
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
            auto* window = new CountingWindow;
            window->setWindowFlag(Qt::NoDropShadowWindowHint);
            window->setDropShadowAtLoad(asked);
            return window;
        });
        CountingWindow* window = shown(WindowId::Setup);
        QCOMPARE(window->shadowAtLoad, asked);
        QCOMPARE(window->windowFlags().testFlag(Qt::NoDropShadowWindowHint), !asked);
    }

    // A window hidden by its Load stays hidden; a show-again step that reports a failure
    // keeps the window hidden.
    void windowHiddenByItsLoadStaysHidden() {
        windows().registerWindow(WindowId::Credits, [] {
            auto* window = new CountingWindow;
            window->hideAtLoad = true;
            return window;
        });
        CountingWindow* window = shown(WindowId::Credits);
        QVERIFY(window && !window->isVisible());
        QVERIFY(shown(WindowId::Credits)->isVisible());
        window->hide();
        window->refuseAgain = true;
        QCOMPARE(shown(WindowId::Credits), window);
        QVERIFY(!window->isVisible());
    }

    // The program's own message box shows names and file texts as they are, a CR
    // breaking the line: brackets and ampersands are not taken for markup, here or
    // by a screen reader.
    void messageBoxShowsTextAsItIs_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("bold tag") << u"The category \"<b>Soups</b>\" is missing."_s
                                  << u"The category \"<b>Soups</b>\" is missing."_s;
        QTest::newRow("entity and line break")
            << u"Tom &amp; Jerry\r<i>pie</i>"_s << u"Tom &amp; Jerry\n<i>pie</i>"_s;
        QTest::newRow("CR LF") << u"a\r\nb"_s << u"a\nb"_s;
        QTest::newRow("whole document")
            << u"<html><h1>Week</h1></html>"_s << u"<html><h1>Week</h1></html>"_s;
    }
    void messageBoxShowsTextAsItIs() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QStringList seen;  // text, spoken name, and whether it is plain text
        // Read while the box is up, then answer it.
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (auto* label = box ? box->findChild<QLabel*>(u"qt_msgbox_label"_s) : nullptr) {
                seen << label->text()
                     << QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name)
                     << (label->textFormat() == Qt::PlainText ? u"plain"_s : u"rich"_s);
            }
            if (box)
                box->accept();
        });
        QCOMPARE(showMessage(text, msg::kExclamation), msg::kResultOk);
        QCOMPARE(seen, (QStringList{shown, shown, u"plain"_s}));
    }
};

QTEST_MAIN(WindowsTest)
#include "tst_windows.moc"
