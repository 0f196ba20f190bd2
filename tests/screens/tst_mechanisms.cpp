#include "formsetup.h"
#include "hoverhints.h"
#include "multilinebox.h"
#include "screenmenubar.h"
#include "screenparts.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

// A screen whose menu commands record the key of the item that ran them.
class MenuScreen : public PvWindow {
public:
    MenuScreen() {
        auto* layout = new QVBoxLayout(this);
        layout->setMenuBar(bar);
        layout->addWidget(new QLabel(u"body"_s, this));
    }
    QList<MenuEntry> table() {
        using Kind = ScreenMenuBar::Kind;
        const auto item = [this](const QString& key, const QString& caption, const QString& icon) {
            return MenuEntry{u"keyfile"_s, key,  Kind::Item,
                             caption,      icon, [this, key] { ran << key; }};
        };
        const MenuEntry separator{u"keyfile"_s, QString(), Kind::Separator,
                                  QString(),    QString(), [this] { ran << u"separator"_s; }};
        return {
            {QString(), u"keyfile"_s, Kind::Item, u"&File"_s, QString(),
             [this] { ran << u"menu"_s; }},
            item(u"keyNew"_s, u"&New"_s, u"New"_s),
            item(u"keySave"_s, u"&Save"_s, u"Save"_s),
            separator,
            item(u"keyPrint"_s, u"&Print"_s, u"Print"_s),
            item(u"keyprint"_s, u"print (lower case)"_s, u"Print"_s),
            separator,
            item(u"keyMain"_s, u"&Main"_s, u"Main"_s),
        };
    }
    ScreenMenuBar* bar = new ScreenMenuBar(this);
    QStringList ran;
};

}  // namespace

class MechanismsTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { windows().reset(); }

    void menuBarDispatchesExactKeys() {
        test::TempAppFolder app;
        MenuScreen screen;
        QVERIFY(buildMenuBar(screen.bar, screen.table()));
        QCOMPARE(screen.bar->actions().size(), 1);
        QMenu* file = screen.bar->actions().at(0)->menu();
        QVERIFY(!screen.bar->actionFor(u"keyNew"_s)->icon().isNull());

        // Each item runs its own command, case kept; its identifier leads back to its key.
        const QStringList keys{"keyNew", "keySave", "keyPrint", "keyprint", "keyMain"};
        QSignalSpy clicked(screen.bar, &ScreenMenuBar::itemClicked);
        for (const QString& key : keys) {
            screen.bar->actionFor(key)->trigger();
        }
        QCOMPARE(screen.ran, keys);
        QCOMPARE(clicked.size(), keys.size());
        for (qsizetype i = 0; i < keys.size(); ++i) {
            QCOMPARE(screen.bar->keyOf(clicked.at(i).at(0).toInt()), keys.at(i));
        }
        // Separators and the top menu deliver nothing.
        for (QAction* action : file->actions()) {
            if (action->isSeparator()) {
                action->trigger();
            }
        }
        file->menuAction()->trigger();
        QCOMPARE(screen.ran, keys);
        QCOMPARE(screen.bar->actionFor(QString()), nullptr);
        QCOMPARE(screen.bar->keyOf(999), QString());

        // By keyboard: the access letters open the menu and pick the item.
        screen.show();
        QVERIFY(QTest::qWaitForWindowActive(&screen));
        QTest::keyClick(&screen, Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(file->isVisible());
        QTest::keyClick(file, Qt::Key_S);
        QTRY_COMPARE(screen.ran.size(), keys.size() + 1);
        QCOMPARE(screen.ran.constLast(), u"keySave"_s);
    }

    void missingIconStopsTheBuildAtItsRow() {
        test::TempAppFolder app;
        QVERIFY(QFile::remove(app.file(u"images/Save.ico"_s)));
        MenuScreen screen;
        const auto built = buildMenuBar(screen.bar, screen.table());
        QVERIFY(!built && built.problem().isFileNotFound());
        QVERIFY(screen.bar->actionFor(u"keyNew"_s));
        QCOMPARE(screen.bar->actionFor(u"keySave"_s), nullptr);
        QCOMPARE(screen.bar->actionFor(u"keyMain"_s), nullptr);
    }

    // The icon folder is found whatever its case; an icon it cannot read is "File not found".
    void unreadableIconIsFileNotFound_data() {
        QTest::addColumn<QByteArray>("bytes");  // null: no file
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("plain text, no icon\r\n");
        QTest::newRow("empty file") << QByteArray("");
    }
    void unreadableIconIsFileNotFound() {
        QFETCH(QByteArray, bytes);
        test::TempAppFolder app;
        QVERIFY(QDir(app.path()).rename(u"images"_s, u"Images"_s));
        const auto found = loadScreenIcon(u"Calendar"_s);
        QVERIFY(found && !found.value().pixmap(16, 16).isNull());
        QVERIFY(QFile::remove(app.file(u"Images/Calendar.ico"_s)));
        if (!bytes.isNull()) {
            QVERIFY(app.write(u"Images/Calendar.ico"_s, bytes));
        }
        const auto icon = loadScreenIcon(u"Calendar"_s);
        QVERIFY(!icon);
        QCOMPARE(icon.problem().number, 53);
        QCOMPARE(icon.problem().description, u"File not found"_s);
    }

    void clearScreenFieldsEmptiesTextBoxesOnly() {
        PvWindow screen;
        auto* name = new QLineEdit(u"Soups"_s, &screen);
        auto* nested = new QLineEdit(u"nested"_s, new QGroupBox(&screen));
        auto* multi = new MultiLineBox(&screen);
        multi->setText(u"line 1\r\nline 2"_s);
        auto* plain = new QPlainTextEdit(u"plain"_s, &screen);
        auto* combo = new QComboBox(&screen);
        combo->setEditable(true);
        combo->addItems({u"Breads"_s, u"Cakes"_s});
        combo->setEditText(u"typed"_s);
        auto* spin = new QSpinBox(&screen);
        spin->setValue(7);
        auto* heading = new QLabel(u"heading"_s, &screen);

        clearScreenFields(&screen);

        QCOMPARE((QStringList{name->text(), nested->text(), multi->text(), plain->toPlainText(),
                              combo->currentText(), heading->text()}),
                 (QStringList{{}, {}, {}, {}, u"typed"_s, u"heading"_s}));
        QCOMPARE(combo->count(), 2);
        QCOMPARE(spin->value(), 7);
    }

    void finishFormGrowsCaptionsToTheirText_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("designedWide");
        for (const char* kind : {"label", "check box", "fixed box"}) {
            QTest::addRow("%s too narrow", kind) << QString::fromLatin1(kind) << false;
            QTest::addRow("%s wide enough", kind) << QString::fromLatin1(kind) << true;
        }
    }
    void finishFormGrowsCaptionsToTheirText() {
        QFETCH(QString, kind);
        QFETCH(bool, designedWide);
        PvWindow window;
        auto* frame = new QGroupBox(&window);
        frame->setGeometry(0, 0, 120, 60);
        const QString text = u"Delete this file?"_s;
        QWidget* control = kind == u"label" ? new QLabel(text, frame)
                           : kind == u"check box"
                               ? static_cast<QWidget*>(new QCheckBox(text, frame))
                               : new QLineEdit(text, frame);
        const int needed = kind == u"fixed box" ? control->fontMetrics().horizontalAdvance(text) + 6
                                                : control->sizeHint().width();
        const QRect designed(100, 10, designedWide ? needed + 40 : 10, 17);
        control->setGeometry(designed);
        FormSetup setup;
        setup.growToText = {control};
        finishForm(&window, setup);
        QCOMPARE(control->pos(), designed.topLeft());
        QCOMPARE(control->width(), std::max(designed.width(), needed));
        QVERIFY(control->height() >= designed.height());
        // The frame keeps the grown control 8 pixels inside its right edge.
        QCOMPARE(frame->width(), std::max(120, control->geometry().right() + 8));
    }

    void finishFormFitsHintsOnTheirPanel_data() {
        QTest::addColumn<int>("spacing");
        QTest::newRow("stacked") << 8;
        QTest::newRow("left in place") << -1;
    }
    void finishFormFitsHintsOnTheirPanel() {
        QFETCH(int, spacing);
        PvWindow window;
        window.setFixedSize(400, 200);
        auto* panel = new QFrame(&window);
        panel->setGeometry(8, 16, 121, 120);
        auto* frame = new QGroupBox(&window);
        frame->setGeometry(136, 16, 200, 120);
        auto* button = new QPushButton(u"Main"_s, &window);
        button->setGeometry(300, 160, 65, 25);
        const QString words = u"Click on the name and click the delete button. "_s.repeated(3);
        auto* first = makeTextLabel(&window, "first", words, QRect(16, 32, 60, 20));
        auto* second = makeTextLabel(&window, "second", u"Short."_s, QRect(16, 60, 89, 40));
        FormSetup setup;
        setup.hintPanel = {panel, {first, second}, 7, spacing, {frame, &window}, {button}};
        finishForm(&window, setup);
        // The long hint widens to the panel's inner edge, then lengthens to hold its text.
        QCOMPARE(first->geometry().right(), panel->geometry().right() - 7 - 1);
        QCOMPARE(first->height(), first->heightForWidth(first->width()));
        QVERIFY(first->height() > 20);
        // The short one already held its text.
        QCOMPARE(second->size(), QSize(89, 40));
        QCOMPARE(second->y(), spacing < 0 ? 60 : first->geometry().bottom() + 1 + spacing);
        // The panel holds its last hint, and what stands beside and below it follows.
        const int lowest = std::max(first->geometry().bottom(), second->geometry().bottom());
        const int grow = lowest + 8 - 135;
        QVERIFY(grow > 0);
        QCOMPARE(panel->height(), 120 + grow);
        QCOMPARE(frame->height(), 120 + grow);
        QCOMPARE(window.size(), QSize(400, 200 + grow));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QCOMPARE(button->y(), 160 + grow);
    }

    // The shared step after setupUi: fractional font sizes, the look alike, shadow, hover hints.
    void finishFormSetsFontsAndLightsHintsFromItsTable() {
        PvWindow window;
        window.resize(300, 200);
        window.setFont(QFont(u"Tahoma"_s, 8));
        window.setProperty(kPointSizeProperty, 8.25);
        auto* surface = new QGroupBox(&window);
        surface->setGeometry(100, 0, 200, 200);
        auto* box = new QLineEdit(surface);
        box->setGeometry(10, 20, 80, 20);
        auto* title = new QLabel(u"Pan"_s, surface);
        title->setGeometry(10, 100, 80, 40);
        title->setProperty(kPointSizeProperty, 27.75);
        auto* plain = makeTextLabel(&window, "plain", u"Type a name."_s, QRect(0, 0, 90, 40));
        auto* blue =
            makeHint(&window, "blue", u"Directions."_s, QRect(0, 50, 90, 40), QColor(0, 0, 255));
        FormSetup setup;
        setup.hints = {{box, plain}, {box, blue}};
        setup.resets = {{surface, {plain, blue}}};
        finishForm(&window, setup);
        QCOMPARE(window.font().pointSizeF(), 8.25);
        QCOMPARE(box->font().pointSizeF(), 8.25);
        QCOMPARE(title->font().pointSizeF(), 27.75);
        QCOMPARE(box->font().family(), u"Tahoma"_s);
        QVERIFY(
            QFont::substitutes(u"Tahoma"_s).contains(u"Liberation Sans"_s, Qt::CaseInsensitive));
        QVERIFY(window.dropShadowAtLoad());
        // A hint the form leaves uncoloured starts unlit; a coloured one keeps its colour.
        QCOMPARE(HoverHints::colourOf(plain), HoverHints::unlitColour());
        QCOMPARE(HoverHints::colourOf(blue), QColor(0, 0, 255));
        QVERIFY(box->testAttribute(Qt::WA_NoMousePropagation));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::mouseMove(box, QPoint(5, 5));
        QTRY_VERIFY(HoverHints::isLit(plain) && HoverHints::isLit(blue));
        QTest::mouseMove(surface, QPoint(150, 150));
        QTRY_VERIFY(!HoverHints::isLit(plain) && !HoverHints::isLit(blue));
        QCOMPARE(HoverHints::colourOf(blue), HoverHints::unlitColour());
        FormSetup none;
        none.dropShadowAtLoad = false;
        finishForm(&window, none);
        QVERIFY(!window.dropShadowAtLoad());
    }
};

QTEST_MAIN(MechanismsTest)
#include "tst_mechanisms.moc"
