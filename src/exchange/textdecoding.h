#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace pv::exchange {

// Text of files from other programs, decoded as each kind of file says.
class TextDecoding {
public:
    // The code page of bytes that are not UTF-8.
    enum class Fallback {
        Windows1252,  // web pages and JSON written on Windows
        CodePage437,  // MealMaster files, written on DOS
    };

    // A byte-order mark decides (UTF-8, UTF-16 LE or BE; the mark is dropped);
    // without one the bytes are UTF-8 as far as they are valid UTF-8, and each
    // byte that belongs to no valid sequence is read in the fallback code page.
    // So a few stray bytes never turn the rest of a UTF-8 file into another
    // encoding, and a file wholly in the fallback code page reads as that.
    static QString decode(QByteArrayView bytes, Fallback fallback = Fallback::Windows1252);

    // A saved web page: its byte-order mark, else the charset its <meta
    // charset> or <meta http-equiv="Content-Type"> declares, else decode().
    // A declared charset nobody knows is ignored.
    static QString decodePage(QByteArrayView bytes);

    // The page as UTF-8, for a parser: its own bytes when they are UTF-8 and
    // it says nothing else, without a copy (they must outlive the result).
    static QByteArray pageUtf8(QByteArrayView bytes);

    // The charset a page declares in a <meta> element within its first 64 KB,
    // in lower case, or nothing.
    static QByteArray declaredCharset(QByteArrayView bytes);

    static bool isUtf8(QByteArrayView bytes);
};

}  // namespace pv::exchange
