#include "testsupport.h"

#include "appfolder.h"
#include "windowregistry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pv::test {

RecordingMessages::RecordingMessages() {
    setMessageService(this);
}

RecordingMessages::~RecordingMessages() {
    setMessageService(nullptr);
}

int RecordingMessages::show(const QString& text, int flags, const QString& title) {
    shown.append({text, flags, title});
    if (onShow) {
        onShow(shown.constLast());
    }
    if (!answers.isEmpty()) {
        return answers.takeFirst();
    }
    return (flags & 0x7) == msg::kYesNo ? msg::kResultNo : msg::kResultOk;
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

TempAppFolder::TempAppFolder(Layout layout) {
    QDir root(dir_.path());
    for (const char* folder : {"images", "Documentation"}) {
        root.mkpath(QString::fromLatin1(folder));
    }
    if (layout == Layout::Portable) {
        root.mkpath(QStringLiteral("Category"));
        root.mkpath(QStringLiteral("Shopping List"));
    }
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(Qt::darkGreen);
    for (const char* name : {"New", "Save", "Print", "Main", "Exit", "Calendar"}) {
        icon.save(root.filePath(QStringLiteral("images/%1.ico").arg(QString::fromLatin1(name))),
                  "ICO");
    }
    setApplicationFolder(dir_.path());
    dataFolder();
}

TempAppFolder::~TempAppFolder() {
    setApplicationFolder({});
    // QTemporaryDir cannot reach names that are not UTF-8: they go first.
    nftw(
        QFile::encodeName(dir_.path()).constData(),
        [](const char* path, const struct stat*, int, FTW*) { return ::remove(path); }, 16,
        FTW_DEPTH | FTW_PHYS);
}

bool TempAppFolder::write(const QString& relative, const QByteArray& bytes) const {
    QFile f(file(relative));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray TempAppFolder::read(const QString& relative) const {
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool TempAppFolder::writeNative(const QByteArray& relative, const QByteArray& bytes) const {
    const QByteArray path = QFile::encodeName(dir_.path()) + '/' + relative;
    if (relative.endsWith('/')) {
        return ::mkdir(path.constData(), 0777) == 0;
    }
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    QFile f;
    return fd >= 0 && f.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle) &&
           f.write(bytes) == bytes.size();
}

QByteArray TempAppFolder::readNative(const QByteArray& relative) const {
    const int fd = ::open((QFile::encodeName(dir_.path()) + '/' + relative).constData(), O_RDONLY);
    QFile f;
    return fd >= 0 && f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
               ? f.readAll()
               : QByteArray("<missing>");
}

TempHome::TempHome() : home_(qgetenv("HOME")) {
    if (qEnvironmentVariableIsSet("XDG_DATA_HOME")) {
        xdgDataHome_ = qgetenv("XDG_DATA_HOME");
    }
    qputenv("HOME", QFile::encodeName(dir_.path()));
    qunsetenv("XDG_DATA_HOME");
}

TempHome::~TempHome() {
    qputenv("HOME", home_);
    if (xdgDataHome_) {
        qputenv("XDG_DATA_HOME", *xdgDataHome_);
    } else {
        qunsetenv("XDG_DATA_HOME");
    }
}

QStringList treeOf(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry = it.nextFileInfo();
        names << QDir(folder).relativeFilePath(entry.filePath()) +
                     (entry.isDir() ? QStringLiteral("/") : QString());
    }
    names.sort();
    return names;
}

void registerStandIns(const QList<WindowId>& ids) {
    for (WindowId id : ids) {
        windows().registerWindow(id, [] { return new PvWindow; });
    }
}

QString pdfText(const QString& pdfPath) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), pdfPath, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QList<PrintedWord> printedWords(const QString& pdfPath, int* pages) {
    QProcess process;
    // A crop area far larger than the page keeps text printed past its edge.
    process.start(
        QStringLiteral("pdftotext"),
        {QStringLiteral("-bbox"), QStringLiteral("-x"), QStringLiteral("0"), QStringLiteral("-y"),
         QStringLiteral("0"), QStringLiteral("-W"), QStringLiteral("100000"), QStringLiteral("-H"),
         QStringLiteral("100000"), pdfPath, QStringLiteral("-")});
    if (pages) {
        *pages = 0;
    }
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return {};
    }
    static const QRegularExpression pageOrWord(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" "
                       "xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    QList<PrintedWord> words;
    int page = 0;
    for (const auto& match :
         pageOrWord.globalMatch(QString::fromUtf8(process.readAllStandardOutput()))) {
        if (match.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        words.append({page, match.captured(1).toDouble(), match.captured(3).toDouble(),
                      match.captured(2).toDouble(), match.captured(4).toDouble(),
                      match.captured(5)});
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
