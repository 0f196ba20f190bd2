#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// An ".ico" file holding one 32-bit image per size (Qt's own writer stores
// only one image per file).
QByteArray icoFile(const QList<QImage>& images);
