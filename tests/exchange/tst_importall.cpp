// Import all without the screens: progress, cancel, and the summary.
#include "importall.h"
#include "storetest.h"
#include "tempfolder.h"

#include <QtTest>

using namespace pv;
using namespace pv::exchange;
using namespace Qt::StringLiterals;

namespace {

ImportedRecipe imported(const QString& name, const QString& category = {},
                        const QString& ingredient = u"peas"_s) {
    ImportedRecipe recipe;
    recipe.record = {category, name, test::recipe({u"21="_s + ingredient})};
    return recipe;
}

}  // namespace

class ImportAllTest : public QObject {
    Q_OBJECT

private slots:
    // A cancel after some recipes keeps exactly those, and says so; the progress moves up
    // to where the run stopped.
    void cancelKeepsWhatWasSaved_data() {
        QTest::addColumn<int>("before");  // recipes dealt with before the cancel
        QTest::addColumn<QString>("summary");
        QTest::newRow("at once") << 0
                                 << u"No recipe was imported (of 10 recipes).\n"
                                    "Cancelled: what was imported until then stays saved; the "
                                    "other 10 recipes were not imported."_s;
        QTest::newRow("halfway") << 4
                                 << u"Imported 4 of 10 recipes into \"Soups\".\n"
                                    "Cancelled: what was imported until then stays saved; the "
                                    "other 6 recipes were not imported."_s;
        QTest::newRow("never") << 99 << u"Imported 10 of 10 recipes into \"Soups\"."_s;
    }
    void cancelKeepsWhatWasSaved() {
        QFETCH(int, before);
        QFETCH(QString, summary);
        const test::TempFolder folder({u"Category/Soups/"_s});
        store::Store store(folder.path());
        QList<ImportedRecipe> recipes;
        QStringList names;
        for (int i = 1; i <= 10; ++i) {
            recipes << imported(u"Pea %1"_s.arg(i, 2, 10, QLatin1Char('0')));
            names << u"Pea %1 110"_s.arg(i, 2, 10, QLatin1Char('0'));
        }
        int looks = 0;
        QList<int> reported;
        const RecipeImporter::Progress progress{[&reported](int percent) { reported << percent; },
                                                [&looks, before] { return looks++ >= before; }};
        const auto done = ImportAll::run(store, recipes, {u"Soups"_s, false}, progress);
        QCOMPARE(done.text(), summary);
        const int saved = std::min(before, 10);
        QCOMPARE(folder.tree(u"Category/Soups"_s), names.mid(0, saved));
        QCOMPARE(reported.isEmpty() ? 0 : reported.last(), saved * 10);
        QVERIFY(std::is_sorted(reported.begin(), reported.end()));
    }

    // Each recipe into the category its file names (the first of several), made when
    // missing; a long name cut as the setup screen's box cuts it, and said.
    void ownCategories() {
        const test::TempFolder folder({u"Category/Soups/"_s, u"Category/category.txt=Soups\r\n"_s});
        store::Store store(folder.path());
        const QList<ImportedRecipe> recipes{
            imported(u"Rye"_s, u"Bakes and breads of the northern countries"_s),
            imported(u"Pea"_s, u"SOUPS, Starters"_s), imported(u"Toast"_s),
            imported(u"Bun"_s, u"Bakes and breads of the northern countries"_s),
            imported(u"Odd"_s, u"  , Spare"_s)};
        const auto done = ImportAll::run(store, recipes, {u"Soups"_s, true});
        QCOMPARE(done.text(),
                 u"Imported 5 of 5 recipes: 2 into \"Bakes and breads of the northern co\", 3 "
                 "into \"Soups\".\n\n"
                 "Cut to fit their boxes, as the entry screen cuts them:\n"
                 "Category \"Bakes and breads of the northern co\", made from \"Bakes and "
                 "breads of the northern countries\" (42 characters; the box takes 35)"_s);
        QCOMPARE(folder.read(u"Category/category.txt"_s),
                 QByteArray("Soups\r\nBakes and breads of the northern co\r\n"));
        QCOMPARE(folder.tree(u"Category"_s),
                 (QStringList{u"Bakes and breads of the northern co/"_s,
                              u"Bakes and breads of the northern co/Bun 110"_s,
                              u"Bakes and breads of the northern co/Rye 110"_s, u"Soups/"_s,
                              u"Soups/Odd 110"_s, u"Soups/Pea 110"_s, u"Soups/Toast 110"_s,
                              u"category.txt 44"_s}));
    }

    // A recipe whose texts are more than a recipe holds (a file of millions of direction
    // lines) is skipped whole and said; the ones around it come in.
    void skipsWhatNoRecipeHolds() {
        const test::TempFolder folder({u"Category/Soups/"_s});
        store::Store store(folder.path());
        ImportedRecipe huge = imported(u"Huge"_s);
        huge.record.fields[store::kDirectionsField - 1] =
            QString(ImportedRecipe::kMostCharacters, u'a');
        ImportedRecipe most = imported(u"Most"_s, {}, {});
        most.record.fields[store::kDirectionsField - 1] =
            QString(ImportedRecipe::kMostCharacters - 4, u'a');
        const auto done =
            ImportAll::run(store, {imported(u"Pea"_s), huge, most}, {u"Soups"_s, false});
        QCOMPARE(done.text(),
                 u"Imported 2 of 3 recipes into \"Soups\".\n\nSkipped 1 recipe:\n\"Huge\": Its "
                 "texts hold 1,000,008 characters; a recipe holds at most 1,000,000."_s);
        QCOMPARE(folder.tree(u"Category/Soups"_s), (QStringList{u"Most 1000102"_s, u"Pea 110"_s}));
    }
};

QTEST_GUILESS_MAIN(ImportAllTest)
#include "tst_importall.moc"
