#pragma once

#include "model/DataManagement.h"

#include <QObject>

// Lets a Qt Quick test read the settings image the pages write into,
// including the fields no getter shows (curve, intensity).
class ImageProbe : public QObject
{
    Q_OBJECT
public:
    ImageProbe(DataManagement *data, QObject *parent)
        : QObject(parent)
        , m_data(data)
    { }
    Q_INVOKABLE int byteAt(int offset) const { return int(qint8(m_data->imageBytes().at(offset))); }
    Q_INVOKABLE QString hex() const { return QString::fromLatin1(m_data->imageBytes().toHex()); }

private:
    DataManagement *m_data;
};
