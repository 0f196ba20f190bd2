#include "fieldreader.h"

#include "cp1252.h"
#include "failures.h"

namespace pv::store {

std::optional<QByteArrayView> QuotedFieldReader::next() {
    const qsizetype size = data_.size();
    while (pos_ < size && data_[pos_] == ' ') {
        ++pos_;
    }
    if (pos_ >= size) {
        return std::nullopt;
    }
    if (data_[pos_] == '"') {
        const qsizetype start = pos_ + 1;
        qsizetype end = data_.indexOf('"', start);
        if (end < 0) {
            end = size;
        }
        pos_ = end < size ? end + 1 : size;
        // Whatever follows the closing quote belongs to no field.
        while (pos_ < size && data_[pos_] != ',' && data_[pos_] != '\r' && data_[pos_] != '\n') {
            ++pos_;
        }
        passLineEndOrComma();
        return data_.sliced(start, end - start);
    }
    const qsizetype start = pos_;
    while (pos_ < size && data_[pos_] != ',' && data_[pos_] != '\r' && data_[pos_] != '\n') {
        ++pos_;
    }
    const QByteArrayView field = data_.sliced(start, pos_ - start);
    passLineEndOrComma();
    return field;
}

void QuotedFieldReader::passLineEndOrComma() {
    if (pos_ >= data_.size()) {
        return;
    }
    const char c = data_[pos_++];
    if (c == '\r' && pos_ < data_.size() && data_[pos_] == '\n') {
        ++pos_;
    }
}

Outcome<RecipeFields> parseRecipeRecord(QByteArrayView bytes) {
    QuotedFieldReader reader(bytes);
    std::array<QByteArrayView, kRecipeFieldCount> raw;
    // At least one record is read, so an empty file is input past end of file.
    do {
        for (auto& field : raw) {
            const auto next = reader.next();
            if (!next) {
                return fileSystemFailure(kInputPastEnd);
            }
            field = *next;
        }
    } while (!reader.atEnd());
    RecipeFields fields;
    for (int i = 0; i < kRecipeFieldCount; ++i) {
        fields[i] = decodeCp1252(raw[i]);
    }
    return fields;
}

QStringList parseFieldList(QByteArrayView bytes) {
    QuotedFieldReader reader(bytes);
    QStringList names;
    while (!reader.atEnd()) {
        const auto next = reader.next();
        if (!next) {
            break;  // only blanks were left
        }
        names.append(decodeCp1252(*next));
    }
    return names;
}

QStringList splitLines(QByteArrayView bytes) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n') {
            continue;
        }
        lines.append(decodeCp1252(bytes.sliced(start, i - start)));
        if (c == '\r' && i + 1 < size && bytes[i + 1] == '\n') {
            ++i;
        }
        start = i + 1;
    }
    if (start < size) {
        lines.append(decodeCp1252(bytes.sliced(start)));
    }
    return lines;
}

QByteArray formatRecipeRecord(const RecipeFields& fields) {
    QByteArray out;
    qsizetype size = 2;
    for (const QString& field : fields) {
        size += field.size() + 3;
    }
    out.reserve(size);
    for (int i = 0; i < kRecipeFieldCount; ++i) {
        if (i > 0) {
            out.append(',');
        }
        out.append('"');
        QString text = fields[i];
        text.replace(QLatin1Char('"'), QChar(0x201D));
        out.append(encodeCp1252(text));
        out.append('"');
    }
    out.append("\r\n");
    return out;
}

}  // namespace pv::store
