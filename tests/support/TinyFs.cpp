#include "support/TinyFs.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

namespace {

bool mountCommand(const QStringList &args, QString *error = nullptr)
{
    const auto r = testsupport::run(QStringLiteral("mount"), args, 10000);
    if (r.exitCode != 0 && error)
        *error = QStringLiteral("mount %1: %2").arg(args.join(' '), QString::fromLocal8Bit(r.err + r.out).trimmed());
    return r.exitCode == 0;
}

} // namespace

TinyFs::~TinyFs()
{
    if (m_mounted)
        testsupport::run(QStringLiteral("umount"), {QStringLiteral("-l"), m_folder}); // also while a file is open
}

bool TinyFs::mount(QString *error)
{
    QDir().mkpath(m_folder);
    m_mounted = mountCommand({"-t", "tmpfs", "-o", "size=64k", "tmpfs", m_folder}, error);
    return m_mounted;
}

bool TinyFs::fill()
{
    QFile filler(m_folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(512, 'x');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("x", 1) == 1) { // whatever a smaller write still squeezes in
    }
    return filler.size() > 0;
}

bool TinyFs::removeFiller()
{
    return QFile::remove(m_folder + QStringLiteral("/filler"));
}

bool TinyFs::setReadOnly(bool readOnly)
{
    return mountCommand({"-o", readOnly ? "remount,ro" : "remount,rw", m_folder});
}
