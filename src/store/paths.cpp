#include "paths.h"

#include "failures.h"
#include "store.h"

#include <QStringDecoder>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace pv::store {

fs::Path findIgnoringCase(const fs::Path& folder, const QString& name) {
    // The best so far by rank: a shown name equal to name before one equal
    // ignoring case, then the smaller shown name, then the name as the program
    // writes it before the same text in other bytes.
    struct Rank {
        bool ignoringCase = false;
        QString shown;
        bool otherBytes = false;
        bool operator<(const Rank& other) const {
            if (ignoringCase != other.ignoringCase) {
                return !ignoringCase;
            }
            if (shown != other.shown) {
                return shown < other.shown;
            }
            return !otherBytes && other.otherBytes;
        }
    };
    fs::Path best;
    Rank bestRank;
    auto consider = [&](fs::NameView entry, const QString& shown) {
        const bool exact = shown == name;
        if (!exact && shown.compare(name, Qt::CaseInsensitive) != 0) {
            return;
        }
        const Rank rank{!exact, shown, fs::encodeName(shown) != entry};
        if (best.isEmpty() || rank < bestRank) {
            best = fs::keepName(entry);
            bestRank = rank;
        }
    };
    // Names are compared as they are where both are ASCII, which most are, and
    // only turned into text otherwise: large folders are scanned on every save
    // of a new recipe.
    const fs::Path wanted = fs::encodeName(name);
    const bool wantedAscii = fs::isAscii(wanted);
    fs::forEachEntry(folder, [&](fs::NameView entry, const fs::EntryKind&) {
        if (!wantedAscii || !fs::isAscii(entry)) {
            consider(entry, fs::shownName(entry));
        } else if (entry.compare(wanted, Qt::CaseInsensitive) == 0) {
            consider(entry, fs::shownName(entry));
        }
    });
    return best;
}

fs::Path resolveNative(const fs::Path& base, const QString& relativePath) {
    fs::Path current = base;
    bool searching = true;
    const QStringList parts = relativePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        const fs::Path given = fs::join(current, fs::encodeName(part));
        if (searching && part != QLatin1String(".") && part != QLatin1String("..")) {
            if (fs::entryExists(given)) {
                current = given;
                continue;
            }
            const fs::Path match = findIgnoringCase(current, part);
            if (!match.isEmpty()) {
                current = fs::join(current, match);
                continue;
            }
            // Nothing below a missing entry can exist.
            searching = false;
        }
        current = given;
    }
    return current;
}

QString resolveBelow(const QString& base, const QString& relativePath) {
    return fs::toText(resolveNative(fs::fromText(base), relativePath));
}

namespace {

// One listed file: its shown name as UTF-8 bytes and the same name
// case-folded, the sort key. Short names stay inside std::string, so sorting
// touches no heap.
struct ListedName {
    std::string key;
    std::string name;
    bool ascii = true;
    // The entry's own name where its bytes are not the shown name's UTF-8.
    fs::Path other;
    bool operator<(const ListedName& other) const {
        const int byKey = key.compare(other.key);
        return byKey != 0 ? byKey < 0 : name < other.name;
    }
};

void addName(std::vector<ListedName>& names, fs::NameView entry) {
    ListedName listed;
    listed.ascii = fs::isAscii(entry);
    if (listed.ascii) {
        listed.name.reserve(size_t(entry.size()));
        for (const auto c : entry) {
            listed.name.push_back(char(QChar(c).unicode()));
        }
        listed.key = listed.name;
        for (char& c : listed.key) {
            if (c >= 'A' && c <= 'Z') {
                c = char(c - 'A' + 'a');
            }
        }
    } else {
        const QString shown = fs::shownName(entry);
        listed.name = shown.toStdString();
        listed.key = shown.toCaseFolded().toStdString();
        if (fs::encodeName(shown) != entry) {
            listed.other = fs::keepName(entry);
        }
    }
    names.push_back(std::move(listed));
}

// A leading dot hides a file: sync tools' and other systems' bookkeeping, and
// the store's own temporary files. ".txt" is what a shopping list saved without
// a name is called, so it stays listed.
bool isHidden(fs::NameView entry) {
    return entry.startsWith('.') && entry != fs::NameView(".txt");
}

// The regular files of folder (and links to them; sub-folders and hidden
// files are not listed), by name ignoring case, ties by exact name, so every machine shows
// one order. False when the folder cannot be read.
bool sortedNames(const fs::Path& folder, std::vector<ListedName>& names) {
    const bool read = fs::status(folder).isDir &&
                      fs::forEachEntry(folder, [&](fs::NameView entry, const fs::EntryKind& kind) {
                          if (kind.isFile && !isHidden(entry)) {
                              addName(names, entry);
                          }
                      });
    if (read) {
        std::sort(names.begin(), names.end());
    }
    return read;
}

// A byte order mark at the start of a name is part of it.
QStringDecoder nameDecoder() {
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
}

QString shownText(const ListedName& listed, QStringDecoder& utf8) {
    const QByteArrayView name(listed.name.data(), qsizetype(listed.name.size()));
    return listed.ascii ? QString::fromLatin1(name) : QString(utf8.decode(name));
}

}  // namespace

Outcome<QStringList> listFiles(const fs::Path& folder) {
    std::vector<ListedName> names;
    if (!sortedNames(folder, names)) {
        return fileSystemFailure(kPathNotFound);
    }
    QStringList sorted;
    sorted.reserve(qsizetype(names.size()) + 1);
    QStringDecoder utf8 = nameDecoder();
    for (const ListedName& listed : names) {
        sorted.append(shownText(listed, utf8));
    }
    sorted.append(QString());  // the spare entry callers stop before
    return sorted;
}

Outcome<std::vector<ListedFile>> listFileEntries(const fs::Path& folder) {
    std::vector<ListedName> names;
    if (!sortedNames(folder, names)) {
        return fileSystemFailure(kPathNotFound);
    }
    std::vector<ListedFile> files;
    files.reserve(names.size());
    QStringDecoder utf8 = nameDecoder();
    for (const ListedName& listed : names) {
        ListedFile file{shownText(listed, utf8), {}};
        const fs::Path byText = fs::encodeName(file.name);
        // Resolution tries the text's own UTF-8 name before any other spelling.
        file.native = listed.other.isEmpty() || fs::entryExists(fs::join(folder, byText))
                          ? byText
                          : listed.other;
        files.push_back(std::move(file));
    }
    return files;
}

Outcome<QStringList> listFolderFiles(const QString& folderPath) {
    return listFiles(fs::fromText(folderPath));
}

}  // namespace pv::store
