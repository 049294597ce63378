#include "firmware/LoaderListener.h"

#include "firmware/FirmwareLog.h"
#include "firmware/YmodemFileTransmit.h"

#include <QDebug>
#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>

LoaderListener::LoaderListener(QObject *parent)
    : QObject(parent)
    , m_port(new QSerialPort(this))
    , m_limit(new QTimer(this))
{
    m_limit->setSingleShot(true);
    connect(m_limit, &QTimer::timeout, this, [this] { end(m_loader); });
    connect(m_port, &QSerialPort::readyRead, this, [this] {
        if (m_port->readAll().contains(char(Ymodem::CodeC))) {
            m_loader = true;
            m_limit->start(0);
        }
    });
}

void LoaderListener::listen(const QString &path, int limitMs)
{
    cancel();
    m_loader = false;
    m_port->setPortName(path);
    m_port->setBaudRate(YmodemFileTransmit::kBaudRate);
    if (!m_port->open(QIODevice::ReadOnly)) {
        qCDebug(lcFirmware) << "cannot listen on" << path << m_port->errorString();
        limitMs = 0;
    }
    m_limit->start(limitMs);
}

void LoaderListener::cancel()
{
    m_limit->stop();
    m_port->close();
}

bool LoaderListener::isListening() const
{
    return m_limit->isActive();
}

void LoaderListener::end(bool loader)
{
    cancel();
    if (!loader)
        qCDebug(lcFirmware) << "no loader asks for a file on" << m_port->portName();
    emit heard(loader);
}

bool LoaderListener::hears(const QString &path, int limitMs)
{
    LoaderListener listener;
    QEventLoop loop;
    bool loader = false;
    connect(&listener, &LoaderListener::heard, &loop, [&](bool heard) {
        loader = heard;
        loop.quit();
    });
    listener.listen(path, limitMs);
    loop.exec();
    return loader;
}
