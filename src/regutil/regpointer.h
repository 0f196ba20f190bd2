#pragma once

namespace ostrel {

// The screen-wide mouse pointer: busy (hourglass) or default. Setting busy twice
// and default once leaves the default pointer, as a single pointer setting would.
void setBusyPointer();
void setDefaultPointer();
bool isBusyPointer();

}  // namespace ostrel
