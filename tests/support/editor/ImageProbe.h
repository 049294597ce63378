#pragma once

#include "model/DataManagement.h"

#include <QObject>

// Lets a Qt Quick test compare the whole settings image the pages write into.
class ImageProbe : public QObject
{
    Q_OBJECT
public:
    ImageProbe(DataManagement *data, QObject *parent)
        : QObject(parent)
        , m_data(data)
    { }
    Q_INVOKABLE QString hex() const { return QString::fromLatin1(m_data->imageBytes().toHex()); }

private:
    DataManagement *m_data;
};
