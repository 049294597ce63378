#include "device/LoopbackMidi.h"
#include "device/MidiPort.h"
#include "device/Protocol.h"
#include "simulator/SimCommandLine.h"
#include "simulator/SimController.h"
#include "simulator/SimMidiPorts.h"
#include "simulator/SimulatedDevice.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The simulated controller: its answers, its misbehaviour, and its update
// mode receiving a firmware file from a standard YMODEM sender (lrzsz's sb).
class TestSimulator : public QObject
{
    Q_OBJECT
private:
    static QList<QByteArray> replies(SimController &c, const QByteArray &message)
    {
        QList<QByteArray> list;
        QObject::connect(&c, &SimController::reply, &c, [&list](const QByteArray &m) { list << m; });
        c.handleMessage(message);
        QTest::qWait(10);
        QObject::disconnect(&c, &SimController::reply, nullptr, nullptr);
        return list;
    }

private slots:
    void answersReadsAndTakesWrites()
    {
        SimController c;
        c.setVersion(4, 5, 6);
        c.setSerial("KMV0000000007");
        const QList<QByteArray> settings = replies(c, protocol::request(protocol::ReadSettings));
        QCOMPARE(settings.size(), 1);
        QCOMPARE(settings.first().size(), 458);
        QCOMPARE(settings.first().left(2), testsupport::fromHex("F0 02"));
        QCOMPARE(settings.first().mid(8, 3), testsupport::fromHex("04 05 06"));
        QCOMPARE(quint8(settings.first().back()), quint8(0xF7));

        QCOMPARE(replies(c, protocol::request(protocol::ReadSerial)),
                 QList<QByteArray>{protocol::serialReply("KMV0000000007")});

        QByteArray written = protocol::writeSettingsMessage(c.settingsReply());
        written[30] = 0x42;
        QSignalSpy taken(&c, &SimController::settingsWritten);
        QVERIFY(replies(c, written).isEmpty());
        QCOMPARE(taken.size(), 1);
        QCOMPARE(c.settingsReply().at(30), char(0x42));
        // A damaged write is refused whole.
        QVERIFY(replies(c, written.left(200)).isEmpty());
        QCOMPARE(taken.size(), 1);
        QCOMPARE(c.settingsReply().at(30), char(0x42));

        QSignalSpy update(&c, &SimController::updateRequested);
        c.handleMessage(protocol::request(protocol::EnterUpdate));
        QCOMPARE(update.size(), 1);
    }

    void misbehavesOnRequest()
    {
        SimController c;
        c.setReplyMode(SimController::ReplyMode::Silent);
        QVERIFY(replies(c, protocol::request(protocol::ReadSettings)).isEmpty());
        QVERIFY(replies(c, protocol::request(protocol::ReadSerial)).isEmpty());

        c.setReplyMode(SimController::ReplyMode::Short);
        const QByteArray cut = replies(c, protocol::request(protocol::ReadSettings)).value(0);
        QVERIFY(cut.size() > 8 && cut.size() < 458);
        QCOMPARE(quint8(cut.back()), quint8(0xF7));

        c.setReplyMode(SimController::ReplyMode::Long);
        const QByteArray extra = replies(c, protocol::request(protocol::ReadSettings)).value(0);
        QVERIFY(extra.size() > 458);
        QCOMPARE(quint8(extra.back()), quint8(0xF7));

        c.setReplyMode(SimController::ReplyMode::Normal);
        c.setReplyDelay(300);
        QSignalSpy spy(&c, &SimController::reply);
        QElapsedTimer clock;
        clock.start();
        c.handleMessage(protocol::request(protocol::ReadSettings));
        QCOMPARE(spy.size(), 0);
        QVERIFY(spy.wait(2000));
        QVERIFY(clock.elapsed() >= 290);
    }

    void parsesItsOptions()
    {
        int v[3];
        QVERIFY(SimController::parseVersion("1.0.12", v));
        QCOMPARE(v[2], 12);
        QVERIFY(!SimController::parseVersion("1.0", v));
        QVERIFY(!SimController::parseVersion("1.0.x", v));
        QVERIFY(!SimController::parseVersion("1.0.300", v));
        SimController::ReplyMode mode;
        QVERIFY(SimController::parseReplyMode("none", &mode));
        QCOMPARE(mode, SimController::ReplyMode::Silent);
        QVERIFY(!SimController::parseReplyMode("sometimes", &mode));
    }

    void commandLine()
    {
        const SimCommandLine c = SimCommandLine::parse({"--midi-api", "jack", "--serial", "KMV1", "--firmware-version", "2.0.1",
                                                        "--reply", "short", "--reply-delay", "250", "--update-link", "/tmp/x",
                                                        "--firmware-dir", "/tmp/fw", "--version-after-update", "2.0.2"});
        QVERIFY2(c.error.isEmpty(), qPrintable(c.error));
        QCOMPARE(c.midiApi, QString("jack"));
        QCOMPARE(c.serial, QString("KMV1"));
        QCOMPARE(c.version[0] * 10000 + c.version[1] * 100 + c.version[2], 20001);
        QCOMPARE(c.replyMode, SimController::ReplyMode::Short);
        QCOMPARE(c.replyDelayMs, 250);
        QCOMPARE(c.device.updateLink, QString("/tmp/x"));
        QCOMPARE(c.device.firmwareDir, QString("/tmp/fw"));
        QCOMPARE(c.device.versionAfterUpdate, QString("2.0.2"));

        // Each bad command line names what is wrong.
        const QList<QPair<QStringList, QString>> bad = {
            {{"--bogus"}, "unknown option"},
            {{"stray"}, "unexpected argument"},
            {{"--reply"}, "needs a value"},
            {{"--reply", "sometimes"}, "bad value for --reply"},
            {{"--serial", "12345678901234"}, "bad value for --serial"},
            {{"--midi-api", "winmm"}, "bad value for --midi-api"},
            {{"--reply-delay", "-5"}, "bad value for --reply-delay"},
            {{"--firmware-version", "1.2"}, "bad value for --firmware-version"},
        };
        for (const auto &b : bad) {
            const SimCommandLine e = SimCommandLine::parse(b.first);
            QVERIFY2(e.error.contains(b.second), qPrintable(b.first.join(' ') + " -> " + e.error));
        }
    }

    void updateModeTakesAFirmwareFileFromSb_data()
    {
        QTest::addColumn<QStringList>("senderOptions");
        QTest::addColumn<int>("size");
        QTest::newRow("128-byte blocks") << QStringList{"--ymodem"} << 3000;
        QTest::newRow("1024-byte blocks") << QStringList{"--ymodem", "-k"} << 70000;
    }
    void updateModeTakesAFirmwareFileFromSb()
    {
        QFETCH(QStringList, senderOptions);
        QFETCH(int, size);
        if (QStandardPaths::findExecutable("sb").isEmpty())
            QFAIL("lrzsz's sb is needed (scripts/debian-packages.txt lists lrzsz)");

        QTemporaryDir dir;
        QByteArray firmware;
        for (int i = 0; i < size; ++i)
            firmware += char((i * 13 + i / 256) & 0xFF);
        const QString source = dir.filePath("mavu-fw-1.0.9.bin");
        testsupport::writeAll(source, firmware);

        auto midi = std::make_unique<LoopbackMidi>();
        LoopbackMidi *loop = midi.get();
        setMidiBackend(std::move(midi));
        SimOptions options;
        options.updateLink = dir.filePath("ttyMAVU");
        options.firmwareDir = dir.filePath("received");
        options.versionAfterUpdate = "1.0.9";
        SimulatedDevice device(new LoopbackSimPorts(loop, "Korvel Mavu"), options);
        QString error;
        QVERIFY(device.plug(&error));

        // The editor's command, through the MIDI ports.
        QCOMPARE(midiOutDevices().value(0), QString("Korvel Mavu"));
        MidiOut out;
        QVERIFY(out.open(0));
        const QByteArray enter = protocol::request(protocol::EnterUpdate);
        QVERIFY(out.send(enter.constData(), enter.size()));
        QTRY_VERIFY(device.inUpdateMode());
        QVERIFY(midiInDevices().isEmpty());
        QVERIFY(midiOutDevices().isEmpty());
        QCOMPARE(QFileInfo(options.updateLink).symLinkTarget(), device.updatePortPath());
        out.close();

        QSignalSpy received(&device, &SimulatedDevice::firmwareReceived);
        QProcess sender;
        sender.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sender.setWorkingDirectory(dir.path());
        sender.start("/bin/sh", QStringList{"-c", "exec sb \"$@\" < \"$0\" > \"$0\"", options.updateLink}
                                    + senderOptions + QStringList{source});
        QVERIFY(sender.waitForStarted());
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 60000);
        QTRY_COMPARE_WITH_TIMEOUT(sender.state(), QProcess::NotRunning, 10000);
        QCOMPARE(sender.exitCode(), 0);

        QCOMPARE(received.first().at(0).toString(), QString("mavu-fw-1.0.9.bin"));
        QCOMPARE(received.first().at(1).toLongLong(), qint64(size));
        QCOMPARE(testsupport::readAll(dir.filePath("received/mavu-fw-1.0.9.bin")), firmware);

        // Back in normal mode, with the new version and without the update port.
        QTRY_VERIFY(device.isPlugged());
        QVERIFY(!device.inUpdateMode());
        QCOMPARE(midiInDevices().value(0), QString("Korvel Mavu"));
        QCOMPARE(device.controller().settingsReply().mid(8, 3), testsupport::fromHex("01 00 09"));
        QVERIFY(!QFileInfo(options.updateLink).isSymLink());
        setMidiBackend(nullptr);
    }

    void unplugAndReplug()
    {
        auto midi = std::make_unique<LoopbackMidi>();
        LoopbackMidi *loop = midi.get();
        setMidiBackend(std::move(midi));
        SimulatedDevice device(new LoopbackSimPorts(loop, "Korvel Mavu"), SimOptions{});
        QString error;
        QVERIFY(device.plug(&error));
        QCOMPARE(midiInDevices().size(), 1);
        device.togglePlug();
        QVERIFY(midiInDevices().isEmpty() && midiOutDevices().isEmpty());
        device.togglePlug();
        QCOMPARE(midiInDevices().size(), 1);
        QCOMPARE(midiOutDevices().size(), 1);
        setMidiBackend(nullptr);
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
