// Shopping lists, folder listings, and failures that change nothing.
#include "openfolder.h"
#include "paths.h"
#include "storetest.h"
#include "table.h"
#include "tempfolder.h"

#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <functional>
#include <type_traits>

using namespace pv::store;
using namespace Qt::StringLiterals;
using namespace pv::test;

namespace {

// More entries as "name=bytes" by their bytes; the result; "+entry" made and "-entry" gone, as
// byteTree shows them; a file and its bytes afterwards.
const Table<QByteArrayList, QString, QString, QString, QStringList, QByteArray, QByteArray> kOld(
    {"setup", "command", "argument", "result", "changes", "file", "bytes"});
// The bytes read, "<not opened>" or "<failed>"; plainFile as a listing that found a regular
// file there says it.
const Table<QByteArray, QByteArray, qint64, bool, QByteArray> kRead({"folder", "name", "maxSize",
                                                                     "plainFile", "result"});
// A file longer than the room a read first takes.
const QByteArray kLong = QByteArray("long ").repeated(8000);
// "full": 57 or 61, as the free space of the disk has it, while files are limited to 64 bytes.
const Table<QStringList, QString, QString, QString> kFail({"setup", "operation", "text", "result"});

// What came of an operation: its value as text ("|" between names, a recipe by its first
// ingredient, a listed entry as its name and the bytes of its name beyond ASCII as %xx),
// "ok", or the failure as said() puts it.
template <typename T>
QString shown(const Outcome<T>& outcome) {
    if constexpr (std::is_same_v<T, QStringList>) {
        return outcome ? outcome.value().join(u'|') : said(outcome);
    } else if constexpr (std::is_same_v<T, QString> || std::is_same_v<T, int>) {
        return outcome ? QVariant(outcome.value()).toString() : said(outcome);
    } else if constexpr (std::is_same_v<T, CreateResult>) {
        return !outcome                                   ? said(outcome)
               : outcome.value() == CreateResult::Created ? u"created"_s
                                                          : u"exists"_s;
    } else if constexpr (std::is_same_v<T, RecipeFields>) {
        return outcome ? outcome.value()[ingredientField(1) - 1] : said(outcome);
    } else if constexpr (std::is_same_v<T, std::vector<ListedFile>>) {
        QStringList entries;
        for (const ListedFile& file : outcome ? outcome.value() : std::vector<ListedFile>{}) {
            // "?": the reader asks what the entry is before it reads it.
            entries << file.name + u'>' + QString::fromLatin1(file.native.toPercentEncoding(" ")) +
                           (file.plainFile ? u""_s : u"?"_s);
        }
        return outcome ? entries.join(u'|') : said(outcome);
    } else {
        return said(outcome);
    }
}

// Runs an operation on the argument, a recipe given as "category/name", in a store whose
// failure, if any, *failure keeps. The recipe saved by "save" holds "miel" as its first
// ingredient; "save in", "save as" and "save field" take the argument as the category, the
// name or the directions of Soups/Stew, "save list" as the text of the list Week.
QString run(Store& store, const TempFolder& app, const QString& operation, const QString& argument,
            const DeleteHooks& hooks = {}, Failure* failure = nullptr) {
    const QString category = argument.section(u'/', 0, 0), name = argument.section(u'/', 1);
    RecipeFields miel, directions;
    miel[ingredientField(1) - 1] = u"miel"_s;
    directions[kDirectionsField - 1] = argument;
    const auto say = [&](const auto& outcome) {
        if (failure && !outcome) {
            *failure = outcome.failure();
        }
        return shown(outcome);
    };
    const QHash<QString, std::function<QString()>> operations{
        {"lists", [&] { return say(store.listShoppingLists()); }},
        {"open", [&] { return say(store.openShoppingList(argument)); }},
        {"read", [&] { return say(store.readShoppingList(argument)); }},
        {"save list as", [&] { return say(store.saveShoppingList(argument, u"milk"_s)); }},
        {"save list", [&] { return say(store.saveShoppingList(u"Week"_s, argument)); }},
        {"delete list", [&] { return say(store.deleteShoppingList(argument)); }},
        {"categories", [&] { return say(store.listCategoriesByField()); }},
        {"recipes", [&] { return say(store.listRecipeFiles(argument)); }},
        {"entries",
         [&] {
             const auto folder = store.categoryFolder(argument);
             return folder ? say(listFileEntries(folder.value())) : say(folder);
         }},
        {"load", [&] { return say(store.loadRecipe(category, name)); }},
        {"save", [&] { return say(store.saveRecipe(category, name, miel)); }},
        {"save in", [&] { return say(store.saveRecipe(argument, u"Stew"_s, {})); }},
        {"save as", [&] { return say(store.saveRecipe(u"Soups"_s, argument, {})); }},
        {"save field", [&] { return say(store.saveRecipe(u"Soups"_s, u"Stew"_s, directions)); }},
        {"delete recipe", [&] { return say(store.deleteRecipe(category, name)); }},
        {"create", [&] { return say(store.createCategory(argument)); }},
        {"delete", [&] { return say(store.deleteCategory(argument, hooks)); }},
        {"folder", [&] { return say(listFolderFiles(app.file(argument))); }},
        {"remove", [&] { return say(store.removePath(app.path() + u'/' + argument)); }}};
    return operations.contains(operation) ? operations[operation]() : u"no such operation"_s;
}

}  // namespace

class FilesTest : public QObject {
    Q_OBJECT

private slots:
    void shoppingListRoundTrip_data() {
        const Table<QString, QString, QByteArray> table({"name", "text", "bytes"});
        table.columns();
        auto row = [&](const char* tag, const QString& text, const QByteArray& bytes,
                       const QString& name = u"W"_s) { table(tag, name, text, bytes); };
        row("Week 1", "milk\r\neggs\r\nbread", "milk\r\neggs\r\nbread\r\n", "Week 1");
        row("empty name", "salt", "salt\r\n", "");
        row("empty text", "", "\r\n");
        row("commas", "flour, sugar, eggs", "flour, sugar, eggs\r\n");
        row("quotes", "\"good\" butter\r\n9\" pan", "\"good\" butter\r\n9\" pan\r\n");
        row("leading blanks", "   milk\r\n  \r\n eggs  ", "   milk\r\n  \r\n eggs  \r\n");
        row("own final line end", "milk\r\n", "milk\r\n\r\n");
        row("Windows-1252", "crème – 2 €", "cr\xE8me \x96 2 \x80\r\n");
    }

    void shoppingListRoundTrip() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        TempFolder app;
        Store store(app.path());
        const QString file = name + u".txt"_s;
        QVERIFY(store.saveShoppingList(name, u"a much longer first list"_s).ok());
        QVERIFY(store.saveShoppingList(name, text).ok());
        QTEST(app.read("Shopping List/" + file), "bytes");
        QCOMPARE(QDir(app.file(u"Shopping List"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{file});
        QCOMPARE(store.listShoppingLists().value(), QStringList{file});
        QCOMPARE(store.openShoppingList(file).value(), text);
        QCOMPARE(said(store.deleteShoppingList(file)), u"ok"_s);
        QCOMPARE(store.listShoppingLists().value(), QStringList{});
    }

    void listingOrderAndSpareEntry() {
        TempFolder app;
        Store store(app.path());
        const QString folder = app.file(u"Shopping List"_s);
        QCOMPARE(listFolderFiles(folder).value(), QStringList{QString()});
        QCOMPARE(store.listShoppingLists().value(), QStringList{});
        // Long names alike in their first 16 bytes and more.
        for (const char* name :
             {"b.txt", "A.txt", "a.txt", "C", ".hidden", "_x", "10", "9", "éclair", "Éclair", "Zoë",
              "chocolate chip cookies b", "Chocolate chip cookies é", "chocolate chip cookies a",
              "Chocolate chip cookies A", "chocolate chip cookies", "chocolate chip cookies É"}) {
            QVERIFY(app.write("Shopping List/" + QString::fromUtf8(name), "x"));
        }
        QVERIFY(app.mkdir(u"Shopping List/a folder"_s));
        QVERIFY(QFile::link(folder + u"/C"_s, folder + u"/link to C"_s));
        QVERIFY(QFile::link(folder + u"/a folder"_s, folder + u"/link to folder"_s));
        const QStringList expected{"10",
                                   "9",
                                   "_x",
                                   "A.txt",
                                   "a.txt",
                                   "b.txt",
                                   "C",
                                   "chocolate chip cookies",
                                   "Chocolate chip cookies A",
                                   "chocolate chip cookies a",
                                   "chocolate chip cookies b",
                                   "Chocolate chip cookies é",
                                   "chocolate chip cookies É",
                                   "link to C",
                                   "Zoë",
                                   "Éclair",
                                   "éclair"};
        QCOMPARE(listFolderFiles(folder + u'/').value(), expected + QStringList{QString()});
        QCOMPARE(listFolderFiles(folder).value(), expected + QStringList{QString()});
        QCOMPARE(store.listShoppingLists().value(), expected);

        // The listed names share their room: one changed, or kept alone and
        // changed, leaves every other as it was listed.
        QStringList names = listFolderFiles(folder).value();
        names[0].append(u" and more"_s);
        names[1][0] = u'8';
        names[16].chop(2);
        QCOMPARE(names.mid(0, 3), (QStringList{u"10 and more"_s, u"8"_s, u"_x"_s}));
        QCOMPARE(names.mid(15), (QStringList{u"Éclair"_s, u"écla"_s, QString()}));
        QString alone = listFolderFiles(folder).value().at(7);
        alone.append(u" with nuts"_s);
        QCOMPARE(alone, u"chocolate chip cookies with nuts"_s);
        QCOMPARE(alone.utf16()[alone.size()], ushort(0));
    }

    void removePath() {
        TempFolder app({"Category/Pies/Apple", "Category/Pies/deeper/.hidden", "Elsewhere/precious",
                        "Category/Linked->Elsewhere", "Category/category.txt=Linked\r\n"});
        Store store(app.path());
        QCOMPARE(said(store.removePath(app.file(u"category/PIES"_s))), u"ok"_s);
        QVERIFY(!app.exists(u"Category/Pies"_s) && app.exists(u"Category"_s));
        QCOMPARE(said(store.removePath(app.file(u"Category/Pies"_s))), u"76 Path not found"_s);
        // Deleting a category that is a link removes the link, not what it points to.
        QCOMPARE(store.deleteCategory(u"Linked"_s).value(), 1);
        QVERIFY(!QFileInfo(app.file(u"Category/Linked"_s)).isSymLink());
        QCOMPARE(app.read(u"Elsewhere/precious"_s), QByteArray("x"));
    }

    // A data folder from the older program holds names in Windows-1252 bytes,
    // which are not UTF-8. They are listed as their Windows-1252 text, and every
    // operation given that text reaches the file through its own bytes; names the
    // program makes are UTF-8.
    void oldFileNames_data() {
        kOld.columns();
        auto row = [](const char* tag, const QString& command, const QString& argument,
                      const QString& result, const QStringList& changes = {},
                      const QByteArray& file = {}, const QByteArray& bytes = {},
                      const QByteArrayList& setup = {}) {
            kOld(tag, setup, command, argument, result, changes, file, bytes);
        };
        const QString pate = u"Category/Cr\\xe8me/P\\xe2t\\xe9"_s;
        const QString creme = u"Shopping List/Cr\\xe8me.txt"_s;
        row("lists", "lists", "", "café.txt|Crème.txt");
        // Lists written by other programs: any name, any line ends.
        const QByteArrayList other{"Shopping List/a.txt=x\r\n\r\n", "Shopping List/b=x\n",
                                   "Shopping List/C.TXT=", "Shopping List/d.doc=\x93words\x94",
                                   "Shopping List/Old lists/"};
        row("any name", "lists", "", "a.txt|b|C.TXT|café.txt|Crème.txt|d.doc", {}, {}, {}, other);
        row("one CR LF stripped", "open", "a.txt", "x\r\n", {}, {}, {}, other);
        row("a lone LF kept", "open", "b", "x\n", {}, {}, {}, other);
        row("an empty list", "open", "C.TXT", "", {}, {}, {}, other);
        row("Windows-1252 quotes", "open", "d.doc", "“words”", {}, {}, {}, other);
        row("saved in other case, the one file replaced", "save list as", "c", "ok", {},
            "Shopping List/C.TXT", "milk\r\n", other);
        row("open", "open", "Crème.txt", "old");
        row("open in other case", "open", "CRÈME.TXT", "old");
        row("read for printing", "read", "Crème.txt", "old\r\n");
        row("save replaces it", "save list as", "Crème", "ok", {}, "Shopping List/Cr\xE8me.txt",
            "milk\r\n");
        row("a new name is UTF-8", "save list as", "Crème 2", "ok",
            {u"+Shopping List/Cr\\xc3\\xa8me 2.txt"_s});
        row("delete", "delete list", "Crème.txt", "ok", {'-' + creme});
        row("a UTF-8 twin comes first", "open", "Crème.txt", "utf", {}, {}, {},
            {"Shopping List/Cr\xC3\xA8me.txt=utf"});
        const QByteArrayList bom{"Shopping List/\xEF\xBB\xBFnotes.txt=bom"};
        row("a byte order mark is part of the name", "lists", "",
            "café.txt|Crème.txt|\uFEFFnotes.txt", {}, {}, {}, bom);
        row("and opens by it", "open", u"\uFEFFnotes.txt"_s, "bom", {}, {}, {}, bom);
        const QByteArrayList twin{"Category/Cr\xE8me/P\xC3\xA2t\xC3\xA9=" + record({{21, "utf"}})};
        row("recipe entries: an old name by its bytes", "entries", "Crème", "Pâté>P%E2t%E9");
        row("recipe entries in a UTF-8 folder", "entries", "Soups",
            "Crème brûlée>Cr%E8me br%FBl%E9e");
        row("recipe entries: both names reach the UTF-8 twin", "entries", "Crème",
            "Pâté>P%C3%A2t%C3%A9|Pâté>P%C3%A2t%C3%A9?", {}, {}, {}, twin);
        row("and load reads the twin", "load", "Crème/Pâté", "utf", {}, {}, {}, twin);
        row("categories", "categories", "", "Crème|Soups");
        row("recipes", "recipes", "Crème", "Pâté|");
        row("recipes in a UTF-8 folder, in other case", "recipes", "soups", "Crème brûlée|");
        row("load", "load", "Crème/Pâté", "beurre");
        row("load in other case", "load", "CRÈME/pÂTÉ", "beurre");
        row("load from a UTF-8 folder", "load", "Soups/Crème brûlée", "sucre");
        row("save replaces it", "save", "Crème/Pâté", "ok", {}, "Category/Cr\xE8me/P\xE2t\xE9",
            record({{21, "miel"}}));
        row("save a new one", "save", "Crème/Tarte", "ok", {u"+Category/Cr\\xe8me/Tarte"_s});
        row("delete recipe", "delete recipe", "Crème/Pâté", "ok", {'-' + pate});
        row("create", "create", "Crème", "exists");
        row("delete category", "delete", "Crème", "1", {u"-Category/Cr\\xe8me/"_s, '-' + pate},
            "Category/category.txt", "Soups\r\n");
        row("delete the category holding one", "delete", "Soups", "1",
            {u"-Category/Soups/"_s, u"-Category/Soups/Cr\\xe8me br\\xfbl\\xe9e"_s},
            "Category/category.txt", "Cr\xE8me\r\n");
        row("remove", "remove", "Category/crème", "ok", {u"-Category/Cr\\xe8me/"_s, '-' + pate});
    }

    void oldFileNames() {
        const auto [setup, command, argument, result, changes, file, bytes] = kOld.fetch();
        TempFolder app;
        for (const QByteArray& entry :
             QByteArrayList{
                 "Shopping List/Cr\xE8me.txt=old\r\n", "Shopping List/caf\xC3\xA9.txt=new",
                 "Category/category.txt=Cr\xE8me\r\nSoups\r\n", "Category/Cr\xE8me/",
                 "Category/Cr\xE8me/P\xE2t\xE9=" + record({{21, "beurre"}}), "Category/Soups/",
                 "Category/Soups/Cr\xE8me br\xFBl\xE9"
                 "e=" +
                     record({{21, "sucre"}})} +
                 setup) {
            const qsizetype equals = entry.indexOf('=');
            QVERIFY(equals < 0 ? app.writeNative(entry)
                               : app.writeNative(entry.left(equals), entry.mid(equals + 1)));
        }
        QStringList expected = app.byteTree();
        for (const QString& change : changes) {
            if (change.startsWith(u'+')) {
                expected << change.mid(1);
            } else {
                QVERIFY(expected.removeOne(change.mid(1)));
            }
        }
        expected.sort();

        Store store(app.path());
        QCOMPARE(run(store, app, command, argument), result);
        QCOMPARE(app.byteTree(), expected);
        if (!file.isEmpty()) {
            QCOMPARE(app.readNative(file), bytes);
        }
    }

    // Reading many files of one folder: only regular files, through links, never
    // a pipe (which would hang a blocking read), never outside the folder.
    void readInFolder_data() {
        kRead.columns();
        // Each read twice: asking what the entry is, and on a listing's word that it is a
        // regular file of its own, where what was put in its place since reads as "listed".
        auto row = [](const char* tag, const QByteArray& name, const QByteArray& result,
                      qint64 maxSize = 1000, const QByteArray& folder = "Category/Soups",
                      const QByteArray& listed = "<as asked>") {
            kRead(tag, folder, name, maxSize, false, result);
            kRead(QByteArray(tag + QByteArray(", as listed")).constData(), folder, name, maxSize,
                  true, listed == "<as asked>" ? result : listed);
        };
        const QByteArray soups = "Category/Soups";
        row("a file", "Stew", "stew\r\n");
        row("an empty file", "Empty", "");
        row("a link to a file", "Link", "stew\r\n", 1000, soups, "<not opened>");
        row("an old name by its bytes", "P\xE2t\xE9", "old");
        row("as large as allowed", "Stew", "stew\r\n", 6);
        row("larger than allowed", "Stew", "<failed>", 5);
        row("longer than the first read", "Long", kLong, 100000);
        row("as large as allowed, past the first read", "Long", kLong, kLong.size());
        row("larger than allowed, past the first read", "Long", "<failed>", kLong.size() - 1);
        row("a folder", "Folder", "<not opened>");
        row("a link to a folder", "Folder link", "<not opened>");
        row("a pipe", "Pipe", "<not opened>", 1000, soups, "");
        row("missing", "Gone", "<not opened>");
        row("no name", "", "<not opened>");
        row("a path", "Folder/inside", "<not opened>");
        row("a climbing path", "../Soups/Stew", "<not opened>");
        row("a name with NUL", QByteArray("Stew\0x", 6), "<not opened>");
        row("no folder", "Stew", "<not opened>", 1000, "Category/Cakes");
        row("a file for the folder", "x", "<not opened>", 1000, "Category/Soups/Stew");
    }

    void readInFolder() {
        const auto [folder, name, maxSize, plainFile, result] = kRead.fetch();
        TempFolder app({"Category/Soups/Stew=stew\r\n", "Category/Soups/Empty=",
                        "Category/Soups/Folder/inside", "Category/Soups/Link->Category/Soups/Stew",
                        "Category/Soups/Folder link->Category/Soups/Folder"});
        QVERIFY(app.writeNative("Category/Soups/P\xE2t\xE9", "old"));
        QVERIFY(app.writeNative("Category/Soups/Long", kLong));
        QCOMPARE(::mkfifo(QFile::encodeName(app.file(u"Category/Soups/Pipe"_s)).constData(), 0666),
                 0);
        const fs::OpenFolder open(QFile::encodeName(app.path()) + '/' + folder);
        QCOMPARE(open.isOpen(), folder == "Category/Soups");
        // Bytes read before are replaced whole.
        QByteArray bytes("a much longer text read before");
        const fs::ReadResult read = open.readFile(name, bytes, maxSize, plainFile);
        QCOMPARE(read == fs::ReadResult::Ok          ? bytes
                 : read == fs::ReadResult::NotOpened ? QByteArray("<not opened>")
                                                     : QByteArray("<failed>"),
                 result);
    }

    // Refused, cut short by a file-size limit, or stopped by the shape of the
    // folder: no temporary file, no new folder, every file as it was.
    void failuresChangeNothing_data() {
        kFail.columns();
        auto row = [](const QString& name, const QString& operation, const QString& text,
                      const QString& result, const QStringList& setup = {}) {
            kFail(qPrintable(name), setup, operation, text, result);
        };
        const QString bad =
            u" cannot contain / \\ : * ? \" < > | or control characters, and cannot start with "
            u"\".\"."_s;
        const QString category = u"refused: A category name"_s + bad;
        const QString recipe = u"refused: A recipe name"_s + bad;
        const QString list = u"refused: A shopping list name"_s + bad;
        const QString r53 = u"53 File not found"_s, r62 = u"62 Input past end of file"_s;
        const QString r75 = u"75 Path/File access error"_s, r76 = u"76 Path not found"_s;

        row("recipe, empty category", "save in", "",
            "refused: Please choose a category for the recipe.");
        row("recipe, empty name", "save as", "", "refused: Please type a name for the recipe.");
        for (const char* name : {"a/b", "a\\b", "a:b", "a*", "a?", "say \"hi\"", "<a", "a>", "a|b",
                                 ".", "..", "tab\there", "bell\a", "c1\u0085"}) {
            const QString n = QString::fromUtf8(name);
            for (const char* operation : {"create", "delete", "save in"}) {
                row(QString::fromUtf8(operation) + u' ' + n, operation, n, category);
            }
            row("save as " + n, "save as", n, recipe);
            row("save list as " + n, "save list as", n, list);
        }
        // A new name that a leading dot would hide: saved, it would never be listed.
        for (const char* name : {".hidden", ".stfolder", "._Stew", ".txt"}) {
            const QString n = QString::fromUtf8(name);
            row(u"create "_s + n, "create", n, category);
            row("save as " + n, "save as", n, recipe);
            row("save list as " + n, "save list as", n, list);
        }
        const QString snowman =
            u"refused: The character \"☃\" (U+2603) cannot be saved. Please remove "
            u"or replace it."_s;
        row("create ☃", "create", "Snow☃", snowman);
        row("save as ☃", "save as", "Snow☃", snowman);
        row("save field ☃", "save field", "ok € ☃ ✓", snowman);
        row("save list ☃", "save list", "milk\r\n☃", snowman);
        row("save list as ☃", "save list as", "☃", snowman);
        row("emoji", "save field", "cake 🎂",
            "refused: The character \"🎂\" (U+1F382) cannot be saved. Please remove or replace it.");
        for (const char* operation : {"create", "save as", "save list as"}) {
            row(operation + u", over-long"_s, operation, QString(300, u'n'), r75);
        }
        row("save field, limited", "save field", QString(3000, u'x'), "full");
        row("save list, limited", "save list", QString(3000, u'y'), "full");
        row("create, limited", "create", "Pies", "full");
        row("delete, limited", "delete", "Soups", "full");

        const QString gone = u"-Category/category.txt"_s;
        row("create, a file where the folder goes", "create", "Pies", "58 File already exists",
            {"Category/Pies"});
        row("create, no root", "create", "Pies", r76, {"-Category"});
        row("create, a file for the root", "create", "Pies", r76, {"-Category", "Category"});
        row("create, list is a folder", "create", "Pies", r75, {gone, "Category/category.txt/"});
        row("delete, a file for the root", "delete", "Soups", "Error getting temporary file path.",
            {"-Category", "Category"});
        row("delete, list is a folder", "delete", "Soups", r75, {gone, "Category/category.txt/"});
        row("delete, no list", "delete", "Soups", r53, {gone});
        // A link into a missing folder: no file can be made beside its target.
        row("delete, no temporary file", "delete", "Soups", "Error getting temporary filename.",
            {gone, "Category/category.txt->gone/category.txt"});

        row("load, missing", "load", "Soups/Gone", r53);
        row("load, no category", "load", "Cakes/Stew", r76);
        row("load, a folder", "load", "Soups/Folder", r75);
        row("load, short", "load", "Soups/Short", r62);
        row("load, second record cut", "load", "Soups/Cut", r62);
        row("load, climbing", "load", "Soups/../Pies/x", recipe);
        row("save, no category", "save in", "Cakes", r76);
        row("save over a folder", "save as", "Folder", r75);
        row("delete recipe, missing", "delete recipe", "Soups/Gone", r53);
        row("delete recipe, parent", "delete recipe", "Soups/..", recipe);
        row("list recipes, no category", "recipes", "Cakes", r76);
        row("list recipes, parent", "recipes", "..", category);
        row("recipe entries, no category", "entries", "Cakes", r76);
        row("recipe entries, parent", "entries", "..", category);

        for (const bool file : {false, true}) {  // no shopping list folder, or a file for it
            const QStringList setup = file ? QStringList{"-Shopping List", "Shopping List"}
                                           : QStringList{"-Shopping List"};
            for (const char* operation : {"lists", "save list as", "open", "delete list"}) {
                row(operation + (file ? u", a file for the folder"_s : u", no folder"_s), operation,
                    "W.txt", r76, setup);
            }
        }
        row("folder files, no folder", "folder", "nowhere", r76);
        row("open a folder", "open", "Folder.txt", r75);
        row("save list over a folder", "save list as", "Folder", r75);
        row("delete list, a folder", "delete list", "Folder.txt", r75);
        row("open, gone", "open", "Gone.txt", r53);
        row("delete list, gone", "delete list", "Gone.txt", r53);
        row("open, self", "open", ".", list);
        row("open, climbing", "open", "../Category/category.txt", list);
        row("delete list, backslash", "delete list", "..\\x", list);

        // Folders that hold the data are never removed whole.
        for (const char* path : {"Category", "category/", "Shopping List", "", "Category/..", "..",
                                 "Elsewhere", "Category/Linked/inner"}) {
            row(u"remove "_s + path, "remove", path, category);
        }
    }

    void failuresChangeNothing() {
        const auto [setup, operation, text, result] = kFail.fetch();
        // The list is longer than the 64 bytes a limited write may put down.
        TempFolder app(
            QStringList{"Category/category.txt=" + QString(100, u'x') + u"\r\nSoups\r\n"_s,
                        "Category/Soups/Stew=\"old\"\r\n", "Category/Soups/Folder/inside",
                        "Category/Soups/Short=\"1\",\"2\"\r\n",
                        "Category/Soups/Cut=" + QString(34, u',') + u"\r\n\"1\",\"2\"\r\n"_s,
                        "Shopping List/Week.txt=old\r\n", "Shopping List/Folder.txt/inner",
                        "Elsewhere/inner/", "Category/Linked->Elsewhere"} +
            setup);
        const QStringList before = app.tree();
        Store store(app.path());
        QString steps;  // a cut-off rewrite of the list fails after the busy pointer went up
        const DeleteHooks hooks{[&] { steps += u"before"_s; },
                                [&](int) { steps += u" rewritten"_s; }};
        // "full": files longer than 64 bytes cannot be written now, EFBIG and not SIGXFSZ.
        const bool full = result == u"full";
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        getrlimit(RLIMIT_FSIZE, &saved);
        const rlimit limited{full ? 64 : saved.rlim_cur, saved.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        Failure failure;
        const QString got = run(store, app, operation, text, hooks, &failure);
        setrlimit(RLIMIT_FSIZE, &saved);
        QCOMPARE(
            full && (got == u"57 Device I/O error" || got == u"61 Disk full") ? u"full"_s : got,
            result);
        if (failure.isRefusal()) {
            QCOMPARE(failure.number, 52);
            QCOMPARE(failure.description, u"Bad file name or number"_s);
        }
        QCOMPARE(steps, result == u"full" && operation == u"delete" ? u"before"_s : QString());
        QCOMPARE(app.tree(), before);
    }
};

QTEST_GUILESS_MAIN(FilesTest)
#include "tst_storefiles.moc"
