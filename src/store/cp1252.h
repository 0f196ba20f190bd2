#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace pv::store {

// Data files are Windows-1252 bytes, as older versions of the program wrote
// them. All conversion between file bytes and text goes through these.

// Every byte decodes; the five bytes without a Windows-1252 character (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) become the C1 control characters of the same value.
QString decodeCp1252(QByteArrayView bytes);

// Position (in UTF-16 units) of the first character that has no Windows-1252
// byte, or -1 when the whole text can be written.
qsizetype firstUnencodable(QStringView text);

// The code point starting at position index (a surrogate pair counts as one).
char32_t codePointAt(QStringView text, qsizetype index);

// The bytes of text; characters without a Windows-1252 byte become '?'.
// Callers check firstUnencodable() first.
QByteArray encodeCp1252(QStringView text);

}  // namespace pv::store
