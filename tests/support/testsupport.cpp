#include "testsupport.h"

#include "appfolder.h"
#include "busypointer.h"
#include "errorstate.h"
#include "windowregistry.h"

#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

namespace pv::test {

using namespace Qt::StringLiterals;

RecordingMessages::RecordingMessages() {
    setMessageService(this);
}

RecordingMessages::~RecordingMessages() {
    setMessageService(nullptr);
}

int RecordingMessages::show(const QString& text, int flags, const QString& title) {
    shown.append({text, flags, title, {}});
    if (onShow) {
        onShow(shown.constLast());
    }
    return !answers.isEmpty()             ? answers.takeFirst()
           : (flags & 0x7) == msg::kYesNo ? msg::kResultNo
                                          : msg::kResultOk;
}

int RecordingMessages::ask(const QString& text, const QStringList& buttons, int defaultButton,
                           int flags, const QString& title) {
    QStringList marked = buttons;
    if (defaultButton >= 0 && defaultButton < marked.size()) {
        marked[defaultButton] += u'*';
    }
    shown.append({text, flags, title, marked});
    if (onShow) {
        onShow(shown.constLast());
    }
    return !answers.isEmpty() ? answers.takeFirst() : int(buttons.size()) - 1;
}

PdfPrinter::PdfPrinter(const QString& pdfPath)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setOutputFileName(pdfPath);
    setPrinterService(this);
}

PdfPrinter::~PdfPrinter() {
    setPrinterService(nullptr);
}

bool PdfPrinter::setupDialog(QWidget*) {
    ++dialogsShown;
    return answers.isEmpty() ? true : answers.takeFirst();
}

TempAppFolder::TempAppFolder(Layout layout)
    : TempFolder(layout == Layout::Portable ? QStringList{u"images/"_s, u"Documentation/"_s}
                                            : QStringList{u"images/"_s, u"Documentation/"_s,
                                                          u"-Category"_s, u"-Shopping List"_s}) {
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::darkGreen);
    for (const char* name : {"New", "Save", "Print", "Main", "Exit", "Calendar"}) {
        icon.save(file(u"images/%1.ico"_s.arg(QLatin1String(name))), "ICO");
    }
    setApplicationFolder(path());
    dataFolder();
}

TempAppFolder::~TempAppFolder() {
    setApplicationFolder({});
}

TempHome::TempHome()
    : TempFolder({u"-Category"_s, u"-Shopping List"_s}),
      home_(qgetenv("HOME")),
      xdgDataHome_(qgetenv("XDG_DATA_HOME")),
      hadXdgDataHome_(qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
    qputenv("HOME", QFile::encodeName(path()));
    qunsetenv("XDG_DATA_HOME");
}

TempHome::~TempHome() {
    qputenv("HOME", home_);
    hadXdgDataHome_ ? qputenv("XDG_DATA_HOME", xdgDataHome_) : qunsetenv("XDG_DATA_HOME");
}

void registerStandIns(const QList<WindowId>& ids) {
    for (WindowId id : ids) {
        windows().registerWindow(id, [] { return new PvWindow; });
    }
}

ScreenBench::ScreenBench(const QList<std::pair<WindowId, WindowRegistry::Factory>>& screens,
                         TempAppFolder::Layout layout)
    : app(layout) {
    programErrors() = {};
    registerStandIns({WindowId::Main, WindowId::Error, WindowId::Calendar});
    for (const auto& [id, factory] : screens) {
        windows().registerWindow(id, factory);
    }
}

ScreenBench::~ScreenBench() {
    windows().reset();
    setDefaultPointer();
    programErrors() = {};
}

QStringList RecordingMessages::lines() const {
    QStringList all;
    for (const auto& m : shown) {
        all << m.title + u'|' + QString::number(m.flags) + u'|' + m.text +
                   (m.buttons.isEmpty() ? QString() : u'|' + m.buttons.join(u'/'));
    }
    return all;
}

QStringList listed(const QAbstractItemView* list) {
    QStringList texts;
    for (int row = 0; row < list->model()->rowCount(); ++row) {
        texts << list->model()->index(row, 0).data().toString();
    }
    return texts;
}

void clickListed(QAbstractItemView* list, const QString& text) {
    const QModelIndexList found = list->model()->match(list->model()->index(0, 0), Qt::DisplayRole,
                                                       text, 1, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->scrollTo(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(found.first()).center());
}

void pick(const QWidget* window, const QString& box, const QString& category) {
    auto* categories = control<QComboBox>(window, box);
    categories->setCurrentIndex(categories->findText(category));
    QVERIFY2(categories->currentIndex() >= 0, qPrintable(category));
    emit categories->activated(categories->currentIndex());
}

namespace {

// What pdftotext prints; empty when it fails.
QString pdftotext(QStringList arguments, const QString& pdfPath) {
    QProcess process;
    process.start(u"pdftotext"_s, arguments << pdfPath << u"-"_s);
    return process.waitForFinished(30000) && process.exitCode() == 0
               ? QString::fromUtf8(process.readAllStandardOutput())
               : QString();
}

}  // namespace

QString pdfText(const QString& pdfPath) {
    return pdftotext({u"-layout"_s}, pdfPath);
}

QList<PrintedWord> printedWords(const QString& pdfPath, int* pages) {
    // A crop area far larger than the page keeps text printed past its edge.
    const QString output = pdftotext(u"-bbox -x 0 -y 0 -W 100000 -H 100000"_s.split(u' '), pdfPath);
    static const QRegularExpression pageOrWord(
        u"<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" "
        u"xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"_s);
    QList<PrintedWord> words;
    int page = 0;
    for (const auto& match : pageOrWord.globalMatch(output)) {
        if (match.captured(0).startsWith(u"<page"_s)) {
            ++page;
        } else {
            words.append({page, match.captured(1).toDouble(), match.captured(3).toDouble(),
                          match.captured(2).toDouble(), match.captured(4).toDouble(),
                          match.captured(5)});
        }
    }
    if (pages) {
        *pages = page;
    }
    return words;
}

QMap<QString, QString> wordPlaces(const QList<PrintedWord>& words) {
    QMap<QString, QString> places;
    for (const PrintedWord& word : words) {
        if (!places.contains(word.text)) {
            places.insert(word.text,
                          QStringLiteral("%1:%2").arg(word.page).arg(qRound(word.top * 10)));
        }
    }
    return places;
}

}  // namespace pv::test
