// mavuctl: its edit and set operations (compiled in from its own sources)
// reach the model's, bad ones change nothing; the program's file commands,
// diff, and refusals of paths that are no files; and mavuctl doctor (and the
// Help menu's report) on a system laid out in a folder, each thing that stands
// in the way found with its fix, by the functions and by the program.
#include "cli/EditCommand.h"
#include "cli/SetCommand.h"
#include "device/MidiDoctor.h"
#include "firmware/Doctor.h"
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "support/TestSupport.h"
#include "support/model/SettingsFixture.h"

#include <QDir>
#include <QJsonDocument>
#include <QSerialPort>
#include <QtTest>

#include <functional>
#include <pty.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using testsupport::readAll;
using Data = DataManagement &;
using Edit = std::function<void(Data)>;
Q_DECLARE_METATYPE(Edit)

using testsupport::mavuctl;

class TestMavuctl : public SettingsFixture
{
    Q_OBJECT
    // An edit operation with its arguments, or "set" and its.
    static bool apply(Data d, const QStringList &args, QString *error)
    {
        return args.first() == "set" ? cli::applySet(d, args.mid(1), error)
                                     : cli::applyEdit(d, args.first(), args.mid(1), error);
    }

private slots:
    // Paths that are no preset file are refused from their type and size,
    // unopened: a pipe would wait for a writer for ever, a device never end.
    void notFilesAreRefusedUnread_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why");
        QTest::newRow("pipe") << QString("pipe.stm") << "device, pipe or socket";
        QTest::newRow("character device") << QString("/dev/zero") << "device, pipe or socket";
        QTest::newRow("folder") << QString("folder.syx") << "folder";
        QTest::newRow("far too big") << QString("huge.stm") << "at most 262144 bytes";
    }
    void notFilesAreRefusedUnread()
    {
        QFETCH(QString, name);
        QFETCH(QString, why);
        const QString target = name.startsWith('/') ? name : path(name);
        if (name == "pipe.stm")
            QCOMPARE(::mkfifo(QFile::encodeName(target).constData(), 0600), 0);
        else if (name == "folder.syx")
            QVERIFY(QDir().mkpath(target));
        else if (name == "huge.stm")
            QVERIFY(QFile(target).open(QIODevice::WriteOnly) && QFile(target).resize(qint64(1) << 32));
        QByteArray image("untouched");
        QString error;
        QVERIFY(!preset::readFile(target, &image, &error));
        QVERIFY2(error.contains(why) && image == "untouched", qPrintable(error));
        const auto r = mavuctl({"dump", target});
        QVERIFY2(r.exitCode == 1 && r.err.contains(why.toUtf8()), r.err.constData());
    }

    // mavuctl's edits reach the model operation of their name with their
    // arguments; its sets (first word "set") the fields of the control they name.
    void editsReachTheirOperation_data()
    {
        QTest::addColumn<QStringList>("edit");
        QTest::addColumn<Edit>("same");
        const auto row
            = [](const QStringList &edit, Edit same) { QTest::newRow(qPrintable(edit.join(' '))) << edit << same; };
        row({"setPadInfo", "47", "padCh", "16"}, [](Data d) { d.setPadInfo(47, "padCh", 16); });
        row({"setPadInfo", "5", "padRGB", "#ff8000"}, [](Data d) { d.setPadInfo(5, "padRGB", QString("#ff8000")); });
        row({"setPadBatch", "2", "note", "true", "padData", "120"},
            [](Data d) { d.setPadBatch(2, "note", true, "padData", 120); });
        row({"setPadBatchColor", "3", "#0000ff"}, [](Data d) { d.setPadBatchColor(3, "#0000ff"); });
        row({"setBQMInfo", "11", "bqmMsbMin", "5"}, [](Data d) { d.setBQMInfo(11, "bqmMsbMin", 5); });
        row({"setBQMBatch", "1", "pitch", "bqmData", "126"}, [](Data d) { d.setBQMBatch(1, "pitch", "bqmData", 126); });
        row({"setWalkingBeltInfo", "3", "wbtype", "1"}, [](Data d) { d.setWalkingBeltInfo(3, "wbtype", 1); });
        row({"setLum", "1", "0.5"}, [](Data d) { d.setLum(1, 0.5f); });
        row({"setCurveInten", "intensity", "90"}, [](Data d) { d.setCurveInten("intensity", 90); });
        row({"initDefaultData"}, [](Data d) { d.initDefaultData(); });
        row({"set", "PAD", "A6", "note", "C#4", "channel", "3"}, [](Data d) {
            d.setPadInfo(5, "padtype", 0);
            d.setPadInfo(5, "padData", 61);
            d.setPadInfo(5, "padCh", 3);
        });
        row({"set", "pad:c16", "pc", "5", "color", "#ff8000"}, [](Data d) {
            d.setPadInfo(47, "padtype", 2);
            d.setPadInfo(47, "padData", 5);
            d.setPadInfo(47, "padRGB", QString("#ff8000"));
        });
        row({"set", "KNOB", "B2", "type", "pitch", "msb-max", "100"}, [](Data d) {
            d.setBQMInfo(5, "bqmType", 2);
            d.setBQMInfo(5, "bqmMsbMax", 100);
        });
        row({"set", "BUTTON", "stop", "cc", "20", "mode", "toggle"}, [](Data d) {
            d.setWalkingBeltInfo(1, "wbtype", 0);
            d.setWalkingBeltInfo(1, "wbData", 20);
            d.setWalkingBeltInfo(1, "wbMode", 1);
        });
        row({"set", "BANK", "C", "notes", "36", "brightness", "0.5"}, [](Data d) {
            d.setPadBatch(3, "note", false, "padData", 36);
            d.setLum(3, 0.5f);
        });
        row({"set", "bank:b", "knob-ccs", "20", "color", "#0000ff"}, [](Data d) {
            d.setBQMBatch(2, "cc", "bqmData", 20);
            d.setPadBatchColor(2, "#0000ff");
        });
        row({"set", "GLOBAL", "curve", "exp", "pressure", "90"}, [](Data d) {
            d.setCurveInten("curve", 3);
            d.setCurveInten("intensity", 90);
        });
    }
    void editsReachTheirOperation()
    {
        QFETCH(QStringList, edit);
        QFETCH(Edit, same);
        DataManagement byCli, direct;
        for (DataManagement *d : {&byCli, &direct}) {
            d->setImage(m_defaults.constData(), m_defaults.size());
            d->setPadInfo(0, "padData", 1); // so that the defaults change something
        }
        QString error;
        QVERIFY2(apply(byCli, edit, &error), qPrintable(error));
        same(direct);
        QCOMPARE(byCli.imageBytes(), direct.imageBytes());
    }

    void badEditsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("edit");
        QTest::newRow("unknown op") << QStringList{"setEverything", "1"};
        QTest::newRow("too many") << QStringList{"setLum", "1", "0.5", "2"};
        QTest::newRow("not a number") << QStringList{"setPadInfo", "x", "padData", "1"};
        QTest::newRow("pad border") << QStringList{"setPadInfo", "48", "padData", "1"};
        QTest::newRow("bank border") << QStringList{"setPadBatch", "4", "note", "false", "padData", "1"};
        QTest::newRow("bad key") << QStringList{"setBQMInfo", "0", "bqmdata", "1"};
        QTest::newRow("bad colour") << QStringList{"setPadBatchColor", "1", "#ggg"};
        QTest::newRow("value range") << QStringList{"setWalkingBeltInfo", "0", "wbData", "128"};
        QTest::newRow("brightness range") << QStringList{"setLum", "1", "1.5"};
        QTest::newRow("no such control") << QStringList{"set", "PAD", "D1", "note", "5"};
        QTest::newRow("no such key") << QStringList{"set", "KNOB", "A1", "note", "5"};
        QTest::newRow("note range") << QStringList{"set", "PAD", "A6", "note", "H4"};
        QTest::newRow("a later value bad") << QStringList{"set", "PAD", "A6", "note", "60", "channel", "17"};
        QTest::newRow("value missing") << QStringList{"set", "BUTTON", "stop", "mode"};
    }
    void badEditsChangeNothing()
    {
        QFETCH(QStringList, edit);
        QString error;
        QVERIFY(!apply(m_data, edit, &error) && !error.isEmpty());
        QCOMPARE(m_data.imageBytes(), m_defaults);
    }

    void mavuctlFileCommands()
    {
        const QString stm = path("p.stm");
        QCOMPARE(mavuctl({"defaults", stm}).exitCode, 0);
        QCOMPARE(mavuctl({"edit", stm, "setPadInfo", "5", "padData", "99"}).exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(mavuctl({"dump", "--json", stm}).out)["pads"][5]["padData"].toInt(), 99);
        QCOMPARE(mavuctl({"convert", stm, path("p.syx")}).exitCode, 0);
        QCOMPARE(readAll(path("p.syx")), readAll(stm).mid(4));
        QCOMPARE(mavuctl({"convert", path("p.syx"), path("back.stm")}).exitCode, 0);
        QCOMPARE(readAll(path("back.stm")), readAll(stm));
        // Through text and back byte for byte, the header and firmware bytes too.
        QByteArray odd = m_defaults;
        odd[1] = 0x02;
        odd[10] = 0x7F;
        QVERIFY(preset::writeFile(path("odd.syx"), odd, nullptr));
        QCOMPARE(mavuctl({"convert", path("odd.syx"), path("odd.json")}).exitCode, 0);
        QCOMPARE(mavuctl({"convert", path("odd.json"), path("odd.stm")}).exitCode, 0);
        QCOMPARE(readAll(path("odd.stm")), testsupport::fromHex("00 00 01 CA") + odd);
        // Global options before or after the command, in both forms; a command's own help.
        for (const QStringList &args :
            {QStringList{"--midi-api", "jack", "dump", "--json", stm}, {"dump", stm, "--json", "--midi-api=jack"}})
            QCOMPARE(QJsonDocument::fromJson(mavuctl(args).out)["pads"][5]["padData"].toInt(), 99);
        const auto help = mavuctl({"dump", "--help"});
        QVERIFY2(help.exitCode == 0 && help.out.startsWith("Usage: mavuctl dump") && help.out.contains("--json"),
            help.out.constData());
        QCOMPARE(mavuctl({"set", stm, "PAD", "A6", "note", "C4"}).exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(mavuctl({"dump", "--json", stm}).out)["pads"][5]["padData"].toInt(), 60);
        // Each command's keys in its help; edit's say where counting starts.
        QVERIFY(mavuctl({"set", "--help"})
                    .out.contains("BUTTON previous|stop|next|record|start|repeat\n"
                                  "                    type cc|mc, cc 0..127, channel 1..16"));
        QVERIFY(mavuctl({"--help"}).out.contains("INDEX       counts from 0: pads 0..47"));

        // Bad command lines and files: one line on stderr, nothing else, the file as it was.
        testsupport::writeAll(path("trunc.stm"), readAll(stm).left(300));
        const QList<QStringList> bad
            = {{}, {"frobnicate"}, {"dump", stm, stm}, {"edit", stm, "setLum", "9", "1"}, {"dump", path("trunc.stm")},
                {"edit", path("trunc.stm"), "initDefaultData"}, {"convert", path("trunc.stm"), path("out.syx")},
                {"dump", "--bogus", stm}, {"--midi-api", "x", "dump", stm}, {"get", "-o"},
                {"set", stm, "PAD", "A6", "note", "128"}, {"set", stm, "PAD", "A6"}, {"convert", stm, path("out.txt")}};
        const QByteArray before = readAll(stm);
        for (const QStringList &args : bad) {
            const auto r = mavuctl(args);
            QVERIFY2(r.exitCode > 0 && r.out.isEmpty(), qPrintable(args.join(' ')));
            QVERIFY2(r.err.startsWith("mavuctl: ") && r.err.count('\n') == 1, r.err.constData());
        }
        QCOMPARE(readAll(stm), before);
        QCOMPARE(readAll(path("trunc.stm")).size(), 300);
        QVERIFY(!QFile::exists(path("out.syx")) && !QFile::exists(path("out.txt")));
    }

    // As diff(1): 0 and nothing when equal (whatever the form), 1 and a line per setting, 2 and why.
    void mavuctlDiff_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("equal") << QStringList{"@a.stm", "@a.syx"} << 0 << QByteArray() << QByteArray();
        const QByteArray differences("PAD A3      padData    26 (D1) -> 61 (C#4)\n"
                                     "PAD B3      padColor   0 90 0 -> 127 0 0\n"
                                     "KNOB B2     bqmCh      1 -> 9\n");
        QTest::newRow("differ") << QStringList{"@a.syx", "@b.stm"} << 1 << differences << QByteArray();
        QTest::newRow("text") << QStringList{"@a.json", "@b.stm"} << 1 << differences << QByteArray();
        QTest::newRow("unreadable") << QStringList{"@b.stm", "@none.stm"} << 2 << QByteArray()
                                    << QByteArray("mavuctl: cannot open ");
        QTest::newRow("one preset") << QStringList{"@a.stm"} << 2 << QByteArray()
                                    << QByteArray("mavuctl: usage: mavuctl diff A B");
        QTest::newRow("unknown option") << QStringList{"--bogus", "@a.stm", "@b.stm"} << 2 << QByteArray()
                                        << QByteArray("mavuctl: Unknown option 'bogus'.");
        QTest::newRow("the simulated controller")
            << QStringList{"--simulator", "@a.syx", "-"} << 0 << QByteArray() << QByteArray();
    }
    void mavuctlDiff()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        QString error;
        QVERIFY(preset::writeFile(path("a.stm"), m_defaults, &error)
            && preset::writeFile(path("a.syx"), m_defaults, &error)
            && preset::writeFile(path("a.json"), m_defaults, &error));
        m_data.setPadInfo(2, "padData", 61);
        m_data.setPadInfo(18, "padRGB", QString("#ff0000"));
        m_data.setBQMInfo(5, "bqmCh", 9);
        QVERIFY2(preset::writeFile(path("b.stm"), m_data.imageBytes(), &error), qPrintable(error));
        const auto r = mavuctl(QStringList{"diff"} + args.replaceInStrings("@", m_dir.path() + '/'));
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(r.out, out);
        QVERIFY2(r.err.startsWith(err) && r.err.count('\n') == (err.isEmpty() ? 0 : 1), r.err.constData());
        QVERIFY(mavuctl({"diff", "--help"}).out.startsWith("Usage: mavuctl diff A B"));
    }

    // --simulator runs the whole update in mavuctl on the simulated
    // controller; its backup stays in the simulator's own data folder.
    void simulatedFirmwareUpdateKeepsItsBackupApart()
    {
        qputenv("XDG_DATA_HOME", QFile::encodeName(path("data")));
        testsupport::writeAll(path("fw.bin"), QByteArray(3000, 'f'));
        const auto r = mavuctl({"--simulator", "firmware", "update", path("fw.bin")});
        QVERIFY2(r.exitCode == 0 && r.out.contains("Firmware fw.bin sent."), r.err.constData());
        QVERIFY2(
            r.out.startsWith("Settings saved to " + QFile::encodeName(path("data/korvel-mavu/simulator/backups/"))),
            r.out.constData());
        QVERIFY(!QFile::exists(path("data/korvel-mavu/backups")));
        QVERIFY(mavuctl({"--help"}).out.contains("--simulator"));
    }

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
        // A port named on the command line is in update mode only while a
        // loader asks on it; a ttyUSB port sits one folder further down.
        const QStringList loader = all.mid(0, 4);
        const QString notListed = "MIDI ports are not listed";
        QTest::newRow("named port, nothing on it") << loader + QStringList{"named"} << notListed;
        QTest::newRow("named port, a loader asks") << loader + QStringList{"named", "loader"} << "in update mode";
        QTest::newRow("named port not there") << loader + QStringList{"named", "gone"} << "Update port: not present";
        QTest::newRow("update mode, ttyUSB") << loader + QStringList{"ttyUSB"} << "in update mode";
        QTest::newRow("the maker's other product") << loader + QStringList{"other product"} << notListed;
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
        put("sys/devices/usb1/1-1/idProduct", system.contains("other product") ? "0205\n" : "0204\n");
        const QString tty = system.contains("ttyUSB") ? "ttyUSB0" : "ttyACM0";
        const QString device = "devices/usb1/1-1/1-1:1.0" + QString(tty == "ttyUSB0" ? "/ttyUSB0" : "");
        QDir().mkpath(root.filePath("sys/" + device));
        QDir().mkpath(root.filePath("sys/class/tty/" + tty));
        QVERIFY(QFile::link("../../../" + device, root.filePath("sys/class/tty/" + tty + "/device")));
        QDir().mkpath(root.filePath("dev"));
        QVERIFY(QFile::link(QString(pty), root.filePath("dev/" + tty)));
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
        if (system.contains("loader"))
            QCOMPARE(::write(master, "CCCCCCCC", 8), 8); // waiting there when it is listened to
        doctor::Inputs inputs;
        inputs.root = root.path();
        const bool named = system.contains("named");
        if (named)
            inputs.updatePortOverride = system.contains("gone") ? root.filePath("no-tty") : QString::fromLatin1(pty);
        inputs.midiProducts = QStringList{"Midi Through", system.contains("controller") ? "Korvel Mavu" : "Mavu"};
        const QString port = doctor::findUpdatePort(inputs.root, inputs.updatePortOverride);
        const QList<doctor::Finding> findings
            = doctor::midiFindings(inputs, !port.isEmpty() && (!named || system.contains("loader")))
            + doctor::updateFindings(inputs, port);
        const QString report = doctor::report(findings);
        QVERIFY2(report.contains(finding.isEmpty() ? "All is well." : finding), qPrintable(report));
        QCOMPARE(doctor::allWell(findings), finding.isEmpty());
        for (const doctor::Finding &f : findings)
            QVERIFY2(f.ok == f.fix.isEmpty(), qPrintable(f.text)); // every problem comes with its fix
        if (finding.isEmpty())
            return;
        // The command: the same finding from another process, and exit status 1.
        QStringList args{"doctor", "--root", root.path(), "--midi-api", "alsa", "--firmware-server", "127.0.0.1:1"};
        const auto r = mavuctl(named ? args << "--update-port" << inputs.updatePortOverride : args);
        QVERIFY2(r.exitCode == 1 && r.out.contains(finding.toUtf8()), r.out.constData());
    }
};

QTEST_GUILESS_MAIN(TestMavuctl)
#include "tst_mavuctl.moc"
