#include "multilinebox.h"
#include "screenmenubar.h"
#include "screenparts.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
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

    void menuBarKeepsTableOrderAndDispatchesExactKeys() {
        test::TempAppFolder app;
        MenuScreen screen;
        QVERIFY(buildMenuBar(screen.bar, screen.table()));
        QCOMPARE(screen.bar->actions().size(), 1);
        QMenu* file = screen.bar->actions().at(0)->menu();
        QCOMPARE(file->title(), u"&File"_s);
        QStringList seen;
        for (QAction* action : file->actions()) {
            seen << (action->isSeparator() ? u"-"_s : action->text());
        }
        QCOMPARE(seen,
                 (QStringList{"&New", "&Save", "-", "&Print", "print (lower case)", "-", "&Main"}));
        QVERIFY(!screen.bar->actionFor(u"keyNew"_s)->icon().isNull());
        QVERIFY(file->menuAction()->icon().isNull());
        for (const QFont& font : {screen.bar->font(), file->font()}) {
            QCOMPARE(font.family(), u"Tahoma"_s);
            QCOMPARE(font.pointSize(), 8);
        }

        // Each item runs its own command, case kept; its identifier leads back to its key.
        const QStringList keys{"keyNew", "keySave", "keyPrint", "keyprint", "keyMain"};
        QSignalSpy clicked(screen.bar, &ScreenMenuBar::itemClicked);
        for (const QString& key : keys) {
            screen.bar->actionFor(key)->trigger();
        }
        QCOMPARE(screen.ran, keys);
        QStringList clickedKeys;
        for (const QList<QVariant>& click : std::as_const(clicked)) {
            clickedKeys << screen.bar->keyOf(click.at(0).toInt());
        }
        QCOMPARE(clickedKeys, keys);
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
        QVERIFY(!built);
        QVERIFY(built.problem().isFileNotFound());
        QVERIFY(screen.bar->actionFor(u"keyNew"_s));
        QCOMPARE(screen.bar->actionFor(u"keySave"_s), nullptr);
        QCOMPARE(screen.bar->actionFor(u"keyMain"_s), nullptr);
    }

    void unreadableIconIsFileNotFound_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << QByteArray() << false;
        QTest::newRow("not a picture") << QByteArray("plain text, no icon\r\n") << true;
        QTest::newRow("empty file") << QByteArray() << true;
    }

    void unreadableIconIsFileNotFound() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, present);
        test::TempAppFolder app;
        const auto found = loadScreenIcon(u"Calendar"_s);
        QVERIFY(found && !found.value().isNull());
        QVERIFY(QFile::remove(app.file(u"images/Calendar.ico"_s)));
        if (present) {
            QVERIFY(app.write(u"images/Calendar.ico"_s, bytes));
        }
        const auto icon = loadScreenIcon(u"Calendar"_s);
        QVERIFY(!icon);
        QCOMPARE(icon.problem().number, 53);
        QCOMPARE(icon.problem().description, u"File not found"_s);
    }

    void iconFolderIsFoundWhateverItsCase() {
        test::TempAppFolder app;
        QVERIFY(QDir(app.path()).rename(u"images"_s, u"Images"_s));
        const auto icon = loadScreenIcon(u"Print"_s);
        QVERIFY(icon);
        QVERIFY(!icon.value().pixmap(16, 16).isNull());
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

        for (const QString& text :
             {name->text(), nested->text(), multi->text(), plain->toPlainText()}) {
            QCOMPARE(text, QString());
        }
        QCOMPARE(combo->currentText(), u"typed"_s);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(spin->value(), 7);
        QCOMPARE(heading->text(), u"heading"_s);
    }
};

QTEST_MAIN(MechanismsTest)
#include "tst_mechanisms.moc"
