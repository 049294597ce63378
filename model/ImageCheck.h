#pragma once

#include <QByteArray>
#include <QString>

// Whether bytes form a complete settings image: 458 bytes, F0 first, F7 last.
// On failure *error (when given) says what is wrong.
bool isCompleteImage(const QByteArray &image, QString *error = nullptr);
