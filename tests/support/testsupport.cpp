#include "testsupport.h"

#include "appfolder.h"
#include "windowregistry.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QProcess>

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
}

bool TempAppFolder::write(const QString& relative, const QByteArray& bytes) const {
    QFile f(file(relative));
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray TempAppFolder::read(const QString& relative) const {
    QFile f(file(relative));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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

void registerStandIns(const QStringList& names) {
    for (const QString& name : names) {
        windows().registerWindow(name, [] { return new PvWindow; });
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

}  // namespace pv::test
