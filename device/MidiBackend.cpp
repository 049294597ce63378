#include "device/MidiBackend.h"

QMap<int, QString> productNames(const MidiBackend &backend, const QStringList &portIds)
{
    QMap<int, QString> names;
    for (int i = 0; i < portIds.size(); ++i)
        names.insert(i, backend.productName(portIds.at(i)));
    return names;
}

int currentIndexOf(const QStringList &now, int index, const QString &id)
{
    if (index >= 0 && index < now.size() && now.at(index) == id)
        return index;
    return now.indexOf(id);
}
