#include "hoverhints.h"
#include "menubar.h"
#include "screentext.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtTest>

using namespace pv;

namespace {

const QList<MenuEntry> kTable = {
    {QString(), QStringLiteral("keyfile"), ScreenMenuBar::kItem, QStringLiteral("&File"),
     QString()},
    {QStringLiteral("keyfile"), QStringLiteral("keyNew"), ScreenMenuBar::kItem,
     QStringLiteral("&New"), QStringLiteral("New")},
    {QStringLiteral("keyfile"), QStringLiteral("keySave"), ScreenMenuBar::kItem,
     QStringLiteral("&Save"), QStringLiteral("Save")},
    {QStringLiteral("keyfile"), QString(), ScreenMenuBar::kSeparator, QString(), QString()},
    {QStringLiteral("keyfile"), QStringLiteral("keyPrint"), ScreenMenuBar::kItem,
     QStringLiteral("&Print"), QStringLiteral("Print")},
    {QStringLiteral("keyfile"), QStringLiteral("keyprint"), ScreenMenuBar::kItem,
     QStringLiteral("print (lower case)"), QStringLiteral("Print")},
    {QStringLiteral("keyfile"), QString(), ScreenMenuBar::kSeparator, QString(), QString()},
    {QStringLiteral("keyfile"), QStringLiteral("keyMain"), ScreenMenuBar::kItem,
     QStringLiteral("&Main"), QStringLiteral("Main")},
};

// A screen with a menu bar that dispatches clicks by key, as the working screens do.
class MenuScreen : public PvWindow {
public:
    MenuScreen() {
        bar = new ScreenMenuBar(this);
        auto* layout = new QVBoxLayout(this);
        layout->setMenuBar(bar);
        layout->addWidget(new QLabel(QStringLiteral("body"), this));
        connect(bar, &ScreenMenuBar::itemClicked, this, &MenuScreen::menuClicked);
    }
    void menuClicked(int id) {
        const QString key = bar->keyOf(id);
        if (key == QStringLiteral("keyNew")) {
            ran << QStringLiteral("New");
        } else if (key == QStringLiteral("keySave")) {
            ran << QStringLiteral("Save");
        } else if (key == QStringLiteral("keyPrint")) {
            ran << QStringLiteral("Print");
        } else if (key == QStringLiteral("keyMain")) {
            ran << QStringLiteral("Main");
        }
    }
    ScreenMenuBar* bar = nullptr;
    QStringList ran;
};

// Events reach a control through the platform window, as a real pointer's do.
void moveOver(QWidget* widget, QPoint pos = QPoint(3, 3)) {
    QTest::mouseMove(widget, pos);
    QCoreApplication::processEvents();
}

}  // namespace

class MechanismsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { windows().reset(); }

    void menuBarKeepsTableOrderAndIdentifiers() {
        test::TempAppFolder app;
        MenuScreen screen;
        QVERIFY(BuildMenuBar(screen.bar, kTable).ok());

        const QList<QAction*> top = screen.bar->actions();
        QCOMPARE(top.size(), 1);
        QCOMPARE(top.at(0)->text(), QStringLiteral("&File"));
        const QList<QAction*> entries = top.at(0)->menu()->actions();
        QStringList seen;
        for (QAction* action : entries) {
            seen << (action->isSeparator() ? QStringLiteral("-") : action->text());
        }
        QCOMPARE(seen,
                 (QStringList{QStringLiteral("&New"), QStringLiteral("&Save"), QStringLiteral("-"),
                              QStringLiteral("&Print"), QStringLiteral("print (lower case)"),
                              QStringLiteral("-"), QStringLiteral("&Main")}));
        QVERIFY(!screen.bar->actionFor(QStringLiteral("keyNew"))->icon().isNull());
        QVERIFY(top.at(0)->icon().isNull());

        // Each item's identifier leads back to its own key, case kept.
        QSignalSpy clicks(screen.bar, &ScreenMenuBar::itemClicked);
        QStringList keys;
        for (const QString& key :
             {QStringLiteral("keyNew"), QStringLiteral("keySave"), QStringLiteral("keyPrint"),
              QStringLiteral("keyprint"), QStringLiteral("keyMain")}) {
            screen.bar->actionFor(key)->trigger();
            keys << screen.bar->keyOf(clicks.constLast().at(0).toInt());
        }
        QCOMPARE(keys, (QStringList{QStringLiteral("keyNew"), QStringLiteral("keySave"),
                                    QStringLiteral("keyPrint"), QStringLiteral("keyprint"),
                                    QStringLiteral("keyMain")}));
        QSet<int> ids;
        for (const QVariantList& click : clicks) {
            ids.insert(click.at(0).toInt());
        }
        QCOMPARE(ids.size(), 5);
        QCOMPARE(screen.bar->keyOf(0), QString());
        QCOMPARE(screen.bar->keyOf(999), QString());
    }

    void menuDispatchRunsExactKeysOnly() {
        test::TempAppFolder app;
        MenuScreen screen;
        QVERIFY(BuildMenuBar(screen.bar, kTable).ok());
        QSignalSpy clicks(screen.bar, &ScreenMenuBar::itemClicked);

        screen.bar->actionFor(QStringLiteral("keyPrint"))->trigger();
        screen.bar->actionFor(QStringLiteral("keyprint"))->trigger();
        screen.bar->actionFor(QStringLiteral("keyMain"))->trigger();
        QCOMPARE(screen.ran, (QStringList{QStringLiteral("Print"), QStringLiteral("Main")}));

        // Separators and the top menu deliver nothing that runs a command.
        QMenu* file = screen.bar->actions().at(0)->menu();
        const int before = int(clicks.size());
        for (QAction* action : file->actions()) {
            if (action->isSeparator()) {
                action->trigger();
            }
        }
        file->menuAction()->trigger();
        QCOMPARE(clicks.size(), before);
        QCOMPARE(screen.bar->actionFor(QString()), nullptr);
        // Even if delivered, their identifiers map to keys no screen dispatches on.
        screen.menuClicked(1);
        QCOMPARE(screen.bar->keyOf(1), QStringLiteral("keyfile"));
        QCOMPARE(screen.ran.size(), 2);
    }

    void menuWorksByKeyboard() {
        test::TempAppFolder app;
        MenuScreen screen;
        QVERIFY(BuildMenuBar(screen.bar, kTable).ok());
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        QTest::keyClick(&screen, Qt::Key_F, Qt::AltModifier);
        QMenu* file = screen.bar->actions().at(0)->menu();
        QTRY_VERIFY(file->isVisible());
        QTest::keyClick(file, Qt::Key_S);
        QTRY_COMPARE(screen.ran, QStringList{QStringLiteral("Save")});
    }

    void menuFontIsTahomaEight() {
        test::TempAppFolder app;
        MenuScreen screen;
        QVERIFY(BuildMenuBar(screen.bar, kTable).ok());
        QCOMPARE(screen.bar->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(screen.bar->font().pointSize(), 8);
        QMenu* file = screen.bar->actions().at(0)->menu();
        QCOMPARE(file->font().family(), QStringLiteral("Tahoma"));
        QCOMPARE(file->font().pointSize(), 8);
    }

    void missingIconStopsTheBuildAtItsRow() {
        test::TempAppFolder app;
        QVERIFY(QFile::remove(app.file(QStringLiteral("images/Save.ico"))));
        MenuScreen screen;
        const auto built = BuildMenuBar(screen.bar, kTable);
        QVERIFY(!built.ok());
        QCOMPARE(built.failure().number, 53);
        QVERIFY(screen.bar->actionFor(QStringLiteral("keyNew")));
        QCOMPARE(screen.bar->actionFor(QStringLiteral("keySave")), nullptr);
        QCOMPARE(screen.bar->actionFor(QStringLiteral("keyMain")), nullptr);
    }

    void loadScreenIcon_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not a picture") << QByteArray("plain text, no icon\r\n") << true;
        QTest::newRow("empty file") << QByteArray() << true;
    }

    void loadScreenIcon() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, present);
        test::TempAppFolder app;
        QVERIFY(LoadScreenIcon(QStringLiteral("Calendar")).ok());
        QVERIFY(!LoadScreenIcon(QStringLiteral("Calendar")).value().isNull());
        QVERIFY(QFile::remove(app.file(QStringLiteral("images/Calendar.ico"))));
        if (present) {
            QVERIFY(app.write(QStringLiteral("images/Calendar.ico"), bytes));
        }
        const auto icon = LoadScreenIcon(QStringLiteral("Calendar"));
        QVERIFY(!icon.ok());
        QCOMPARE(icon.failure().number, 53);
        QCOMPARE(icon.failure().description, QStringLiteral("File not found"));
    }

    void iconFolderIsFoundWhateverItsCase() {
        test::TempAppFolder app;
        QVERIFY(QDir(app.path()).rename(QStringLiteral("images"), QStringLiteral("Images")));
        const auto icon = LoadScreenIcon(QStringLiteral("Print"));
        QVERIFY(icon.ok());
        QVERIFY(!icon.value().pixmap(16, 16).isNull());
    }

    void hoverHintsStayLitUntilTheBackgroundResets() {
        PvWindow window;
        window.resize(400, 300);
        auto* hint1 = new QLabel(QStringLiteral("one"), &window);
        hint1->setGeometry(5, 5, 80, 20);
        auto* hint2 = new QLabel(QStringLiteral("two"), &window);
        hint2->setGeometry(5, 30, 80, 20);
        auto* hint3 = new QLabel(QStringLiteral("three"), &window);
        hint3->setGeometry(5, 55, 80, 20);
        auto* frame = new QGroupBox(QStringLiteral("frame"), &window);
        frame->setGeometry(100, 5, 290, 280);
        // A button on a small box inside the frame, as the screens place them.
        auto* box = new QWidget(frame);
        box->setGeometry(10, 100, 120, 60);
        auto* button = new QPushButton(QStringLiteral("Go"), box);
        button->setGeometry(10, 10, 80, 25);
        auto* edit = new QLineEdit(frame);
        edit->setGeometry(10, 30, 150, 22);
        auto* flat = new QPushButton(QStringLiteral("Flat"), frame);
        flat->setGeometry(10, 200, 80, 25);
        auto* other = new QLineEdit(&window);
        other->setGeometry(5, 200, 80, 22);
        for (QLabel* hint : {hint1, hint2, hint3}) {
            HoverHints::setColour(hint, HoverHints::unlitColour());
        }

        HoverHints hints;
        hints.explain(button, hint1);
        hints.explain(edit, hint2);
        hints.explain(flat, hint2);
        hints.explain(other, hint3);
        hints.resetOn(frame, {hint1, hint2});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(HoverHints::litColour() != HoverHints::unlitColour());
        QCOMPARE(HoverHints::litColour(), QColor(255, 0, 0));

        moveOver(button);
        QVERIFY(HoverHints::isLit(hint1));
        QVERIFY(!HoverHints::isLit(hint2));
        // Straight onto another control: both stay red.
        moveOver(edit);
        QVERIFY(HoverHints::isLit(hint1));
        QVERIFY(HoverHints::isLit(hint2));
        moveOver(other);
        QVERIFY(HoverHints::isLit(hint3));

        // The frame's background resets its own set only.
        moveOver(frame, QPoint(250, 250));
        QCOMPARE(HoverHints::colourOf(hint1), HoverHints::unlitColour());
        QCOMPARE(HoverHints::colourOf(hint2), HoverHints::unlitColour());
        QVERIFY(HoverHints::isLit(hint3));

        // A button placed straight on the frame lights its label and keeps it lit.
        moveOver(flat);
        QVERIFY(HoverHints::isLit(hint2));
        moveOver(button);
        QVERIFY(HoverHints::isLit(hint1));
        QVERIFY(HoverHints::isLit(hint2));
        // Nothing else changes the colours: no leave event, no timer.
        moveOver(hint3);
        QCoreApplication::processEvents();
        QVERIFY(HoverHints::isLit(hint1));
        QVERIFY(HoverHints::isLit(hint2));
    }

    void clearScreenFieldsEmptiesTextBoxesOnly() {
        PvWindow screen;
        auto* name = new QLineEdit(QStringLiteral("Soups"), &screen);
        auto* frame = new QGroupBox(&screen);
        auto* nested = new QLineEdit(QStringLiteral("nested"), frame);
        auto* multi = new MultiLineBox(&screen);
        multi->setText(QStringLiteral("line 1\r\nline 2"));
        auto* plain = new QPlainTextEdit(QStringLiteral("plain"), &screen);
        auto* rich = new QTextEdit(QStringLiteral("rich"), &screen);
        auto* editable = new QComboBox(&screen);
        editable->setEditable(true);
        editable->addItems({QStringLiteral("Breads"), QStringLiteral("Cakes")});
        editable->setEditText(QStringLiteral("typed"));
        auto* fixed = new QComboBox(&screen);
        fixed->addItems({QStringLiteral("cups"), QStringLiteral("tsp")});
        fixed->setCurrentIndex(1);
        auto* spin = new QSpinBox(&screen);
        spin->setValue(7);
        auto* check = new QCheckBox(QStringLiteral("Delete"), &screen);
        check->setChecked(true);
        auto* heading = new QLabel(QStringLiteral("heading"), &screen);

        ClearScreenFields(&screen);

        QCOMPARE(name->text(), QString());
        QCOMPARE(nested->text(), QString());
        QCOMPARE(multi->text(), QString());
        QCOMPARE(plain->toPlainText(), QString());
        QCOMPARE(rich->toPlainText(), QString());
        QCOMPARE(editable->currentText(), QStringLiteral("typed"));
        QCOMPARE(editable->count(), 2);
        QCOMPARE(fixed->currentText(), QStringLiteral("tsp"));
        QCOMPARE(spin->value(), 7);
        QVERIFY(check->isChecked());
        QCOMPARE(heading->text(), QStringLiteral("heading"));
    }
};

QTEST_MAIN(MechanismsTest)
#include "tst_mechanisms.moc"
