#include "freename.h"

namespace pv::store {

QString firstFreeName(const QString& name, const std::function<bool(const QString&)>& taken) {
    QString candidate = name;
    for (int number = 2; taken(candidate); ++number) {
        candidate = QStringLiteral("%1 (%2)").arg(name, QString::number(number));
    }
    return candidate;
}

}  // namespace pv::store
