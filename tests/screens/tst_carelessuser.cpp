// A careless user: from a fixed seed, random actions over the four working
// screens (category setup, recipe entry, recipe browser, shopping list) on the
// real windows, offscreen, against a temporary application folder. It types,
// picks categories and files with the mouse and the keyboard, ticks the delete
// box, presses New, Save, Create, Delete, Cancel and Main, and shows screens
// again through the window registry, as the main menu does. It also scales the
// recipe on display and works the meal plan: adds, removes and changes planned
// recipes, moves between weeks, ticks days and makes shopping lists.
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
#include "mealplan.h"
#include "mealplanwindow.h"
#include "messageservice.h"
#include "multilinebox.h"
#include "notice.h"
#include "recipebrowserwindow.h"
#include "recipeentrywindow.h"
#include "scalewindow.h"
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
#include <QRegularExpression>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>
#include <optional>

using namespace pv;
using namespace Qt::StringLiterals;

namespace {

constexpr WindowId kSetup = WindowId::Setup;
constexpr WindowId kIngred = WindowId::RecipeEntry;
constexpr WindowId kRecipe = WindowId::RecipeBrowser;
constexpr WindowId kShop = WindowId::ShoppingList;
constexpr WindowId kPlan = WindowId::MealPlan;
constexpr WindowId kScale = WindowId::Scale;
const QString kList = u"Category/category.txt"_s;

// The data tree as relative path -> bytes; a folder is its path and a '/'.
using Folder = QMap<QString, QByteArray>;
// What the user typed, as the boxes hold it: "window/box" -> text.
using Typed = QMap<QString, QString>;
// The folder and the typed texts before and after an action.
struct Seen {
    Folder before, after;
    Typed was, now;
};

Folder snapshot(const QString& root) {
    Folder folder;
    const QDir base(root);
    const auto add = [&](const QFileInfo& entry) {
        QFile file(entry.filePath());
        const QString relative = base.relativeFilePath(entry.filePath());
        if (entry.isDir()) {
            folder.insert(relative + u'/', {});
        } else {
            folder.insert(relative, file.open(QIODevice::ReadOnly) ? file.readAll() : "?");
        }
    };
    for (const QString& top : {u"Category"_s, u"Shopping List"_s, u"PV.ini"_s, u"Meal Plan"_s}) {
        if (const QFileInfo info(base.filePath(top)); info.exists()) {
            add(info);
        }
        QDirIterator it(base.filePath(top),
                        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            add(it.nextFileInfo());
        }
    }
    return folder;
}

bool samePath(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whether the folder holds path, found ignoring case as the program finds it.
bool has(const Folder& folder, const QString& path) {
    const QList<QString> keys = folder.keys();
    return std::any_of(keys.cbegin(), keys.cend(),
                       [&](const QString& k) { return samePath(k, path); });
}

QStringList changedPaths(const Folder& before, const Folder& after) {
    QStringList changed = before.keys() + after.keys();
    changed.removeDuplicates();
    changed.removeIf([&](const QString& path) {
        return before.contains(path) == after.contains(path) && before[path] == after[path];
    });
    return changed;
}

// Empty when nothing changed, or only target, there afterwards when written and
// gone when not; an empty target allows no change.
QString onlyChanged(const Seen& s, const QString& target, bool written,
                    Qt::CaseSensitivity cs = Qt::CaseInsensitive) {
    const QStringList changed = changedPaths(s.before, s.after);
    if (changed.isEmpty() ||
        (changed.size() == 1 && !target.isEmpty() && changed.at(0).compare(target, cs) == 0 &&
         s.after.contains(changed.at(0)) == written)) {
        return QString();
    }
    return u"changed %1, not only %2 %3"_s.arg(changed.join(u", "_s),
                                               written ? u"writing"_s : u"removing"_s,
                                               target.isEmpty() ? u"nothing"_s : target);
}

QStringList listLines(const Folder& folder) {
    return store::splitLines(folder.value(kList));
}

QString key(WindowId window, const QString& box) {
    return objectNameOf(window) + u'/' + box;
}

QStringList prefixed(WindowId window, QStringList boxes) {
    for (QString& box : boxes) {
        box = key(window, box);
    }
    return boxes;
}

// Empty when every box of keys is empty.
QString emptied(const Typed& now, const QStringList& keys) {
    for (const QString& k : keys) {
        if (!now.value(k).isEmpty()) {
            return u"%1 still holds \"%2\""_s.arg(k, now.value(k));
        }
    }
    return QString();
}

QStringList ingredBoxes() {
    QStringList names{u"txtIName"_s,  u"txtIDirec"_s, u"txtICTemp"_s,
                      u"txtICSize"_s, u"txtICHr"_s,   u"txtICMin"_s};
    for (int n = 1; n <= 10; ++n) {
        names << u"txtIA%1"_s.arg(n) << u"txtIT%1"_s.arg(n) << u"txtIN%1"_s.arg(n);
    }
    return names;
}

}  // namespace

class CarelessUserTest : public QObject {
    Q_OBJECT

    // What one action may change, and what it must have done.
    struct Step {
        QString what;
        std::function<void()> act;
        // Typed boxes the action may change in any way.
        QStringList mayChange;
        // The folder's change: empty when allowed.
        std::function<QString(const Seen&)> files;
        // Whether an error report is the file system's doing.
        std::function<bool(const Seen&)> reportExpected;
        // Further checks once the action is done: empty when all is well.
        std::function<QString(const Seen&)> after;
    };

    std::optional<test::ScreenBench> bench_;
    QRandomGenerator random_;
    QStringList log_;
    // What the browser's display shows (category, file), and the shopping list
    // opened, as the user saw them.
    std::optional<std::pair<QString, QString>> recipeShown_;
    QString listOpened_;
    // The recipe the entry screen was filled from by Edit or last saved as, and its
    // bytes then: saving over it again needs no question while they are unchanged.
    struct Edited {
        QString path;
        QByteArray bytes;
    };
    std::optional<Edited> edited_;
    // The restarts, the error reports met by code and number, the steps that
    // changed files and the User errors.
    struct {
        int restarts = 0;
        QMap<QString, int> reports, changes;
        int userErrors = 0;
        // The questions Save and Edit asked, by the answer given.
        QMap<QString, int> answers;
    } tally_;

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
        return {
            test::screen<SetupWindow>(kSetup),          test::screen<RecipeEntryWindow>(kIngred),
            test::screen<RecipeBrowserWindow>(kRecipe), test::screen<ShoppingListWindow>(kShop),
            test::screen<MealPlanWindow>(kPlan),        test::screen<ScaleWindow>(kScale)};
    }
    void startAgain() {
        windows().reset();
        programErrors() = {};
        recipeShown_.reset();
        listOpened_.clear();
        edited_.reset();
        test::registerStandIns({WindowId::Main, WindowId::Error, WindowId::Calendar});
        for (const auto& [id, factory] : screens()) {
            windows().registerWindow(id, factory);
        }
        ++tally_.restarts;
    }

    Typed typed() const {
        Typed texts;
        for (const auto& [window, names] :
             {std::pair{kSetup, QStringList{u"txtSCreate"_s, u"txtSDel"_s}},
              std::pair{kIngred, ingredBoxes()},
              std::pair{kShop, QStringList{u"txtHList"_s, u"txtHName"_s}}}) {
            for (const QString& name : names) {
                if (auto* line = control<QLineEdit>(window, name)) {
                    texts.insert(key(window, name), line->text());
                } else if (auto* box = control<MultiLineBox>(window, name)) {
                    texts.insert(key(window, name), box->text());
                }
            }
        }
        return texts;
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
    // The mouse on a row, or Return on the current one.
    void openRow(QAbstractItemView* view, bool byMouse, int row) {
        if (byMouse) {
            clickRow(view, row);
        } else {
            view->setFocus();
            QTest::keyClick(view, Qt::Key_Return);
        }
    }

    // --- the steps ---

    static Step act(const QString& what, std::function<void()> act,
                    const QStringList& mayChange = {}) {
        return {what,      std::move(act),
                mayChange, [](const Seen& s) { return onlyChanged(s, QString(), false); },
                {},        {}};
    }
    // A button, and after a space the boxes it may change.
    Step press(WindowId window, const QString& button) {
        const QStringList words = button.split(u' ');
        return act(
            objectNameOf(window) + u' ' + words[0],
            [this, window, words] {
                QTest::mouseClick(control<QPushButton>(window, words[0]), Qt::LeftButton);
            },
            prefixed(window, words.mid(1)));
    }
    // Types into an enabled box, over what it holds when told so.
    Step typeIn(WindowId window, const QString& box, const QString& text, bool over) {
        const QString shown =
            QString(text).replace(u'\n', u"<Enter>"_s).replace(u'\b', u"<Backspace>"_s);
        return act(u"%1: type \"%2\" %3 %4"_s.arg(objectNameOf(window), shown,
                                                  over ? u"over"_s : u"into"_s, box),
                   [this, window, box, text, over] {
                       QWidget* target = control<QWidget>(window, box);
                       if (target->isEnabled() && over) {
                           static_cast<QLineEdit*>(target)->selectAll();
                           QTest::keyClick(target, Qt::Key_Backspace);
                       }
                       if (target->isEnabled()) {
                           typeInto(target, text);
                       }
                   },
                   {key(window, box)});
    }
    // A name over the box's text; some text into the box (any of the entry's when none).
    Step typeName(WindowId window, const QString& box) {
        static const QMap<QString, QStringList> names{
            {u"txtSCreate"_s,
             {u"Soups"_s, u"soups"_s, u"Pies"_s, u"Desserts"_s, u"Breads"_s, u"Cakes"_s, u"Gone"_s,
              u"Cr\u00e8me"_s, u"a/b"_s, u"\u0101"_s, u"Breads, Cakes"_s}},
            {u"txtIName"_s,
             {u"Stew"_s, u"stew"_s, u"Tart"_s, u"Apple"_s, u"x:y"_s,
              u"Cr\u00e8me br\u00fbl\u00e9e"_s, u"\u0101"_s, u""_s}},
            {u"txtHName"_s,
             {u"weekly"_s, u"Old"_s, u"old"_s, u"New list"_s, u"a*b"_s, u""_s, u"\u0101"_s}}};
        return typeIn(window, box, oneOf(names[box]), true);
    }
    Step typeText(WindowId window, const QString& any) {
        const QString box = any.isEmpty() ? oneOf(ingredBoxes()) : any;
        return typeIn(window, box, someText(box == u"txtIDirec"_s || box == u"txtHList"_s), false);
    }
    Step pickCategory(WindowId window, const QString& box) {
        return act(objectNameOf(window) + u": pick a category"_s, [this, window, box] {
            auto* combo = control<QComboBox>(window, box);
            if (combo->count() > 0 && chance(50)) {
                // Through the drop-down's list, as a click there does.
                const int index = below(combo->count());
                combo->setCurrentIndex(index);
                emit combo->activated(index);
            } else if (combo->count() > 0) {
                combo->setFocus();
                QTest::keyClick(combo, chance(70) ? Qt::Key_Down : Qt::Key_Up);
            }
        });
    }
    Step arrows(WindowId window, const QString& list) {
        return act(objectNameOf(window) + u": arrow keys in the file list"_s, [this, window, list] {
            auto* view = control<QAbstractItemView>(window, list);
            view->setFocus();
            for (int n = 1 + below(2); n > 0; --n) {
                QTest::keyClick(view, chance(50) ? Qt::Key_Down : Qt::Key_Up);
            }
        });
    }
    // New empties the boxes; the shopping list's forgets the list opened.
    Step pressNew(WindowId window, const QString& button) {
        const QStringList boxes =
            window == kIngred ? ingredBoxes() : QStringList{u"txtHList"_s, u"txtHName"_s};
        Step step = press(window, button + u' ' + boxes.join(u' '));
        step.after = [this, window, boxes](const Seen& s) {
            if (window == kShop) {
                listOpened_.clear();
            } else {
                edited_.reset();
            }
            return emptied(s.now, prefixed(window, boxes));
        };
        return step;
    }
    // A Save's change: only target written, its bytes as check wants them.
    static std::function<QString(const Seen&)> saved(
        const QString& target, const std::function<QString(const QByteArray&)>& check) {
        return [target, check](const Seen& s) {
            if (QString fault = onlyChanged(s, target, true);
                !fault.isEmpty() || s.before == s.after) {
                return fault;
            }
            return check(s.after.value(changedPaths(s.before, s.after).at(0)));
        };
    }

    Step show(WindowId window) {
        Step step = act(u"show "_s + objectNameOf(window), [window] { windows().show(window); });
        // The category choice holds through the showing, unless the category is gone.
        const QString box = window == kIngred ? u"cboIng"_s : u"cboRCat"_s;
        auto* combo = control<QComboBox>(window, box);
        if ((window != kIngred && window != kRecipe) || !combo || combo->currentIndex() < 0) {
            return step;
        }
        step.after = [this, window, box, chosen = combo->currentText()](const Seen& s) {
            const bool listed = s.after.contains(kList) &&
                                store::parseFieldList(s.after.value(kList)).contains(chosen);
            const QString expected = listed ? chosen : QString();
            auto* combo = control<QComboBox>(window, box);
            const QString now = combo->currentIndex() >= 0 ? combo->currentText() : QString();
            if (now != expected) {
                return u"the category choice is \"%1\", not \"%2\""_s.arg(now, expected);
            }
            if (window == kRecipe && !listed &&
                !control<QLineEdit>(kRecipe, u"txtRName"_s)->text().isEmpty()) {
                return u"the browser still shows a recipe of a category that is gone"_s;
            }
            return QString();
        };
        return step;
    }

    Step clickCategory(WindowId, const QString&) {
        return act(
            u"setup: click a category"_s,
            [this] {
                auto* list = control<QListWidget>(kSetup, u"lswSetup"_s);
                clickRow(list, someRow(list));
            },
            prefixed(kSetup, {u"txtSDel"_s}));
    }
    Step createCategory(WindowId, const QString&) {
        const QString name = control<QLineEdit>(kSetup, u"txtSCreate"_s)->text();
        Step step = press(kSetup, u"cmdSCreate txtSCreate"_s);
        step.what = u"setup: Create \"%1\""_s.arg(name);
        step.files = [name](const Seen& s) {
            const QStringList changed = changedPaths(s.before, s.after);
            const QString folder = u"Category/"_s + name + u'/';
            if (changed.isEmpty()) {
                return QString();
            }
            if (changed != QStringList{kList, folder} && changed != QStringList{folder, kList}) {
                return u"Create changed %1"_s.arg(changed.join(u", "_s));
            }
            return listLines(s.after) == listLines(s.before) + QStringList{name}
                       ? QString()
                       : u"Create did not append \"%1\" to the list"_s.arg(name);
        };
        return step;
    }
    Step deleteCategory(WindowId, const QString&) {
        auto* box = control<QLineEdit>(kSetup, u"txtSDel"_s);
        const QString name = box->isEnabled() ? box->text() : QString();
        Step step = press(kSetup, u"cmdSDel"_s);
        step.what = u"setup: Delete \"%1\""_s.arg(name);
        step.files = [name](const Seen& s) {
            // The list loses the name's lines; the folder goes with all it holds.
            const QString folder = u"Category/"_s + name + u'/';
            const QStringList changed = changedPaths(s.before, s.after);
            for (const QString& path : changed) {
                const bool inFolder = path.startsWith(folder, Qt::CaseInsensitive);
                if (name.isEmpty() || !(path == kList || (inFolder && !s.after.contains(path)))) {
                    return u"Delete of \"%1\" changed %2"_s.arg(name, path);
                }
            }
            QStringList kept = listLines(s.before);
            kept.removeIf([&](const QString& line) { return samePath(line, name); });
            if (changed.contains(kList) && listLines(s.after) != kept) {
                return u"Delete of \"%1\" left the list %2"_s.arg(name,
                                                                  listLines(s.after).join(u'|'));
            }
            return QString();
        };
        // Deleting a category without a folder ends in the report.
        step.reportExpected = [name](const Seen& s) {
            return !has(s.before, u"Category/"_s + name + u'/');
        };
        return step;
    }
    // Save; the question before a replacement answered at random. Only the target is
    // written, or under Keep both the next free name beside it; a recipe there is replaced
    // without a question only when it is the one being edited, unchanged since.
    Step saveRecipe(WindowId, const QString&) {
        const QString category = control<QComboBox>(kIngred, u"cboIng"_s)->currentText();
        const QString name = control<QLineEdit>(kIngred, u"txtIName"_s)->text();
        const store::RecipeFields fields =
            qobject_cast<RecipeEntryWindow*>(windows().loaded(kIngred))->fields();
        const QString target = u"Category/"_s + category + u'/' + name;
        struct Asked {
            int buttons = 0;  // 0: no question
            int answer = -1;
        };
        auto asked = std::make_shared<Asked>();
        Step step = press(kIngred, u"cmdISave txtIName"_s);
        step.what = u"entry: Save \"%1\" in \"%2\""_s.arg(name, category);
        step.act = [this, asked] {
            bench_->messages.onShow = [this, asked](const test::RecordingMessages::Shown& m) {
                if (!m.buttons.isEmpty()) {
                    asked->buttons = int(m.buttons.size());
                    asked->answer = below(asked->buttons);
                    bench_->messages.answers.prepend(asked->answer);
                    log_ << u"    answered %1"_s.arg(m.buttons.value(asked->answer));
                    ++tally_.answers[m.buttons.value(asked->answer).remove(u'*')];
                }
            };
            QTest::mouseClick(control<QPushButton>(kIngred, u"cmdISave"_s), Qt::LeftButton);
            bench_->messages.onShow = nullptr;
        };
        step.files = [this, target, fields, asked](const Seen& s) {
            const QStringList changed = changedPaths(s.before, s.after);
            if (changed.isEmpty()) {
                return QString();
            }
            const QString path = changed.at(0);
            const bool keptBoth = asked->buttons == 3 && asked->answer == 1;
            const bool cancelled = asked->buttons > 0 && asked->answer == asked->buttons - 1;
            const QString folder = target.left(target.lastIndexOf(u'/') + 1);
            const bool where =
                keptBoth ? !s.before.contains(path) && samePath(path.left(folder.size()), folder) &&
                               QRegularExpression(
                                   u"^"_s + QRegularExpression::escape(target.mid(folder.size())) +
                                       u" \\((\\d+)\\)$"_s,
                                   QRegularExpression::CaseInsensitiveOption)
                                   .match(path.mid(folder.size()))
                                   .hasMatch()
                         : samePath(path, target);
            if (changed.size() != 1 || cancelled || !where || !s.after.contains(path)) {
                return u"changed %1 (asked: %2 buttons, answer %3), not only %4"_s.arg(
                    changed.join(u", "_s), QString::number(asked->buttons),
                    QString::number(asked->answer), keptBoth ? target + u" (n)"_s : target);
            }
            if (s.before.contains(path) && asked->buttons == 0 &&
                !(edited_ && samePath(edited_->path, path) &&
                  edited_->bytes == s.before.value(path))) {
                return u"%1 was replaced without a question"_s.arg(path);
            }
            auto read = store::parseRecipeRecord(s.after.value(path));
            if (!read) {
                return u"Save wrote an unreadable %1"_s.arg(path);
            }
            for (int i = 0; i < store::kRecipeFieldCount; ++i) {
                // A double quote comes back as a look-alike; all else as typed.
                if (!fields[i].contains(u'"') && read.value()[i] != fields[i]) {
                    return u"field %1 of %2 came back as \"%3\", typed \"%4\""_s.arg(
                        QString::number(i + 1), path, read.value()[i], fields[i]);
                }
            }
            if (s.after.contains(path)) {
                edited_ = Edited{path, s.after.value(path)};
            } else {
                edited_.reset();
            }
            return QString();
        };
        return step;
    }
    // Edit on the browser: the entry screen then holds the recipe shown, exactly as its
    // file; asked about text not saved there, the user answers at random.
    Step editRecipe(WindowId, const QString&) {
        auto answered = std::make_shared<int>(0);
        // What the display shows, its file perhaps gone since.
        const auto* browser = qobject_cast<RecipeBrowserWindow*>(windows().loaded(kRecipe));
        const std::optional<std::pair<QString, QString>> shown =
            browser && !browser->shownFile().isEmpty()
                ? std::optional(std::pair(browser->shownCategory(), browser->shownFile()))
                : std::nullopt;
        Step step = act(
            u"browser: Edit... (showing %1)"_s.arg(shown ? shown->first + u'/' + shown->second
                                                         : u"nothing"_s),
            [this, answered] {
                bench_->messages.onShow = [this,
                                           answered](const test::RecordingMessages::Shown& m) {
                    if (m.title == u"User error"_s) {
                        *answered = -1;  // told why not: nothing is filled
                    } else if (m.flags == (msg::kYesNo | msg::kQuestion)) {
                        *answered = chance(50) ? msg::kResultYes : msg::kResultNo;
                        bench_->messages.answers.prepend(*answered);
                        ++tally_.answers[*answered == msg::kResultYes ? u"Edit: Yes"_s
                                                                      : u"Edit: No"_s];
                    }
                };
                control<ScreenMenuBar>(kRecipe, u"SMXPR"_s)
                    ->actionFor(u"keyEditRecipe"_s)
                    ->trigger();
                bench_->messages.onShow = nullptr;
            },
            prefixed(kIngred, ingredBoxes()));
        step.after = [this, answered, shown](const Seen& s) {
            auto* entry = qobject_cast<RecipeEntryWindow*>(windows().loaded(kIngred));
            const QString path =
                shown ? u"Category/"_s + shown->first + u'/' + shown->second : QString();
            const bool filled = shown && *answered != msg::kResultNo && *answered >= 0 && entry &&
                                entry->editing() == shown;
            if (!filled) {
                for (const QString& box : prefixed(kIngred, ingredBoxes())) {
                    if (s.was.value(box) != s.now.value(box)) {
                        return u"Edit filled nothing, yet %1 changed"_s.arg(box);
                    }
                }
                return QString();
            }
            // A file gone since it was shown opens as it was shown.
            auto read = store::parseRecipeRecord(s.after.value(path));
            if (s.after.contains(path) && read && entry->fields() != read.value()) {
                return u"Edit did not put %1 into the boxes as stored"_s.arg(path);
            }
            if (s.now.value(key(kIngred, u"txtIName"_s)) != shown->second) {
                return u"Edit put \"%1\" into the name box"_s.arg(
                    s.now.value(key(kIngred, u"txtIName"_s)));
            }
            if (s.after.contains(path)) {
                edited_ = Edited{path, s.after.value(path)};
            } else {
                edited_.reset();
            }
            return QString();
        };
        return step;
    }
    // A click in the file list ("mouse"), or Enter on its current row.
    Step openRecipe(WindowId, const QString& how) {
        const bool byMouse = how == u"mouse"_s;
        auto* files = control<QListView>(kRecipe, u"lswRFile"_s);
        const QString category = control<QComboBox>(kRecipe, u"cboRCat"_s)->currentText();
        Step step =
            act(byMouse ? u"browser: click in the file list"_s
                        : u"browser: Enter on the current file"_s,
                [this, files, byMouse] { openRow(files, byMouse, byMouse ? someRow(files) : -1); });
        // The display names the file it shows, one of the list; the user knows
        // the category it came from.
        step.after = [this, category, files](const Seen&) {
            const QString name = control<QLineEdit>(kRecipe, u"txtRName"_s)->text();
            if (!name.isEmpty() && !files->model()
                                        ->match(files->model()->index(0, 0), Qt::DisplayRole, name,
                                                1, Qt::MatchExactly)
                                        .isEmpty()) {
                recipeShown_ = std::pair(category, name);
            }
            return QString();
        };
        // A recipe listed but gone since is the file system's.
        step.reportExpected = [category, files](const Seen& s) {
            const QString folder = u"Category/"_s + category + u'/';
            return has(s.before, folder) &&
                   !has(s.before, folder + files->currentIndex().data().toString());
        };
        return step;
    }
    Step tickDelete(WindowId, const QString&) {
        const QString shown =
            recipeShown_ ? recipeShown_->first + u'/' + recipeShown_->second : QString();
        const QString target = shown.isEmpty() ? QString() : u"Category/"_s + shown;
        auto* box = control<QCheckBox>(kRecipe, u"chkRDel"_s);
        const bool enabled = box->isEnabled();
        Step step =
            act(u"browser: tick Delete this file? (%1, showing %2)"_s.arg(
                    enabled ? u"enabled"_s : u"disabled"_s, shown.isEmpty() ? u"nothing"_s : shown),
                [box] { QTest::mouseClick(box, Qt::LeftButton); });
        step.files = [target](const Seen& s) { return onlyChanged(s, target, false); };
        step.reportExpected = [target](const Seen& s) {
            return !target.isEmpty() && !has(s.before, target);
        };
        step.after = [this, target, enabled](const Seen& s) {
            if (enabled && !target.isEmpty() && has(s.before, target) && has(s.after, target)) {
                return u"the enabled delete box left %1"_s.arg(target);
            }
            if (!has(s.after, target)) {
                recipeShown_.reset();
            }
            return QString();
        };
        return step;
    }
    // A click in the file list ("mouse"), or Enter on the row picked.
    Step openList(WindowId, const QString& how) {
        const bool byMouse = how == u"mouse"_s;
        auto* files = control<QListWidget>(kShop, u"lswHOpen"_s);
        const int row = byMouse ? someRow(files) : -1;
        const QListWidgetItem* target =
            byMouse ? files->item(row)
                    : (files->selectedItems().isEmpty() ? nullptr : files->selectedItems()[0]);
        const QString file = target ? target->text() : QString();
        Step step = act(
            byMouse ? u"shop: click \"%1\" in the file list"_s.arg(file)
                    : u"shop: Enter in the file list (on \"%1\")"_s.arg(file),
            [this, files, byMouse, row] { openRow(files, byMouse, row); },
            prefixed(kShop, {u"txtHList"_s}));
        step.reportExpected = [file](const Seen& s) {
            return !file.isEmpty() && !has(s.before, u"Shopping List/"_s + file);
        };
        step.after = [this, file, list = key(kShop, u"txtHList"_s)](const Seen& s) {
            if (file.isEmpty()) {
                return s.was.value(list) == s.now.value(list)
                           ? QString()
                           : u"a click beside the names replaced the typed list \"%1\" by "
                             u"\"%2\""_s.arg(s.was.value(list), s.now.value(list));
            }
            QByteArray bytes = s.after.value(u"Shopping List/"_s + file);
            if (bytes.endsWith("\r\n")) {
                bytes.chop(2);
            }
            if (store::decodeCp1252(bytes) != s.now.value(list)) {
                return u"Open of %1 shows other text"_s.arg(file);
            }
            listOpened_ = file;
            return QString();
        };
        return step;
    }
    Step saveList(WindowId, const QString&) {
        const QString name = control<QLineEdit>(kShop, u"txtHName"_s)->text();
        const QString text = control<MultiLineBox>(kShop, u"txtHList"_s)->text();
        const QString target = u"Shopping List/"_s + name + u".txt"_s;
        Step step = press(kShop, u"cmdHSave"_s);
        step.what = u"shop: Save as \"%1\""_s.arg(name);
        step.files = saved(target, [target, text](const QByteArray& bytes) {
            return bytes == store::encodeCp1252(text) + "\r\n"
                       ? QString()
                       : u"Save wrote other bytes into %1"_s.arg(target);
        });
        return step;
    }
    Step deleteList(WindowId, const QString&) {
        const QString target =
            listOpened_.isEmpty() ? QString() : u"Shopping List/"_s + listOpened_;
        Step step = press(kShop, u"cmdHDel txtHList txtHName"_s);
        step.what = u"shop: Delete (opened: \"%1\")"_s.arg(listOpened_);
        step.files = [target](const Seen& s) {
            return onlyChanged(s, target, false, Qt::CaseSensitive);
        };
        step.reportExpected = [target](const Seen& s) {
            return !target.isEmpty() && !s.before.contains(target);
        };
        step.after = [this, target](const Seen& s) {
            if (target.isEmpty() || !s.before.contains(target) || s.after.contains(target)) {
                return s.was == s.now ? QString()
                                      : u"Delete deleted nothing, yet the typed text changed"_s;
            }
            listOpened_.clear();
            return emptied(s.now, {key(kShop, u"txtHList"_s)});
        };
        return step;
    }

    // What the user may do on each screen: one draw below 100 takes the first
    // move whose bound lies above it.
    struct Move {
        int bound;
        Step (CarelessUserTest::*make)(WindowId, const QString&);
        QString control;
    };
    // --- the meal plan and scaling ---

    // Scaling asks in a window of its own, which the others wait for.
    Step scaleStep() {
        const int how = below(4);
        const int servings = 1 + below(20);
        return act(
            u"scale: %1"_s
                .arg(QStringList{u"type %1, Enter"_s, u"type %1, OK"_s, u"Cancel"_s,
                                 u"Escape"_s}[how])
                .arg(servings),
            [this, how, servings] {
                auto* box = control<QSpinBox>(kScale, u"spnScServ"_s);
                box->setFocus();
                box->selectAll();
                if (how < 2) {
                    typeInto(box, QString::number(servings));
                }
                if (how == 0) {
                    QTest::keyClick(box, Qt::Key_Return);
                } else if (how == 3) {
                    QTest::keyClick(box, Qt::Key_Escape);
                } else {
                    QTest::mouseClick(
                        control<QPushButton>(kScale, how == 1 ? u"cmdScOK"_s : u"cmdScCancel"_s),
                        Qt::LeftButton);
                }
            });
    }
    Step menu(WindowId window, const QString& bar, const QString& key) {
        return act(objectNameOf(window) + u": menu "_s + key, [this, window, bar, key] {
            control<ScreenMenuBar>(window, bar)->actionFor(key)->trigger();
        });
    }
    // Only the week's file changes, and it holds nothing the plan cannot read.
    std::function<QString(const Seen&)> planFiles() {
        return [](const Seen& s) {
            const auto* plan = windows().loadedAs<MealPlanWindow>(kPlan);
            for (const QString& path : changedPaths(s.before, s.after)) {
                if (path == u"Meal Plan/"_s) {
                    continue;  // made by the first recipe planned
                }
                if (path != u"Meal Plan/"_s + store::mealPlanFileName(plan->monday())) {
                    return u"the meal plan changed %1"_s.arg(path);
                }
                if (s.after.contains(path) &&
                    !store::parseMealPlan(s.after.value(path), plan->monday())
                         .unreadable.isEmpty()) {
                    return u"the meal plan wrote lines it cannot read into %1"_s.arg(path);
                }
            }
            return QString();
        };
    }
    Step planStep() {
        auto* tree = control<QTreeWidget>(kPlan, u"lswMDays"_s);
        const auto button = [this](const QString& name) {
            return [this, name] {
                QTest::mouseClick(control<QPushButton>(kPlan, name), Qt::LeftButton);
            };
        };
        const auto combo = [this](const QString& name) {
            return [this, name] {
                auto* box = control<QComboBox>(kPlan, name);
                if (box->count() > 0) {
                    const int index = below(box->count());
                    box->setCurrentIndex(index);
                    emit box->activated(index);
                }
            };
        };
        switch (below(16)) {
            case 0:
                return act(u"plan: pick a day"_s, combo(u"cboMDay"_s));
            case 1:
            case 2:
                return act(u"plan: pick a category"_s, combo(u"cboMCat"_s));
            case 3:
                return act(u"plan: pick a recipe"_s, combo(u"cboMRecipe"_s));
            case 4:
                return act(u"plan: servings"_s, [this] {
                    control<QSpinBox>(kPlan, chance(50) ? u"spnMServ"_s : u"spnMChange"_s)
                        ->setValue(1 + below(12));
                });
            case 5:
            case 6:
                return act(u"plan: click a row"_s, [this, tree] {
                    QList<QTreeWidgetItem*> rows;
                    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
                        rows << *it;
                    }
                    tree->setFocus();
                    tree->setCurrentItem(rows.value(below(int(rows.size()))));
                });
            case 7:
                return act(u"plan: Space on the current row"_s, [tree] {
                    tree->setFocus();
                    QTest::keyClick(tree, Qt::Key_Space);
                });
            case 8: {
                const QString name =
                    QStringList{u"cmdMPrev"_s, u"cmdMNext"_s, u"cmdMToday"_s}[below(3)];
                return act(u"plan: "_s + name, button(name));
            }
            case 9:
            case 10:
            case 11: {
                const QString name = QStringList{u"cmdMAdd"_s, u"cmdMRemove"_s, u"cmdMChange"_s,
                                                 u"Delete"_s}[below(4)];
                Step step = act(u"plan: "_s + name, [tree, name, button] {
                    if (name == u"Delete"_s) {
                        tree->setFocus();
                        QTest::keyClick(tree, Qt::Key_Delete);
                    } else {
                        button(name)();
                    }
                });
                step.files = planFiles();
                return step;
            }
            case 12: {
                // Appended to the list being typed, never in place of it.
                const QString list = key(kShop, u"txtHList"_s);
                Step step = act(u"plan: Make shopping list"_s, button(u"cmdMList"_s), {list});
                step.after = [list](const Seen& s) {
                    return s.now.value(list).startsWith(s.was.value(list))
                               ? QString()
                               : u"the shopping list lost \"%1\""_s.arg(s.was.value(list));
                };
                return step;
            }
            case 13:
            case 14: {
                Step step = act(u"plan: show the planned recipe"_s, [this, tree] {
                    tree->setFocus();
                    QTest::keyClick(tree, chance(50) ? Qt::Key_Return : Qt::Key_Enter);
                });
                // What the browser shows now is what its delete box would delete.
                step.after = [this](const Seen&) {
                    const auto* browser = windows().loadedAs<RecipeBrowserWindow>(kRecipe);
                    if (browser && !browser->shownFile().isEmpty()) {
                        recipeShown_ = std::pair(browser->shownCategory(), browser->shownFile());
                    }
                    return QString();
                };
                return step;
            }
            default:
                return act(u"plan: Close"_s, button(u"cmdMClose"_s));
        }
    }
    // One of the moves above, when its window is up; none otherwise.
    std::optional<Step> mealPlanMove() {
        if (visible(kScale)) {
            return scaleStep();
        }
        if (visible(kRecipe) && chance(4)) {
            return menu(kRecipe, u"SMXPR"_s, chance(60) ? u"keyScale"_s : u"keyAddToPlan"_s);
        }
        if (visible(kShop) && chance(2)) {
            return menu(kShop, u"SMXPH"_s, u"keyMealPlan"_s);
        }
        if (visible(kPlan) && chance(40)) {
            return planStep();
        }
        return std::nullopt;
    }

    Step nextStep() {
        if (std::optional<Step> step = mealPlanMove()) {
            return *step;
        }
        const QList<WindowId> all{kSetup, kIngred, kRecipe, kShop};
        QList<WindowId> shown;
        std::copy_if(all.begin(), all.end(), std::back_inserter(shown),
                     [this](WindowId window) { return visible(window); });
        if (shown.isEmpty() || chance(8)) {
            return show(oneOf(all));
        }
        const WindowId window = oneOf(shown);
        using Self = CarelessUserTest;
        static const QMap<WindowId, QList<Move>> moves{
            {kSetup,
             {{20, &Self::typeName, u"txtSCreate"_s},
              {35, &Self::createCategory, {}},
              {50, &Self::clickCategory, {}},
              {53, &Self::typeText, u"txtSDel"_s},
              {60, &Self::deleteCategory, {}},
              {75, &Self::press, u"cmdSCCancel txtSCreate"_s},
              {90, &Self::press, u"cmdSDelCancel txtSDel"_s},
              {100, &Self::press, u"cmdSMain"_s}}},
            {kIngred,
             {{10, &Self::typeName, u"txtIName"_s},
              {40, &Self::typeText, {}},
              {55, &Self::pickCategory, u"cboIng"_s},
              {62, &Self::pressNew, u"cmdINew"_s},
              {90, &Self::saveRecipe, {}},
              {100, &Self::press, u"cmdIMain"_s}}},
            {kRecipe,
             {{20, &Self::pickCategory, u"cboRCat"_s},
              {50, &Self::openRecipe, u"mouse"_s},
              {60, &Self::openRecipe, {}},
              {68, &Self::arrows, u"lswRFile"_s},
              {85, &Self::tickDelete, {}},
              {90, &Self::editRecipe, {}},
              {95, &Self::press, u"cmdRNew"_s},
              {100, &Self::press, u"cmdRMain"_s}}},
            {kShop,
             {{25, &Self::typeText, u"txtHList"_s},
              {35, &Self::typeName, u"txtHName"_s},
              {48, &Self::openList, u"mouse"_s},
              {55, &Self::openList, {}},
              {62, &Self::arrows, u"lswHOpen"_s},
              {70, &Self::pressNew, u"cmdHNew"_s},
              {85, &Self::saveList, {}},
              {95, &Self::deleteList, {}},
              {100, &Self::press, u"cmdHMain"_s}}}};
        const int pick = below(100);
        const QList<Move> onScreen = moves.value(window);
        const Move& move = *std::find_if(onScreen.begin(), onScreen.end(),
                                         [pick](const Move& m) { return pick < m.bound; });
        return (this->*move.make)(window, move.control);
    }
    // Runs one step and returns what went wrong, if anything.
    QString run(Step& step) {
        Seen s{snapshot(bench_->app.path()), {}, typed(), {}};
        const qsizetype messagesBefore = bench_->messages.shown.size();
        step.act();
        QCoreApplication::processEvents();
        s.after = snapshot(bench_->app.path());
        s.now = typed();
        if (s.before != s.after) {
            ++tally_.changes[step.what.section(u' ', 0, 1)];
        }
        for (const auto& message : bench_->messages.shown.mid(messagesBefore)) {
            log_ << u"    message \"%1\": %2"_s.arg(message.title,
                                                    QString(message.text).replace(u'\r', u'|'));
            tally_.userErrors += message.title == u"User error"_s;
            if (message.text == noCategoryText() && s.before.contains(kList)) {
                return u"the category notice, with a category list there"_s;
            }
        }
        if (const QString files = step.files(s); !files.isEmpty()) {
            return files;
        }
        if (visible(WindowId::Error)) {
            const ProgramErrors& errors = programErrors();
            const QString report = errors.errorLocation + errors.errorNumberText;
            if (!step.reportExpected || !step.reportExpected(s)) {
                return u"the error report \"%1\" (%2)"_s.arg(report, errors.errorDescription);
            }
            log_ << u"    error report \"%1\": the file system's, the program starts again"_s.arg(
                report);
            ++tally_.reports[report];
            startAgain();
            return QString();
        }
        for (auto it = s.was.cbegin(); it != s.was.cend(); ++it) {
            if (s.now.contains(it.key()) && s.now.value(it.key()) != it.value() &&
                !step.mayChange.contains(it.key())) {
                return u"typed text changed in %1: \"%2\" became \"%3\""_s.arg(
                    it.key(), it.value(), s.now.value(it.key()));
            }
        }
        const QString fault = step.after ? step.after(s) : QString();
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
        bench_.emplace(screens());
        startAgain();
        tally_ = {};
        // Categories, one listed without a folder and one holding a comma.
        for (const QString& folder : {u"Soups"_s, u"Pies"_s, u"Breads, Cakes"_s}) {
            QVERIFY(bench_->app.mkdir(u"Category/"_s + folder));
        }
        for (const auto& [path, bytes] :
             {std::pair{kList, QByteArray("Soups\r\nPies\r\nBreads, Cakes\r\nGone\r\n")},
              std::pair{u"Category/Soups/Stew"_s,
                        test::record({{21, "beef"}, {31, "Brown.\r\nStew."}})},
              std::pair{u"Category/Soups/borscht.txt"_s, test::record({{21, "beets"}})},
              std::pair{u"Category/Pies/Apple"_s, test::record({{21, "apples"}})},
              std::pair{u"Shopping List/weekly.txt"_s, QByteArray("milk\r\neggs\r\n")},
              std::pair{u"Shopping List/Old.txt"_s, QByteArray("tea\r\n")}}) {
            QVERIFY(bench_->app.write(path, bytes));
        }
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
            "file system (%s); questions answered %s",
            seed, steps, qPrintable(counts(tally_.changes)), tally_.userErrors, tally_.restarts,
            qPrintable(counts(tally_.reports)), qPrintable(counts(tally_.answers)));
    }
};

QTEST_MAIN(CarelessUserTest)
#include "tst_carelessuser.moc"
