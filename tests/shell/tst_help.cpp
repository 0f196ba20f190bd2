// Help access: the help file's path by number, the two help messages, and the
// viewer that stands in for the platform's HTML help on the compiled PVHelp.chm.
#include "help.h"
#include "helparchive.h"
#include "helpcontents.h"
#include "helpviewer.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QRandomGenerator>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QtTest>

using namespace pv;
using pv::help::ContentsEntry;
using pv::help::HelpViewer;

namespace {

const QString kBuiltHelp = QStringLiteral(PV_APPDIR "/Documentation/PVHelp.chm");
const QString kHelpRelative = QStringLiteral("Documentation/PVHelp.chm");

QList<HelpViewer*> openViewers() {
    QList<HelpViewer*> viewers;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* viewer = qobject_cast<HelpViewer*>(widget))
            viewers.append(viewer);
    }
    return viewers;
}

QByteArray builtHelp() {
    QFile file(kBuiltHelp);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString errorText(int number) {
    return QStringLiteral("Error in opening Help file.\r\nHelp File #") + QString::number(number);
}

// The entries of a viewer's contents tree in display order, with their depth.
QList<ContentsEntry> treeEntries(const QTreeWidget* tree) {
    QList<ContentsEntry> entries;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it) {
        int depth = 0;
        for (auto* parent = (*it)->parent(); parent; parent = parent->parent()) ++depth;
        entries.append({(*it)->text(0), QString(), depth});
    }
    return entries;
}

// A minimal archive directory: ITSF and ITSP headers and `pages` pages of 0x1000.
QByteArray fakeDirectory(const QList<QByteArray>& pages, qint32 root, qint32 head) {
    const auto put32 = [](QByteArray& b, int at, quint32 v) {
        for (int i = 0; i < 4; ++i) b[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    QByteArray itsf(0x60, '\0');
    itsf.replace(0, 4, "ITSF");
    put32(itsf, 4, 3);
    put32(itsf, 8, 0x60);
    put32(itsf, 0x48, 0x60);                                   // directory offset
    put32(itsf, 0x50, quint32(0x54 + 0x1000 * pages.size()));  // directory length
    QByteArray itsp(0x54, '\0');
    itsp.replace(0, 4, "ITSP");
    put32(itsp, 4, 1);
    put32(itsp, 8, 0x54);
    put32(itsp, 0x10, 0x1000);
    put32(itsp, 0x1C, quint32(root));
    put32(itsp, 0x20, quint32(head));
    put32(itsp, 0x28, 0xFFFFFFFF);
    put32(itsp, 0x2C, quint32(pages.size()));
    QByteArray bytes = itsf + itsp;
    for (QByteArray page : pages) {
        page.resize(0x1000, '\0');
        bytes += page;
    }
    return bytes;
}

// A list page with one entry "/a" and the given next page; an index page whose
// one entry points to `child`.
QByteArray listPage(qint32 next) {
    QByteArray page(0x1000, '\0');
    page.replace(0, 4, "PMGL");
    const QByteArray entry("\x02/a\x00\x00\x00", 6);
    const quint32 freeSpace = 0x1000 - 0x14 - entry.size();
    for (int i = 0; i < 4; ++i) {
        page[4 + i] = char((freeSpace >> (8 * i)) & 0xFF);
        page[0x10 + i] = char((quint32(next) >> (8 * i)) & 0xFF);
    }
    page.replace(0x14, entry.size(), entry);
    return page;
}
QByteArray indexPage(quint8 child) {
    QByteArray page(0x1000, '\0');
    page.replace(0, 4, "PMGI");
    const QByteArray entry = QByteArray("\x02/a", 3) + char(child);
    const quint32 freeSpace = 0x1000 - 0x08 - entry.size();
    for (int i = 0; i < 4; ++i) page[4 + i] = char((freeSpace >> (8 * i)) & 0xFF);
    page.replace(0x08, entry.size(), entry);
    return page;
}

}  // namespace

class TestHelp : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void pathForNumberOne();
    void invalidNumberMessages_data();
    void invalidNumberMessages();

    void viewerOpensBuiltHelp();
    void everyCallOpensANewViewer();
    void pageLinkAndImageResolveInsideTheFile();
    void linkFollowedByKeyboard();

    void missingOrDamagedFile_data();
    void missingOrDamagedFile();
    void hugeFileStillOpens();
    void damagedSystemRecordFallsBackToContents();
    void loopingDirectoryIsRefused_data();
    void loopingDirectoryIsRefused();

    void contentsParser_data();
    void contentsParser();
    void systemRecord_data();
    void systemRecord();

private:
    void requireBuiltHelp() {
        if (!QFile::exists(kBuiltHelp))
            QSKIP("PVHelp.chm was not compiled (no chmcmd in this configuration)");
    }
};

void TestHelp::cleanup() {
    for (HelpViewer* viewer : openViewers()) delete viewer;
}

void TestHelp::pathForNumberOne() {
    test::TempAppFolder app;
    test::RecordingMessages messages;
    QCOMPARE(HelpFilePath(1), app.path() + QStringLiteral("/Documentation/PVHelp.chm"));
    QVERIFY(messages.shown.isEmpty());  // the file's existence is not looked at
}

void TestHelp::invalidNumberMessages_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("digits");
    QTest::newRow("0") << 0 << QStringLiteral("0");
    QTest::newRow("2") << 2 << QStringLiteral("2");
    QTest::newRow("-1") << -1 << QStringLiteral("-1");
    QTest::newRow("32767") << 32767 << QStringLiteral("32767");
}

void TestHelp::invalidNumberMessages() {
    QFETCH(int, number);
    QFETCH(QString, digits);
    test::TempAppFolder app;
    QVERIFY(QFile::copy(kBuiltHelp, app.file(kHelpRelative)) || !QFile::exists(kBuiltHelp));
    test::RecordingMessages messages;

    QCOMPARE(HelpFilePath(qint16(number)), QString());
    QCOMPARE(messages.shown.size(), 1);
    const QString invalid = QStringLiteral("Invalid Help file.\r\nHelp File #") + digits +
                            QStringLiteral("\r\nHelp File Path: ");
    QCOMPARE(messages.shown[0].text, invalid);
    QCOMPARE(messages.shown[0].flags, 16);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Tolm Help File"));

    messages.shown.clear();
    ShowHelpContents(qint16(number));
    QCOMPARE(messages.shown.size(), 2);
    QCOMPARE(messages.shown[0].text, invalid);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Tolm Help File"));
    QCOMPARE(messages.shown[1].text,
             QStringLiteral("Error in opening Help file.\r\nHelp File #") + digits);
    QCOMPARE(messages.shown[1].flags, 16);
    QCOMPARE(messages.shown[1].title, QStringLiteral("Tolm Help File Contents"));
    QVERIFY(openViewers().isEmpty());
}

void TestHelp::viewerOpensBuiltHelp() {
    requireBuiltHelp();
    test::TempAppFolder app;
    QVERIFY(QFile::copy(kBuiltHelp, app.file(kHelpRelative)));
    test::RecordingMessages messages;

    ShowHelpContents(1);
    QVERIFY2(messages.shown.isEmpty(),
             qPrintable(messages.shown.isEmpty() ? QString() : messages.shown[0].text));
    const QList<HelpViewer*> viewers = openViewers();
    QCOMPARE(viewers.size(), 1);
    HelpViewer* viewer = viewers[0];
    QVERIFY(viewer->isVisible());
    QVERIFY(!viewer->isModal());
    QVERIFY(viewer->isWindow());
    QVERIFY(viewer->testAttribute(Qt::WA_DeleteOnClose));
    QVERIFY(!viewer->testAttribute(Qt::WA_QuitOnClose));
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Pantrova Help"));

    const QList<ContentsEntry> expected = {
        {QStringLiteral("Welcome to Pantrova"), {}, 0},
        {QStringLiteral("Getting started"), {}, 0},
        {QStringLiteral("Setting up categories (Prg setup)"), {}, 1},
        {QStringLiteral("Working with recipes"), {}, 0},
        {QStringLiteral("Writing a recipe"), {}, 1},
        {QStringLiteral("Browsing, printing and deleting recipes"), {}, 1},
        {QStringLiteral("Shopping lists and the calendar"), {}, 0},
        {QStringLiteral("When something goes wrong"), {}, 0},
        {QStringLiteral("Where your data lives and backing up"), {}, 0},
    };
    QCOMPARE(treeEntries(viewer->contentsTree()), expected);

    // Opened on the default topic, the contents page.
    QCOMPARE(viewer->browser()->source(), QUrl(QStringLiteral("chm:/index.html")));
    QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Welcome to Pantrova")));
    QCOMPARE(viewer->contentsTree()->currentItem()->text(0), QStringLiteral("Welcome to Pantrova"));

    // Picking an entry shows its page.
    QTreeWidgetItem* writing = viewer->contentsTree()->topLevelItem(2)->child(0);
    QCOMPARE(writing->text(0), QStringLiteral("Writing a recipe"));
    viewer->contentsTree()->setCurrentItem(writing);
    QCOMPARE(viewer->browser()->source(), QUrl(QStringLiteral("chm:/writing.html")));
    QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("digits only")));

    // Every control a person uses has a name a screen reader can read.
    QCOMPARE(viewer->contentsTree()->accessibleName(), QStringLiteral("Help contents"));
    QCOMPARE(viewer->browser()->accessibleName(), QStringLiteral("Help page"));
    for (auto* button : viewer->findChildren<QAbstractButton*>())
        QVERIFY(!button->accessibleName().isEmpty());

    // Closing it deletes it; the program kept nothing about it.
    QPointer<HelpViewer> guard(viewer);
    viewer->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(guard.isNull());
}

void TestHelp::everyCallOpensANewViewer() {
    requireBuiltHelp();
    test::TempAppFolder app;
    QVERIFY(QFile::copy(kBuiltHelp, app.file(kHelpRelative)));
    test::RecordingMessages messages;
    ShowHelpContents(1);
    ShowHelpContents(1);
    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(openViewers().size(), 2);
}

void TestHelp::pageLinkAndImageResolveInsideTheFile() {
    requireBuiltHelp();
    HelpViewer* viewer = HelpViewer::open(kBuiltHelp);
    QVERIFY(viewer);
    help::HelpBrowser* browser = viewer->browser();

    // The contents page links to "start.html" and shows "images/pantrova.png".
    const QString html = browser->toHtml();
    QVERIFY(html.contains(QStringLiteral("start.html")));
    const QUrl image = browser->source().resolved(QUrl(QStringLiteral("images/pantrova.png")));
    QCOMPARE(image, QUrl(QStringLiteral("chm:/images/pantrova.png")));
    const QVariant pixels = browser->loadResource(QTextDocument::ImageResource, image);
    QImage picture;
    QVERIFY(picture.loadFromData(pixels.toByteArray()));
    QCOMPARE(picture.size(), QSize(360, 72));
    // The document really uses it: the image is in its resources after layout.
    QVERIFY(!browser->document()->resource(QTextDocument::ImageResource, image).isNull());

    const QUrl css = browser->source().resolved(QUrl(QStringLiteral("style.css")));
    QVERIFY(browser->loadResource(QTextDocument::StyleSheetResource, css)
                .toByteArray()
                .contains("h1 {"));

    // Following the link shows the linked page out of the archive, and the contents
    // follow along.
    const QUrl link = browser->source().resolved(QUrl(QStringLiteral("start.html")));
    emit browser->anchorClicked(link);
    QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/start.html")));
    QVERIFY(browser->toPlainText().contains(QStringLiteral("The main menu")));
    QCOMPARE(viewer->contentsTree()->currentItem()->text(0), QStringLiteral("Getting started"));

    // A link to an anchor on another page.
    const QUrl backup = browser->source().resolved(QUrl(QStringLiteral("folders.html#backup")));
    emit browser->anchorClicked(backup);
    QCOMPARE(browser->source().path(), QStringLiteral("/folders.html"));
    QCOMPARE(browser->source().fragment(), QStringLiteral("backup"));

    // Back returns to the page before.
    QVERIFY(browser->isBackwardAvailable());
    browser->backward();
    QCOMPARE(browser->source(), QUrl(QStringLiteral("chm:/start.html")));

    // Nothing outside the archive is read.
    QVERIFY(browser->loadResource(QTextDocument::HtmlResource, QUrl::fromLocalFile(kBuiltHelp))
                .isNull());
    QVERIFY(browser
                ->loadResource(QTextDocument::HtmlResource,
                               QUrl(QStringLiteral("chm:/no-such-page.html")))
                .isNull());
}

void TestHelp::linkFollowedByKeyboard() {
    requireBuiltHelp();
    HelpViewer* viewer = HelpViewer::open(kBuiltHelp);
    QVERIFY(viewer);
    QApplication::setActiveWindow(viewer);
    QVERIFY(QTest::qWaitForWindowActive(viewer));
    QTRY_COMPARE(QApplication::focusWidget(), viewer->contentsTree());

    // Tab leaves the contents for the page; then Tab picks the first link.
    QTest::keyClick(viewer->contentsTree(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), viewer->browser());
    QTest::keyClick(viewer->browser(), Qt::Key_Tab);
    QVERIFY(viewer->browser()->textCursor().hasSelection());
    QTest::keyClick(viewer->browser(), Qt::Key_Return);
    QCOMPARE(viewer->browser()->source(), QUrl(QStringLiteral("chm:/start.html")));

    // Down in the contents shows the next entry's page.
    viewer->contentsTree()->setFocus();
    QTest::keyClick(viewer->contentsTree(), Qt::Key_Down);
    QCOMPARE(viewer->browser()->source(), QUrl(QStringLiteral("chm:/categories.html")));
}

void TestHelp::missingOrDamagedFile_data() {
    QTest::addColumn<QString>("damage");
    QTest::newRow("removed") << QStringLiteral("removed");
    QTest::newRow("empty") << QStringLiteral("empty");
    QTest::newRow("first kilobyte") << QStringLiteral("first kilobyte");
    QTest::newRow("truncated in the directory") << QStringLiteral("truncated");
    QTest::newRow("random bytes") << QStringLiteral("random");
    QTest::newRow("random after the signature") << QStringLiteral("signature");
    QTest::newRow("folder of that name") << QStringLiteral("folder");
    QTest::newRow("contents file missing") << QStringLiteral("no contents");
    QTest::newRow("compressed block longer than a frame") << QStringLiteral("reset table");
    QTest::newRow("compression window of zero") << QStringLiteral("window");
}

void TestHelp::missingOrDamagedFile() {
    QFETCH(QString, damage);
    test::TempAppFolder app;
    const QByteArray good = builtHelp();
    const bool needsBuilt =
        damage == u"truncated" || damage == u"no contents" || damage == u"first kilobyte";
    if (needsBuilt)
        requireBuiltHelp();

    QRandomGenerator random(8);
    QByteArray bytes;
    if (damage == u"first kilobyte") {
        bytes = good.left(1024);
    } else if (damage == u"truncated") {
        bytes = good.left(0x60 + 0x54 + 0x800);  // headers and half the first page
    } else if (damage == u"random" || damage == u"signature") {
        bytes.resize(256 * 1024);
        for (char& c : bytes) c = char(random.bounded(256));
        if (damage == u"signature")
            bytes.replace(0, 4, "ITSF");
    } else if (damage == u"no contents") {
        // Rename the contents file in the (uncompressed) directory.
        bytes = good;
        QCOMPARE(bytes.count("/PVHelp.hhc"), 1);
        bytes.replace("/PVHelp.hhc", "/PVHelp.xyz");
    } else if (damage == u"reset table") {
        // The reset table (stored uncompressed): version 2, block count, entry size
        // 8, table at 0x28. Make the first block end 64 KB after it starts; chmlib
        // would read that much into a buffer of 38 KB.
        bytes = good;
        const qsizetype at = bytes.indexOf(QByteArray("\x08\0\0\0\x28\0\0\0", 8));
        QVERIFY(at >= 8);
        const qsizetype table = at - 8;
        QCOMPARE(bytes[table], char(2));
        bytes[table + 0x30] = char(0);
        bytes[table + 0x31] = char(0);
        bytes[table + 0x32] = char(1);
    } else if (damage == u"window") {
        bytes = good;
        const qsizetype at = bytes.indexOf("LZXC");
        QVERIFY(at >= 4);
        bytes[at + 0x0C] = char(0);  // window size, in 32 KB units
    }
    if (damage == u"folder") {
        QVERIFY(QDir(app.path()).mkpath(kHelpRelative));
    } else if (damage != u"removed") {
        QVERIFY(app.write(kHelpRelative, bytes));
    }

    test::RecordingMessages messages;
    ShowHelpContents(1);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, errorText(1));
    QCOMPARE(messages.shown[0].flags, 16);
    QCOMPARE(messages.shown[0].title, QStringLiteral("Tolm Help File Contents"));
    QVERIFY(openViewers().isEmpty());
}

void TestHelp::hugeFileStillOpens() {
    requireBuiltHelp();
    // A help file followed by 3 GB of nothing (sparse): only the directory and the
    // objects asked for are read, so it opens as usual.
    test::TempAppFolder app;
    QVERIFY(QFile::copy(kBuiltHelp, app.file(kHelpRelative)));
    QFile file(app.file(kHelpRelative));
    QVERIFY(file.open(QIODevice::ReadWrite));
    if (!file.resize(3LL * 1024 * 1024 * 1024))
        QSKIP("the file system cannot hold a sparse 3 GB file");
    file.close();
    test::RecordingMessages messages;
    ShowHelpContents(1);
    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(openViewers().size(), 1);
    QCOMPARE(openViewers()[0]->contentsTree()->topLevelItemCount(), 6);
}

void TestHelp::damagedSystemRecordFallsBackToContents() {
    requireBuiltHelp();
    // #SYSTEM is stored uncompressed; give its first record a length past its end.
    QByteArray bytes = builtHelp();
    const qsizetype compiler = bytes.indexOf("HHA Version");
    QVERIFY(compiler > 0x10);
    const qsizetype system = compiler - 0x10;
    QCOMPARE(bytes.mid(system, 6), QByteArray("\x03\0\0\0\x0a\0", 6));
    bytes[system + 6] = char(0xFF);
    bytes[system + 7] = char(0xFF);
    test::TempAppFolder app;
    QVERIFY(app.write(kHelpRelative, bytes));

    test::RecordingMessages messages;
    ShowHelpContents(1);
    QVERIFY(messages.shown.isEmpty());
    QCOMPARE(openViewers().size(), 1);
    HelpViewer* viewer = openViewers()[0];
    // No title and no default topic: the plain title and the first contents page.
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Pantrova Help"));
    QCOMPARE(viewer->browser()->source(), QUrl(QStringLiteral("chm:/index.html")));
    QCOMPARE(viewer->contentsTree()->topLevelItemCount(), 6);
}

void TestHelp::loopingDirectoryIsRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("sound");
    QTest::newRow("one list page") << fakeDirectory({listPage(-1)}, -1, 0) << true;
    QTest::newRow("index over two list pages")
        << fakeDirectory({indexPage(1), listPage(2), listPage(-1)}, 0, 1) << true;
    QTest::newRow("list page chained to itself") << fakeDirectory({listPage(0)}, -1, 0) << false;
    QTest::newRow("two list pages in a ring")
        << fakeDirectory({listPage(1), listPage(0)}, -1, 0) << false;
    QTest::newRow("index page pointing at itself")
        << fakeDirectory({indexPage(0), listPage(-1)}, 0, 1) << false;
    QTest::newRow("index pages in a ring")
        << fakeDirectory({indexPage(1), indexPage(0), listPage(-1)}, 0, 2) << false;
    QTest::newRow("index child past the last page")
        << fakeDirectory({indexPage(9), listPage(-1)}, 0, 1) << false;
    QTest::newRow("root past the last page") << fakeDirectory({listPage(-1)}, 5, 0) << false;
    QByteArray shortPages = fakeDirectory({listPage(-1), listPage(-1)}, -1, 0);
    shortPages.chop(0x1000);
    QTest::newRow("fewer pages than it claims") << shortPages << false;
}

void TestHelp::loopingDirectoryIsRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, sound);
    QCOMPARE(help::chmDirectoryIsSound(bytes), sound);
    if (sound)
        return;
    // Through the file as well: a message, no hang.
    test::TempAppFolder app;
    QVERIFY(app.write(kHelpRelative, bytes));
    QVERIFY(!help::chmDirectoryIsSound(app.file(kHelpRelative)));
    test::RecordingMessages messages;
    ShowHelpContents(1);
    QCOMPARE(messages.shown.size(), 1);
    QCOMPARE(messages.shown[0].text, errorText(1));
}

void TestHelp::contentsParser_data() {
    QTest::addColumn<QByteArray>("hhc");
    QTest::addColumn<QList<ContentsEntry>>("expected");
    const auto e = [](const char* name, const char* local, int depth) {
        return ContentsEntry{QString::fromUtf8(name), QString::fromUtf8(local), depth};
    };
    QTest::newRow("nested")
        << QByteArray(
               "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
               "<param name=\"Local\" value=\"a.html\"></OBJECT>"
               "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"B\"></OBJECT>"
               "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"C\">"
               "<param name=\"Local\" value=\"c.html#x\"></OBJECT></UL></UL>"
               "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"D\"></OBJECT></UL>")
        << QList<ContentsEntry>{e("A", "a.html", 0), e("B", "", 1), e("C", "c.html#x", 2),
                                e("D", "", 0)};
    QTest::newRow("case, quotes and entities")
        << QByteArray(
               "<ul><li><object TYPE='Text/Sitemap'><PARAM NAME=name VALUE='Fish &amp; "
               "Chips &#233;'><param name=local value=f.html></object></ul>")
        << QList<ContentsEntry>{e("Fish & Chips \xc3\xa9", "f.html", 0)};
    QTest::newRow("windows-1252 text")
        << QByteArray(
               "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" "
               "value=\"Cr\xe8me \x80\"></object></ul>")
        << QList<ContentsEntry>{e("Cr\xc3\xa8me \xe2\x82\xac", "", 0)};
    QTest::newRow("site properties are no entry")
        << QByteArray(
               "<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"X\">"
               "</OBJECT><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
               "value=\"Y\"></OBJECT></UL>")
        << QList<ContentsEntry>{e("Y", "", 0)};
    QTest::newRow("first name and local count")
        << QByteArray(
               "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"1\">"
               "<param name=\"Name\" value=\"2\"><param name=\"Local\" value=\"1.html\">"
               "<param name=\"Local\" value=\"2.html\"></OBJECT></UL>")
        << QList<ContentsEntry>{e("1", "1.html", 0)};
    QTest::newRow("entry without a name is dropped")
        << QByteArray(
               "<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Local\" "
               "value=\"a.html\"></OBJECT></UL>")
        << QList<ContentsEntry>{};
    QTest::newRow("comment hides an entry")
        << QByteArray(
               "<UL><!-- <LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" "
               "value=\"hidden\"></OBJECT> --></UL>")
        << QList<ContentsEntry>{};
    QTest::newRow("unclosed everything")
        << QByteArray("<UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A")
        << QList<ContentsEntry>{};
    QTest::newRow("stray closing lists")
        << QByteArray(
               "</UL></UL><UL><LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"A\">"
               "</OBJECT>")
        << QList<ContentsEntry>{e("A", "", 0)};
    QTest::newRow("empty") << QByteArray() << QList<ContentsEntry>{};
    QTest::newRow("not markup") << QByteArray("\0\xff<<<>>>=\"'", 10) << QList<ContentsEntry>{};

    QByteArray deep;
    for (int i = 0; i < 1000; ++i) deep += "<UL>";
    deep += "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"deep\"></OBJECT>";
    QTest::newRow("depth is bounded")
        << deep << QList<ContentsEntry>{e("deep", "", help::kMaxContentsDepth)};
}

void TestHelp::contentsParser() {
    QFETCH(QByteArray, hhc);
    QFETCH(QList<ContentsEntry>, expected);
    QCOMPARE(help::parseContents(hhc), expected);
}

void TestHelp::systemRecord_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("contents");
    QTest::addColumn<QString>("topic");
    QTest::addColumn<QString>("title");
    const QByteArray version("\x03\0\0\0", 4);
    const QByteArray contents("\0\0\x0b\0PVHelp.hhc\0", 15);
    const QByteArray topic("\x02\0\x0b\0index.html\0", 15);
    const QByteArray title("\x03\0\x05\0Help\0", 9);
    QTest::newRow("all three") << version + contents + topic + title << "PVHelp.hhc"
                               << "index.html"
                               << "Help";
    QTest::newRow("without terminating NUL") << version + QByteArray("\x03\0\x04\0Help", 8) << ""
                                             << ""
                                             << "Help";
    QTest::newRow("record past the end")
        << version + topic + QByteArray("\x03\0\xff\0Help", 8) << ""
        << "index.html"
        << "";
    QTest::newRow("cut inside a record header")
        << version + contents + QByteArray("\x02\0", 2) << "PVHelp.hhc"
        << ""
        << "";
    QTest::newRow("empty") << QByteArray() << ""
                           << ""
                           << "";
}

void TestHelp::systemRecord() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, contents);
    QFETCH(QString, topic);
    QFETCH(QString, title);
    const help::SystemInfo info = help::parseSystem(bytes);
    QCOMPARE(info.contentsFile, contents);
    QCOMPARE(info.defaultTopic, topic);
    QCOMPARE(info.title, title);
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
