#include "reglistrules.h"

#include <QDir>
#include <QRegularExpression>

namespace ostrel {
namespace {

bool isWildcard(const QString& pattern) {
    return QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).isValid();
}

}  // namespace

QChar pathSeparator() {
    return QDir::separator();
}

QString joinFolderFile(const QString& folder, const QString& name) {
    if (folder.endsWith(pathSeparator())) {
        return folder + name;
    }
    return folder + pathSeparator() + name;
}

bool listedBySuffix(const QStringList& entries, const QString& name) {
    for (const QString& entry : entries) {
        if (entry.endsWith(name, Qt::CaseSensitive)) {
            return true;
        }
    }
    return false;
}

bool listedByName(const QStringList& entries, const QString& name) {
    for (const QString& entry : entries) {
        const qsizetype cut = entry.lastIndexOf(pathSeparator());
        if (entry.mid(cut + 1) == name) {
            return true;
        }
    }
    return false;
}

std::optional<QStringList> filePatterns(const QString& text) {
    QStringList patterns;
    for (const QString& part : text.split(QLatin1Char(';'))) {
        const QString pattern = part.trimmed();
        if (pattern.isEmpty()) {
            continue;
        }
        // A pattern names files within the folder; a separator or a NUL can never match.
        if (pattern.contains(QLatin1Char('/')) || pattern.contains(pathSeparator()) ||
            pattern.contains(QChar(0))) {
            return std::nullopt;
        }
        if (isWildcard(pattern)) {
            patterns.append(pattern);
            continue;
        }
        // A "[" without its "]" (as while a class is being typed) stands for itself.
        QString literal = pattern;
        literal.replace(QLatin1Char('['), QStringLiteral("[[]"));
        if (!isWildcard(literal)) {
            return std::nullopt;
        }
        patterns.append(literal);
    }
    if (patterns.isEmpty()) {
        patterns.append(QStringLiteral("*"));
    }
    return patterns;
}

}  // namespace ostrel
