#pragma once

namespace pv {

// The screen-wide busy (hourglass) pointer.
void setBusyPointer();
void setDefaultPointer();
bool isBusyPointer();

// Busy for the life of the object.
class BusyPointer {
public:
    BusyPointer() { setBusyPointer(); }
    ~BusyPointer() { setDefaultPointer(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace pv
