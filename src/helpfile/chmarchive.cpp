#include "chmarchive.h"

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

// The compressed section (LZX): its frames are 32 KB, and chmlib reads each
// compressed block into a buffer of the block length plus 6144 bytes.
constexpr quint64 kLzxFrame = 0x8000;
constexpr quint64 kCompressedSlack = 6144;
constexpr quint64 kMaxResetBlocks = 1 << 20;
constexpr auto kResetTable =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
    "InstanceData/ResetTable";
constexpr auto kContent = "::DataSpace/Storage/MSCompressed/Content";
constexpr auto kControlData = "::DataSpace/Storage/MSCompressed/ControlData";

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

constexpr quint64 kMaxControlData = 256;  // chmlib reads it into a buffer of this size
constexpr quint64 kMaxResetTable = 0x28 + kMaxResetBlocks * 8;

// LZXC control data: size, "LZXC", version 2, reset interval and window size in
// 32 KB units, windows per reset.
bool controlDataIsSound(const QByteArray& control) {
    if (control.size() < 0x1C || control.mid(4, 4) != "LZXC" || le32(control, 8) != 2)
        return false;
    const quint64 resetInterval = quint64(le32(control, 0x0C)) * kLzxFrame;
    const quint64 window = quint64(le32(control, 0x10)) * kLzxFrame;
    const quint64 windowsPerReset = le32(control, 0x14);
    // LZX windows are 2^15 to 2^21 bytes; chmlib has no decoder for others.
    if (window < (1u << 15) || window > (1u << 21) || (window & (window - 1)) != 0)
        return false;
    return resetInterval >= window / 2 && resetInterval % (window / 2) == 0 &&
           windowsPerReset >= 1 &&
           resetInterval / (window / 2) * windowsPerReset <= kMaxResetBlocks;
}

// Reset table: version 2, block count, entry size, table offset, uncompressed and
// compressed lengths, block length; then the compressed start of every block.
bool resetTableIsSound(const QByteArray& table, quint64& uncompressed) {
    if (table.size() < 0x28 || le32(table, 0) != 2)
        return false;
    const quint64 blockCount = le32(table, 4);
    const quint64 tableOffset = le32(table, 0x0C);
    uncompressed = le64(table, 0x10);
    const quint64 compressed = le64(table, 0x18);
    const quint64 blockLength = le64(table, 0x20);
    if (blockLength != kLzxFrame || blockCount < 1 || blockCount > kMaxResetBlocks ||
        tableOffset > quint64(table.size()) || blockCount * 8 > quint64(table.size()) - tableOffset)
        return false;
    if (uncompressed > blockCount * blockLength)
        return false;
    const quint64 limit = blockLength + kCompressedSlack;
    for (quint64 block = 0; block < blockCount; ++block) {
        const quint64 start = le64(table, qint64(tableOffset + block * 8));
        const quint64 end = block + 1 < blockCount
                                ? le64(table, qint64(tableOffset + (block + 1) * 8))
                                : compressed;
        if (end < start || end - start > limit)
            return false;
    }
    return true;
}

struct Directory {
    qint64 pagesStart = 0;
    qint64 blockLength = 0;
    qint64 blockCount = 0;
    qint64 indexRoot = 0;
    qint64 indexHead = 0;
};

enum class PageKind { List, Index, Other };

// A directory entry of one of the objects chmlib reads while it opens a file.
struct Entry {
    QByteArray name;
    quint64 space = 0;
    quint64 start = 0;
    quint64 length = 0;
};

bool isOpeningObject(const QByteArray& name) {
    return name.compare(kResetTable, Qt::CaseInsensitive) == 0 ||
           name.compare(kControlData, Qt::CaseInsensitive) == 0;
}

// Reads one page and checks that its entries lie inside it; for an index page
// the pages it points to go to children.
bool checkPage(const ReadAt& readAt, const Directory& dir, qint64 page, PageKind& kind,
               QList<qint64>& children, qint64& next, QList<Entry>& opening) {
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
        const QByteArray name = bytes.mid(pos, qint64(nameLength));
        pos += qint64(nameLength);
        quint64 value = 0;
        if (kind == PageKind::Index) {
            if (!readEncInt(bytes, pos, end, value))
                return false;
            if (value >= quint64(dir.blockCount))
                return false;
            children.append(qint64(value));
        } else {
            Entry entry;  // section, start, length
            if (!readEncInt(bytes, pos, end, entry.space) ||
                !readEncInt(bytes, pos, end, entry.start) ||
                !readEncInt(bytes, pos, end, entry.length))
                return false;
            if (isOpeningObject(name)) {
                entry.name = name;
                opening.append(entry);
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

    QList<Entry> opening;

    // The index from its root must be a tree (no page reached twice on one path).
    QHash<qint64, int> state;  // 1 = on the current path, 2 = done
    QList<std::pair<qint64, QList<qint64>>> stack;
    const auto enter = [&](qint64 page) {
        PageKind kind{};
        QList<qint64> children;
        qint64 next = -1;
        if (!checkPage(readAt, dir, page, kind, children, next, opening))
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
        if (!checkPage(readAt, dir, page, kind, children, next, opening) || kind != PageKind::List)
            return false;
        page = next;
    }

    // chm_open reads the compression's control data and reset table and trusts
    // them (it divides by the window size, and the reset table gives the length
    // of every compressed block it reads). Every entry it could pick must be sound.
    const quint64 dataOffset = version == 3 ? le64(readAt(0, 0x60).leftJustified(0x60, '\0'), 0x58)
                                            : dirOffset + dirLength;
    for (const Entry& entry : std::as_const(opening)) {
        if (entry.space != CHM_UNCOMPRESSED)
            continue;  // chmlib then reads nothing compressed
        const bool control = entry.name.compare(kControlData, Qt::CaseInsensitive) == 0;
        const quint64 limit = control ? kMaxControlData : kMaxResetTable;
        if (entry.length > limit || entry.start > quint64(fileSize) ||
            dataOffset > quint64(fileSize) - entry.start)
            return false;
        const QByteArray bytes = readAt(qint64(dataOffset + entry.start), qint64(entry.length));
        if (bytes.size() != qint64(entry.length))
            return false;
        quint64 uncompressed = 0;
        if (control ? !controlDataIsSound(bytes) : !resetTableIsSound(bytes, uncompressed))
            return false;
    }
    opening.clear();
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
    std::unique_ptr<ChmArchive> archive(new ChmArchive(handle));
    archive->compressionSound_ = archive->checkCompression();
    return archive;
}

ChmArchive::~ChmArchive() {
    chm_close(handle_);
}

std::optional<QByteArray> ChmArchive::readRaw(const char* path, int* space) const {
    chmUnitInfo info{};
    if (chm_resolve_object(handle_, path, &info) != CHM_RESOLVE_SUCCESS)
        return std::nullopt;
    if (space)
        *space = info.space;
    if (info.length > quint64(kMaxObjectSize))
        return std::nullopt;
    if (info.space == CHM_COMPRESSED) {
        // Only what the reset table covers; chmlib would read past it.
        if (!compressionSound_ || info.start > uncompressedLength_ ||
            info.length > uncompressedLength_ - info.start)
            return std::nullopt;
    } else if (info.space != CHM_UNCOMPRESSED) {
        return std::nullopt;
    }
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

bool ChmArchive::checkCompression() {
    int space = -1;
    const auto control = readRaw(kControlData, &space);
    if (!control || space != CHM_UNCOMPRESSED || !controlDataIsSound(*control))
        return false;
    const auto table = readRaw(kResetTable, &space);
    quint64 uncompressed = 0;
    if (!table || space != CHM_UNCOMPRESSED || !resetTableIsSound(*table, uncompressed))
        return false;
    chmUnitInfo content{};
    if (chm_resolve_object(handle_, kContent, &content) != CHM_RESOLVE_SUCCESS ||
        content.space != CHM_UNCOMPRESSED)
        return false;
    uncompressedLength_ = uncompressed;
    return true;
}

std::optional<QByteArray> ChmArchive::read(const QString& objectPath) const {
    QByteArray path = objectPath.toUtf8();
    if (!path.startsWith('/'))
        path.prepend('/');
    if (path.size() > CHM_MAX_PATHLEN || path.contains('\0'))
        return std::nullopt;
    return readRaw(path.constData());
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
