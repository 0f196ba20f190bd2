#include "twips.h"

#include <QFont>
#include <QStringList>

namespace pv {

void preferTahomaLookAlikes() {
    static const bool done = [] {
        QFont::insertSubstitutions(
            QStringLiteral("Tahoma"),
            {QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
             QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans Condensed")});
        return true;
    }();
    (void)done;
}

}  // namespace pv
