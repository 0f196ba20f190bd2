#include "catalog.h"

#include "windows.h"

namespace pv {

void registerPantrovaWindows() {
    // Each window is added here as it is built.
}

}  // namespace pv
