#include "busy.h"
#include "errorstate.h"
#include "hoverhints.h"
#include "setupscreen.h"
#include "testsupport.h"
#include "windowregistry.h"

#include <QDir>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace pv;

namespace {

class PlainWindow : public PvWindow {};

const QString kExists = QStringLiteral(
    "This category already exists! You MUST\rdelete it first and then re-enter the category.");

void moveOver(QWidget* widget, QPoint pos = QPoint(3, 3)) {
    QTest::mouseMove(widget, pos);
    QCoreApplication::processEvents();
}

}  // namespace

class SetupScreenTest : public QObject {
    Q_OBJECT

    std::unique_ptr<test::TempAppFolder> app_;
    std::unique_ptr<test::RecordingMessages> messages_;
    QPointer<SetupScreen> screen_;

    template <typename T>
    T* control(const char* name) const {
        T* found = screen_ ? screen_->findChild<T*>(QLatin1String(name)) : nullptr;
        if (!found) {
            qFatal("no control %s", name);
        }
        return found;
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    QPushButton* button(const char* name) const { return control<QPushButton>(name); }
    QListWidget* list() const { return control<QListWidget>("lswSetup"); }

    SetupScreen* open() {
        screen_ = qobject_cast<SetupScreen*>(windows().show(QStringLiteral("frmSetup")));
        if (screen_ && screen_->isVisible() && !QTest::qWaitForWindowActive(screen_)) {
            return nullptr;
        }
        return screen_;
    }
    QStringList items() const {
        QStringList names;
        for (int row = 0; row < list()->count(); ++row) {
            names << list()->item(row)->text();
        }
        return names;
    }
    void clickItem(const QString& name) {
        const auto found = list()->findItems(name, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        const QRect rect = list()->visualItemRect(found.first());
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, rect.center());
    }
    void type(const char* boxName, const QString& text) {
        QLineEdit* edit = box(boxName);
        edit->setFocus();
        for (const QChar ch : text) {
            if (ch.unicode() < 0x80) {
                QTest::keyClick(edit, ch.toLatin1());
            } else {
                // Typed through an input method: a key event that carries only text.
                QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(ch), {});
                QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(ch), {});
            }
        }
    }
    QByteArray listBytes() const { return app_->read(QStringLiteral("Category/category.txt")); }
    bool categoryFolder(const QString& name) const {
        return QFileInfo(app_->file(QStringLiteral("Category/") + name)).isDir();
    }
    void makeCategories(const QStringList& names) {
        QByteArray bytes;
        for (const QString& name : names) {
            QVERIFY(QDir(app_->file(QStringLiteral("Category"))).mkdir(name));
            bytes += name.toLatin1() + "\r\n";
        }
        QVERIFY(app_->write(QStringLiteral("Category/category.txt"), bytes));
    }
    bool inCreateMode() const {
        const bool create = box("txtSCreate")->isEnabled() && button("cmdSCreate")->isEnabled() &&
                            button("cmdSCCancel")->isEnabled() &&
                            control<QLabel>("lblSCreate")->isEnabled();
        const bool del = box("txtSDel")->isEnabled() && button("cmdSDel")->isEnabled() &&
                         button("cmdSDelCancel")->isEnabled() &&
                         control<QLabel>("lblSDel")->isEnabled();
        if (create == del) {
            qWarning("both groups %s", create ? "enabled" : "disabled");
        }
        return create && !del && screen_->inCreateMode();
    }
    bool inDeleteMode() const {
        return !box("txtSCreate")->isEnabled() && !button("cmdSCreate")->isEnabled() &&
               !button("cmdSCCancel")->isEnabled() && !control<QLabel>("lblSCreate")->isEnabled() &&
               box("txtSDel")->isEnabled() && button("cmdSDel")->isEnabled() &&
               button("cmdSDelCancel")->isEnabled() && control<QLabel>("lblSDel")->isEnabled() &&
               !screen_->inCreateMode();
    }
    bool reported(const QString& code) const {
        PvWindow* report = windows().loaded(QStringLiteral("frmError"));
        return programErrors().ErrorLocation == code && report && report->isVisible() &&
               !screen_->isVisible();
    }

private slots:
    void init() {
        app_ = std::make_unique<test::TempAppFolder>();
        messages_ = std::make_unique<test::RecordingMessages>();
        programErrors() = {};
        windows().registerWindow(QStringLiteral("frmSetup"), [] { return new SetupScreen; });
        windows().registerWindow(QStringLiteral("frmMain"), [] { return new PlainWindow; });
        // A stand-in: these tests look at what the failing handler recorded.
        windows().registerWindow(QStringLiteral("frmError"), [] { return new PlainWindow; });
    }
    void cleanup() {
        windows().reset();
        setDefaultPointer();
        messages_.reset();
        app_.reset();
    }

    void designedLook() {
        QVERIFY(open());
        QCOMPARE(screen_->objectName(), QStringLiteral("frmSetup"));
        QCOMPARE(screen_->windowTitle(), QStringLiteral("Program setup"));
        // Designed 852 x 282; a font wider than Tahoma may lengthen it.
        QCOMPARE(screen_->width(), 852);
        QVERIFY(screen_->height() >= 282);
        QCOMPARE(screen_->font().family(), QStringLiteral("Tahoma"));

        const struct {
            const char* name;
            const char* caption;
            QRect rect;
        } captions[] = {
            {"lblSMsg1", "Enter the name in the box and click the 'create' button.",
             QRect(16, 32, 87, 53)},
            {"lblSMsg2",
             "Click on the name in the 'current categories' box and click the delete button. "
             "THIS WILL DELETE ALL RECIPES IN THE SELECTED CATEGORY",
             QRect(16, 104, 89, 121)},
            {"lblSCreate", "Create new category:", QRect(8, 24, 106, 13)},
            {"lblSCurrent", "(current categories)", QRect(240, 24, 96, 13)},
            {"lblSDel", "Delete category:", QRect(480, 24, 81, 13)},
        };
        for (const auto& row : captions) {
            QLabel* label = control<QLabel>(row.name);
            QCOMPARE(label->text(), QLatin1String(row.caption));
            QCOMPARE(label->pos(), row.rect.topLeft());
            QVERIFY(label->width() >= row.rect.width());
            QVERIFY(label->height() >= row.rect.height());
            // Nothing is cut off, whatever font stands in for Tahoma.
            if (label->wordWrap()) {
                QVERIFY(label->heightForWidth(label->width()) <= label->height());
            } else {
                QVERIFY(label->width() >= label->sizeHint().width());
            }
            QVERIFY(label->parentWidget()->rect().contains(label->geometry()));
        }
        auto* panel = control<QFrame>("shaSPanel");
        QCOMPARE(panel->pos(), QPoint(8, 16));
        for (const char* hint : {"lblSMsg1", "lblSMsg2"}) {
            QVERIFY(panel->geometry().contains(control<QLabel>(hint)->geometry()));
        }
        QVERIFY(control<QLabel>("lblSMsg1")->geometry().bottom() <
                control<QLabel>("lblSMsg2")->geometry().top());
        QVERIFY(control<QLabel>("lblSCreate")->geometry().right() < list()->x());
        QVERIFY(control<QLabel>("lblSCurrent")->geometry().right() < box("txtSDel")->x());
        for (const char* hint : {"lblSMsg1", "lblSMsg2"}) {
            QVERIFY(control<QLabel>(hint)->wordWrap());
            QCOMPARE(HoverHints::colourOf(control<QLabel>(hint)), HoverHints::unlitColour());
        }
        auto* frame = control<QGroupBox>("fraSCategory");
        QCOMPARE(frame->title(), QStringLiteral("Categories:"));
        QCOMPARE(frame->pos(), QPoint(136, 16));
        QCOMPARE(frame->width(), 689);
        QCOMPARE(frame->height(), panel->height());
        QVERIFY(screen_->rect().contains(frame->geometry()));

        const struct {
            const char* name;
            const char* caption;
            QRect rect;
        } buttons[] = {
            {"cmdSCreate", "Create", QRect(8, 8, 65, 25)},
            {"cmdSCCancel", "Cancel", QRect(8, 40, 65, 25)},
            {"cmdSDel", "Delete", QRect(8, 0, 65, 25)},
            {"cmdSDelCancel", "Cancel", QRect(8, 32, 65, 25)},
            {"cmdSMain", "Main", QRect(760, 248 + panel->height() - 217, 65, 25)},
        };
        for (const auto& row : buttons) {
            QCOMPARE(button(row.name)->text(), QLatin1String(row.caption));
            QCOMPARE(button(row.name)->geometry(), row.rect);
            QVERIFY(screen_->rect().contains(button(row.name)->mapTo(screen_, QPoint(64, 24))));
            QCOMPARE(button(row.name)->accessibleName(), QLatin1String(row.caption));
        }
        QCOMPARE(button("cmdSCreate")->parentWidget()->geometry(), QRect(128, 72, 81, 73));
        QCOMPARE(button("cmdSDel")->parentWidget()->geometry(), QRect(600, 80, 73, 73));
        QCOMPARE(button("cmdSDel")->parentWidget()->parentWidget(), frame);

        QCOMPARE(box("txtSCreate")->geometry(), QRect(8, 40, 193, 19));
        QCOMPARE(box("txtSDel")->geometry(), QRect(480, 40, 193, 19));
        QCOMPARE(list()->geometry(), QRect(240, 40, 201, 161));
        for (const char* name : {"txtSCreate", "txtSDel"}) {
            QCOMPARE(box(name)->maxLength(), 35);
        }
        QCOMPARE(control<QLabel>("lblSCreate")->buddy(), box("txtSCreate"));
        QCOMPARE(control<QLabel>("lblSDel")->buddy(), box("txtSDel"));
        QCOMPARE(control<QLabel>("lblSCurrent")->buddy(), list());
        QCOMPARE(box("txtSCreate")->accessibleName(), QStringLiteral("Create new category:"));
        QCOMPARE(box("txtSDel")->accessibleName(), QStringLiteral("Delete category:"));
        QVERIFY(!list()->accessibleName().isEmpty());
    }

    void loadWithoutListIsEmptyAndSilent() {
        QVERIFY(open());
        QVERIFY(screen_->isVisible());
        QCOMPARE(list()->count(), 0);
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(inCreateMode());
        QCOMPARE(windows().loaded(QStringLiteral("frmError")), nullptr);
    }

    void loadListsNamesByLineInFileOrder() {
        QVERIFY(app_->write(QStringLiteral("Category/category.txt"),
                            "Soups\r\nBreads, Cakes\r\n \"Quoted\r\napple Pie\r\n"));
        QVERIFY(open());
        QCOMPARE(items(), (QStringList{QStringLiteral("Soups"), QStringLiteral("Breads, Cakes"),
                                       QStringLiteral(" \"Quoted"), QStringLiteral("apple Pie")}));
        QVERIFY(inCreateMode());
    }

    void loadFailureIsReported_data() {
        QTest::addColumn<bool>("rootMissing");
        QTest::newRow("no category root") << true;
        QTest::newRow("list is a folder") << false;
    }

    void loadFailureIsReported() {
        QFETCH(bool, rootMissing);
        if (rootMissing) {
            QVERIFY(QDir(app_->file(QStringLiteral("Category"))).removeRecursively());
        } else {
            QVERIFY(
                QDir(app_->file(QStringLiteral("Category"))).mkdir(QStringLiteral("category.txt")));
        }
        QVERIFY(windows().show(QStringLiteral("frmSetup")));
        screen_ = windows().loadedAs<SetupScreen>(QStringLiteral("frmSetup"));
        QVERIFY(reported(QStringLiteral("S - FL -")));
        QCOMPARE(programErrors().ErrorNumberText,
                 rootMissing ? QStringLiteral(" 76") : QStringLiteral(" 75"));
        QCOMPARE(programErrors().ErrorDescription, rootMissing
                                                       ? QStringLiteral("Path not found")
                                                       : QStringLiteral("Path/File access error"));
        QVERIFY(messages_->shown.isEmpty());
    }

    void twoCreatesInARow() {
        QVERIFY(open());
        type("txtSCreate", QStringLiteral("Soups"));
        QTest::mouseClick(button("cmdSCreate"), Qt::LeftButton);
        QCOMPARE(box("txtSCreate")->text(), QString());
        QCOMPARE(items(), QStringList{QStringLiteral("Soups")});
        // Enter in the box creates as the button does.
        type("txtSCreate", QStringLiteral("breads & Cakes"));
        QTest::keyClick(box("txtSCreate"), Qt::Key_Return);

        QCOMPARE(box("txtSCreate")->text(), QString());
        QCOMPARE(QApplication::focusWidget(), box("txtSCreate"));
        // The list sorts; the file keeps the order of creation.
        QCOMPARE(items(), (QStringList{QStringLiteral("breads & Cakes"), QStringLiteral("Soups")}));
        QCOMPARE(listBytes(), QByteArray("Soups\r\nbreads & Cakes\r\n"));
        QVERIFY(categoryFolder(QStringLiteral("Soups")));
        QVERIFY(categoryFolder(QStringLiteral("breads & Cakes")));
        QVERIFY(messages_->shown.isEmpty());
        QVERIFY(inCreateMode());
    }

    void namesAreLimitedTo35Characters() {
        QVERIFY(open());
        const QString typed = QStringLiteral("A very long category name that goes on");
        QCOMPARE(typed.size(), 38);
        type("txtSCreate", typed);
        QCOMPARE(box("txtSCreate")->text(), typed.left(35));
        QTest::keyClick(box("txtSCreate"), Qt::Key_Return);
        QCOMPARE(listBytes(), typed.left(35).toLatin1() + "\r\n");
        QCOMPARE(items(), QStringList{typed.left(35)});
        clickItem(typed.left(35));
        QTest::keyClicks(box("txtSDel"), QStringLiteral("xyz"));
        QCOMPARE(box("txtSDel")->text(), typed.left(35));
    }

    void createWithEmptyBoxOnlyFocusesIt() {
        QVERIFY(open());
        button("cmdSMain")->setFocus();
        QTest::mouseClick(button("cmdSCreate"), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), box("txtSCreate"));
        QVERIFY(messages_->shown.isEmpty());
        QCOMPARE(list()->count(), 0);
        QVERIFY(!QFileInfo::exists(app_->file(QStringLiteral("Category/category.txt"))));
    }

    void createOfExistingNameEmptiesBoxThenTells_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("same name") << QStringLiteral("Soups");
        QTest::newRow("other case") << QStringLiteral("SOUPS");
    }

    void createOfExistingNameEmptiesBoxThenTells() {
        QFETCH(QString, typed);
        makeCategories({QStringLiteral("Soups")});
        QVERIFY(open());
        QStringList boxWhileShown;
        messages_->onShow = [&](const test::RecordingMessages::Shown&) {
            boxWhileShown << box("txtSCreate")->text();
        };
        type("txtSCreate", typed);
        QTest::mouseClick(button("cmdSCreate"), Qt::LeftButton);

        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, kExists);
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QCOMPARE(messages_->shown.at(0).flags, 4160);
        QCOMPARE(boxWhileShown, QStringList{QString()});
        QCOMPARE(items(), QStringList{QStringLiteral("Soups")});
        QCOMPARE(listBytes(), QByteArray("Soups\r\n"));
        QCOMPARE(QApplication::focusWidget(), box("txtSCreate"));
        QVERIFY(inCreateMode());
    }

    void refusedNameIsAUserError_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const QString bad = QStringLiteral(
            "A category name cannot contain / \\ : * ? \" < > | or control characters, and cannot "
            "be \".\" or \"..\".");
        QTest::newRow("separator") << QStringLiteral("a/b") << bad;
        QTest::newRow("backslash") << QStringLiteral("a\\b") << bad;
        QTest::newRow("dot dot") << QStringLiteral("..") << bad;
        QTest::newRow("colon") << QStringLiteral("Pies: sweet") << bad;
        QTest::newRow("question") << QStringLiteral("Soup?") << bad;
        QTest::newRow("outside the code page")
            << QStringLiteral("Soup \u4E2D")
            << QStringLiteral(
                   "The character \"\u4E2D\" (U+4E2D) cannot be saved. Please remove or replace "
                   "it.");
    }

    void refusedNameIsAUserError() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QVERIFY(open());
        type("txtSCreate", name);
        QCOMPARE(box("txtSCreate")->text(), name);
        QTest::mouseClick(button("cmdSCreate"), Qt::LeftButton);

        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QCOMPARE(messages_->shown.at(0).flags, 4144);
        QCOMPARE(messages_->shown.at(0).text, text);
        QCOMPARE(box("txtSCreate")->text(), name);
        QCOMPARE(list()->count(), 0);
        QVERIFY(screen_->isVisible());
        QCOMPARE(windows().loaded(QStringLiteral("frmError")), nullptr);
        QCOMPARE(QDir(app_->file(QStringLiteral("Category")))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QVERIFY(!QFileInfo::exists(app_->file(QStringLiteral("a"))));
    }

    void createFailureIsReported_data() {
        QTest::addColumn<bool>("rootMissing");
        QTest::addColumn<QString>("numberText");
        QTest::newRow("no category root") << true << QStringLiteral(" 76");
        QTest::newRow("a file where the folder goes") << false << QStringLiteral(" 58");
    }

    void createFailureIsReported() {
        QFETCH(bool, rootMissing);
        QFETCH(QString, numberText);
        QVERIFY(open());
        if (rootMissing) {
            QVERIFY(QDir(app_->file(QStringLiteral("Category"))).removeRecursively());
        } else {
            QVERIFY(app_->write(QStringLiteral("Category/Soups"), "not a folder"));
        }
        type("txtSCreate", QStringLiteral("Soups"));
        QTest::mouseClick(button("cmdSCreate"), Qt::LeftButton);

        QVERIFY(reported(QStringLiteral("S - CC -")));
        QCOMPARE(programErrors().ErrorNumberText, numberText);
        QVERIFY(!programErrors().ErrorDescription.isEmpty());
        QVERIFY(messages_->shown.isEmpty());
        QCOMPARE(list()->count(), 0);
        QVERIFY(!QFileInfo::exists(app_->file(QStringLiteral("Category/category.txt"))));
    }

    void itemClickThenCancelReturnsToCreateMode() {
        makeCategories({QStringLiteral("Soups"), QStringLiteral("Pies")});
        QVERIFY(open());
        clickItem(QStringLiteral("Pies"));
        QVERIFY(inDeleteMode());
        QCOMPARE(box("txtSDel")->text(), QStringLiteral("Pies"));

        QTest::mouseClick(button("cmdSDelCancel"), Qt::LeftButton);
        QCOMPARE(box("txtSDel")->text(), QString());
        QVERIFY(inCreateMode());
        QCOMPARE(QApplication::focusWidget(), box("txtSCreate"));
        QCOMPARE(items(), (QStringList{QStringLiteral("Soups"), QStringLiteral("Pies")}));
        QVERIFY(messages_->shown.isEmpty());
    }

    void createCancelEmptiesBoxAndSwitchesToDeleteMode() {
        QVERIFY(open());
        type("txtSCreate", QStringLiteral("half typed"));
        QTest::mouseClick(button("cmdSCCancel"), Qt::LeftButton);
        QCOMPARE(box("txtSCreate")->text(), QString());
        QVERIFY(inDeleteMode());
        QCOMPARE(QApplication::focusWidget(), box("txtSDel"));
        QVERIFY(!QFileInfo::exists(app_->file(QStringLiteral("Category/category.txt"))));
    }

    void keyboardPicksAnItem() {
        makeCategories({QStringLiteral("Soups"), QStringLiteral("Pies")});
        QVERIFY(open());
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Down);
        QTest::keyClick(list(), Qt::Key_Return);
        QVERIFY(inDeleteMode());
        QCOMPARE(box("txtSDel")->text(), QStringLiteral("Pies"));
    }

    void tabOrderFollowsTheGroups() {
        QVERIFY(open());
        box("txtSCreate")->setFocus();
        QStringList order;
        for (int i = 0; i < 5; ++i) {
            order << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(order, (QStringList{QStringLiteral("txtSCreate"), QStringLiteral("cmdSCreate"),
                                     QStringLiteral("cmdSCCancel"), QStringLiteral("lswSetup"),
                                     QStringLiteral("cmdSMain")}));
        QCOMPARE(QApplication::focusWidget(), box("txtSCreate"));
    }

    void deleteWithEmptiedBoxDoesNothing() {
        makeCategories({QStringLiteral("Soups"), QStringLiteral("Pies")});
        QVERIFY(open());
        clickItem(QStringLiteral("Soups"));
        QLineEdit* del = box("txtSDel");
        del->setFocus();
        QTest::keyClick(del, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(del, Qt::Key_Backspace);
        QCOMPARE(del->text(), QString());
        button("cmdSMain")->setFocus();
        QTest::mouseClick(button("cmdSDel"), Qt::LeftButton);

        QVERIFY(messages_->shown.isEmpty());
        QCOMPARE(QApplication::focusWidget(), del);
        QCOMPARE(listBytes(), QByteArray("Soups\r\nPies\r\n"));
        QVERIFY(categoryFolder(QStringLiteral("Soups")));
        QCOMPARE(items(), (QStringList{QStringLiteral("Soups"), QStringLiteral("Pies")}));
        QVERIFY(inDeleteMode());
        QVERIFY(!isBusyPointer());
    }

    void deleteOfListedName_data() {
        QTest::addColumn<bool>("byEnter");
        QTest::newRow("Delete button") << false;
        QTest::newRow("Enter in the box") << true;
    }

    void deleteOfListedName() {
        QFETCH(bool, byEnter);
        makeCategories(
            {QStringLiteral("Apple Pie"), QStringLiteral("Pie"), QStringLiteral("Pies")});
        QVERIFY(app_->write(QStringLiteral("Category/Pie/Cherry"), "\"1\",\"cup\"\r\n"));
        QVERIFY(open());
        bool busyDuringMessage = false;
        bool folderDuringMessage = false;
        QByteArray listDuringMessage;
        messages_->onShow = [&](const test::RecordingMessages::Shown&) {
            busyDuringMessage = isBusyPointer();
            folderDuringMessage = categoryFolder(QStringLiteral("Pie"));
            listDuringMessage = listBytes();
        };
        clickItem(QStringLiteral("Pie"));
        if (byEnter) {
            QTest::keyClick(box("txtSDel"), Qt::Key_Return);
        } else {
            QTest::mouseClick(button("cmdSDel"), Qt::LeftButton);
        }

        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, QStringLiteral("1 category is deleted."));
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("Pantrova"));
        QCOMPARE(messages_->shown.at(0).flags, 0);
        // The list is rewritten and told before the folder goes.
        QVERIFY(busyDuringMessage);
        QVERIFY(folderDuringMessage);
        QCOMPARE(listDuringMessage, QByteArray("Apple Pie\r\nPies\r\n"));
        QVERIFY(!isBusyPointer());

        QCOMPARE(listBytes(), QByteArray("Apple Pie\r\nPies\r\n"));
        QVERIFY(!QFileInfo::exists(app_->file(QStringLiteral("Category/Pie"))));
        QVERIFY(categoryFolder(QStringLiteral("Apple Pie")));
        QVERIFY(categoryFolder(QStringLiteral("Pies")));
        QCOMPARE(items(), (QStringList{QStringLiteral("Apple Pie"), QStringLiteral("Pies")}));
        QCOMPARE(box("txtSDel")->text(), QStringLiteral("Pie"));
        QVERIFY(inDeleteMode());
        QVERIFY(screen_->isVisible());
    }

    void commandsWaitForARunningDelete() {
        makeCategories({QStringLiteral("Soups"), QStringLiteral("Pie")});
        QVERIFY(open());
        clickItem(QStringLiteral("Pie"));
        // Clicks that arrive while the list is rewritten run in the middle of it.
        QPushButton* del = button("cmdSDel");
        QMetaObject::invokeMethod(del, &QPushButton::click, Qt::QueuedConnection);
        QMetaObject::invokeMethod(button("cmdSDelCancel"), &QPushButton::click,
                                  Qt::QueuedConnection);
        del->click();

        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, QStringLiteral("1 category is deleted."));
        QCOMPARE(windows().loaded(QStringLiteral("frmError")), nullptr);
        QCOMPARE(listBytes(), QByteArray("Soups\r\n"));
        QVERIFY(!QFileInfo::exists(app_->file(QStringLiteral("Category/Pie"))));
        QCOMPARE(items(), QStringList{QStringLiteral("Soups")});
        // The Cancel click ran during the delete and switched the mode back.
        QVERIFY(inCreateMode());
    }

    void deleteOfTheLastNameLeavesAnEmptyList() {
        makeCategories({QStringLiteral("Soups")});
        QVERIFY(open());
        clickItem(QStringLiteral("Soups"));
        QTest::mouseClick(button("cmdSDel"), Qt::LeftButton);
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, QStringLiteral("1 category is deleted."));
        QCOMPARE(listBytes(), QByteArray());
        QVERIFY(QFileInfo::exists(app_->file(QStringLiteral("Category/category.txt"))));
        QCOMPARE(list()->count(), 0);
        QVERIFY(screen_->isVisible());
    }

    void createdThenDeletedThroughTheScreen() {
        QVERIFY(open());
        for (const QString& name :
             {QStringLiteral("Soups"), QStringLiteral("Cakes"), QStringLiteral("Breads")}) {
            type("txtSCreate", name);
            QTest::keyClick(box("txtSCreate"), Qt::Key_Return);
        }
        QCOMPARE(items(), (QStringList{QStringLiteral("Breads"), QStringLiteral("Cakes"),
                                       QStringLiteral("Soups")}));
        clickItem(QStringLiteral("Cakes"));
        QTest::mouseClick(button("cmdSDel"), Qt::LeftButton);
        QCOMPARE(listBytes(), QByteArray("Soups\r\nBreads\r\n"));
        // Once sorted, the refilled list stays sorted.
        QCOMPARE(items(), (QStringList{QStringLiteral("Breads"), QStringLiteral("Soups")}));
        QCOMPARE(messages_->shown.size(), 1);
    }

    void deleteWithoutTemporaryFileIsToldAndChangesNothing() {
        makeCategories({QStringLiteral("Soups")});
        QVERIFY(open());
        clickItem(QStringLiteral("Soups"));
        // Without the category root there is nowhere to put the temporary list.
        const QString root = app_->file(QStringLiteral("Category"));
        QVERIFY(QDir().rename(root, app_->file(QStringLiteral("Elsewhere"))));
        QTest::mouseClick(button("cmdSDel"), Qt::LeftButton);

        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, QStringLiteral("Error getting temporary file path."));
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("Pantrova"));
        QCOMPARE(messages_->shown.at(0).flags, 0);
        QVERIFY(!isBusyPointer());
        QVERIFY(screen_->isVisible());
        QCOMPARE(windows().loaded(QStringLiteral("frmError")), nullptr);
        QCOMPARE(items(), QStringList{QStringLiteral("Soups")});
        QCOMPARE(box("txtSDel")->text(), QStringLiteral("Soups"));
        QCOMPARE(app_->read(QStringLiteral("Elsewhere/category.txt")), QByteArray("Soups\r\n"));
    }

    void deleteFailureIsReported() {
        makeCategories({QStringLiteral("Soups")});
        QVERIFY(open());
        clickItem(QStringLiteral("Soups"));
        // A name with no folder: the list is rewritten, then removing the folder fails.
        box("txtSDel")->setText(QStringLiteral("Ghost"));
        QTest::mouseClick(button("cmdSDel"), Qt::LeftButton);

        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).text, QStringLiteral("0 category is deleted."));
        QVERIFY(reported(QStringLiteral("S - CD -")));
        QCOMPARE(programErrors().ErrorNumberText, QStringLiteral(" 76"));
        QVERIFY(!isBusyPointer());
        QCOMPARE(listBytes(), QByteArray("Soups\r\n"));
    }

    void refusedDeleteNameIsAUserError() {
        makeCategories({QStringLiteral("Soups")});
        QVERIFY(open());
        clickItem(QStringLiteral("Soups"));
        box("txtSDel")->selectAll();
        QTest::keyClicks(box("txtSDel"), QStringLiteral("../Soups"));
        QTest::mouseClick(button("cmdSDel"), Qt::LeftButton);
        QCOMPARE(messages_->shown.size(), 1);
        QCOMPARE(messages_->shown.at(0).title, QStringLiteral("User error"));
        QCOMPARE(messages_->shown.at(0).flags, 4144);
        QCOMPARE(box("txtSDel")->text(), QStringLiteral("../Soups"));
        QCOMPARE(listBytes(), QByteArray("Soups\r\n"));
        QVERIFY(categoryFolder(QStringLiteral("Soups")));
        QVERIFY(screen_->isVisible());
        QVERIFY(!isBusyPointer());
    }

    void mainHidesAndComesBackAsLeft() {
        makeCategories({QStringLiteral("Soups")});
        QVERIFY(open());
        clickItem(QStringLiteral("Soups"));
        QTest::mouseClick(button("cmdSMain"), Qt::LeftButton);
        QVERIFY(!screen_->isVisible());
        QVERIFY(windows().loaded(QStringLiteral("frmMain"))->isVisible());

        // The list is not read again on a later visit.
        QVERIFY(app_->write(QStringLiteral("Category/category.txt"), "Soups\r\nOther\r\n"));
        QCOMPARE(open(), screen_.data());
        QVERIFY(screen_->isVisible());
        QCOMPARE(items(), QStringList{QStringLiteral("Soups")});
        QVERIFY(inDeleteMode());
        QCOMPARE(box("txtSDel")->text(), QStringLiteral("Soups"));
    }

    void hoverHintsLightAndReset() {
        makeCategories({QStringLiteral("Soups")});
        QVERIFY(open());
        auto* hint1 = control<QLabel>("lblSMsg1");
        auto* hint2 = control<QLabel>("lblSMsg2");
        moveOver(button("cmdSCreate"));
        QVERIFY(HoverHints::isLit(hint1));
        QVERIFY(!HoverHints::isLit(hint2));
        clickItem(QStringLiteral("Soups"));
        moveOver(box("txtSDel"));
        QVERIFY(HoverHints::isLit(hint1));
        QVERIFY(HoverHints::isLit(hint2));
        moveOver(control<QGroupBox>("fraSCategory"), QPoint(300, 210));
        QVERIFY(!HoverHints::isLit(hint1));
        QVERIFY(!HoverHints::isLit(hint2));
        moveOver(button("cmdSDel"));
        QVERIFY(HoverHints::isLit(hint2));
        moveOver(box("txtSCreate"));
        QVERIFY(HoverHints::isLit(hint1));
        QVERIFY(HoverHints::isLit(hint2));
        // The window's own background is not one that resets.
        moveOver(screen_, QPoint(840, 270));
        QVERIFY(HoverHints::isLit(hint1));
    }
};

QTEST_MAIN(SetupScreenTest)
#include "tst_setup.moc"
