#pragma once

#include <QStringList>

namespace pv {

// Whether the arguments ask for the command line (an import or the help)
// rather than the windows.
bool wantsCommandLine(int argc, char* argv[]);

// Runs the command line without windows: prints what it did, and returns the
// exit status (0 every recipe imported, 1 some skipped, 2 bad arguments or a
// category that does not exist).
int runCommandLine(const QStringList& arguments);

}  // namespace pv
