// Help access: the help file's path by number, its two messages, and the viewer
// that stands in for the platform's HTML help on the compiled PVHelp.chm.
#include "chmarchive.h"
#include "help.h"
#include "helpbrowser.h"
#include "helpcontents.h"
#include "helpviewerwindow.h"
#include "testsupport.h"

#include <QApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTreeWidget>
#include <QtEndian>
#include <QtTest>

using namespace pv;
using namespace Qt::StringLiterals;
using pv::help::ContentsEntry;
using pv::help::HelpViewerWindow;

namespace {

const QString kBuiltHelp = QStringLiteral(PV_APPDIR "/Documentation/PVHelp.chm");
const QString kHelpRelative = QStringLiteral("Documentation/PVHelp.chm");

QUrl chm(const char* page) {
    return QUrl(QStringLiteral("chm:/") + QLatin1String(page));
}

QList<HelpViewerWindow*> openViewers() {
    QList<HelpViewerWindow*> viewers;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<HelpViewerWindow*>(widget))
            viewers.append(viewer);
    }
    return viewers;
}

const QString kOpenError =
    QStringLiteral("Tolm Help File Contents|16|Error in opening Help file.\r\nHelp File #");

QByteArray builtHelp() {
    QFile file(kBuiltHelp);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void put32(QByteArray& bytes, int at, qint64 value) {
    qToLittleEndian(quint32(value), bytes.data() + at);
}

// `bytes` with `patch` written `offset` bytes after the first `marker`; empty when
// there is no marker.
QByteArray patched(QByteArray bytes, const QByteArray& marker, int offset,
                   const QByteArray& patch) {
    const qsizetype at = bytes.indexOf(marker);
    return at < 0 ? QByteArray() : bytes.replace(at + offset, patch.size(), patch);
}

// An archive directory: ITSF and ITSP headers, then the given pages of 0x1000.
QByteArray fakeDirectory(const QList<QByteArray>& pages, qint32 root, qint32 head) {
    QByteArray itsf = QByteArray("ITSF").leftJustified(0x60, '\0');
    QByteArray itsp = QByteArray("ITSP").leftJustified(0x54, '\0');
    // ITSF: version, header length, directory offset and length.
    for (const auto& [at, value] : {std::pair<int, qint64>{4, 3}, {8, 0x60}, {0x48, 0x60}})
        put32(itsf, at, value);
    put32(itsf, 0x50, 0x54 + 0x1000 * pages.size());
    // ITSP: version, header length, page length, index root, first list page, and the
    // two count fields as chmlib reads them.
    const std::pair<int, qint64> fields[] = {
        {4, 1},       {8, 0x54},  {0x10, 0x1000},      {0x1C, root},
        {0x20, head}, {0x28, -1}, {0x2C, pages.size()}};
    for (const auto& [at, value] : fields) put32(itsp, at, value);
    return itsf + itsp + pages.join();
}

// A list page holding "/a" and chained to `link`, or an index page whose one entry
// points to `link`.
QByteArray page(bool index, qint32 link) {
    const QByteArray entry = index ? QByteArray("\x02/a", 3) + char(link)  //
                                   : QByteArray("\x02/a\x00\x00\x00", 6);
    const int header = index ? 0x08 : 0x14;
    QByteArray bytes = QByteArray(index ? "PMGI" : "PMGL").leftJustified(0x1000, '\0');
    put32(bytes, 4, 0x1000 - header - entry.size());
    if (!index)
        put32(bytes, 0x10, link);
    return bytes.replace(header, entry.size(), entry);
}

// One contents entry as help compilers write it; without a name when none is given.
QByteArray entry(const char* name, const char* local = nullptr) {
    QByteArray bytes = "<LI><OBJECT type=\"text/sitemap\">";
    if (name)
        bytes += "<param name=\"Name\" value=\"" + QByteArray(name) + "\">";
    if (local)
        bytes += "<param name=\"Local\" value=\"" + QByteArray(local) + "\">";
    return bytes + "</OBJECT>";
}

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT

    void requireBuiltHelp() {
        if (!QFile::exists(kBuiltHelp))
            QSKIP("PVHelp.chm was not compiled (no chmcmd in this configuration)");
    }

private slots:
    void cleanup() { qDeleteAll(openViewers()); }

    // The help file and its folder are found in any letter case; every call opens a
    // viewer of its own, on the default topic, browsing only inside the file.
    void viewerOnTheBuiltHelp() {
        requireBuiltHelp();
        test::TempAppFolder app;
        const QString path = app.file(u"documentation/pvhelp.CHM"_s);
        QVERIFY(QDir(app.path()).rename(u"Documentation"_s, u"documentation"_s));
        QVERIFY(QFile::copy(kBuiltHelp, path));
        test::RecordingMessages messages;
        QCOMPARE(helpFilePath(1), path);
        showHelpContents(1);
        showHelpContents(1);
        QCOMPARE(messages.lines(), QStringList());
        QCOMPARE(openViewers().size(), 2);
        HelpViewerWindow* viewer = openViewers()[0];
        QVERIFY(viewer->isVisible() && viewer->isWindow() && !viewer->isModal() &&
                !viewer->testAttribute(Qt::WA_QuitOnClose));
        help::HelpBrowser* browser = viewer->browser();
        QCOMPARE(browser->source(), chm("index.html"));
        QVERIFY(browser->toPlainText().contains(u"Welcome to Pantrova"_s));
        QCOMPARE(viewer->contentsTree()->currentItem()->text(0), u"Welcome to Pantrova"_s);
        viewer->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(viewer));
        QTRY_COMPARE(QApplication::focusWidget(), viewer->contentsTree());

        // The contents page shows an image and uses a style sheet, both out of the file.
        const QUrl image = browser->source().resolved(QUrl(u"images/pantrova.png"_s));
        QImage picture;
        QVERIFY(picture.loadFromData(
            browser->loadResource(QTextDocument::ImageResource, image).toByteArray()));
        QCOMPARE(picture.size(), QSize(360, 72));
        QVERIFY(!browser->document()->resource(QTextDocument::ImageResource, image).isNull());
        QVERIFY(browser->loadResource(QTextDocument::StyleSheetResource, chm("style.css"))
                    .toByteArray()
                    .contains("h1 {"));
        // Nothing outside the archive is read, nor by a page view without an archive.
        for (const QUrl& url : {QUrl::fromLocalFile(kBuiltHelp), chm("no-such-page.html")}) {
            QVERIFY(browser->loadResource(QTextDocument::HtmlResource, url).isNull());
        }
        QVERIFY(help::HelpBrowser()
                    .loadResource(QTextDocument::HtmlResource, chm("index.html"))
                    .isNull());

        // Tab leaves the contents for the page, Tab picks its first link, Return follows
        // it, and the contents follow along.
        QTest::keyClick(viewer->contentsTree(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), browser);
        QTest::keyClick(browser, Qt::Key_Tab);
        QTest::keyClick(browser, Qt::Key_Return);
        QCOMPARE(browser->source(), chm("start.html"));
        QVERIFY(browser->toPlainText().contains(u"The main menu"_s));
        QCOMPARE(viewer->contentsTree()->currentItem()->text(0), u"Getting started"_s);
        // Down in the contents shows the next entry's page.
        viewer->contentsTree()->setFocus();
        QTest::keyClick(viewer->contentsTree(), Qt::Key_Down);
        QCOMPARE(browser->source(), chm("categories.html"));
        emit browser->anchorClicked(chm("folders.html#backup"));
        QCOMPARE(browser->source(), chm("folders.html#backup"));

        // Closing it deletes it; the program kept nothing about it.
        QPointer<HelpViewerWindow> guard(viewer);
        viewer->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(guard.isNull());
    }

    // "removed", "folder" (one of that name), "huge" (the built file made 3 GB, sparse),
    // "built" (a damaged built file) or "" (other bytes). The viewer either gives the
    // message or opens on the contents page as usual. Only number 1 is a help file;
    // its path is given whether the file is there or not.
    void opensOrTells_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("opens");
        const QByteArray built = builtHelp();
        QByteArray random(256 * 1024, '\0');
        QRandomGenerator generator(8);
        for (char& c : random) c = char(generator.bounded(256));
        for (int number : {0, 2, -1, 32767})
            QTest::addRow("number %d", number) << number << "" << built << false;
        QTest::newRow("removed") << 1 << "removed" << QByteArray() << false;
        QTest::newRow("folder of that name") << 1 << "folder" << QByteArray() << false;
        QTest::newRow("empty") << 1 << "" << QByteArray() << false;
        QTest::newRow("random bytes") << 1 << "" << random << false;
        QTest::newRow("random after the signature")
            << 1 << "" << random.replace(0, 4, "ITSF") << false;
        QTest::newRow("list pages in a ring")
            << 1 << "" << fakeDirectory({page(false, 1), page(false, 0)}, -1, 0) << false;
        QTest::newRow("first kilobyte") << 1 << "built" << built.left(1024) << false;
        QTest::newRow("cut in the directory")
            << 1 << "built" << built.left(0x60 + 0x54 + 0x800) << false;
        QTest::newRow("contents file missing")  // the directory is not compressed
            << 1 << "built" << patched(built, "/PVHelp.hhc", 0, "/PVHelp.xyz") << false;
        // The reset table (version 2, count, entry size 8, table at 0x28): the first block
        // ends 64 KB on, which chmlib would read into a buffer of 38 KB.
        QTest::newRow("compressed block longer than a frame")
            << 1 << "built"
            << patched(built, QByteArray("\x08\0\0\0\x28\0\0\0", 8), 0x28,
                       QByteArray("\0\0\x01", 3))
            << false;
        QTest::newRow("compression window of zero")  // in 32 KB units
            << 1 << "built" << patched(built, "LZXC", 0x0C, QByteArray(1, '\0')) << false;
        // #SYSTEM is stored uncompressed: its first record's length goes past its end.
        QTest::newRow("#SYSTEM record past its end")
            << 1 << "built" << patched(built, QByteArray("\x03\0\0\0\x0a\0", 6), 6, "\xff\xff")
            << true;
        QTest::newRow("3 GB, mostly nothing") << 1 << "huge" << built << true;
    }
    void opensOrTells() {
        QFETCH(int, number);
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, opens);
        if (kind == u"built" || kind == u"huge") {
            requireBuiltHelp();
            QVERIFY(!bytes.isEmpty());
        }
        test::TempAppFolder app;
        if (kind == u"folder")
            QVERIFY(app.mkdir(kHelpRelative));
        else if (kind != u"removed")
            QVERIFY(app.write(kHelpRelative, bytes));
        if (kind == u"huge" && !QFile(app.file(kHelpRelative)).resize(3LL << 30))
            QSKIP("the file system cannot hold a sparse 3 GB file");

        test::RecordingMessages messages;
        QCOMPARE(helpFilePath(qint16(number)), number == 1 ? app.file(kHelpRelative) : QString());
        showHelpContents(qint16(number));
        const QString invalid = u"Tolm Help File|16|Invalid Help file.\r\nHelp File #"_s +
                                QString::number(number) + u"\r\nHelp File Path: "_s;
        QCOMPARE(messages.lines(),
                 (number == 1 ? QStringList() : QStringList{invalid, invalid}) +
                     (opens ? QStringList() : QStringList{kOpenError + QString::number(number)}));
        QCOMPARE(openViewers().size(), opens ? 1 : 0);
        if (!opens)
            return;
        // Title and default topic unread or not: the plain title and the first page.
        HelpViewerWindow* viewer = openViewers()[0];
        QCOMPARE(viewer->windowTitle(), u"Pantrova Help"_s);
        QCOMPARE(viewer->browser()->source(), chm("index.html"));
        QCOMPARE(viewer->contentsTree()->topLevelItemCount(), 7);
    }

    void directoryLoopsAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("sound");
        const QByteArray list = page(false, -1);
        QTest::newRow("index over two list pages")
            << fakeDirectory({page(true, 1), page(false, 2), list}, 0, 1) << true;
        QTest::newRow("list page chained to itself")
            << fakeDirectory({page(false, 0)}, -1, 0) << false;
        QTest::newRow("index page pointing at itself")
            << fakeDirectory({page(true, 0), list}, 0, 1) << false;
        QTest::newRow("index pages in a ring")
            << fakeDirectory({page(true, 1), page(true, 0), list}, 0, 2) << false;
        QTest::newRow("index child past the last page")
            << fakeDirectory({page(true, 9), list}, 0, 1) << false;
        QTest::newRow("root past the last page") << fakeDirectory({list}, 5, 0) << false;
        QTest::newRow("fewer pages than it claims")
            << fakeDirectory({list, list}, -1, 0).chopped(0x1000) << false;
    }

    void directoryLoopsAreRefused() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, sound);
        QCOMPARE(help::chmDirectoryIsSound(bytes), sound);
    }

    // Entries as "name -> local", indented two blanks a level, one a line.
    void contentsParser_data() {
        QTest::addColumn<QByteArray>("hhc");
        QTest::addColumn<QString>("expected");
        QTest::newRow("nested") << "<UL>" + entry("A", "a.html") + "<UL>" + entry("B") + "<UL>" +
                                       entry("C", "c.html#x") + "</UL></UL>" + entry("D") + "</UL>"
                                << "A -> a.html\n  B\n    C -> c.html#x\nD";
        QTest::newRow("case, quotes and entities")
            << QByteArray(
                   "<ul><li><object TYPE='Text/Sitemap'><PARAM NAME=name VALUE='Fish &amp; "
                   "Chips &#233;'><param name=local value=f.html></object></ul>")
            << "Fish & Chips \u00e9 -> f.html";
        QTest::newRow("windows-1252 text") << "<ul>" + entry("Cr\xe8me \x80") + "</ul>"
                                           << "Cr\u00e8me \u20ac";
        QTest::newRow("site properties are no entry")
            << "<OBJECT type=\"text/site properties\"><param name=\"Name\" "
               "value=\"X\"></OBJECT><UL>" +
                   entry("Y") + "</UL>"
            << "Y";
        QTest::newRow("entry without a name is dropped")
            << "<UL>" + entry(nullptr, "a.html") + "</UL>"
            << "";
        QTest::newRow("comment hides an entry") << "<UL><!-- " + entry("hidden") + " --></UL>"
                                                << "";
        QTest::newRow("stray closing lists") << "</UL></UL><UL>" + entry("A") << "A";
        QTest::newRow("depth is bounded")
            << QByteArray("<UL>").repeated(1000) + entry("deep")
            << QString(2 * help::kMaxContentsDepth, u' ') + QStringLiteral("deep");
    }

    void contentsParser() {
        QFETCH(QByteArray, hhc);
        QFETCH(QString, expected);
        QStringList entries;
        for (const ContentsEntry& e : help::parseContents(hhc)) {
            entries.append(QString(2 * e.depth, u' ') + e.name +
                           (e.local.isEmpty() ? QString() : QStringLiteral(" -> ") + e.local));
        }
        QCOMPARE(entries.join(u'\n'), expected);
    }

    void systemRecord() {
        const auto read = [](const QByteArray& bytes) {
            const help::SystemInfo info = help::parseSystem(bytes);
            return QStringList{info.contentsFile, info.defaultTopic, info.title};
        };
        const QByteArray version("\x03\0\0\0", 4);
        const QByteArray topic("\x02\0\x0b\0index.html\0", 15);
        QCOMPARE(read(version + QByteArray("\0\0\x0b\0PVHelp.hhc\0", 15) + topic +
                      QByteArray("\x03\0\x05\0Help\0", 9)),
                 QStringList({"PVHelp.hhc", "index.html", "Help"}));
        // A record whose length goes past the end is not read.
        QCOMPARE(read(version + topic + QByteArray("\x03\0\xff\0Help", 8)),
                 QStringList({"", "index.html", ""}));
    }
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
