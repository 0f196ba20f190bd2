#pragma once

#include <QByteArrayView>
#include <QString>

namespace pv::exchange {

// Text of files from other programs, whose encoding nobody wrote down.
class TextDecoding {
public:
    // UTF-8 when the bytes are valid UTF-8 (a byte-order mark is dropped),
    // UTF-16 when they start with its byte-order mark, else Windows-1252.
    static QString decode(QByteArrayView bytes);

    static bool isUtf8(QByteArrayView bytes);
};

}  // namespace pv::exchange
