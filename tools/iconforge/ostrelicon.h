#pragma once

#include <QImage>

// The registration utility's desktop icon: a component chip with a tick.
QImage ostrelImage(int size);
