#include "planprint.h"

#include <QLocale>

namespace pv {

using namespace Qt::StringLiterals;

QString planDayText(const QDate& day) {
    return QLocale::system().toString(day, u"dddd d MMMM"_s);
}

QString planWeekText(const QDate& monday) {
    int year = 0;
    const int week = monday.weekNumber(&year);
    const QLocale locale = QLocale::system();
    return u"Week %1: %2 to %3"_s.arg(QString::number(week), locale.toString(monday, u"d MMMM"_s),
                                      locale.toString(monday.addDays(6), u"d MMMM yyyy"_s));
}

QList<PrintedLine> mealPlanPrintout(const QDate& monday, const QList<store::PlannedRecipe>& recipes,
                                    const QSet<int>& missing) {
    QList<PrintedLine> lines{{u"Meal plan, "_s + planWeekText(monday), true}, {}};
    for (int offset = 0; offset < 7; ++offset) {
        const QDate day = monday.addDays(offset);
        lines.append(PrintedLine{planDayText(day), true});
        for (int i = 0; i < recipes.size(); ++i) {
            const store::PlannedRecipe& planned = recipes[i];
            if (planned.day != day) {
                continue;
            }
            QString text = u"    %1 (%2), %3 %4"_s.arg(
                planned.recipe, planned.category, QString::number(planned.servings),
                planned.servings == 1 ? u"serving"_s : u"servings"_s);
            if (missing.contains(i)) {
                text += u", missing"_s;
            }
            lines.append(PrintedLine{text});
        }
        lines.append(PrintedLine{});
    }
    return lines;
}

}  // namespace pv
