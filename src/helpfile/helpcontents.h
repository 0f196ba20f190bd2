#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace pv::help {

// One entry of a help file's contents (.hhc): its caption, the page it opens
// (empty for a heading without a page) and how deep it is nested (0 = top).
struct ContentsEntry {
    QString name;
    QString local;
    int depth = 0;

    friend bool operator==(const ContentsEntry&, const ContentsEntry&) = default;
};

// Limits that keep a damaged contents file from taking over the viewer.
inline constexpr int kMaxContentsEntries = 10000;
inline constexpr int kMaxContentsDepth = 32;

// Reads the entries of a contents file (nested UL / LI / OBJECT type="text/sitemap"
// with param Name / Local) in document order. Tolerant: anything that is not a
// well-formed entry is passed over; never fails.
QList<ContentsEntry> parseContents(const QByteArray& hhc);

// What the #SYSTEM record of a compiled help file says about it.
struct SystemInfo {
    QString contentsFile;  // e.g. "PVHelp.hhc"
    QString defaultTopic;  // e.g. "index.html"
    QString title;         // e.g. "Pantrova Help"
};

// Reads the #SYSTEM record; fields it does not hold (or holds damaged) stay empty.
SystemInfo parseSystem(const QByteArray& system);

// Text stored in a help file: UTF-8 when it is valid UTF-8, else Windows-1252.
QString decodeHelpText(QByteArrayView bytes);

}  // namespace pv::help
