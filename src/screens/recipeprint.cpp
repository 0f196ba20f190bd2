#include "recipeprint.h"

#include "printerservice.h"
#include "textflowprinter.h"

#include <QDate>
#include <QLocale>

namespace pv {

namespace {

// A bold caption, then its value in the plain face.
void printLabelled(TextFlowPrinter& printer, const QString& caption, const QString& value) {
    printer.setBold(true);
    printer.print(caption);
    printer.setBold(false);
    printer.print(value);
}

}  // namespace

store::RecipeFields fieldsOf(const RecipePrintout& page) {
    store::RecipeFields fields;
    for (int line = 1; line <= 10; ++line) {
        fields[store::amountField(line) - 1] = page.amounts[line - 1];
        fields[store::measureField(line) - 1] = page.types[line - 1];
        fields[store::ingredientField(line) - 1] = page.ingredients[line - 1];
    }
    fields[store::kDirectionsField - 1] = page.directions;
    fields[store::kTemperatureField - 1] = page.temperature;
    fields[store::kServingSizeField - 1] = page.servingSize;
    fields[store::kHoursField - 1] = page.hours;
    fields[store::kMinutesField - 1] = page.minutes;
    return fields;
}

void writeRecipePage(TextFlowPrinter& printer, const RecipePrintout& recipe, const QString& date) {
    // The first line goes out before the font is set, in the printer's own.
    printer.endLine();
    printer.setFontName(QStringLiteral("Tahoma"));
    printer.setFontSize(10);

    printer.setBold(true);
    printer.print(recipe.name);
    printer.gap(5);
    printLabelled(printer, QStringLiteral("Size: "), recipe.servingSize);
    printer.gap(5);
    printer.print(date);
    printer.endLine();

    printer.setBold(true);
    printer.print(QString(125, QLatin1Char('-')));
    printer.endLine();
    printer.setBold(false);
    printer.endLine();

    for (std::size_t i = 0; i < recipe.amounts.size(); ++i) {
        printer.print(recipe.amounts[i]);
        printer.gap(3);
        printer.print(recipe.types[i]);
        printer.gap(3);
        printer.print(recipe.ingredients[i]);
        printer.endLine();
    }
    printer.endLine();

    printer.print(recipe.directions);
    printer.endLine();
    printer.endLine();
    printer.endLine();

    printer.print(recipe.temperature);
    printer.setBold(true);
    printer.print(QStringLiteral(" F"));
    printer.gap(5);
    printLabelled(printer, QStringLiteral("H: "), recipe.hours);
    printer.gap(5);
    printLabelled(printer, QStringLiteral("M: "), recipe.minutes);
    printer.endLine();
}

bool printRecipe(QWidget* parent, const RecipePrintout& recipe) {
    PrinterService& service = printerService();
    if (!service.setupDialog(parent)) {
        return false;
    }
    TextFlowPrinter printer(service.printer());
    if (!printer.begin()) {
        return false;
    }
    writeRecipePage(printer, recipe,
                    QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
    return printer.endDocument();
}

}  // namespace pv
