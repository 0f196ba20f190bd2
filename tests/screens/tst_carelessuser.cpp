// A careless user: from a fixed seed, random actions over the four working
// screens (category setup, recipe entry, recipe browser, shopping list) on the
// real windows, offscreen, against a temporary application folder. It types,
// picks categories and files with the mouse and the keyboard, ticks the delete
// box, presses New, Save, Create, Delete, Cancel and Main, and shows screens
// again through the window registry, as the main menu does.
//
// After every action it compares the folder with its state before and checks
// that nothing changed but what a Save, Create or Delete of the target on
// screen may change, and that no typed text vanished except through New, Open
// or a Delete of what was shown. An error report is a finding unless the action
// met a real file-system failure (its target was missing); the program then
// "starts again" on the same folder.
//
// CI runs three seeds of 700 steps. A longer run takes a seed and a number of
// steps from the environment (either alone works; the seed defaults to 1, the
// steps to 2000), offscreen as in CI:
//   export QT_QPA_PLATFORM=offscreen
//   PV_CARELESS_SEED=7 PV_CARELESS_STEPS=100000 build-ci/tests/tst_carelessuser -maxwarnings 0
// (-maxwarnings 0 keeps the summary line from being cut off by the offscreen
// platform's warnings).
// A failure names the seed and the step, with the last forty steps and their
// messages.

#include "cp1252.h"
#include "errorstate.h"
#include "fieldreader.h"
#include "multilinebox.h"
#include "notice.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "setupwindow.h"
#include "shoppinglistwindow.h"
#include "store.h"
#include "storetest.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

#include <functional>
#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

constexpr WindowId kSetup = WindowId::Setup;
constexpr WindowId kIngred = WindowId::RecipeEntry;
constexpr WindowId kRecipe = WindowId::RecipeBrowser;
constexpr WindowId kShop = WindowId::ShoppingList;
const QString kList = u"Category/category.txt"_s;

// The data tree as relative path -> bytes; a folder is its path and a '/'.
using Folder = QMap<QString, QByteArray>;

Folder snapshot(const QString& root) {
    Folder folder;
    const QDir base(root);
    for (const QString& top : {u"Category"_s, u"Shopping List"_s, u"PV.ini"_s}) {
        const QFileInfo info(base.filePath(top));
        if (info.isDir()) {
            folder.insert(top + u'/', {});
        } else if (info.exists()) {
            QFile file(info.filePath());
            folder.insert(top, file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
        }
        QDirIterator it(info.filePath(),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo entry = it.nextFileInfo();
            const QString relative = base.relativeFilePath(entry.filePath());
            if (entry.isDir()) {
                folder.insert(relative + u'/', {});
            } else {
                QFile file(entry.filePath());
                folder.insert(relative, file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
            }
        }
    }
    return folder;
}

bool samePath(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The entry of the folder at path, found ignoring case as the program finds it.
std::optional<QString> find(const Folder& folder, const QString& path) {
    if (folder.contains(path)) {
        return path;
    }
    for (auto it = folder.keyBegin(); it != folder.keyEnd(); ++it) {
        if (samePath(*it, path)) {
            return *it;
        }
    }
    return std::nullopt;
}

QStringList changedPaths(const Folder& before, const Folder& after) {
    QStringList changed;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (!after.contains(it.key()) || after.value(it.key()) != it.value()) {
            changed << it.key();
        }
    }
    for (auto it = after.keyBegin(); it != after.keyEnd(); ++it) {
        if (!before.contains(*it)) {
            changed << *it;
        }
    }
    return changed;
}

QStringList listLines(const Folder& folder) {
    return store::splitLines(folder.value(kList));
}

// What the user typed, as the boxes hold it: "window/box" -> text.
using Typed = QMap<QString, QString>;

}  // namespace

class CarelessUserTest : public QObject {
    Q_OBJECT

    // What one action may change, and what it must have done.
    struct Step {
        QString what;
        std::function<void()> act;
        // Typed boxes the action may change in any way.
        QStringList mayChange;
        // The folder's change, given before and after: empty when allowed.
        std::function<QString(const Folder&, const Folder&)> files;
        // Whether an error report is the file system's doing, given the folder before.
        std::function<bool(const Folder&)> reportExpected;
        // Further checks once the action is done: empty when all is well.
        std::function<QString(const Folder&, const Folder&, const Typed&, const Typed&)> after;
    };

    std::optional<test::ScreenBench> bench_;
    QRandomGenerator random_;
    QStringList log_;
    // What the browser's display shows (category, file), and the shopping list
    // opened, as the user saw them.
    std::optional<std::pair<QString, QString>> recipeShown_;
    QString listOpened_;
    int restarts_ = 0;
    // The error reports met, by code and number, and the steps that changed files.
    QMap<QString, int> reports_;
    QMap<QString, int> changes_;
    int userErrors_ = 0;

    template <typename T = QWidget>
    T* control(WindowId window, const QString& name) const {
        PvWindow* screen = windows().loaded(window);
        return screen ? screen->findChild<T*>(name) : nullptr;
    }
    bool visible(WindowId window) const {
        PvWindow* screen = windows().loaded(window);
        return screen && screen->isVisible();
    }
    int below(int bound) { return bound > 0 ? int(random_.bounded(bound)) : 0; }
    template <typename T>
    const T& oneOf(const QList<T>& items) {
        return items.at(below(int(items.size())));
    }
    bool chance(int percent) { return below(100) < percent; }

    static QList<std::pair<WindowId, WindowRegistry::Factory>> screens() {
        return {test::screen<SetupWindow>(kSetup), test::screen<RecipeEntryWindow>(kIngred),
                test::screen<RecipeBrowserWindow>(kRecipe),
                test::screen<ShoppingListWindow>(kShop)};
    }
    void startAgain() {
        windows().reset();
        programErrors() = {};
        recipeShown_.reset();
        listOpened_.clear();
        test::registerStandIns({WindowId::Main, WindowId::Error, WindowId::Calendar});
        for (const auto& [id, factory] : screens()) {
            windows().registerWindow(id, factory);
        }
        ++restarts_;
    }

    Typed typed() const {
        Typed texts;
        auto take = [&](WindowId window, const QStringList& names) {
            for (const QString& name : names) {
                if (auto* line = control<QLineEdit>(window, name)) {
                    texts.insert(objectNameOf(window) + u'/' + name, line->text());
                } else if (auto* box = control<MultiLineBox>(window, name)) {
                    texts.insert(objectNameOf(window) + u'/' + name, box->text());
                }
            }
        };
        take(kSetup, {u"txtSCreate"_s, u"txtSDel"_s});
        take(kIngred, ingredBoxes());
        take(kShop, {u"txtHList"_s, u"txtHName"_s});
        return texts;
    }
    static QStringList ingredBoxes() {
        QStringList names{u"txtIName"_s,  u"txtIDirec"_s, u"txtICTemp"_s,
                          u"txtICSize"_s, u"txtICHr"_s,   u"txtICMin"_s};
        for (int n = 1; n <= 10; ++n) {
            names << u"txtIA%1"_s.arg(n) << u"txtIT%1"_s.arg(n) << u"txtIN%1"_s.arg(n);
        }
        return names;
    }
    static QStringList prefixed(WindowId window, const QStringList& names) {
        QStringList keys;
        for (const QString& name : names) {
            keys << objectNameOf(window) + u'/' + name;
        }
        return keys;
    }

    // --- the user's hands ---

    // Types as a keyboard does; a line break is the Return key.
    void typeInto(QWidget* box, const QString& text) {
        for (const QChar c : text) {
            if (c == u'\n') {
                QTest::keyClick(box, Qt::Key_Return);
            } else if (c == u'\b') {
                QTest::keyClick(box, Qt::Key_Backspace);
            } else if (c.unicode() < 0x80) {
                QTest::keyClick(box, c.toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    }
    QString someText(bool multiLine) {
        static const QStringList words{u"2"_s,      u"12"_s,    u"milk"_s,       u"eggs, 3"_s,
                                       u" "_s,      u"\"x\""_s, u"cr\u00e8me"_s, u"\u20ac5"_s,
                                       u"\u0101"_s, u"\b\b"_s,  u"lb"_s,         u"Stew"_s};
        QString text;
        for (int n = 1 + below(3); n > 0; --n) {
            text += oneOf(words);
            if (multiLine && chance(30)) {
                text += u'\n';
            }
        }
        return text;
    }
    void pickInCombo(QComboBox* box) {
        if (box->count() == 0) {
            return;
        }
        if (chance(50)) {
            // Through the drop-down's list, as a click there does.
            const int index = below(box->count());
            box->setCurrentIndex(index);
            emit box->activated(index);
        } else {
            box->setFocus();
            QTest::keyClick(box, chance(70) ? Qt::Key_Down : Qt::Key_Up);
        }
    }
    // A random row of a list to click, or -1 for a click beside the rows.
    int someRow(const QAbstractItemView* view) {
        const int rows = view->model()->rowCount();
        return rows > 0 && chance(85) ? below(rows) : -1;
    }
    void clickRow(QAbstractItemView* view, int row) {
        QPoint at(view->viewport()->width() - 3, view->viewport()->height() - 3);
        if (row >= 0 && row < view->model()->rowCount()) {
            const QModelIndex index = view->model()->index(row, 0);
            view->scrollTo(index);
            at = view->visualRect(index).center();
        }
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }
    void arrowKeys(QAbstractItemView* view) {
        view->setFocus();
        for (int n = 1 + below(2); n > 0; --n) {
            QTest::keyClick(view, chance(50) ? Qt::Key_Down : Qt::Key_Up);
        }
    }
    void click(WindowId window, const QString& button) {
        QTest::mouseClick(control<QPushButton>(window, button), Qt::LeftButton);
    }

    // --- the steps ---

    Step noChange(const QString& what, std::function<void()> act) {
        return {what, std::move(act), {}, {}, {}, {}};
    }

    Step show(WindowId window) {
        // The category choice before, to hold the screen to it afterwards.
        const QString box = window == kIngred ? u"cboIng"_s : u"cboRCat"_s;
        auto* combo = control<QComboBox>(window, box);
        const std::optional<QString> chosen = combo && combo->currentIndex() >= 0
                                                  ? std::optional(combo->currentText())
                                                  : std::nullopt;
        Step step =
            noChange(u"show "_s + objectNameOf(window), [window] { windows().show(window); });
        if (chosen && (window == kIngred || window == kRecipe)) {
            step.after = [this, window, box, chosen](const Folder&, const Folder& after,
                                                     const Typed&, const Typed&) {
                const QStringList listed = after.contains(kList)
                                               ? store::parseFieldList(after.value(kList))
                                               : QStringList();
                auto* combo = control<QComboBox>(window, box);
                const QString now = combo->currentIndex() >= 0 ? combo->currentText() : QString();
                const QString expected = listed.contains(*chosen) ? *chosen : QString();
                if (now != expected) {
                    return u"the category choice is \"%1\", not \"%2\""_s.arg(now, expected);
                }
                if (window == kRecipe && expected.isEmpty() &&
                    !control<QLineEdit>(kRecipe, u"txtRName"_s)->text().isEmpty()) {
                    return u"the browser still shows a recipe of a category that is gone"_s;
                }
                return QString();
            };
        }
        return step;
    }

    Step main(WindowId window) {
        const QString button = window == kSetup    ? u"cmdSMain"_s
                               : window == kIngred ? u"cmdIMain"_s
                               : window == kRecipe ? u"cmdRMain"_s
                                                   : u"cmdHMain"_s;
        return noChange(objectNameOf(window) + u" Main"_s,
                        [this, window, button] { click(window, button); });
    }

    Step typeIn(WindowId window, const QString& box, bool multiLine = false) {
        const QString text = someText(multiLine);
        const QString shown =
            QString(text).replace(u'\n', u"<Enter>"_s).replace(u'\b', u"<Backspace>"_s);
        Step step = noChange(u"%1: type \"%2\" into %3"_s.arg(objectNameOf(window), shown, box),
                             [this, window, box, text] {
                                 QWidget* target = control<QWidget>(window, box);
                                 if (target->isEnabled()) {
                                     typeInto(target, text);
                                 }
                             });
        step.mayChange = {objectNameOf(window) + u'/' + box};
        return step;
    }

    // Replaces what an enabled box holds by a name, typed.
    Step replaceText(WindowId window, const QString& box, const QString& name) {
        Step step = noChange(u"%1: type \"%2\" over %3"_s.arg(objectNameOf(window), name, box),
                             [this, window, box, name] {
                                 auto* line = control<QLineEdit>(window, box);
                                 if (line->isEnabled()) {
                                     line->selectAll();
                                     QTest::keyClick(line, Qt::Key_Backspace);
                                     typeInto(line, name);
                                 }
                             });
        step.mayChange = {objectNameOf(window) + u'/' + box};
        return step;
    }

    Step setupStep() {
        const int pick = below(100);
        if (pick < 20) {
            static const QStringList names{u"Soups"_s,    u"soups"_s,        u"Pies"_s,
                                           u"Desserts"_s, u"Breads"_s,       u"Cakes"_s,
                                           u"Gone"_s,     u"Cr\u00e8me"_s,   u"a/b"_s,
                                           u"\u0101"_s,   u"Breads, Cakes"_s};
            return replaceText(kSetup, u"txtSCreate"_s, oneOf(names));
        }
        if (pick < 35) {
            const QString name = control<QLineEdit>(kSetup, u"txtSCreate"_s)->text();
            Step step = noChange(u"setup: Create \"%1\""_s.arg(name),
                                 [this] { click(kSetup, u"cmdSCreate"_s); });
            step.mayChange = prefixed(kSetup, {u"txtSCreate"_s});
            step.files = [name](const Folder& before, const Folder& after) {
                const QStringList changed = changedPaths(before, after);
                if (changed.isEmpty()) {
                    return QString();
                }
                const QString folder = u"Category/"_s + name + u'/';
                if (changed != QStringList{kList, folder} &&
                    changed != QStringList{folder, kList}) {
                    return u"Create changed %1"_s.arg(changed.join(u", "_s));
                }
                if (listLines(after) != listLines(before) + QStringList{name}) {
                    return u"Create did not append \"%1\" to the list"_s.arg(name);
                }
                return QString();
            };
            return step;
        }
        if (pick < 50) {
            Step step = noChange(u"setup: click a category"_s, [this] {
                auto* list = control<QListWidget>(kSetup, u"lswSetup"_s);
                clickRow(list, someRow(list));
            });
            step.mayChange = prefixed(kSetup, {u"txtSDel"_s});
            return step;
        }
        if (pick < 53) {
            Step step = typeIn(kSetup, u"txtSDel"_s);
            return step;
        }
        if (pick < 60) {
            auto* box = control<QLineEdit>(kSetup, u"txtSDel"_s);
            const QString name = box->isEnabled() ? box->text() : QString();
            Step step = noChange(u"setup: Delete \"%1\""_s.arg(name),
                                 [this] { click(kSetup, u"cmdSDel"_s); });
            step.files = [name](const Folder& before, const Folder& after) {
                // The list loses the name's lines; the folder goes with all it holds.
                const QString folder = u"Category/"_s + name + u'/';
                const QStringList changed = changedPaths(before, after);
                for (const QString& path : changed) {
                    const bool inFolder = path.startsWith(folder, Qt::CaseInsensitive);
                    if (name.isEmpty() || !(path == kList || (inFolder && !after.contains(path)))) {
                        return u"Delete of \"%1\" changed %2"_s.arg(name, path);
                    }
                }
                QStringList kept = listLines(before);
                kept.removeIf([&](const QString& line) { return samePath(line, name); });
                if (changed.contains(kList) && listLines(after) != kept) {
                    return u"Delete of \"%1\" left the list %2"_s.arg(name,
                                                                      listLines(after).join(u'|'));
                }
                return QString();
            };
            // Deleting a category without a folder ends in the report.
            step.reportExpected = [name](const Folder& before) {
                return !find(before, u"Category/"_s + name + u'/');
            };
            return step;
        }
        if (pick < 75) {
            Step step =
                noChange(u"setup: Cancel (create)"_s, [this] { click(kSetup, u"cmdSCCancel"_s); });
            step.mayChange = prefixed(kSetup, {u"txtSCreate"_s});
            return step;
        }
        if (pick < 90) {
            Step step = noChange(u"setup: Cancel (delete)"_s,
                                 [this] { click(kSetup, u"cmdSDelCancel"_s); });
            step.mayChange = prefixed(kSetup, {u"txtSDel"_s});
            return step;
        }
        return main(kSetup);
    }

    Step ingredStep() {
        const int pick = below(100);
        if (pick < 10) {
            static const QStringList names{u"Stew"_s,   u"stew"_s, u"Tart"_s,
                                           u"Apple"_s,  u"x:y"_s,  u"Cr\u00e8me br\u00fbl\u00e9e"_s,
                                           u"\u0101"_s, u""_s};
            return replaceText(kIngred, u"txtIName"_s, oneOf(names));
        }
        if (pick < 40) {
            const QStringList boxes = ingredBoxes();
            const QString box = boxes.at(below(int(boxes.size())));
            return typeIn(kIngred, box, box == u"txtIDirec"_s);
        }
        if (pick < 55) {
            return noChange(u"entry: pick a category"_s,
                            [this] { pickInCombo(control<QComboBox>(kIngred, u"cboIng"_s)); });
        }
        if (pick < 62) {
            Step step = noChange(u"entry: New"_s, [this] { click(kIngred, u"cmdINew"_s); });
            step.mayChange = prefixed(kIngred, ingredBoxes());
            step.after = [](const Folder&, const Folder&, const Typed&, const Typed& now) {
                for (const QString& key : prefixed(kIngred, ingredBoxes())) {
                    if (!now.value(key).isEmpty()) {
                        return u"New left %1"_s.arg(key);
                    }
                }
                return QString();
            };
            return step;
        }
        if (pick < 90) {
            auto* screen = qobject_cast<RecipeEntryWindow*>(windows().loaded(kIngred));
            const QString category = control<QComboBox>(kIngred, u"cboIng"_s)->currentText();
            const QString name = control<QLineEdit>(kIngred, u"txtIName"_s)->text();
            const store::RecipeFields fields = screen->fields();
            Step step = noChange(u"entry: Save \"%1\" in \"%2\""_s.arg(name, category),
                                 [this] { click(kIngred, u"cmdISave"_s); });
            step.files = [category, name, fields](const Folder& before, const Folder& after) {
                const QStringList changed = changedPaths(before, after);
                if (changed.isEmpty()) {
                    return QString();
                }
                const QString target = u"Category/"_s + category + u'/' + name;
                if (changed.size() != 1 || !samePath(changed.at(0), target) ||
                    !after.contains(changed.at(0))) {
                    return u"Save of %1 changed %2"_s.arg(target, changed.join(u", "_s));
                }
                auto read = store::parseRecipeRecord(after.value(changed.at(0)));
                if (!read) {
                    return u"Save wrote an unreadable %1"_s.arg(target);
                }
                for (int i = 0; i < store::kRecipeFieldCount; ++i) {
                    // A double quote comes back as a look-alike; all else as typed.
                    if (!fields[i].contains(u'"') && read.value()[i] != fields[i]) {
                        return u"field %1 of %2 came back as \"%3\", typed \"%4\""_s.arg(
                            QString::number(i + 1), target, read.value()[i], fields[i]);
                    }
                }
                return QString();
            };
            return step;
        }
        return main(kIngred);
    }

    Step recipeStep() {
        const int pick = below(100);
        auto* files = control<QListView>(kRecipe, u"lswRFile"_s);
        const QString category = control<QComboBox>(kRecipe, u"cboRCat"_s)->currentText();
        // The display names the file it shows, one of the list; the user knows the
        // category it came from.
        auto opened = [this, category, files](const Folder&, const Folder&, const Typed&,
                                              const Typed&) {
            const QString name = control<QLineEdit>(kRecipe, u"txtRName"_s)->text();
            if (!name.isEmpty() && !files->model()
                                        ->match(files->model()->index(0, 0), Qt::DisplayRole, name,
                                                1, Qt::MatchExactly)
                                        .isEmpty()) {
                recipeShown_ = std::pair(category, name);
            }
            return QString();
        };
        if (pick < 20) {
            Step step = noChange(u"browser: pick a category"_s, [this] {
                pickInCombo(control<QComboBox>(kRecipe, u"cboRCat"_s));
            });
            return step;
        }
        if (pick < 60) {
            const bool byMouse = pick < 50;
            Step step = noChange(byMouse ? u"browser: click in the file list"_s
                                         : u"browser: Enter on the current file"_s,
                                 [this, files, byMouse] {
                                     if (byMouse) {
                                         clickRow(files, someRow(files));
                                     } else {
                                         files->setFocus();
                                         QTest::keyClick(files, Qt::Key_Return);
                                     }
                                 });
            step.after = opened;
            step.reportExpected = [category, files](const Folder& before) {
                // A recipe listed but gone since is the file system's.
                const QString name = files->currentIndex().data().toString();
                return find(before, u"Category/"_s + category + u'/') &&
                       !find(before, u"Category/"_s + category + u'/' + name);
            };
            return step;
        }
        if (pick < 68) {
            return noChange(u"browser: arrow keys in the file list"_s,
                            [this, files] { arrowKeys(files); });
        }
        if (pick < 85) {
            const auto shown = recipeShown_;
            auto* box = control<QCheckBox>(kRecipe, u"chkRDel"_s);
            const bool enabled = box->isEnabled();
            Step step = noChange(u"browser: tick Delete this file? (%1, showing %2)"_s.arg(
                                     enabled ? u"enabled"_s : u"disabled"_s,
                                     shown ? shown->first + u'/' + shown->second : u"nothing"_s),
                                 [this, box] { QTest::mouseClick(box, Qt::LeftButton); });
            step.files = [shown](const Folder& before, const Folder& after) {
                const QStringList changed = changedPaths(before, after);
                if (changed.isEmpty()) {
                    return QString();
                }
                const QString target =
                    shown ? u"Category/"_s + shown->first + u'/' + shown->second : QString();
                if (changed.size() != 1 || !shown || !samePath(changed.at(0), target) ||
                    after.contains(changed.at(0))) {
                    return u"the delete box, showing %1, changed %2"_s.arg(
                        shown ? target : u"nothing"_s, changed.join(u", "_s));
                }
                return QString();
            };
            step.reportExpected = [shown](const Folder& before) {
                return shown && !find(before, u"Category/"_s + shown->first + u'/' + shown->second);
            };
            step.after = [this, shown, enabled](const Folder& before, const Folder& after,
                                                const Typed&, const Typed&) {
                const QString target =
                    shown ? u"Category/"_s + shown->first + u'/' + shown->second : QString();
                if (enabled && shown && find(before, target) && find(after, target)) {
                    return u"the enabled delete box left %1"_s.arg(target);
                }
                if (!find(after, target)) {
                    recipeShown_.reset();
                }
                return QString();
            };
            return step;
        }
        if (pick < 93) {
            return noChange(u"browser: New"_s, [this] { click(kRecipe, u"cmdRNew"_s); });
        }
        return main(kRecipe);
    }

    Step shopStep() {
        const int pick = below(100);
        auto* files = control<QListWidget>(kShop, u"lswHOpen"_s);
        if (pick < 25) {
            return typeIn(kShop, u"txtHList"_s, true);
        }
        if (pick < 35) {
            static const QStringList names{u"weekly"_s, u"Old"_s, u"old"_s,   u"New list"_s,
                                           u"a*b"_s,    u""_s,    u"\u0101"_s};
            return replaceText(kShop, u"txtHName"_s, oneOf(names));
        }
        if (pick < 55) {
            // The list the click or Enter should open: the clicked one, or the one picked.
            const bool byMouse = pick < 48;
            const int row = byMouse ? someRow(files) : files->currentRow();
            const QListWidgetItem* target =
                byMouse ? files->item(row)
                        : (files->selectedItems().isEmpty() ? nullptr : files->selectedItems()[0]);
            const QString file = target ? target->text() : QString();
            Step step = noChange(byMouse ? u"shop: click \"%1\" in the file list"_s.arg(file)
                                         : u"shop: Enter in the file list (on \"%1\")"_s.arg(file),
                                 [this, files, byMouse, row] {
                                     if (byMouse) {
                                         clickRow(files, row);
                                     } else {
                                         files->setFocus();
                                         QTest::keyClick(files, Qt::Key_Return);
                                     }
                                 });
            step.mayChange = prefixed(kShop, {u"txtHList"_s});
            step.reportExpected = [file](const Folder& before) {
                return !file.isEmpty() && !find(before, u"Shopping List/"_s + file);
            };
            step.after = [this, file](const Folder&, const Folder& after, const Typed& was,
                                      const Typed& now) {
                const QString key = objectNameOf(kShop) + u"/txtHList"_s;
                if (file.isEmpty()) {
                    return was.value(key) == now.value(key)
                               ? QString()
                               : u"a click beside the names replaced the typed list \"%1\" by "
                                 u"\"%2\""_s.arg(was.value(key), now.value(key));
                }
                QByteArray bytes = after.value(u"Shopping List/"_s + file);
                if (bytes.endsWith("\r\n")) {
                    bytes.chop(2);
                }
                if (store::decodeCp1252(bytes) != now.value(key)) {
                    return u"Open of %1 shows other text"_s.arg(file);
                }
                listOpened_ = file;
                return QString();
            };
            return step;
        }
        if (pick < 62) {
            return noChange(u"shop: arrow keys in the file list"_s,
                            [this, files] { arrowKeys(files); });
        }
        if (pick < 70) {
            Step step = noChange(u"shop: New"_s, [this] { click(kShop, u"cmdHNew"_s); });
            step.mayChange = prefixed(kShop, {u"txtHList"_s, u"txtHName"_s});
            step.after = [this](const Folder&, const Folder&, const Typed&, const Typed& now) {
                listOpened_.clear();
                return now.value(objectNameOf(kShop) + u"/txtHList"_s).isEmpty() &&
                               now.value(objectNameOf(kShop) + u"/txtHName"_s).isEmpty()
                           ? QString()
                           : u"New left text"_s;
            };
            return step;
        }
        if (pick < 85) {
            const QString name = control<QLineEdit>(kShop, u"txtHName"_s)->text();
            const QString text = control<MultiLineBox>(kShop, u"txtHList"_s)->text();
            Step step = noChange(u"shop: Save as \"%1\""_s.arg(name),
                                 [this] { click(kShop, u"cmdHSave"_s); });
            step.files = [name, text](const Folder& before, const Folder& after) {
                const QStringList changed = changedPaths(before, after);
                if (changed.isEmpty()) {
                    return QString();
                }
                const QString target = u"Shopping List/"_s + name + u".txt"_s;
                if (changed.size() != 1 || !samePath(changed.at(0), target) ||
                    !after.contains(changed.at(0))) {
                    return u"Save of %1 changed %2"_s.arg(target, changed.join(u", "_s));
                }
                if (after.value(changed.at(0)) != store::encodeCp1252(text) + "\r\n") {
                    return u"Save wrote other bytes into %1"_s.arg(target);
                }
                return QString();
            };
            return step;
        }
        if (pick < 95) {
            const QString opened = listOpened_;
            Step step = noChange(u"shop: Delete (opened: \"%1\")"_s.arg(opened),
                                 [this] { click(kShop, u"cmdHDel"_s); });
            step.mayChange = prefixed(kShop, {u"txtHList"_s, u"txtHName"_s});
            step.files = [opened](const Folder& before, const Folder& after) {
                const QStringList changed = changedPaths(before, after);
                if (changed.isEmpty()) {
                    return QString();
                }
                if (opened.isEmpty() || changed.size() != 1 ||
                    changed.at(0) != u"Shopping List/"_s + opened ||
                    after.contains(changed.at(0))) {
                    return u"Delete, with \"%1\" opened, changed %2"_s.arg(opened,
                                                                           changed.join(u", "_s));
                }
                return QString();
            };
            step.reportExpected = [opened](const Folder& before) {
                return !opened.isEmpty() && !before.contains(u"Shopping List/"_s + opened);
            };
            step.after = [this, opened](const Folder& before, const Folder& after, const Typed& was,
                                        const Typed& now) {
                const QString path = u"Shopping List/"_s + opened;
                const bool deleted =
                    !opened.isEmpty() && before.contains(path) && !after.contains(path);
                if (!deleted && was != now) {
                    return u"Delete deleted nothing, yet the typed text changed"_s;
                }
                if (deleted) {
                    listOpened_.clear();
                    if (!now.value(objectNameOf(kShop) + u"/txtHList"_s).isEmpty()) {
                        return u"Delete left the list's text on screen"_s;
                    }
                }
                return QString();
            };
            return step;
        }
        return main(kShop);
    }

    Step nextStep() {
        QList<WindowId> shown;
        for (WindowId window : {kSetup, kIngred, kRecipe, kShop}) {
            if (visible(window)) {
                shown << window;
            }
        }
        if (shown.isEmpty() || chance(8)) {
            return show(oneOf(QList<WindowId>{kSetup, kIngred, kRecipe, kShop}));
        }
        const WindowId window = oneOf(shown);
        return window == kSetup    ? setupStep()
               : window == kIngred ? ingredStep()
               : window == kRecipe ? recipeStep()
                                   : shopStep();
    }

    // Runs one step and returns what went wrong, if anything.
    QString run(Step& step) {
        const Folder before = snapshot(bench_->app.path());
        const Typed was = typed();
        const qsizetype messagesBefore = bench_->messages.shown.size();
        step.act();
        QCoreApplication::processEvents();
        const Folder after = snapshot(bench_->app.path());
        const Typed now = typed();
        if (before != after) {
            ++changes_[step.what.section(u' ', 0, 1)];
        }
        for (qsizetype i = messagesBefore; i < bench_->messages.shown.size(); ++i) {
            const auto& message = bench_->messages.shown.at(i);
            log_ << u"    message \"%1\": %2"_s.arg(message.title,
                                                    QString(message.text).replace(u'\r', u'|'));
            if (message.title == u"User error"_s) {
                ++userErrors_;
            }
            if (message.text == noCategoryText() && before.contains(kList)) {
                return u"the category notice, with a category list there"_s;
            }
        }
        const QString files =
            step.files ? step.files(before, after)
                       : (before == after
                              ? QString()
                              : u"files changed: "_s + changedPaths(before, after).join(u", "_s));
        if (!files.isEmpty()) {
            return files;
        }
        if (visible(WindowId::Error)) {
            const ProgramErrors& errors = programErrors();
            const QString report = errors.errorLocation + errors.errorNumberText;
            if (!step.reportExpected || !step.reportExpected(before)) {
                return u"the error report \"%1\" (%2)"_s.arg(report, errors.errorDescription);
            }
            log_ << u"    error report \"%1\": the file system's, the program starts again"_s.arg(
                report);
            ++reports_[report];
            startAgain();
            return QString();
        }
        for (auto it = was.cbegin(); it != was.cend(); ++it) {
            if (now.contains(it.key()) && now.value(it.key()) != it.value() &&
                !step.mayChange.contains(it.key())) {
                return u"typed text changed in %1: \"%2\" became \"%3\""_s.arg(it.key(), it.value(),
                                                                               now.value(it.key()));
            }
        }
        const QString fault = step.after ? step.after(before, after, was, now) : QString();
        // What the browser shows goes with its display, whichever command emptied it.
        if (auto* name = control<QLineEdit>(kRecipe, u"txtRName"_s);
            name && name->text().isEmpty()) {
            recipeShown_.reset();
        }
        return fault;
    }

private slots:
    void init() {
        log_.clear();
        restarts_ = 0;
        reports_.clear();
        changes_.clear();
        userErrors_ = 0;
        recipeShown_.reset();
        listOpened_.clear();
        bench_.emplace(screens());
        // Categories, one listed without a folder and one holding a comma.
        QVERIFY(bench_->app.write(kList, "Soups\r\nPies\r\nBreads, Cakes\r\nGone\r\n"));
        for (const QString& folder : {u"Soups"_s, u"Pies"_s, u"Breads, Cakes"_s}) {
            QVERIFY(bench_->app.mkdir(u"Category/"_s + folder));
        }
        QVERIFY(bench_->app.write(u"Category/Soups/Stew"_s,
                                  test::record({{21, "beef"}, {31, "Brown.\r\nStew."}})));
        QVERIFY(bench_->app.write(u"Category/Soups/borscht.txt"_s, test::record({{21, "beets"}})));
        QVERIFY(bench_->app.write(u"Category/Pies/Apple"_s, test::record({{21, "apples"}})));
        QVERIFY(bench_->app.write(u"Shopping List/weekly.txt"_s, "milk\r\neggs\r\n"));
        QVERIFY(bench_->app.write(u"Shopping List/Old.txt"_s, "tea\r\n"));
    }
    void cleanup() { bench_.reset(); }

    void losesNothing_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("steps");
        const QByteArray seed = qgetenv("PV_CARELESS_SEED");
        const QByteArray steps = qgetenv("PV_CARELESS_STEPS");
        if (!seed.isEmpty() || !steps.isEmpty()) {
            const quint32 s = seed.isEmpty() ? 1 : seed.toUInt();
            QTest::addRow("seed %u", s) << s << (steps.isEmpty() ? 2000 : steps.toInt());
            return;
        }
        for (quint32 s : {1u, 2u, 3u}) {
            QTest::addRow("seed %u", s) << s << 700;
        }
    }
    void losesNothing() {
        QFETCH(quint32, seed);
        QFETCH(int, steps);
        random_.seed(seed);
        for (int n = 1; n <= steps; ++n) {
            Step step = nextStep();
            log_ << u"%1. %2"_s.arg(n).arg(step.what);
            if (log_.size() > 40) {
                log_.removeFirst();
            }
            const QString fault = run(step);
            if (!fault.isEmpty()) {
                QFAIL(qPrintable(u"seed %1, step %2: %3\nthe last steps:\n%4"_s.arg(
                    QString::number(seed), QString::number(n), fault, log_.join(u'\n'))));
            }
        }
        auto counts = [](const QMap<QString, int>& map) {
            QStringList all;
            for (auto it = map.cbegin(); it != map.cend(); ++it) {
                all << u"%1 %2x"_s.arg(it.key()).arg(it.value());
            }
            return all.join(u", "_s);
        };
        qInfo(
            "seed %u: %d steps; files changed by %s; %d User errors; %d error reports of the "
            "file system (%s)",
            seed, steps, qPrintable(counts(changes_)), userErrors_, restarts_,
            qPrintable(counts(reports_)));
    }
};

QTEST_MAIN(CarelessUserTest)
#include "tst_carelessuser.moc"
