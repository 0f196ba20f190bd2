// Dumps the widget tree of every window of both programs after its load, so
// that a change to how windows are built can be checked to change nothing a
// person sees.
//   widgetdump <source folder> [output file]     writes the dump
//   widgetdump <source folder> --compare FILE    exits 1 and shows the first
//                                                 differences when they differ
#include "widgetdump.h"

#include "appfolder.h"
#include "catalog.h"
#include "errorstate.h"
#include "helpviewerwindow.h"
#include "messageservice.h"
#include "registrationwindow.h"
#include "today.h"
#include "twips.h"
#include "windowregistry.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

// Every message is answered at once; the dump records none of them.
class SilentMessages : public pv::MessageService {
public:
    int show(const QString&, int flags, const QString&) override {
        return (flags & 0x7) == pv::msg::kYesNo ? pv::msg::kResultNo : pv::msg::kResultOk;
    }
};

bool write(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// An application folder with two categories, a recipe and a shopping list, the
// shipped icons and, when the build made it, the help file.
void layOutFolder(const QString& root, const QString& sources, const QString& helpFile) {
    write(root + QStringLiteral("/PV.ini"), {});
    write(root + QStringLiteral("/Category/category.txt"), "Soups\r\nDesserts\r\n");
    QDir().mkpath(root + QStringLiteral("/Category/Soups"));
    QByteArray recipe;
    for (int field = 1; field <= 35; ++field) {
        recipe += field == 1 ? "\"1\"" : ",\"\"";
    }
    write(root + QStringLiteral("/Category/Desserts/Pie"), recipe + "\r\n");
    write(root + QStringLiteral("/Shopping List/Old.txt"), "milk\r\n");
    QDir().mkpath(root + QStringLiteral("/images"));
    for (const char* name : {"New", "Save", "Print", "Main", "Exit", "Calendar"}) {
        const QString file = QStringLiteral("/images/%1.ico").arg(QLatin1String(name));
        QFile::copy(sources + QStringLiteral("/assets") + file, root + file);
    }
    QDir().mkpath(root + QStringLiteral("/Documentation"));
    if (QFile::exists(helpFile)) {
        QFile::copy(helpFile, root + QStringLiteral("/Documentation/PVHelp.chm"));
    }
}

QString dumpAll(const QString& root) {
    QString out;
    auto section = [&out](const QString& name, QWidget* window, const QString& mask) {
        out += QStringLiteral("== %1\n").arg(name);
        out += pv::tools::dumpWindow(window, mask);
    };

    pv::registerPantrovaWindows();
    pv::ProgramErrors& errors = pv::programErrors();
    errors.errorLocation = QStringLiteral("R - LF -");
    errors.errorNumberText = QStringLiteral(" 53");
    errors.errorDescription = QStringLiteral("File not found");
    using pv::WindowId;
    const WindowId ids[] = {
        WindowId::Splash,      WindowId::Main,           WindowId::Setup,
        WindowId::RecipeEntry, WindowId::RecipeBrowser,  WindowId::ShoppingList,
        WindowId::About,       WindowId::Credits,        WindowId::Calendar,
        WindowId::Find,        WindowId::RecipePick,     WindowId::Scale,
        WindowId::MealPlan,    WindowId::ImportProgress, WindowId::ImportSummary,
        WindowId::Error};
    // The meal plan shows the week of today: a fixed one keeps the dump the same.
    pv::setToday(QDate(2026, 12, 9));
    for (const WindowId id : ids) {
        const QString name = pv::objectNameOf(id);
        pv::PvWindow* window = pv::windows().show(id);
        if (!window) {
            out += QStringLiteral("== %1: not made\n").arg(name);
            continue;
        }
        if (id == WindowId::Splash) {
            // A tick on a busy machine would move its progress bar before the dump.
            if (auto* timer = window->findChild<QTimer*>(QStringLiteral("tmrTaskTimer"))) {
                timer->stop();
            }
        }
        QCoreApplication::processEvents();
        section(name, window, root);
        if (id == WindowId::Splash) {
            // Its timer would finish start-up under the other windows.
            delete window;
        } else {
            window->hide();
        }
    }

    const QString help = root + QStringLiteral("/Documentation/PVHelp.chm");
    if (QFile::exists(help)) {
        if (auto* viewer = pv::help::HelpViewerWindow::open(help)) {
            QCoreApplication::processEvents();
            section(QStringLiteral("help viewer"), viewer, root);
            delete viewer;
        }
    } else {
        out += QStringLiteral("== help viewer: no help file\n");
    }

    // The registration window opens one folder above the working folder.
    const QString work = root + QStringLiteral("/Libraries/work");
    QDir().mkpath(work);
    write(root + QStringLiteral("/Libraries/a.dll"), "x");
    write(root + QStringLiteral("/Libraries/b.ocx"), "x");
    write(root + QStringLiteral("/Libraries/c.txt"), "x");
    QDir::setCurrent(work);
    {
        ostrel::RegistrationWindow window;
        window.setDrives({QStringLiteral("/")});
        window.show();
        QCoreApplication::processEvents();
        section(QStringLiteral("frmreg"), &window, root);
    }
    pv::windows().reset();
    return out;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pantrova"));
    pv::preferTahomaLookAlikes();
    QApplication::setQuitOnLastWindowClosed(false);
    QStringList args = QCoreApplication::arguments();
    // The registration window changes the working folder.
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (!args.at(i).startsWith(QLatin1String("--"))) {
            args[i] = QFileInfo(args.at(i)).absoluteFilePath();
        }
    }
    if (args.size() < 3) {
        std::fputs("usage: widgetdump <source folder> <help file> [output | --compare file]\n",
                   stderr);
        return 2;
    }
    SilentMessages silent;
    pv::setMessageService(&silent);

    QTemporaryDir scratch;
    const QString root = scratch.path();
    layOutFolder(root, args.at(1), args.at(2));
    pv::setApplicationFolder(root);
    const QString dump = dumpAll(root);
    pv::setMessageService(nullptr);

    if (args.size() >= 5 && args.at(3) == QLatin1String("--compare")) {
        QFile expected(args.at(4));
        if (!expected.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(args.at(4)));
            return 2;
        }
        const QStringList want = QString::fromUtf8(expected.readAll()).split(QLatin1Char('\n'));
        const QStringList got = dump.split(QLatin1Char('\n'));
        int shown = 0;
        for (qsizetype i = 0; i < qMax(want.size(), got.size()) && shown < 20; ++i) {
            const QString a = want.value(i), b = got.value(i);
            if (a != b) {
                std::fprintf(stderr, "line %lld\n  want: %s\n  got:  %s\n", (long long)(i + 1),
                             qPrintable(a), qPrintable(b));
                ++shown;
            }
        }
        return shown == 0 ? 0 : 1;
    }
    if (args.size() >= 4) {
        return write(args.at(3), dump.toUtf8()) ? 0 : 1;
    }
    QTextStream(stdout) << dump;
    return 0;
}
