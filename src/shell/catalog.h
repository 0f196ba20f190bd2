#pragma once

namespace pv {

// Tells the window registry how to make every window of the program.
void registerPantrovaWindows();

}  // namespace pv
