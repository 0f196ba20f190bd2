#pragma once

#include <QIcon>
#include <QImage>
#include <QString>

namespace pv::pictures {

// Pictures drawn by the program itself, so that nothing has to be read from
// files to show the windows, the main menu and its side bar.

// The splash's decorative picture: a steaming pot beside an open recipe book.
QImage splashPicture(int width, int height);

// The program's icon (a cooking pot on a round plate), at any size.
QImage appImage(int size);
QIcon appIcon();

// The side bar's eight icons, by index: setup, ingredients, recipes, shopping
// list, exit, help, about, credits.
inline constexpr int kMenuIconCount = 8;
QImage menuImage(int index, int size);

// The screens' menu icons shipped as files in images/: "New", "Save",
// "Print", "Main", "Exit", "Calendar". A null image for any other name.
QStringList screenIconNames();
QImage screenIconImage(const QString& name, int size);

// The picture of the informational windows: an open recipe book and a spoon.
QImage recipeBookPicture(int size);

// The error report's picture: a yellow warning triangle with an exclamation mark.
QImage warningPicture(int size);

}  // namespace pv::pictures
