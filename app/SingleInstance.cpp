#include "app/SingleInstance.h"

#include "app/InstanceRendezvous.h"
#include "app/InstanceRequest.h"
#include "app/InstanceServer.h"

#include <QFileInfo>

#include <memory>

namespace {

// Held until the process ends: the claim lives as long as this object.
std::unique_ptr<InstanceRendezvous> s_rendezvous;

// A later copy must be gone within a second even when the running one does
// not answer.
constexpr int kDeliverTimeoutMs = 600;

} // namespace

bool isAppRunning(InstanceRendezvous &rendezvous, const QStringList &files)
{
    if (rendezvous.claim())
        return false;
    QStringList absolute;
    for (const QString &file : files)
        absolute << QFileInfo(file).absoluteFilePath(); // the running copy has another working folder
    // No answer (the other copy is still starting or hangs): still end here.
    rendezvous.deliver(instancerequest::encode(absolute), kDeliverTimeoutMs);
    return true;
}

bool isAppRunning(QString key, const QStringList &files)
{
    auto rendezvous = std::make_unique<LocalRendezvous>(key);
    const bool running = isAppRunning(*rendezvous, files);
    if (!running)
        s_rendezvous = std::move(rendezvous);
    return running;
}

InstanceServer *startInstanceServer(QObject *parent)
{
    if (!s_rendezvous)
        return nullptr;
    auto *server = new InstanceServer(parent);
    if (!server->listen(s_rendezvous->takeListeningSocket())) {
        delete server;
        return nullptr;
    }
    return server;
}
