#pragma once

#include <QColor>

namespace pv::sidebarlook {

// The side bar's colours and spacing, in one place for its groups and items.
inline const QColor kGroupBody(214, 223, 247);
inline const QColor kGroupBorder(255, 255, 255);
inline const QColor kItemText(33, 93, 198);
inline const QColor kItemHover(66, 142, 255);
inline constexpr int kHeaderHeight = 24;
inline constexpr int kItemPadding = 4;

}  // namespace pv::sidebarlook
