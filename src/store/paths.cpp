#include "paths.h"

#include "failures.h"
#include "store.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <utility>
#include <vector>

namespace pv::store {

QString findIgnoringCase(const QString& folder, const QString& name) {
    QString best;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) {
        it.next();
        const QString candidate = it.fileName();
        if (candidate.compare(name, Qt::CaseInsensitive) == 0 &&
            (best.isEmpty() || candidate < best)) {
            best = candidate;
        }
    }
    return best;
}

QString resolveBelow(const QString& base, const QString& relativePath) {
    QString current = base;
    bool searching = true;
    const QStringList parts = relativePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        current += QLatin1Char('/');
        if (searching && part != QLatin1String(".") && part != QLatin1String("..")) {
            if (QFileInfo::exists(current + part)) {
                current += part;
                continue;
            }
            const QString match = findIgnoringCase(current, part);
            if (!match.isEmpty()) {
                current += match;
                continue;
            }
            // Nothing below a missing entry can exist.
            searching = false;
        }
        current += part;
    }
    return current;
}

Outcome<QStringList> listFolderFiles(const QString& folderPath) {
    const QFileInfo folder(folderPath);
    if (!folder.isDir()) {
        return fileSystemFailure(kPathNotFound);
    }
    // Sorted by a case-folded key computed once per name; ties by exact name.
    std::vector<std::pair<QString, QString>> entries;
    QDirIterator it(folderPath, QDir::Files | QDir::Hidden);
    while (it.hasNext()) {
        it.next();
        QString name = it.fileName();
        QString key = name.toCaseFolded();
        entries.emplace_back(std::move(key), std::move(name));
    }
    std::sort(entries.begin(), entries.end());
    QStringList names;
    names.reserve(qsizetype(entries.size()) + 1);
    for (auto& entry : entries) {
        names.append(std::move(entry.second));
    }
    names.append(QString());  // the spare entry callers stop before
    return names;
}

}  // namespace pv::store
