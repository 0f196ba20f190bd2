#include "paths.h"

#include "failures.h"
#include "store.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
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

// A leading dot hides a file: sync tools' and other systems' bookkeeping, and
// the store's own temporary files. ".txt" is what a shopping list saved without
// a name is called, so it stays listed.
bool isHidden(fs::NameView entry) {
    return entry.startsWith('.') && entry != fs::NameView(".txt");
}

// A byte order mark at the start of a name is part of it.
QStringDecoder nameDecoder() {
    return QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
}

int compareBytes(const char* a, size_t aSize, const char* b, size_t bSize) {
    const int common = std::memcmp(a, b, std::min(aSize, bSize));
    if (common != 0) {
        return common;
    }
    return aSize < bSize ? -1 : aSize > bSize ? 1 : 0;
}

// The regular files of one folder (and links to them; sub-folders and hidden
// files are not listed), by name ignoring case, ties by exact name, so every
// machine shows one order.
//
// Every name lives in one buffer, as UTF-8 beside its sort key, and the
// entries that sort are small and fixed: a folder of 100,000 files costs a
// few allocations for its names rather than several for each, and sorting
// moves 20 bytes an entry instead of strings.
class NameTable {
public:
    // False when the folder cannot be read.
    bool read(const fs::Path& folder) {
        const bool read =
            fs::forEachEntry(folder, [&](fs::NameView entry, const fs::EntryKind& kind) {
                if (kind.isFile && !isHidden(entry)) {
                    add(entry, kind.isLink);
                }
            });
        if (!read || text_.size() > kLargestText) {
            return false;
        }
        const char* text = text_.data();
        std::sort(entries_.begin(), entries_.end(), [text](const Entry& a, const Entry& b) {
            const int byKey = compareBytes(text + a.key, a.keySize, text + b.key, b.keySize);
            if (byKey != 0) {
                return byKey < 0;
            }
            const int byName =
                compareBytes(text + a.shown, a.shownSize, text + b.shown, b.shownSize);
            // Of two entries shown alike, the one whose bytes are the text comes first.
            return byName != 0 ? byName < 0 : a.otherSize < b.otherSize;
        });
        return true;
    }

    size_t size() const { return entries_.size(); }

    QString shown(size_t index, QStringDecoder& utf8) const {
        const Entry& entry = entries_[index];
        const QByteArrayView name(text_.data() + entry.shown, entry.shownSize);
        return entry.ascii ? QString::fromLatin1(name) : QString(utf8.decode(name));
    }

    // The shown name's UTF-8, which the store writes and looks up first.
    QByteArrayView shownUtf8(size_t index) const {
        const Entry& entry = entries_[index];
        return {text_.data() + entry.shown, entry.shownSize};
    }

    // The entry's own bytes where they are not the shown name's UTF-8 (an old
    // Windows-1252 name); empty otherwise.
    QByteArrayView otherBytes(size_t index) const {
        const Entry& entry = entries_[index];
        return {text_.data() + entry.other, entry.otherSize};
    }

    bool isLink(size_t index) const { return entries_[index].link; }

private:
    struct Entry {
        quint32 key = 0;  // offsets into text_
        quint32 shown = 0;
        quint32 other = 0;
        quint16 keySize = 0;
        quint16 shownSize = 0;
        quint16 otherSize = 0;
        bool ascii = true;
        bool link = false;
    };
    // Offsets are 32 bits: no folder comes near, and one that did is not read.
    static constexpr size_t kLargestText = 0xFFFF0000u;

    quint32 append(std::string_view bytes) {
        const auto at = quint32(text_.size());
        text_.append(bytes);
        return at;
    }

    void add(fs::NameView name, bool link) {
        Entry entry;
        entry.link = link;
        entry.ascii = fs::isAscii(name);
        if (entry.ascii) {
            // Most names: the bytes are the text, and lowering A to Z folds them.
            entry.shown = quint32(text_.size());
            entry.shownSize = quint16(name.size());
            bool upper = false;
            for (const auto c : name) {
                const char byte = char(QChar(c).unicode());
                upper = upper || (byte >= 'A' && byte <= 'Z');
                text_.push_back(byte);
            }
            entry.key = entry.shown;
            entry.keySize = entry.shownSize;
            if (upper) {
                entry.key = quint32(text_.size());
                for (size_t i = entry.shown; i < entry.shown + entry.shownSize; ++i) {
                    const char byte = text_[i];
                    text_.push_back(byte >= 'A' && byte <= 'Z' ? char(byte - 'A' + 'a') : byte);
                }
            }
        } else {
            const QString shown = fs::shownName(name);
            const QByteArray utf8 = shown.toUtf8();
            const QByteArray key = shown.toCaseFolded().toUtf8();
            entry.shown = append(std::string_view(utf8.data(), size_t(utf8.size())));
            entry.shownSize = quint16(utf8.size());
            entry.key = append(std::string_view(key.data(), size_t(key.size())));
            entry.keySize = quint16(key.size());
#ifdef Q_OS_UNIX
            if (utf8 != name) {
                entry.other = append(std::string_view(name.data(), size_t(name.size())));
                entry.otherSize = quint16(name.size());
            }
#endif
        }
        entries_.push_back(entry);
    }

    std::string text_;
    std::vector<Entry> entries_;
};

}  // namespace

Outcome<QStringList> listFiles(const fs::Path& folder) {
    NameTable names;
    if (!names.read(folder)) {
        return fileSystemFailure(kPathNotFound);
    }
    QStringList sorted;
    sorted.reserve(qsizetype(names.size()) + 1);
    QStringDecoder utf8 = nameDecoder();
    for (size_t i = 0; i < names.size(); ++i) {
        sorted.append(names.shown(i, utf8));
    }
    sorted.append(QString());  // the spare entry callers stop before
    return sorted;
}

Outcome<std::vector<ListedFile>> listFileEntries(const fs::Path& folder) {
    NameTable names;
    if (!names.read(folder)) {
        return fileSystemFailure(kPathNotFound);
    }
    std::vector<ListedFile> files;
    files.reserve(names.size());
    QStringDecoder utf8 = nameDecoder();
    for (size_t i = 0; i < names.size(); ++i) {
        ListedFile file{names.shown(i, utf8), {}, false};
#ifdef Q_OS_UNIX
        const fs::Path byText = names.shownUtf8(i).toByteArray();
#else
        const fs::Path byText = fs::encodeName(file.name);
#endif
        const QByteArrayView other = names.otherBytes(i);
        // Resolution tries the text's own UTF-8 name before any other spelling.
        if (other.isEmpty() || fs::entryExists(fs::join(folder, byText))) {
            file.native = byText;
            file.plainFile = other.isEmpty() && !names.isLink(i);
        } else {
#ifdef Q_OS_UNIX
            file.native = other.toByteArray();
#endif
            file.plainFile = !names.isLink(i);
        }
        files.push_back(std::move(file));
    }
    return files;
}

Outcome<QStringList> listFolderFiles(const QString& folderPath) {
    return listFiles(fs::fromText(folderPath));
}

}  // namespace pv::store
