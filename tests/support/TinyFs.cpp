#include "TinyFs.h"

#include <QDir>
#include <QFile>
#include <QProcess>

TinyFs::TinyFs(const QString &folder, int sizeKb)
    : m_folder(folder)
    , m_sizeKb(sizeKb)
{
}

TinyFs::~TinyFs()
{
    if (m_mounted) {
        QProcess::execute(QStringLiteral("umount"), {m_folder});
        if (QProcess::execute(QStringLiteral("mountpoint"), {QStringLiteral("-q"), m_folder}) == 0)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_folder});
    }
}

bool TinyFs::runMount(const QStringList &args, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("mount"), args);
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("mount %1: %2").arg(args.join(QLatin1Char(' ')),
                                                       QString::fromLocal8Bit(process.readAll()).trimmed());
        return false;
    }
    return true;
}

bool TinyFs::mount(QString *error)
{
    if (!QDir().mkpath(m_folder)) {
        *error = QStringLiteral("cannot make %1").arg(m_folder);
        return false;
    }
    m_mounted = runMount({QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                          QStringLiteral("size=%1k").arg(m_sizeKb), QStringLiteral("tmpfs"), m_folder},
                         error);
    return m_mounted;
}

bool TinyFs::fill()
{
    QFile filler(QDir(m_folder).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(512, 'x');
    qint64 total = 0;
    while (total < qint64(m_sizeKb) * 2048) { // ends at the first refused write
        if (filler.write(block) != block.size())
            break;
        total += block.size();
    }
    // Whatever a smaller write may still squeeze in.
    while (filler.write("x", 1) == 1) {
    }
    filler.close();
    return total > 0;
}

bool TinyFs::removeFiller()
{
    return QFile::remove(QDir(m_folder).filePath(QStringLiteral("filler")));
}

bool TinyFs::setReadOnly(bool readOnly)
{
    return runMount({QStringLiteral("-o"), readOnly ? QStringLiteral("remount,ro") : QStringLiteral("remount,rw"),
                     m_folder});
}
