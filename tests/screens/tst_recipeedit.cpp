// Edit on the recipe browser, and the question Save asks before it replaces a recipe.
#include "exchangecommands.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "road.h"
#include "storetest.h"

#include <QtTest>

#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

QString file(const QMap<int, QByteArray>& fields) {
    return QString::fromLatin1(test::record(fields));
}

const QString kOld = file({{21, "beef"}, {31, "Brown.\r\nStew."}});
const QString kTart = file({{21, "apples"}});
const QString kTheirs = file({{21, "lamb"}});
const QString kMine = file({{21, "mine"}, {31, "Brown.\r\nStew."}});

const QString kAsked =
    u"Pantrova|32|A recipe named \"%1\" is already in \"Soups\". Replace it?|"
    u"Replace*/Keep both/Cancel"_s;
const QString kChanged =
    u"Pantrova|48|A recipe named \"Stew\" is already in \"Soups\". It changed since you opened "
    u"it, on this machine or another. Replace it?|Replace/Keep both*/Cancel"_s;
const QString kDeleted =
    u"Pantrova|48|The recipe \"Stew\" was deleted from \"Soups\" since you opened it, on this "
    u"machine or another. Save it again?|Save*/Cancel"_s;

// The browser shows Soups/Stew and Edit opens it on the entry screen.
const QString kEdit =
    u"open frmRecipe; pick cboRCat=Soups; click lswRFile=Stew; menu SMXPR=keyEditRecipe; "
    u"on frmIngred; "_s;

}  // namespace

class RecipeEditTest : public QObject {
    Q_OBJECT

    std::optional<test::RoadBench> on_;

private slots:
    void init() {
        on_.emplace(QList{test::screen<RecipeEntryWindow>(WindowId::RecipeEntry),
                          test::screen<RecipeBrowserWindow>(WindowId::RecipeBrowser)});
        // "answer N": the next question is answered with its button N.
        on_->road.step = [this](const QString& verb, const QString& name,
                                const QString&) -> std::optional<bool> {
            if (verb != u"answer"_s) {
                return std::nullopt;
            }
            on_->bench.messages.answers.append(name.toInt());
            return true;
        };
        on_->road.walk(
            u"write Category/category.txt=Soups\r\nPies\r\n; mkdir Category/Pies; "
            "write Category/Soups/Stew=%1; write Category/Soups/Tart=%2"_s.arg(kOld, kTart));
    }
    void cleanup() { on_.reset(); }

    void saveQuestion_data() {
        QTest::addColumn<QString>("road");
        const QString typed =
            u"open; pick cboIng=Soups; set txtIName=%1; set txtIN1=mine; "
            "set txtIDirec=Brown.\r\nStew.; "_s;
        const QString stew = typed.arg(u"Stew"_s);
        // Replace writes over it; saving again is the same recipe and asks nothing.
        QTest::newRow("new recipe: Replace")
            << stew +
                   u"answer 0; click cmdISave; ? shown=%1; ? file Category/Soups/Stew=%2; "
                   "? tree Category/Soups=Stew|Tart; set txtIN2=salt; click cmdISave; ? shown=; "
                   "? file Category/Soups/Stew=%3"_s.arg(
                       kAsked.arg(u"Stew"_s), kMine,
                       file({{21, "mine"}, {22, "salt"}, {31, "Brown.\r\nStew."}}));
        // Keep both takes the next free number and shows it; the old one stays.
        QTest::newRow("new recipe: Keep both")
            << u"write Category/Soups/stew (2)=x; "_s + stew +
                   u"answer 1; click cmdISave; ? shown=%1; ? file Category/Soups/Stew=%2; "
                   "? file Category/Soups/Stew (3)=%3; ? text txtIName txtIN1=Stew (3)|mine; "
                   "click cmdISave; ? shown=; ? tree Category/Soups=Stew (3)|Stew|Tart|stew (2); "
                   "set txtIName=Stew; answer 1; click cmdISave; ? shown=%1; "
                   "? tree Category/Soups=Stew (3)|Stew (4)|Stew|Tart|stew (2)"_s.arg(
                       kAsked.arg(u"Stew"_s), kOld, kMine);
        // Cancel, or Escape, writes nothing and keeps every box.
        for (const auto& [tag, answer] :
             {std::pair{"new recipe: Cancel", u"answer 2; "_s}, {"new recipe: Escape", u""_s}}) {
            QTest::newRow(tag) << stew + answer +
                                      u"click cmdISave; ? shown=%1; ? file Category/Soups/Stew=%2; "
                                      "? tree Category/Soups=Stew|Tart; ? text cboIng txtIName "
                                      "txtIN1 txtIDirec=Soups|Stew|mine|Brown.\r\nStew."_s.arg(
                                          kAsked.arg(u"Stew"_s), kOld);
        }
        // Names are the store's: in any letter case the file there is the one asked about.
        QTest::newRow("other letter case")
            << typed.arg(u"STEW"_s) +
                   u"answer 0; click cmdISave; ? shown=%1; ? tree Category/Soups=Stew|Tart; "
                   "? file Category/Soups/Stew=%2"_s.arg(kAsked.arg(u"Stew"_s), kMine);
        QTest::newRow("another category holds it")
            << u"open; pick cboIng=Pies; set txtIName=Stew; click cmdISave; ? shown=; "
               "? tree Category/Pies=Stew"_s;

        // The recipe being edited: saved back under its name, it is replaced without a word
        // and its bytes stay as they were.
        QTest::newRow("edited: saved back")
            << kEdit +
                   u"? text cboIng txtIName txtIN1 txtIDirec=Soups|Stew|beef|Brown.\r\nStew.; "
                   "? shown=; click cmdISave; ? shown=; ? file Category/Soups/Stew=%1; "
                   "set txtIN1=mine; set txtIName=stew; click cmdISave; ? shown=; "
                   "? tree Category/Soups=Stew|Tart; ? file Category/Soups/Stew=%2"_s.arg(kOld,
                                                                                          kMine);
        // Under another name it is a new recipe and the old one stays; under the name of
        // another recipe, that one is asked about.
        QTest::newRow("edited: another name")
            << kEdit +
                   u"set txtIName=Stew two; click cmdISave; ? shown=; "
                   "? file Category/Soups/Stew two=%1; ? file Category/Soups/Stew=%1; "
                   "set txtIName=Tart; answer 2; click cmdISave; ? shown=%2; "
                   "? file Category/Soups/Tart=%3"_s.arg(kOld, kAsked.arg(u"Tart"_s), kTart);
        QTest::newRow("edited: another category")
            << kEdit +
                   u"write Category/Pies/Stew=%1; pick cboIng=Pies; answer 2; "
                   "click cmdISave; ? shown=%2"_s.arg(
                       kTart,
                       u"Pantrova|32|A recipe named \"Stew\" is already in \"Pies\". "
                       u"Replace it?|Replace*/Keep both/Cancel"_s);
        // Changed on disk since it was opened: the question says so, Keep both first.
        const QString changed =
            kEdit + u"set txtIN1=mine; write Category/Soups/Stew=%1; "_s.arg(kTheirs);
        QTest::newRow("edited, changed: Replace")
            << changed +
                   u"answer 0; click cmdISave; ? shown=%1; ? file Category/Soups/Stew=%2; "
                   "? tree Category/Soups=Stew|Tart; click cmdISave; ? shown="_s.arg(kChanged,
                                                                                     kMine);
        QTest::newRow("edited, changed: Keep both")
            << changed +
                   u"answer 1; click cmdISave; ? shown=%1; ? file Category/Soups/Stew=%2; "
                   "? file Category/Soups/Stew (2)=%3; ? text txtIName=Stew (2)"_s.arg(
                       kChanged, kTheirs, kMine);
        QTest::newRow("edited, changed: Cancel")
            << changed +
                   u"answer 2; click cmdISave; ? shown=%1; ? file Category/Soups/Stew=%2; "
                   "? tree Category/Soups=Stew|Tart; ? text txtIName txtIN1=Stew|mine"_s.arg(
                       kChanged, kTheirs);
        // Deleted since it was opened (another machine, or the browser's delete).
        const QString deleted = kEdit + u"set txtIN1=mine; remove Category/Soups/Stew; "_s;
        QTest::newRow("edited, deleted: Save")
            << deleted +
                   u"answer 0; click cmdISave; ? shown=%1; ? file Category/Soups/Stew=%2"_s.arg(
                       kDeleted, kMine);
        QTest::newRow("edited, deleted: Cancel")
            << deleted +
                   u"click cmdISave; ? shown=%1; ? tree Category/Soups=Tart; "
                   "? text txtIN1=mine"_s.arg(kDeleted);
        // The same bytes written again by another machine are no change.
        QTest::newRow("edited, rewritten alike")
            << kEdit + u"write Category/Soups/Stew=%1; click cmdISave; ? shown="_s.arg(kOld);
        // New starts a new recipe: its name is asked about again.
        QTest::newRow("edited, then New")
            << kEdit + u"click cmdINew; set txtIName=Stew; click cmdISave; ? shown=%1"_s.arg(
                           kAsked.arg(u"Stew"_s));
    }
    void saveQuestion() {
        QFETCH(QString, road);
        on_->road.walk(road);
        on_->road.walk(u"? error="_s);
    }

    void editOpens_data() {
        QTest::addColumn<QString>("road");
        // Typed text not saved is asked about first; No keeps it.
        const QString typed = u"open; set txtIName=Sponge; set txtIN3=eggs; "_s;
        const QString asked =
            u"? shown=Pantrova|36|The recipe on the Ingredients screen is not saved. Put "
            "\"Stew\" in its place?"_s;
        QTest::newRow("unsaved text: No")
            << typed + kEdit + asked + u"; ? text txtIName txtIN1 txtIN3=Sponge||eggs"_s;
        QTest::newRow("unsaved text: Yes")
            << typed + u"answer 6; "_s + kEdit + asked +
                   u"; ? text cboIng txtIName txtIN1 txtIN3=Soups|Stew|beef|"_s;
        QTest::newRow("saved text is not asked about")
            << u"open; pick cboIng=Pies; set txtIName=Sponge; click cmdISave; "_s + kEdit +
                   u"? shown=; ? text txtIName=Stew"_s;
        QTest::newRow("nothing on display")
            << u"open frmRecipe; menu SMXPR=keyEditRecipe; ? windows=frmRecipe; "
               "? shown=User error|4144|%1"_s.arg(nothingOnDisplayText());
        // Gone since it was shown: what was shown opens, and saving it puts it back quietly.
        QTest::newRow("file gone since shown")
            << u"open frmRecipe; pick cboRCat=Soups; click lswRFile=Stew; "
               "remove Category/Soups/Stew; menu SMXPR=keyEditRecipe; on frmIngred; "
               "? text txtIName txtIN1=Stew|beef; click cmdISave; ? shown=; "
               "? file Category/Soups/Stew=%1"_s.arg(kOld);
        QTest::newRow("file unreadable since shown")
            << u"open frmRecipe; pick cboRCat=Soups; click lswRFile=Stew; "
               "write Category/Soups/Stew=\"cut\"\r\n; menu SMXPR=keyEditRecipe; "
               "? windows=frmRecipe; ? shown=User error|4144|The recipe \"Stew\" cannot be "
               "opened to be changed (Input past end of file)."_s;
    }
    void editOpens() {
        QFETCH(QString, road);
        on_->road.walk(road);
        on_->road.walk(u"? error="_s);
    }

    // Opened and saved back, a recipe keeps its bytes: texts longer than their boxes,
    // amounts that are not digits, blanks at the ends, line breaks and Windows-1252.
    void editRoundTrip_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("plain") << u"Stew"_s << test::record({{21, "beef"}});
        QTest::newRow("amounts as written") << u"Stew"_s
                                            << test::record({{1, "1 1/2"},
                                                             {2, "\xBD"},
                                                             {10, "2-3"},
                                                             {32, "350F"},
                                                             {33, "4 to 6"},
                                                             {34, "1h"},
                                                             {35, "1:30"}});
        QTest::newRow("longer than the boxes") << u"Stew.sync-conflict-20261207-101500-ABCDEFG"_s
                                               << test::record({{1, "123456789"},
                                                                {21, QByteArray(60, 'i')},
                                                                {26, QByteArray(45, 'j')},
                                                                {32, "12345"},
                                                                {34, "123"}});
        QTest::newRow("blanks, commas, line breaks, Windows-1252")
            << u"Cr\u00e8me br\u00fbl\u00e9e "_s
            << test::record({{11, " cups "},
                             {21, "eggs, 3"},
                             {25, "cr\xE8me \x80"},
                             {31, "Line 1\r\n\r\n  Line 3\r\n"},
                             {33, "\xA0"}});
    }
    void editRoundTrip() {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        const QString path = u"Category/Soups/"_s + name;
        QVERIFY(on_->bench.app.write(path, bytes));
        on_->road.walk(
            u"open frmRecipe; pick cboRCat=Soups; click lswRFile=%1; "
            "menu SMXPR=keyEditRecipe; on frmIngred; ? text txtIName=%1"_s.arg(name));
        auto* entry = qobject_cast<RecipeEntryWindow*>(on_->road.screen());
        QCOMPARE(entry->fields(),
                 store::Store(on_->bench.app.path()).loadRecipe(u"Soups"_s, name).value());
        on_->road.walk(u"click cmdISave; ? shown=; ? error="_s);
        QCOMPARE(on_->bench.app.read(path), bytes);
        // The boxes take what is typed as ever once New empties them.
        on_->road.walk(
            u"click cmdINew; type txtIA1=1/23456; type txtIName=%1; "
            "? text txtIA1=12345"_s.arg(QString(45, u'n')));
        QCOMPARE(test::control<QLineEdit>(entry, u"txtIName"_s)->text(), QString(40, u'n'));
    }
};

QTEST_MAIN(RecipeEditTest)
#include "tst_recipeedit.moc"
