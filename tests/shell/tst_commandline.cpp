// The program run from a script: pantrova --import FILE... --category NAME, with no display.
#include "storetest.h"
#include "tempfolder.h"

#include <QProcess>
#include <QtTest>

#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// The names in a folder, hidden ones too.
QStringList names(const pv::test::TempFolder& folder, const QString& relative) {
    return QDir(folder.file(relative))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

struct Ran {
    int status = -1;
    QString out;
    QString err;
};

}  // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

    std::optional<pv::test::TempFolder> program_;  // the program's own folder, a copy of PV in it
    std::optional<pv::test::TempFolder> home_;
    std::optional<pv::test::TempFolder> work_;  // where the files to import lie

    Ran run(const QStringList& arguments) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // No display at all.
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME"}) {
            environment.remove(QString::fromLatin1(name));
        }
        environment.insert(u"HOME"_s, home_->path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(work_->path());
        process.start(program_->file(u"PV"_s), arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
            return {};
        }
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

private slots:
    void init() {
        program_.emplace(QStringList{u"-Category"_s, u"-Shopping List"_s});
        home_.emplace(QStringList{u"-Category"_s, u"-Shopping List"_s});
        work_.emplace(QStringList{u"-Category"_s, u"-Shopping List"_s});
        // The program finds its data beside itself: it must run from the temporary folder.
        const QByteArray built = QFile::encodeName(QStringLiteral(PV_APPDIR "/PV"));
        const QByteArray copy = QFile::encodeName(program_->file(u"PV"_s));
        QVERIFY(::link(built.constData(), copy.constData()) == 0 ||
                QFile::copy(QString::fromLocal8Bit(built), program_->file(u"PV"_s)));
        QVERIFY(
            work_->write(u"soups.mmf"_s, pv::test::mealMaster({u"Pea Soup"_s, u"Bean Soup"_s})));
        QVERIFY(work_->write(u"more.mmf"_s, pv::test::mealMaster({u"Pea Soup"_s, u"Leek/Potato"_s,
                                                                  u"Borscht \u0411"_s})));
        QVERIFY(work_->write(u"letter.txt"_s, "Dear Ann,\nthanks!\n"));
    }
    void cleanup() {
        program_.reset();
        home_.reset();
        work_.reset();
    }

    // What it prints, how it ends, and what it leaves in a portable folder.
    void imports_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QStringList>("soups");  // the files of Soups afterwards
        const QStringList none;
        QTest::newRow("every recipe imported")
            << QStringList{u"--import"_s, u"soups.mmf"_s, u"--category"_s, u"soups"_s} << 0
            << u"soups.mmf: 2 recipes found.\nImported 2 of 2 recipes into \"Soups\".\n"_s
            << QString() << QStringList{u"Bean Soup"_s, u"Pea Soup"_s, u"Stew"_s};
        QTest::newRow("some skipped, several files")
            << QStringList{u"--category=Soups"_s, u"--import"_s, u"soups.mmf"_s, u"more.mmf"_s,
                           u"letter.txt"_s}
            << 1
            << u"soups.mmf: 2 recipes found.\nImported 2 of 2 recipes into \"Soups\".\n\n"
               "more.mmf: 3 recipes found.\nImported 1 of 3 recipes into \"Soups\".\n\n"
               "Skipped 2 recipes:\n"
               "\"Leek/Potato\": A recipe name cannot contain / \\ : * ? \" < > | or control "
               "characters, and cannot start with \".\".\n"
               "\"Borscht \u0411\": These characters cannot be saved: \"\u0411\" (U+0411)\n\n"
               "Saved under another name, as the name was taken:\n"
               "\"Pea Soup\" as \"Pea Soup (2)\"\n\n"
               "letter.txt: The file \"letter.txt\" holds no MealMaster recipe.\n\n"
               "In all: 3 of 5 recipes imported from 3 files.\n"_s
            << QString()
            << QStringList{u"Bean Soup"_s, u"Pea Soup"_s, u"Pea Soup (2)"_s, u"Stew"_s};
        QTest::newRow("no such category")
            << QStringList{u"--import"_s, u"soups.mmf"_s, u"--category"_s, u"Pies"_s} << 2
            << QString() << u"PV: there is no category \"Pies\".\nTry \"PV --help\" for more.\n"_s
            << QStringList{u"Stew"_s};
        QTest::newRow("listed, its folder gone")
            << QStringList{u"--import"_s, u"soups.mmf"_s, u"--category"_s, u"Gone"_s} << 2
            << QString()
            << u"PV: the folder of the category \"Gone\" is missing.\nTry \"PV --help\" for "
               "more.\n"_s
            << QStringList{u"Stew"_s};
        QTest::newRow("no category given")
            << QStringList{u"--import"_s, u"soups.mmf"_s} << 2 << QString()
            << u"PV: --category NAME says where the recipes go.\nTry \"PV --help\" for more.\n"_s
            << QStringList{u"Stew"_s};
        QTest::newRow("no file given")
            << QStringList{u"--category"_s, u"Soups"_s, u"--import"_s} << 2 << QString()
            << u"PV: --import needs at least one file.\nTry \"PV --help\" for more.\n"_s
            << QStringList{u"Stew"_s};
        QTest::newRow("an unknown argument")
            << QStringList{u"--import"_s, u"soups.mmf"_s, u"--category"_s, u"Soups"_s, u"--quiet"_s}
            << 2 << QString()
            << u"PV: unknown argument \"--quiet\".\nTry \"PV --help\" for more.\n"_s
            << QStringList{u"Stew"_s};
        QTest::newRow("a file named like an option, after --")
            << QStringList{u"--category"_s, u"Soups"_s, u"--import"_s, u"--"_s, u"-x.mmf"_s} << 1
            << u"-x.mmf: The file \"-x.mmf\" was not found.\n"_s << QString()
            << QStringList{u"Stew"_s};
    }
    void imports() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QFETCH(QStringList, soups);
        QVERIFY(program_->write(u"Category/category.txt"_s, "Soups\r\nGone\r\n"));
        QVERIFY(program_->write(u"Category/Soups/Stew"_s, "old"));
        const Ran ran = run(arguments);
        QCOMPARE(ran.out, out);
        QCOMPARE(ran.err, err);
        QCOMPARE(ran.status, status);
        QCOMPARE(names(*program_, u"Category/Soups"_s), soups);
        QCOMPARE(home_->tree(), QStringList());
    }

    void help() {
        const Ran ran = run({u"--help"_s});
        QCOMPARE(ran.status, 0);
        QVERIFY(ran.out.startsWith(u"Usage: PV [--import FILE... --category NAME]\n"_s));
        QVERIFY(
            ran.out.contains(u"Exit status: 0 when every recipe was imported, 1 when some "
                             "were\nskipped"_s));
        QCOMPARE(ran.err, QString());
        QCOMPARE(program_->tree(),
                 QStringList{u"PV %1"_s.arg(QFileInfo(program_->file(u"PV"_s)).size())});
    }

    // The data folder is the program's when it holds PV.ini or a Category folder, else the
    // user's.
    void dataFolder_data() {
        QTest::addColumn<QStringList>("program");  // what the program's folder holds
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("where");  // the category's files, below the program or ~
        QTest::newRow("portable by its Category folder")
            << QStringList{u"category/category.txt=Soups\r\n"_s, u"category/Soups/"_s} << 0
            << u"program:category/Soups"_s;
        QTest::newRow("portable by PV.ini, its Category folder lost")
            << QStringList{u"pv.INI"_s} << 2 << QString();
        QTest::newRow("per user") << QStringList{} << 0
                                  << u"home:.local/share/pantrova/Category/Soups"_s;
    }
    void dataFolder() {
        QFETCH(QStringList, program);
        QFETCH(int, status);
        QFETCH(QString, where);
        for (const QString& entry : program) {
            QVERIFY(entry.endsWith(u'/') ? program_->mkdir(entry)
                                         : program_->write(entry.section(u'=', 0, 0),
                                                           entry.section(u'=', 1).toLatin1()));
        }
        QVERIFY(home_->write(u".local/share/pantrova/Category/category.txt"_s, "Soups\r\n"));
        QVERIFY(home_->mkdir(u".local/share/pantrova/Category/Soups"_s));
        const Ran ran = run({u"--import"_s, u"soups.mmf"_s, u"--category"_s, u"Soups"_s});
        QCOMPARE(ran.status, status);
        if (where.isEmpty()) {
            QCOMPARE(ran.err,
                     u"PV: there is no Category folder in %1.\nTry \"PV --help\" for more.\n"_s.arg(
                         program_->path()));
            QCOMPARE(names(*home_, u".local/share/pantrova/Category/Soups"_s), QStringList());
            return;
        }
        const pv::test::TempFolder& folder = where.startsWith(u"home:"_s) ? *home_ : *program_;
        QCOMPARE(names(folder, where.section(u':', 1)),
                 (QStringList{u"Bean Soup"_s, u"Pea Soup"_s}));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_commandline.moc"
