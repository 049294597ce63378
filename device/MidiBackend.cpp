#include "device/MidiBackend.h"

namespace {

std::unique_ptr<MidiBackend> &current()
{
    static std::unique_ptr<MidiBackend> backend;
    return backend;
}

} // namespace

MidiBackend *midiBackend()
{
    return current().get();
}

void setMidiBackend(std::unique_ptr<MidiBackend> backend)
{
    current() = std::move(backend);
}

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
