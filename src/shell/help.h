#pragma once

#include <QString>
#include <QtGlobal>

namespace pv {

// The help files by number; 1, "Documentation/PVHelp.chm" in the application
// folder (in any letter case), is the only one.
inline constexpr qint16 kHelpContents = 1;

// The full path of help file `number`, or "" after telling the user the number
// is invalid. Whether the file exists is not looked at here.
QString helpFilePath(qint16 number);

// Opens help file `number` on its contents beside the program (it does not wait
// for the viewer); tells the user when that fails.
void showHelpContents(qint16 number);

// The platform's HTML help with "display contents": non-zero when a viewer
// opened the file. Elsewhere than Windows this is the program's own viewer, a new
// window for every call.
quintptr displayHelpContents(const QString& path);

}  // namespace pv
