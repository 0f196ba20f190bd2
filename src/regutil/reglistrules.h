#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace ostrel {

// The separator shown to the user and used in register-list entries.
QChar pathSeparator();

// The folder and the file name joined by exactly one separator, also when the folder
// is a root that already ends with one.
QString joinFolderFile(const QString& folder, const QString& name);

// "Add Selected": a name counts as listed when some entry ends with it (case-sensitive).
bool listedBySuffix(const QStringList& entries, const QString& name);

// "Add All": a name counts as listed when some entry's text after its last separator
// equals it (case-sensitive).
bool listedByName(const QStringList& entries, const QString& name);

// The file patterns in a pattern text ("*.ocx;*.dll"), or nothing when the text cannot
// serve as a file pattern (one naming a folder). Blank parts are skipped; a text without
// any part lists all; an unclosed "[" is taken literally.
std::optional<QStringList> filePatterns(const QString& text);

}  // namespace ostrel
