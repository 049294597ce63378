// mavuctl doctor (and the Help menu's report) on a system laid out in a folder:
// each thing that stands in the way of the controller or its update found,
// with its fix, by the functions and by mavuctl.
#include "device/MidiDoctor.h"
#include "firmware/Doctor.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

#include <pty.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using testsupport::mavuctl;

class TestDoctor : public QObject
{
    Q_OBJECT

private slots:
    // mavuctl doctor (and the Help menu's report) on a system laid out in a
    // folder: the update port is a pseudo-terminal behind a USB device of the
    // controller's identity in update mode.
    void doctorFindsWhatStandsInTheWay_data()
    {
        QTest::addColumn<QStringList>("system");
        QTest::addColumn<QString>("finding");
        const QStringList all{"seq", "udev", "rules", "applied", "controller"};
        QTest::newRow("all well") << all << QString();
        QTest::newRow("no sequencer") << QStringList(all.mid(1)) << "No ALSA sequencer";
        QTest::newRow("port busy") << (all + QStringList{"busy"}) << "is busy";
        QTest::newRow("rules missing") << QStringList{"seq", "udev", "controller"}
                                       << "70-korvel-mavu.rules) are not installed";
        QTest::newRow("ModemManager") << QStringList{"seq", "udev", "modem", "controller"} << "ModemManager is running";
        QTest::newRow("rules not applied") << QStringList{"seq", "udev", "rules", "controller"} << "not applied";
        QTest::newRow("update mode") << QStringList(all.mid(0, 4)) << "in update mode";
    }
    void doctorFindsWhatStandsInTheWay()
    {
        QFETCH(QStringList, system);
        QFETCH(QString, finding);
        QTemporaryDir root;
        const auto put = [&root](const QString &file, const QByteArray &text) {
            QDir().mkpath(QFileInfo(root.filePath(file)).path());
            testsupport::writeAll(root.filePath(file), text);
        };
        int master = -1, slave = -1;
        char pty[256] = {};
        QVERIFY(::openpty(&master, &slave, pty, nullptr, nullptr) == 0);
        const auto closeBoth = qScopeGuard([&] {
            ::close(slave);
            ::close(master);
        });
        put("sys/devices/usb1/1-1/idVendor", "1c75\n");
        put("sys/devices/usb1/1-1/idProduct", "0204\n");
        QDir().mkpath(root.filePath("sys/devices/usb1/1-1/1-1:1.0"));
        QDir().mkpath(root.filePath("sys/class/tty/ttyACM0"));
        QVERIFY(QFile::link("../../../devices/usb1/1-1/1-1:1.0", root.filePath("sys/class/tty/ttyACM0/device")));
        QDir().mkpath(root.filePath("dev"));
        QVERIFY(QFile::link(QString(pty), root.filePath("dev/ttyACM0")));
        struct stat info { };
        QVERIFY(::stat(pty, &info) == 0);
        const QMap<QString, QPair<QString, QByteArray>> parts = {{"seq", {"dev/snd/seq", ""}},
            {"udev", {"run/udev/control", ""}}, {"rules", {"usr/lib/udev/rules.d/70-korvel-mavu.rules", ""}},
            {"applied",
                {QStringLiteral("run/udev/data/c%1:%2").arg(major(info.st_rdev)).arg(minor(info.st_rdev)),
                    "E:ID_MM_DEVICE_IGNORE=1\n"}},
            {"modem", {"proc/812/comm", "ModemManager\n"}}};
        for (const QString &part : system) {
            if (parts.contains(part)) // the others are not files
                put(parts.value(part).first, parts.value(part).second);
        }
        QSerialPort holder(QString::fromLatin1(pty)); // another program using the port
        QVERIFY(!system.contains("busy") || holder.open(QIODevice::ReadWrite));
        doctor::Inputs inputs;
        inputs.root = root.path();
        inputs.midiProducts = QStringList{"Midi Through", system.contains("controller") ? "Korvel Mavu" : "Mavu"};
        const QString port = doctor::findUpdatePort(inputs.root, inputs.updatePortOverride);
        const QList<doctor::Finding> findings
            = doctor::midiFindings(inputs, !port.isEmpty()) + doctor::updateFindings(inputs, port);
        const QString report = doctor::report(findings);
        QVERIFY2(report.contains(finding.isEmpty() ? "All is well." : finding), qPrintable(report));
        QCOMPARE(doctor::allWell(findings), finding.isEmpty());
        for (const doctor::Finding &f : findings)
            QVERIFY2(f.ok == f.fix.isEmpty(), qPrintable(f.text)); // every problem comes with its fix
        if (finding.isEmpty())
            return;
        // The command: the same finding from another process, and exit status 1.
        const auto r
            = mavuctl({"doctor", "--root", root.path(), "--midi-api", "alsa", "--firmware-server", "127.0.0.1:1"});
        QVERIFY2(r.exitCode == 1 && r.out.contains(finding.toUtf8()), r.out.constData());
    }
};

QTEST_GUILESS_MAIN(TestDoctor)
#include "tst_doctor.moc"
