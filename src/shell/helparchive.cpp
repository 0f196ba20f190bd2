#include "helparchive.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <chm_lib.h>

#include <functional>

namespace pv::help {

namespace {

// Layout of the ITSF / ITSP headers and of the directory pages (PMGL list pages
// and PMGI index pages) of a compiled help file.
constexpr qint64 kItsfV2Length = 0x58;
constexpr qint64 kItspLength = 0x54;
constexpr qint64 kPmglHeader = 0x14;
constexpr qint64 kPmgiHeader = 0x08;
constexpr qint64 kMinBlock = 0x100;
constexpr qint64 kMaxBlock = 0x10000;
constexpr qint64 kMaxBlocks = 1 << 20;
constexpr qint64 kMaxName = CHM_MAX_PATHLEN;

// Random access to the file's bytes, from a file or from memory.
using ReadAt = std::function<QByteArray(qint64 offset, qint64 length)>;

quint32 le32(const QByteArray& b, qint64 at) {
    return quint32(quint8(b[at])) | quint32(quint8(b[at + 1])) << 8 |
           quint32(quint8(b[at + 2])) << 16 | quint32(quint8(b[at + 3])) << 24;
}
qint32 sle32(const QByteArray& b, qint64 at) {
    return static_cast<qint32>(le32(b, at));
}
quint64 le64(const QByteArray& b, qint64 at) {
    return quint64(le32(b, at)) | quint64(le32(b, at + 4)) << 32;
}

// A variable-length number (7 bits a byte, high bit = more follows), kept inside
// [pos, end). False when it runs past the end or does not fit in 63 bits.
bool readEncInt(const QByteArray& page, qint64& pos, qint64 end, quint64& value) {
    value = 0;
    for (int i = 0; i < 9; ++i) {
        if (pos >= end)
            return false;
        const auto byte = quint8(page[pos++]);
        value = (value << 7) | (byte & 0x7F);
        if (!(byte & 0x80))
            return true;
    }
    return false;
}

struct Directory {
    qint64 pagesStart = 0;
    qint64 blockLength = 0;
    qint64 blockCount = 0;
    qint64 indexRoot = 0;
    qint64 indexHead = 0;
};

enum class PageKind { List, Index, Other };

// Reads one page and checks that its entries lie inside it; for an index page
// the pages it points to go to children.
bool checkPage(const ReadAt& readAt, const Directory& dir, qint64 page, PageKind& kind,
               QList<qint64>& children, qint64& next) {
    const QByteArray bytes = readAt(dir.pagesStart + page * dir.blockLength, dir.blockLength);
    if (bytes.size() != dir.blockLength)
        return false;
    const QByteArray signature = bytes.first(4);
    kind = signature == "PMGL"   ? PageKind::List
           : signature == "PMGI" ? PageKind::Index
                                 : PageKind::Other;
    if (kind == PageKind::Other)
        return true;  // chmlib stops at a page it does not know
    const qint64 header = kind == PageKind::List ? kPmglHeader : kPmgiHeader;
    const quint32 freeSpace = le32(bytes, 4);
    if (freeSpace > quint64(dir.blockLength - header))
        return false;
    const qint64 end = dir.blockLength - freeSpace;
    next = kind == PageKind::List ? sle32(bytes, 0x10) : -1;
    qint64 pos = header;
    while (pos < end) {
        quint64 nameLength = 0;
        if (!readEncInt(bytes, pos, end, nameLength) || nameLength > quint64(kMaxName) ||
            qint64(nameLength) > end - pos)
            return false;
        pos += qint64(nameLength);
        quint64 value = 0;
        if (kind == PageKind::Index) {
            if (!readEncInt(bytes, pos, end, value))
                return false;
            if (value >= quint64(dir.blockCount))
                return false;
            children.append(qint64(value));
        } else {
            for (int field = 0; field < 3; ++field) {  // section, start, length
                if (!readEncInt(bytes, pos, end, value))
                    return false;
            }
        }
    }
    return true;
}

bool checkDirectory(const ReadAt& readAt, qint64 fileSize) {
    if (fileSize < kItsfV2Length)
        return false;
    const QByteArray itsf = readAt(0, kItsfV2Length);
    if (itsf.size() != kItsfV2Length || !itsf.startsWith("ITSF"))
        return false;
    const quint32 version = le32(itsf, 4);
    if (version != 2 && version != 3)
        return false;
    const quint64 dirOffset = le64(itsf, 0x48);
    if (dirOffset > quint64(fileSize) || quint64(fileSize) - dirOffset < quint64(kItspLength))
        return false;
    const QByteArray itsp = readAt(qint64(dirOffset), kItspLength);
    if (itsp.size() != kItspLength || !itsp.startsWith("ITSP") || le32(itsp, 8) != kItspLength)
        return false;

    Directory dir;
    dir.pagesStart = qint64(dirOffset) + kItspLength;
    dir.blockLength = le32(itsp, 0x10);
    // The page count comes from the directory's length in the ITSF header (the
    // ITSP count fields are not written alike by every compiler).
    const quint64 dirLength = le64(itsf, 0x50);
    if (dirLength < quint64(kItspLength) || dirLength > quint64(fileSize))
        return false;
    dir.indexRoot = sle32(itsp, 0x1C);
    dir.indexHead = sle32(itsp, 0x20);
    if (dir.blockLength < kMinBlock || dir.blockLength > kMaxBlock)
        return false;
    dir.blockCount = qint64(dirLength - kItspLength) / dir.blockLength;
    if (dir.blockCount < 1 || dir.blockCount > kMaxBlocks ||
        dir.blockCount > (fileSize - dir.pagesStart) / dir.blockLength)
        return false;
    if (dir.indexRoot <= -1)
        dir.indexRoot = dir.indexHead;
    if (dir.indexRoot < 0 || dir.indexRoot >= dir.blockCount || dir.indexHead < 0 ||
        dir.indexHead >= dir.blockCount)
        return false;

    // The index from its root must be a tree (no page reached twice on one path).
    QHash<qint64, int> state;  // 1 = on the current path, 2 = done
    QList<std::pair<qint64, QList<qint64>>> stack;
    const auto enter = [&](qint64 page) {
        PageKind kind{};
        QList<qint64> children;
        qint64 next = -1;
        if (!checkPage(readAt, dir, page, kind, children, next))
            return false;
        state[page] = 1;
        stack.append({page, children});
        return true;
    };
    if (!enter(dir.indexRoot))
        return false;
    while (!stack.isEmpty()) {
        auto& [page, children] = stack.last();
        if (children.isEmpty()) {
            state[page] = 2;
            stack.removeLast();
            continue;
        }
        const qint64 child = children.takeFirst();
        const int seen = state.value(child, 0);
        if (seen == 1)
            return false;  // a loop
        if (seen == 0 && !enter(child))
            return false;
    }

    // The chain of list pages from the head must end.
    QSet<qint64> visited;
    for (qint64 page = dir.indexHead; page != -1;) {
        if (page < 0 || page >= dir.blockCount || visited.contains(page))
            return false;
        visited.insert(page);
        PageKind kind{};
        QList<qint64> children;
        qint64 next = -1;
        if (!checkPage(readAt, dir, page, kind, children, next) || kind != PageKind::List)
            return false;
        page = next;
    }
    return true;
}

}  // namespace

bool chmDirectoryIsSound(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = file.size();
    return checkDirectory(
        [&file](qint64 offset, qint64 length) {
            if (!file.seek(offset))
                return QByteArray();
            return file.read(length);
        },
        size);
}

bool chmDirectoryIsSound(const QByteArray& bytes) {
    return checkDirectory(
        [&bytes](qint64 offset, qint64 length) {
            if (offset < 0 || offset > bytes.size())
                return QByteArray();
            return bytes.mid(offset, length);
        },
        bytes.size());
}

std::unique_ptr<ChmArchive> ChmArchive::open(const QString& path) {
    if (path.isEmpty() || !chmDirectoryIsSound(path))
        return nullptr;
    chmFile* handle = chm_open(QFile::encodeName(path).constData());
    if (!handle)
        return nullptr;
    return std::unique_ptr<ChmArchive>(new ChmArchive(handle));
}

ChmArchive::~ChmArchive() {
    chm_close(handle_);
}

std::optional<QByteArray> ChmArchive::read(const QString& objectPath) const {
    QByteArray path = objectPath.toUtf8();
    if (!path.startsWith('/'))
        path.prepend('/');
    if (path.size() > CHM_MAX_PATHLEN || path.contains('\0'))
        return std::nullopt;
    chmUnitInfo info{};
    if (chm_resolve_object(handle_, path.constData(), &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (info.length > quint64(kMaxObjectSize))
        return std::nullopt;
    const auto length = static_cast<qsizetype>(info.length);
    QByteArray bytes(length, Qt::Uninitialized);
    if (length == 0)
        return bytes;
    const LONGINT64 got = chm_retrieve_object(
        handle_, &info, reinterpret_cast<unsigned char*>(bytes.data()), 0, length);
    if (got != length)
        return std::nullopt;
    return bytes;
}

QStringList ChmArchive::objectPaths() const {
    QStringList paths;
    const auto collect = [](chmFile*, chmUnitInfo* info, void* context) -> int {
        auto* list = static_cast<QStringList*>(context);
        if (list->size() >= 100000)
            return CHM_ENUMERATOR_SUCCESS;
        info->path[CHM_MAX_PATHLEN] = '\0';
        list->append(QString::fromUtf8(info->path));
        return CHM_ENUMERATOR_CONTINUE;
    };
    chm_enumerate(handle_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &paths);
    return paths;
}

}  // namespace pv::help
