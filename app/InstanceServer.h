#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// Answers later copies of the editor in the running one: brings the main
// window to the front and passes on the files they were started with.
class InstanceServer : public QObject
{
    Q_OBJECT
public:
    explicit InstanceServer(QObject *parent = nullptr);

    // Serves on a bound, listening local socket, which this object then owns.
    bool listen(qintptr socketDescriptor);

    // The title of the QML window that is raised; the main page uses it too.
    static QString windowTitle();

    // Shows the main window normally (restoring it when minimised), raises
    // and activates it. False when there is no such window yet.
    static bool raiseMainWindow();

signals:
    // A later copy was started with these files (absolute paths).
    void filesRequested(QStringList files);

private:
    void onNewConnection();
    void onReadyRead(QLocalSocket *socket);

    QLocalServer *m_server = nullptr;
};
