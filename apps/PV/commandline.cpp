#include "commandline.h"

#include "appfolder.h"
#include "importall.h"
#include "recipeimporter.h"
#include "store.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <optional>
#include <variant>

namespace pv {

using namespace Qt::StringLiterals;

namespace {

constexpr int kAllImported = 0;
constexpr int kSomeSkipped = 1;
constexpr int kBadArguments = 2;

void print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
    std::fflush(stream);
}

QString helpText(const QString& program) {
    return uR"help(Usage: %1 [--import FILE... --category NAME]

Without options, %1 opens its windows.

  --import FILE...   import every recipe of each FILE into the category NAME,
                     each saved as a recipe of its own, as Import all does:
                     a name the category already has gets " (2)", " (3)" and
                     so on, and nothing is ever written over. FILE may be a
                     MealMaster file (.mmf, .txt), schema.org JSON-LD (.json)
                     or a saved web page holding it (.html, .htm).
  --category NAME    the category to import into; it must exist.
  --help             show this text.

Prints how many recipes were imported, and each recipe skipped with the
reason. Exit status: 0 when every recipe was imported, 1 when some were
skipped (or a file could not be read), 2 on bad arguments or a category that
does not exist.

The recipes are kept where the program keeps them: beside the program when
its folder holds PV.ini or a Category folder, otherwise in
$XDG_DATA_HOME/pantrova (by default ~/.local/share/pantrova).
)help"_s.arg(program);
}

int badArguments(const QString& program, const QString& why) {
    print(stderr, u"%1: %2\nTry \"%1 --help\" for more.\n"_s.arg(program, why));
    return kBadArguments;
}

struct Request {
    QStringList files;
    std::optional<QString> category;
    bool help = false;
};

// The request, or why the arguments make none.
std::variant<Request, QString> parse(const QStringList& arguments) {
    Request request;
    bool files = false;
    bool onlyFiles = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (onlyFiles || (files && !argument.startsWith(u'-'))) {
            request.files << argument;
        } else if (argument == u"--"_s && files) {
            onlyFiles = true;
        } else if (argument == u"--help"_s || argument == u"-h"_s) {
            request.help = true;
        } else if (argument == u"--import"_s) {
            files = true;
        } else if (argument.startsWith(u"--import="_s)) {
            files = true;
            request.files << argument.mid(9);
        } else if (argument == u"--category"_s || argument.startsWith(u"--category="_s)) {
            if (request.category) {
                return u"--category is given more than once."_s;
            }
            if (argument.contains(u'=')) {
                request.category = argument.section(u'=', 1);
            } else if (i + 1 < arguments.size()) {
                request.category = arguments[++i];
            } else {
                return u"--category needs the name of a category."_s;
            }
            files = false;
        } else {
            return u"unknown argument \"%1\"."_s.arg(argument);
        }
    }
    if (request.help) {
        return request;
    }
    if (request.files.isEmpty()) {
        return u"--import needs at least one file."_s;
    }
    if (!request.category || request.category->isEmpty()) {
        return u"--category NAME says where the recipes go."_s;
    }
    return request;
}

// The category as the list spells it, or why there is none to import into.
struct Category {
    QString name;
    QString missing;
};
Category existingCategory(const store::Store& store, const QString& name) {
    const auto listed = store.listCategoriesByLine();
    if (!listed) {
        const store::Failure& failure = listed.failure();
        const QString folder = QDir::toNativeSeparators(store.applicationFolder());
        if (failure.isFileNotFound()) {
            return {{}, u"there are no categories in %1 yet."_s.arg(folder)};
        }
        if (failure.isPathNotFound()) {
            return {{}, u"there is no Category folder in %1."_s.arg(folder)};
        }
        return {{},
                u"the categories in %1 cannot be read (%2)."_s.arg(folder, failure.description)};
    }
    for (const QString& category : listed.value()) {
        if (category.compare(name, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const auto folder = store.categoryFolder(category);
        if (!folder) {
            return {{}, folder.failure().userMessage};
        }
        if (store.categoryFolderMissing(category)) {
            return {{}, u"the folder of the category \"%1\" is missing."_s.arg(category)};
        }
        return {category, {}};
    }
    return {{}, u"there is no category \"%1\"."_s.arg(name)};
}

}  // namespace

bool wantsCommandLine(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"--import", "--category", "--help", "-h"}) {
            const std::size_t length = std::strlen(option);
            if (std::strncmp(argv[i], option, length) == 0 &&
                (argv[i][length] == '\0' || argv[i][length] == '=')) {
                return true;
            }
        }
    }
    return false;
}

int runCommandLine(const QStringList& arguments) {
    const QString program = QFileInfo(arguments.value(0, u"pantrova"_s)).fileName();
    const auto parsed = parse(arguments);
    if (const QString* why = std::get_if<QString>(&parsed)) {
        return badArguments(program, *why);
    }
    const Request& request = std::get<Request>(parsed);
    if (request.help) {
        print(stdout, helpText(program));
        return kAllImported;
    }
    store::Store store(dataFolder());
    const auto category = existingCategory(store, *request.category);
    if (!category.missing.isEmpty()) {
        return badArguments(program, category.missing);
    }
    const exchange::ImportAll::Options options{category.name, false};

    int status = kAllImported;
    int found = 0;
    int imported = 0;
    QStringList reports;
    for (const QString& file : request.files) {
        const QString shown = QDir::toNativeSeparators(file);
        if (const auto special = exchange::ImportAll::refuseSpecialFile(file)) {
            reports << u"%1: %2"_s.arg(shown, *special);
            status = kSomeSkipped;
            continue;
        }
        const auto read = exchange::RecipeImporter::readFile(file);
        if (!read) {
            const store::Failure& failure = read.failure();
            reports << u"%1: %2"_s.arg(
                shown, failure.userMessage.isEmpty()
                           ? failure.description
                           : QString(failure.userMessage).replace(u"\r\n"_s, u" "_s));
            status = kSomeSkipped;
            continue;
        }
        const auto summary = exchange::ImportAll::run(store, read.value(), options);
        found += summary.offered;
        imported += summary.importedCount();
        if (summary.importedCount() < summary.offered) {
            status = kSomeSkipped;
        }
        reports << u"%1: %2 found.\n%3"_s.arg(
            shown, summary.offered == 1 ? u"1 recipe"_s : u"%1 recipes"_s.arg(summary.offered),
            summary.text());
    }
    if (request.files.size() > 1) {
        reports << u"In all: %1 of %2 recipes imported from %3 files."_s.arg(
            QString::number(imported), QString::number(found),
            QString::number(request.files.size()));
    }
    print(stdout, reports.join(u"\n\n"_s) + u'\n');
    return status;
}

}  // namespace pv
