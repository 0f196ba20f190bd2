#include "conflictcopy.h"

#include <QRegularExpression>

namespace pv::store {

QString conflictCopyOf(const QString& fileName) {
    // Each pattern: the original name's stem, the tool's mark, the extension if any.
    static const QRegularExpression kPatterns[] = {
        QRegularExpression(
            QStringLiteral(R"(^(.+)\.sync-conflict-\d{8}-\d{6}-[0-9A-Z]{7}(\..*)?$)")),
        QRegularExpression(QStringLiteral(R"(^(.+?) \([^()]*conflicted copy[^()]*\)(\.[^.]*)?$)"),
                           QRegularExpression::CaseInsensitiveOption),
        QRegularExpression(QStringLiteral(R"(^(.+)_conflict-\d{8}-\d{6}(\..*)?$)")),
        QRegularExpression(QStringLiteral(R"(^(.+?) \(SFConflict [^()]*\)(\.[^.]*)?$)")),
    };
    for (const QRegularExpression& pattern : kPatterns) {
        const QRegularExpressionMatch match = pattern.match(fileName);
        if (match.hasMatch()) {
            return match.captured(1) + match.captured(2);
        }
    }
    return {};
}

}  // namespace pv::store
