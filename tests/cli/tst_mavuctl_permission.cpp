#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <unistd.h>

// A user who may not open the update port is told how to get access, instead
// of a bare "cannot open". Runs mavuctl as an unprivileged user against a
// pseudo-terminal only root may open.
class TestMavuctlPermission : public QObject
{
    Q_OBJECT

private slots:
    void deniedPortExplainsTheFix()
    {
        if (::geteuid() != 0)
            QSKIP("needs root to start mavuctl as another user");
        if (QStandardPaths::findExecutable("setpriv").isEmpty())
            QSKIP("setpriv (util-linux) is not installed");

        int master = -1;
        int slave = -1;
        char name[256] = {};
        QVERIFY(::openpty(&master, &slave, name, nullptr, nullptr) == 0);
        const auto closeBoth = qScopeGuard([&] {
            ::close(slave);
            ::close(master);
        });
        QVERIFY(::chmod(name, 0600) == 0);

        // Everything the other user needs must be reachable by them.
        QTemporaryDir dir;
        QVERIFY(::chmod(qPrintable(dir.path()), 0755) == 0);
        const QString tool = dir.filePath("mavuctl");
        QVERIFY(QFile::copy(MAVU_MAVUCTL_PATH, tool));
        QVERIFY(::chmod(qPrintable(tool), 0755) == 0);
        const QString firmware = dir.filePath("fw.bin");
        testsupport::writeAll(firmware, QByteArray(2000, 'x'));
        QVERIFY(::chmod(qPrintable(firmware), 0644) == 0);

        const auto r = testsupport::run("setpriv",
            {"--reuid=65534", "--regid=65534", "--clear-groups", tool, "firmware", "update", firmware, "--port",
                QString::fromLatin1(name)});
        QVERIFY2(r.exitCode != 0 && r.exitCode != -1, r.err.constData());
        QVERIFY2(r.err.contains("cannot open the update port"), r.err.constData());
        QVERIFY2(r.err.contains("udev rules"), r.err.constData());
        QVERIFY2(r.err.contains("dialout"), r.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestMavuctlPermission)
#include "tst_mavuctl_permission.moc"
