#pragma once

#include "busypointer.h"
#include "errorstate.h"
#include "hoverhints.h"
#include "multilinebox.h"
#include "screenmenubar.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <optional>

namespace pv::test {

using namespace Qt::StringLiterals;

// A user's road on a screen written as data, its steps parted by "; ":
//   "click NAME"       a click on a control (on a list: beside its rows);
//                      "click NAME=text" on a list's row
//   "type NAME=text"   keys typed into a box; "set NAME=text" its text replaced
//   "key NAME=Return"  one key, by its Qt::Key name ("Ctrl+A" with Control)
//   "pick NAME=text"   a choice in a drop-down box; "menu NAME=key" a menu bar item
//   "select NAME=text" a list's row made current, as by the program ("select NAME" none)
//   "focus NAME"       the focus put on a control; "queue NAME" a click posted to a button
//   "hover NAME"       the pointer moved over a control
//   "write PATH=text", "mkdir PATH", "remove PATH", "move PATH=PATH": the folder changed
//                      outside the program
//   "during PROBES"    the probes (by ',') read while each message is on screen
//   "open", "open NAME" the screen, or the window of that object name, shown by the
//                      main menu; the steps after it act on it. "hide NAME" hides one;
//                      "on NAME" the steps after it act on that window, as it is.
//   "? PROBE=text"     what the probe reads now, compared
// Probes: "text NAMES" (by '|'), "enabled NAMES", "checked NAMES", "editable NAMES" and "lit NAMES"
// (a hover hint lit; '1' or '0' each), "listed NAME" (rows by '|'), "current NAME" and "selected
// NAME" (a list's), "focus", "file PATH" (its Latin-1 bytes), "tree PATH" (by '|', or "<missing>"),
// "shown" (the messages since the last look, by '\n', the folder's path left out), "error"
// (location, number and description), "windows" (the visible ones, by '|'), "busy" ('1' or '0'),
// "during" (what "during" read, by '\n', since the last look), and those the test adds.
class Road {
public:
    Road(ScreenBench& bench, WindowId home) : bench_(bench), home_(home) {}
    QWidget* screen() const { return screen_; }
    // A probe of the test's own; a null string for the names it does not know.
    std::function<QString(const QString&)> probe;
    // A step of the test's own (verb, name, text): whether it went right; none for the verbs
    // it does not know.
    std::function<std::optional<bool>(const QString&, const QString&, const QString&)> step;

    void walk(const QString& road) {
        for (const QString& step : road.split(u"; "_s, Qt::SkipEmptyParts)) {
            const QString verb = step.section(u' ', 0, 0);
            const QString name = step.section(u' ', 1).section(u'=', 0, 0);
            const QString text = step.section(u'=', 1);
            const QString got = verb == u'?' ? read(name) : QString();
            if (verb == u'?' ? got != text : !act(verb, name, text)) {
                QFAIL(qPrintable(u"%1: \"%2\" instead"_s.arg(step, got)
                                     .replace(u'\r', u"\\r"_s)
                                     .replace(u'\n', u"\\n"_s)));
            }
        }
    }

    QString read(const QString& probe) {
        const QString kind = probe.section(u' ', 0, 0);
        const QString rest = probe.section(u' ', 1);
        const QStringList names = rest.split(u' ', Qt::SkipEmptyParts);
        const QString name = names.value(0);
        if (this->probe) {
            const QString own = this->probe(probe);
            if (!own.isNull()) {
                return own;
            }
        }
        if (kind == u"text"_s) {
            QStringList texts;
            for (const QString& each : names) {
                QWidget* widget = control(screen_, each);
                auto* box = qobject_cast<MultiLineBox*>(widget);
                texts << (box ? box->text()
                              : widget
                                    ->property(qobject_cast<QComboBox*>(widget) ? "currentText"
                                                                                : "text")
                                    .toString());
            }
            return texts.join(u'|');
        }
        if (QStringList{u"enabled"_s, u"lit"_s, u"checked"_s, u"editable"_s}.contains(kind)) {
            QString flags;
            for (const QString& each : names) {
                QWidget* widget = control(screen_, each);
                const bool on = kind == u"enabled"_s ? widget->isEnabled()
                                : kind == u"lit"_s
                                    ? HoverHints::isLit(control<QLabel>(screen_, each))
                                    : widget->property(qPrintable(kind)).toBool();
                flags += on ? u'1' : u'0';
            }
            return flags;
        }
        if (kind == u"listed"_s) {
            auto* box = qobject_cast<QComboBox*>(control(screen_, name));
            return test::listed(box ? box->view() : control<QAbstractItemView>(screen_, name))
                .join(u'|');
        }
        if (kind == u"current"_s || kind == u"selected"_s) {
            auto* list = control<QAbstractItemView>(screen_, name);
            QStringList rows;
            for (const QModelIndex& row : kind == u"current"_s
                                              ? QModelIndexList{list->currentIndex()}
                                              : list->selectionModel()->selectedIndexes()) {
                rows << row.data().toString();
            }
            return rows.join(u'|');
        }
        if (kind == u"focus"_s) {
            return QApplication::focusWidget() ? QApplication::focusWidget()->objectName()
                                               : QString();
        }
        if (kind == u"file"_s) {
            return QString::fromLatin1(bench_.app.read(rest));
        }
        if (kind == u"tree"_s) {
            return bench_.app.exists(rest) ? withoutSizes(bench_.app.tree(rest)).join(u'|')
                                           : u"<missing>"_s;
        }
        if (kind == u"shown"_s) {
            const QStringList shown = bench_.shown().mid(seen_);
            seen_ += shown.size();
            return shown.join(u'\n').remove(QDir::toNativeSeparators(bench_.app.path() + u'/'));
        }
        if (kind == u"error"_s) {
            const ProgramErrors& error = programErrors();
            return error.errorLocation.isEmpty() ? QString()
                                                 : error.errorLocation + error.errorNumberText +
                                                       u' ' + error.errorDescription;
        }
        if (kind == u"busy"_s) {
            return isBusyPointer() ? u"1"_s : u"0"_s;
        }
        if (kind == u"during"_s) {
            return std::exchange(during_, {}).join(u'\n');
        }
        if (kind == u"windows"_s) {
            QStringList visible;
            for (int id = 0; id < kWindowCount; ++id) {
                const PvWindow* window = windows().loaded(WindowId(id));
                if (window && window->isVisible()) {
                    visible << objectNameOf(WindowId(id));
                }
            }
            return visible.join(u'|');
        }
        qFatal("no probe %s", qPrintable(probe));
    }

private:
    // A tree listing without the files' sizes.
    static QStringList withoutSizes(QStringList tree) {
        for (QString& entry : tree) {
            if (!entry.endsWith(u'/')) {
                entry.truncate(entry.lastIndexOf(u' '));
            }
        }
        return tree;
    }
    // A list's row by its text, or none.
    static QModelIndex row(const QAbstractItemView* list, const QString& text) {
        return list->model()
            ->match(list->model()->index(0, 0), Qt::DisplayRole, text, 1, Qt::MatchExactly)
            .value(0);
    }
    bool act(const QString& verb, const QString& name, const QString& text) {
        if (const std::optional<bool> own = step ? step(verb, name, text) : std::nullopt) {
            return *own && !QTest::currentTestFailed();
        }
        if (verb == u"open"_s || verb == u"hide"_s || verb == u"on"_s) {
            WindowId id = home_;
            for (int each = 0; each < kWindowCount; ++each) {
                id = objectNameOf(WindowId(each)) == name ? WindowId(each) : id;
            }
            if (verb == u"hide"_s) {
                windows().hide(id);
                return true;
            }
            if (verb == u"on"_s) {
                screen_ = windows().loaded(id);
                return screen_ != nullptr;
            }
            screen_ = windows().show(id);
            QApplication::processEvents();  // the activation the platform posts
            return screen_ && (!screen_->isVisible() || QTest::qWaitForWindowActive(screen_));
        } else if (verb == u"click"_s) {
            auto* list = qobject_cast<QAbstractItemView*>(control(screen_, name));
            if (!list) {
                click(screen_, name);
            } else if (!text.isEmpty()) {
                clickListed(list, text);
            } else {  // beside the names
                const int bottom = list->viewport()->height() - 5;
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, bottom));
            }
        } else if (verb == u"double"_s) {
            auto* list = control<QAbstractItemView>(screen_, name);
            const QPoint at = list->visualRect(row(list, text)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
            return row(list, text).isValid() && !QTest::currentTestFailed();
        } else if (verb == u"type"_s) {
            // Characters outside ASCII come as an input method gives them: text without a key.
            QWidget* box = control(screen_, name);
            box->setFocus();
            for (const QChar ch : text) {
                ch.unicode() < 0x80 ? QTest::keyClick(box, ch.toLatin1())
                                    : control<QLineEdit>(screen_, name)->insert(ch);
            }
        } else if (verb == u"set"_s) {
            auto* box = qobject_cast<MultiLineBox*>(control(screen_, name));
            box ? box->setText(text) : control<QLineEdit>(screen_, name)->setText(text);
        } else if (verb == u"key"_s) {
            const bool ctrl = text.startsWith(u"Ctrl+"_s);
            bool known = false;
            const int key = QMetaEnum::fromType<Qt::Key>().keyToValue(
                ("Key_" + text.mid(ctrl ? 5 : 0)).toLatin1().constData(), &known);
            QWidget* widget = control(screen_, name);
            widget->setFocus();
            QTest::keyClick(widget, Qt::Key(key), ctrl ? Qt::ControlModifier : Qt::NoModifier);
            return known;
        } else if (verb == u"focus"_s) {
            control(screen_, name)->setFocus();
        } else if (verb == u"select"_s) {
            auto* list = control<QAbstractItemView>(screen_, name);
            list->setCurrentIndex(row(list, text));
            return text.isEmpty() || row(list, text).isValid();
        } else if (verb == u"hover"_s) {
            QWidget* over = control(screen_, name);
            auto* area = qobject_cast<QAbstractScrollArea*>(over);
            over = area ? area->viewport() : over;
            QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), over->mapToGlobal(QPointF(5, 5)),
                             Qt::NoButton, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(over, &move);
        } else if (verb == u"queue"_s) {
            QMetaObject::invokeMethod(control<QAbstractButton>(screen_, name),
                                      &QAbstractButton::click, Qt::QueuedConnection);
        } else if (verb == u"during"_s) {
            bench_.messages.onShow = [this, probes = name.split(u',')](const auto&) {
                QStringList seen;
                for (const QString& probe : probes) {
                    seen << read(probe);
                }
                during_ << seen.join(u';');
            };
        } else if (verb == u"pick"_s) {
            pick(screen_, name, text);
        } else if (verb == u"menu"_s) {
            control<ScreenMenuBar>(screen_, name)->actionFor(text)->trigger();
        } else if (verb == u"write"_s) {
            return bench_.app.write(name, text.toLatin1());
        } else if (verb == u"mkdir"_s) {
            return bench_.app.mkdir(name);
        } else if (verb == u"move"_s) {
            return QDir().rename(bench_.app.file(name), bench_.app.file(text));
        } else if (verb == u"remove"_s) {
            const QString path = bench_.app.file(name);
            return QFileInfo(path).isDir() ? QDir(path).removeRecursively() : QFile::remove(path);
        } else {
            return false;
        }
        return !QTest::currentTestFailed();
    }

    ScreenBench& bench_;
    QStringList during_;
    const WindowId home_;
    QWidget* screen_ = nullptr;
    qsizetype seen_ = 0;
};

// What a screen's road tests stand on: the bench, and a road home to its first screen.
struct RoadBench {
    explicit RoadBench(const QList<std::pair<WindowId, WindowRegistry::Factory>>& screens)
        : bench(screens), road(bench, screens.first().first) {}
    ScreenBench bench;
    Road road;
};

}  // namespace pv::test
