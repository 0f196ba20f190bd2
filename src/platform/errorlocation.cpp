#include "errorlocation.h"

namespace pv {

namespace {

QList<ErrorLocationRow> makeRows() {
    const QString save = QStringLiteral("This program has failed to save the screen data");
    const QString open =
        QStringLiteral("This program has failed to open the needed folder or file");
    const QString remove = QStringLiteral("This program has failed to delete the screen data");
    return {
        {ErrorLocation::RecipeEntrySave, QStringLiteral("I - CS -"),
         QStringLiteral("(form) Ingredient - cmdISave section"), save},
        {ErrorLocation::RecipeEntryLoad, QStringLiteral("I - FL -"),
         QStringLiteral("(form) Ingredient - Form_Load section"), open},
        {ErrorLocation::RecipeBrowserDelete, QStringLiteral("R - CD -"),
         QStringLiteral("(form) Recipe - chkRDel section"), remove},
        {ErrorLocation::RecipeBrowserLoad, QStringLiteral("R - FL -"),
         QStringLiteral("(form) Recipe - Form_Load section"), open},
        {ErrorLocation::RecipeBrowserOpen, QStringLiteral("R - LF -"),
         QStringLiteral("(form) Recipe - lswRFile section"), open},
        {ErrorLocation::SetupCreate, QStringLiteral("S - CC -"),
         QStringLiteral("(form) Setup - cmdSCreate section"),
         QStringLiteral("This program has failed to create the needed folder")},
        {ErrorLocation::SetupDelete, QStringLiteral("S - CD -"),
         QStringLiteral("(form) Setup - cmdSDel section"), remove},
        {ErrorLocation::SetupLoad, QStringLiteral("S - FL -"),
         QStringLiteral("(form) Setup - Form_Load section"), open},
        {ErrorLocation::ShoppingListDelete, QStringLiteral("H - CD -"),
         QStringLiteral("(form) Shop - cmdHDel section"), remove},
        {ErrorLocation::ShoppingListSave, QStringLiteral("H - CS -"),
         QStringLiteral("(form) Shop - cmdHSave section"), save},
        {ErrorLocation::ShoppingListLoad, QStringLiteral("H - FL -"),
         QStringLiteral("(form) Shop - Form_Load section"), open},
        {ErrorLocation::ShoppingListOpen, QStringLiteral("H - LF -"),
         QStringLiteral("(form) Shop - lswHOpen section"), open},
    };
}

}  // namespace

const QList<ErrorLocationRow>& errorLocationRows() {
    static const QList<ErrorLocationRow> rows = makeRows();
    return rows;
}

const ErrorLocationRow& errorLocationRow(ErrorLocation location) {
    // The rows stand in the enumeration's order.
    return errorLocationRows().at(qsizetype(location));
}

const ErrorLocationRow* findErrorLocationRow(const QString& code) {
    for (const ErrorLocationRow& row : errorLocationRows()) {
        if (row.code == code) {
            return &row;
        }
    }
    return nullptr;
}

QString errorExplanation(const ErrorLocationRow& row) {
    return row.firstLine + QLatin1Char('\r') + QStringLiteral("correctly.");
}

QString errorActionText() {
    return QStringLiteral("Please contact the author with the error number above.\r") +
           QStringLiteral("This program will now end!");
}

}  // namespace pv
