#pragma once

#include "messageservice.h"
#include "printerservice.h"
#include "tempfolder.h"
#include "windowid.h"
#include "windowregistry.h"

#include <QAbstractItemView>
#include <QMap>
#include <QPrinter>
#include <QTest>

#include <functional>
#include <memory>

namespace pv::test {

// Replaces the message service while it lives: records every message and
// answers from a queue (OK, or No for a Yes/No box, when the queue is empty).
class RecordingMessages : public MessageService {
public:
    struct Shown {
        QString text;
        int flags = 0;
        QString title;
        // A question's own buttons, the default one marked with a trailing '*'.
        QStringList buttons;
    };

    RecordingMessages();
    ~RecordingMessages() override;

    int show(const QString& text, int flags, const QString& title) override;
    // Answers a question with buttons of its own by the index queued, or the
    // last button (Escape) when the queue is empty.
    int ask(const QString& text, const QStringList& buttons, int defaultButton, int flags,
            const QString& title) override;

    QList<Shown> shown;
    QList<int> answers;
    // Runs while the message is "on screen", to look at the program's state then.
    std::function<void(const Shown&)> onShow;
    // Every message shown so far as "title|flags|text", a question's buttons
    // after another '|', parted by '/'.
    QStringList lines() const;
};

// Replaces the printer service while it lives: the dialog answers from a queue
// (true = OK) and documents go to a PDF file.
class PdfPrinter : public PrinterService {
public:
    explicit PdfPrinter(const QString& pdfPath);
    ~PdfPrinter() override;

    bool setupDialog(QWidget* parent) override;
    QPrinter* printer() override { return printer_.get(); }

    int dialogsShown = 0;
    QList<bool> answers;  // empty: OK

private:
    std::unique_ptr<QPrinter> printer_;
};

// A TempFolder installed as the program's folder, with "images" (the six menu
// icons) and "Documentation". A portable one keeps the data roots, an installed
// one does not. The data folder is decided at once, as the program decides it
// at its start: make a TempHome first.
class TempAppFolder : public TempFolder {
public:
    enum class Layout { Portable, Installed };
    explicit TempAppFolder(Layout layout = Layout::Portable);
    ~TempAppFolder();
};

// A fresh, empty home folder while it lives: HOME points at it and
// XDG_DATA_HOME is unset; both come back afterwards.
class TempHome : public TempFolder {
public:
    TempHome();
    ~TempHome();
    // The per-user data folder when XDG_DATA_HOME is left unset.
    QString dataFolder() const { return file(QStringLiteral(".local/share/pantrova")); }

private:
    QByteArray home_;
    QByteArray xdgDataHome_;
    bool hadXdgDataHome_;
};

// Registers a plain, empty window for each (by default the main menu and the
// error report), so that a screen's tests can see it hand over to them.
void registerStandIns(const QList<WindowId>& ids = {WindowId::Main, WindowId::Error});

// A window class to register under its identity.
template <typename W>
std::pair<WindowId, WindowRegistry::Factory> screen(WindowId id) {
    return {id, [] { return new W; }};
}

// What a screen's tests stand on while it lives: a fresh program folder,
// recorded messages, no error recorded, the given windows registered and plain
// stand-ins for the main menu, the error report and the calendar. Every window
// goes with it.
class ScreenBench {
public:
    explicit ScreenBench(const QList<std::pair<WindowId, WindowRegistry::Factory>>& screens = {},
                         TempAppFolder::Layout layout = TempAppFolder::Layout::Portable);
    ~ScreenBench();
    QStringList shown() const { return messages.lines(); }

    TempAppFolder app;
    RecordingMessages messages;
};

// A control of a window by its name; the test ends at once when it is missing.
template <typename T = QWidget>
T* control(const QWidget* window, const QString& name) {
    T* found = window ? window->findChild<T*>(name) : nullptr;
    if (!found) {
        qFatal("no control %s", qPrintable(name));
    }
    return found;
}
inline void click(const QWidget* window, const QString& button) {
    QTest::mouseClick(control(window, button), Qt::LeftButton);
}
// The texts of a list's rows, and a click on the row of that text.
QStringList listed(const QAbstractItemView* list);
void clickListed(QAbstractItemView* list, const QString& text);
// Picks a category in a box as the drop-down's list does.
void pick(const QWidget* window, const QString& box, const QString& category);

// The text of a PDF file as pdftotext -layout prints it; empty when that fails.
QString pdfText(const QString& pdfPath);

// One printed word as pdftotext -bbox reports it, in points from its page's top left.
struct PrintedWord {
    int page = 0;  // from 1
    qreal left = 0;
    qreal right = 0;
    qreal top = 0;
    qreal bottom = 0;
    QString text;
};
// The words of a PDF file in reading order, text printed past a page's edge
// included, and the number of pages; empty when pdftotext fails.
QList<PrintedWord> printedWords(const QString& pdfPath, int* pages = nullptr);
// Where each word lies: "page:top" in tenths of a point, by the word's text (a
// text printed more than once is kept at its first place).
QMap<QString, QString> wordPlaces(const QList<PrintedWord>& words);

}  // namespace pv::test
