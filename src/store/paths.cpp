#include "paths.h"

#include "failures.h"
#include "store.h"

#include <QStringDecoder>
#include <QtEndian>

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

// A sort key's byte: A to Z lowered. A folded key holds none of them, so this
// leaves it as it is.
inline unsigned char lowered(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
}

// The regular files of one folder (and links to them; sub-folders and hidden
// files are not listed), by name ignoring case, ties by exact name, so every
// machine shows one order.
//
// Every name lives in one buffer, and the entries that sort are small and
// fixed: a folder of 100,000 files costs a few allocations for its names
// rather than several for each. Each entry carries the first 16 bytes of its
// sort key as two numbers, which settle most comparisons without reaching
// the buffer; an ASCII name, which most are, stores no key of its own. On
// this scale the time goes as much to memory as to work: page faults on
// fresh memory, and an allocation per name.
class NameTable {
public:
    NameTable() : room_(Room::take()) {}
    ~NameTable() { room_.release(); }
    Q_DISABLE_COPY(NameTable)

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
            if (a.head != b.head) {
                return a.head < b.head;
            }
            if (a.head2 != b.head2) {
                return a.head2 < b.head2;
            }
            return lessAfterHeads(text, a, b);
        });
        return true;
    }

    size_t size() const { return entries_.size(); }

    // Every shown name in order. Their texts share one allocation, laid out
    // as the program's own strings are (each ends in a zero), which a large
    // folder would otherwise pay for as many allocations and page faults as
    // it has names. A text that is changed gets its own copy, as any shared
    // QString does; one kept alone keeps the whole allocation.
    QStringList shownNames() const {
        // No name has more UTF-16 units than its UTF-8 has bytes.
        QString all(qsizetype(shownBytes_ + entries_.size()), Qt::Uninitialized);
        QString::DataPointer& shared = all.data_ptr();
        QStringDecoder utf8 = nameDecoder();
        QStringList names;
        names.reserve(qsizetype(entries_.size()) + 1);
        QChar* out = all.data();
        for (const Entry& entry : entries_) {
            QChar* const start = out;
            const char* name = text_.data() + entry.shown;
            if (entry.ascii) {
                for (quint16 i = 0; i < entry.shownSize; ++i) {
                    *out++ = QLatin1Char(name[i]);
                }
            } else {
                out = utf8.appendToBuffer(out, QByteArrayView(name, entry.shownSize));
            }
            *out++ = QChar();
            shared.d_ptr()->ref();
            names.append(QString(QString::DataPointer(
                shared.d_ptr(), reinterpret_cast<char16_t*>(start), out - start - 1)));
        }
        names.append(QString());  // the spare entry callers stop before
        return names;
    }

    QString shown(size_t index, QStringDecoder& utf8) const {
        const QByteArrayView name = shownUtf8(index);
        return entries_[index].ascii ? QString::fromLatin1(name) : QString(utf8.decode(name));
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
        return {text_.data() + entry.shown + entry.shownSize + entry.keySize, entry.otherSize};
    }

    bool isLink(size_t index) const { return entries_[index].link; }

private:
    static constexpr size_t kHeadSize = 16;

    struct Entry {
        // The key's first bytes, big-endian and zero past its end, so that
        // comparing the numbers compares the bytes.
        quint64 head = 0;
        quint64 head2 = 0;
        // The shown name's UTF-8 at this offset of text_; for a name that is
        // not ASCII its folded key follows it, then its own bytes where they
        // are not that UTF-8.
        quint32 shown = 0;
        quint16 shownSize = 0;
        quint16 keySize = 0;  // 0: the key is the shown name lowered (ASCII)
        quint16 otherSize = 0;
        bool ascii = true;
        bool link = false;
    };
    // Offsets are 32 bits: no folder comes near, and one that did is not read.
    static constexpr size_t kLargestText = 0xFFFF0000u;

    static QByteArrayView keyOf(const char* text, const Entry& entry) {
        return entry.ascii ? QByteArrayView(text + entry.shown, entry.shownSize)
                           : QByteArrayView(text + entry.shown + entry.shownSize, entry.keySize);
    }

    // Order of two entries whose keys start alike.
    static bool lessAfterHeads(const char* text, const Entry& a, const Entry& b) {
        const QByteArrayView aKey = keyOf(text, a);
        const QByteArrayView bKey = keyOf(text, b);
        const qsizetype common = std::min(aKey.size(), bKey.size());
        for (qsizetype i = kHeadSize; i < common; ++i) {
            const unsigned char aByte = lowered(aKey[i]);
            const unsigned char bByte = lowered(bKey[i]);
            if (aByte != bByte) {
                return aByte < bByte;
            }
        }
        if (aKey.size() != bKey.size()) {
            return aKey.size() < bKey.size();
        }
        const int byName = compareBytes(text + a.shown, a.shownSize, text + b.shown, b.shownSize);
        // Of two entries shown alike, the one whose bytes are the text comes first.
        return byName != 0 ? byName < 0 : a.otherSize < b.otherSize;
    }

    quint32 append(QByteArrayView bytes) {
        const auto at = quint32(text_.size());
        text_.append(bytes.data(), size_t(bytes.size()));
        return at;
    }

    void add(fs::NameView name, bool link) {
        Entry entry;
        entry.link = link;
        entry.ascii = fs::isAscii(name);
        QByteArrayView key;
        if (entry.ascii) {
            // Most names: the bytes are the text, and lowering A to Z folds them.
#ifdef Q_OS_UNIX
            entry.shown = append(name);
#else
            entry.shown = append(name.toLatin1());
#endif
            entry.shownSize = quint16(name.size());
            key = QByteArrayView(text_.data() + entry.shown, entry.shownSize);
        } else {
            const QString shown = fs::shownName(name);
            const QByteArray utf8 = shown.toUtf8();
            const QByteArray folded = shown.toCaseFolded().toUtf8();
            entry.shown = append(utf8);
            entry.shownSize = quint16(utf8.size());
            append(folded);
            entry.keySize = quint16(folded.size());
#ifdef Q_OS_UNIX
            if (utf8 != name) {
                append(name);
                entry.otherSize = quint16(name.size());
            }
#endif
            key = QByteArrayView(text_.data() + entry.shown + entry.shownSize, entry.keySize);
        }
        unsigned char head[kHeadSize] = {};
        const size_t headSize = std::min(size_t(key.size()), kHeadSize);
        for (size_t i = 0; i < headSize; ++i) {
            head[i] = lowered(key[qsizetype(i)]);
        }
        entry.head = qFromBigEndian<quint64>(head);
        entry.head2 = qFromBigEndian<quint64>(head + 8);
        shownBytes_ += entry.shownSize;
        entries_.push_back(entry);
    }

    // The table's memory, kept by each thread between its listings: a large
    // folder listed again (the browser lists a category after every change)
    // then writes to memory it already has, rather than to fresh memory the
    // system hands out and clears a page at a time. A listing made while
    // another is under way on the same thread has a room of its own.
    struct Room {
        std::string text;
        std::vector<Entry> entries;
        bool inUse = false;
        bool kept = true;

        static Room& take() {
            static thread_local Room threads;
            if (threads.inUse) {
                auto* own = new Room;
                own->kept = false;
                own->inUse = true;
                return *own;
            }
            threads.inUse = true;
            return threads;
        }
        void release() {
            if (!kept) {
                delete this;
                return;
            }
            inUse = false;
            text.clear();
            entries.clear();
            // What a folder of some 200,000 files takes is kept, no more.
            if (text.capacity() + entries.capacity() * sizeof(Entry) > kMostKept) {
                text = std::string();
                entries = std::vector<Entry>();
            }
        }
    };
    static constexpr size_t kMostKept = 16 * 1024 * 1024;

    Room& room_;
    std::string& text_ = room_.text;
    std::vector<Entry>& entries_ = room_.entries;
    size_t shownBytes_ = 0;
};

}  // namespace

Outcome<QStringList> listFiles(const fs::Path& folder) {
    NameTable names;
    if (!names.read(folder)) {
        return fileSystemFailure(kPathNotFound);
    }
    return names.shownNames();
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
