#include "model/ImageCheck.h"

#include "model/SettingsLayout.h"

#include <QCoreApplication>

bool isCompleteImage(const QByteArray &image, QString *error)
{
    QString reason;
    if (image.size() != layout::kImageSize)
        reason = QCoreApplication::translate(
            "ImageCheck", "The settings block is %1 bytes long; a complete block has %2 bytes.")
                     .arg(image.size())
                     .arg(layout::kImageSize);
    else if (quint8(image.front()) != layout::kSysExStart || quint8(image.back()) != layout::kSysExEnd)
        reason
            = QCoreApplication::translate("ImageCheck", "The settings block does not begin with F0 and end with F7.");
    if (reason.isEmpty())
        return true;
    if (error)
        *error = reason;
    return false;
}
