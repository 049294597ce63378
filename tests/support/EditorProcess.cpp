#include "support/EditorProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

EditorProcess::EditorProcess()
{
    m_first.setProcessEnvironment(environment());
    m_first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

EditorProcess::~EditorProcess()
{
    m_first.kill();
    m_first.waitForFinished(10000);
}

QProcessEnvironment EditorProcess::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        env.insert(QLatin1String(name), folder(QString::fromLatin1(name).toLower()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    return env;
}

bool EditorProcess::start(const QStringList &args)
{
    const QString runtime = folder(QStringLiteral("xdg_runtime_dir"));
    QDir().mkpath(runtime);
    QFile(runtime).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_first.start(QStringLiteral(MAVU_EDITOR_PATH), args);
    m_first.waitForStarted(10000);
    QElapsedTimer timer;
    timer.start();
    while (isRunning() && timer.elapsed() < 30000) {
        if (QFileInfo::exists(runtime + QStringLiteral("/korvelMavu.socket")))
            return true;
        QTest::qWait(50);
    }
    return false;
}

int EditorProcess::runSecond(const QStringList &args)
{
    QProcess second;
    second.setProcessEnvironment(environment());
    second.setWorkingDirectory(m_root.path());
    second.start(QStringLiteral(MAVU_EDITOR_PATH), args);
    if (!second.waitForFinished(10000)) {
        second.kill();
        second.waitForFinished();
        return -1;
    }
    return second.exitStatus() == QProcess::NormalExit ? second.exitCode() : -1;
}

QByteArray EditorProcess::log() const
{
    const QDir dir(folder(QStringLiteral("xdg_data_home/korvel-mavu/Log")));
    QByteArray text;
    for (const QString &name : dir.entryList({QStringLiteral("*_log.html")}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        if (file.open(QIODevice::ReadOnly))
            text += file.readAll();
    }
    return text;
}
