#pragma once

#include <QString>
#include <QStringList>

class InstanceRendezvous;
class InstanceServer;
class QObject;

// True when another copy of the editor holds the key; the caller then ends.
// The running copy is brought to the front and handed the files (made
// absolute here). Called before the application object exists; writes nothing.
bool isAppRunning(QString key, const QStringList &files = QStringList());

// The same decision on a given rendezvous.
bool isAppRunning(InstanceRendezvous &rendezvous, const QStringList &files);

// Once the application object exists: starts answering later copies. Returns
// the server (a child of parent), or null when this process holds no claim.
InstanceServer *startInstanceServer(QObject *parent);
