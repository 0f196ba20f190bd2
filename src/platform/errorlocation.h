#pragma once

#include <QList>
#include <QString>

namespace pv {

// The twelve places where a guarded handler of a working screen can fail. A
// failing handler names its place; the error report explains it by the row.
enum class ErrorLocation {
    RecipeEntrySave,
    RecipeEntryLoad,
    RecipeBrowserDelete,
    RecipeBrowserLoad,
    RecipeBrowserOpen,
    SetupCreate,
    SetupDelete,
    SetupLoad,
    ShoppingListDelete,
    ShoppingListSave,
    ShoppingListLoad,
    ShoppingListOpen,
};

// One place: the code the report shows and how it explains it.
struct ErrorLocationRow {
    ErrorLocation location;
    QString code;       // "S - CC -": the screen letter, " - ", the operation, " -"
    QString source;     // "(form) Setup - cmdSCreate section"
    QString firstLine;  // the explanation's first line; "correctly." follows on the next
};

// All twelve, in the report's order.
const QList<ErrorLocationRow>& errorLocationRows();
const ErrorLocationRow& errorLocationRow(ErrorLocation location);
// The row whose code this is, or nullptr for a code of no row.
const ErrorLocationRow* findErrorLocationRow(const QString& code);

// The explanation the report shows: the row's first line, CR, "correctly.".
QString errorExplanation(const ErrorLocationRow& row);
// The action text every row shares, two sentences on two lines (CR).
QString errorActionText();

}  // namespace pv
