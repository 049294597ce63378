#include "app/InstanceServer.h"

#include "app/AppLog.h"
#include "app/InstanceRequest.h"

#include <QDebug>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QQuickWindow>
#include <QTimer>

namespace {
// A client that says nothing useful is dropped after this long.
constexpr int kClientTimeoutMs = 5000;
} // namespace

InstanceServer::InstanceServer(QObject *parent)
    : QObject(parent)
    , m_server(new QLocalServer(this))
{
    connect(m_server, &QLocalServer::newConnection, this, &InstanceServer::onNewConnection);
}

bool InstanceServer::listen(qintptr socketDescriptor)
{
    if (socketDescriptor < 0)
        return false;
    return m_server->listen(socketDescriptor);
}

QString InstanceServer::windowTitle()
{
    return QStringLiteral("korvelMavuwidonw");
}

bool InstanceServer::raiseMainWindow()
{
    const auto windows = QGuiApplication::topLevelWindows();
    for (QWindow *window : windows) {
        // The editor's title carries the file's name; its object name stays.
        if (!qobject_cast<QQuickWindow *>(window)
            || (window->title() != windowTitle() && window->objectName() != windowTitle()))
            continue;
        window->showNormal();
        window->raise();
        window->requestActivate();
        // Wayland compositors ignore raising and focus without an activation
        // token, which Qt 5.15 cannot pass on: ask for attention instead.
        if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
            window->alert(0);
        return true;
    }
    return false;
}

void InstanceServer::onNewConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        QTimer::singleShot(kClientTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        // The request may already be waiting: the client can have written it
        // before this copy's event loop ran.
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void InstanceServer::onReadyRead(QLocalSocket *socket)
{
    if (socket->property("mavuAnswered").toBool())
        return;
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > instancerequest::kMaxSize) {
            qCWarning(lcApp) << "second start: request too long, dropped";
            socket->abort();
        }
        return;
    }
    const QByteArray line = socket->readLine(instancerequest::kMaxSize + 1);
    socket->setProperty("mavuAnswered", true);
    QStringList files;
    QString error;
    if (!instancerequest::decode(line, &files, &error)) {
        qCWarning(lcApp) << "second start: bad request:" << error;
        socket->write(instancerequest::rejectedReply());
        socket->disconnectFromServer();
        return;
    }
    const bool raised = raiseMainWindow();
    qCDebug(lcApp) << "second start: window raised" << raised << "files" << files;
    socket->write(instancerequest::acceptedReply());
    socket->disconnectFromServer();
    if (!files.isEmpty())
        emit filesRequested(files);
}
