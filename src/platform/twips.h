#pragma once

#include <QRect>

namespace pv {

// Windows are designed in twips; 15 twips make one pixel at 96 dpi.
constexpr int px(int twips) {
    return twips / 15;
}
inline QRect twips(int left, int top, int width, int height) {
    return {px(left), px(top), px(width), px(height)};
}

// Where Tahoma is not installed, its look-alikes of similar width stand in for
// it, so that captions fit the designed sizes. Safe to call more than once.
void preferTahomaLookAlikes();

}  // namespace pv
