#pragma once

#include <QString>

namespace pv {

// "Please click on 'Prg. setup' in the Main menu" CR "and create at least 1 category."
QString noCategoryText();

// Tells the user to create a category first, then shows the main menu.
void noCategoryNotice();

}  // namespace pv
