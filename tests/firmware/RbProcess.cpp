#include "RbProcess.h"

#include "PtyLink.h"
#include "support/TestSupport.h"

#include <QDir>

RbProcess::RbProcess()
{
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
}

RbProcess::~RbProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

bool RbProcess::start(const PtyLink &link)
{
    if (!m_dir.isValid())
        return false;
    m_process.setWorkingDirectory(m_dir.path());
    m_process.setStandardInputFile(link.peerPath());
    m_process.setStandardOutputFile(link.peerPath(), QIODevice::Append);
    // Binary, keep names as sent, verbose log on stderr for failures.
    m_process.start(QStringLiteral("rb"), {QStringLiteral("-b"), QStringLiteral("-u"), QStringLiteral("-vv")});
    return m_process.waitForStarted(5000);
}

bool RbProcess::waitForFinished(int ms)
{
    const bool done = m_process.state() == QProcess::NotRunning || m_process.waitForFinished(ms);
    m_log += m_process.readAllStandardError();
    return done;
}

bool RbProcess::succeeded() const
{
    return m_process.state() == QProcess::NotRunning && m_process.exitStatus() == QProcess::NormalExit
        && m_process.exitCode() == 0;
}

QStringList RbProcess::receivedFiles() const
{
    return QDir(m_dir.path()).entryList(QDir::Files, QDir::Name);
}

QByteArray RbProcess::received(const QString &name) const
{
    return testsupport::readAll(m_dir.filePath(name));
}
