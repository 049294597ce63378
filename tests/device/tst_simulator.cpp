// The simulated controller (mavu-sim and --simulator): its answers, its
// misbehaviour on request, its command line, its YMODEM receiver, and its
// update mode taking a firmware file from a standard sender (lrzsz's sb).
#include "device/LoopbackMidi.h"
#include "device/MidiPort.h"
#include "device/Protocol.h"
#include "firmware/Crc16.h"
#include "simulator/SimCommandLine.h"
#include "simulator/SimController.h"
#include "simulator/SimMidiPorts.h"
#include "simulator/SimulatedDevice.h"
#include "simulator/YmodemReceiver.h"
#include "support/EditorHarness.h"
#include "support/TestSupport.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::fromHex;

namespace {

const QByteArray kAck("\x06", 1), kNak("\x15", 1), kEot("\x04", 1), kCancel(5, 0x18);

QByteArray block(int sequence, QByteArray payload, bool big = false)
{
    const int size = big ? 1024 : 128;
    payload = payload.leftJustified(size, char(0x1A), true);
    const std::uint16_t crc = crc16Xmodem(reinterpret_cast<const std::uint8_t *>(payload.constData()), size);
    return QByteArray(1, big ? 0x02 : 0x01) + char(sequence & 0xFF) + char(~sequence & 0xFF) + payload + char(crc >> 8)
        + char(crc & 0xFF);
}

QByteArray header(const QByteArray &name, qint64 size)
{
    return block(0, (name + '\0' + QByteArray::number(size) + " 14371512344 100644").leftJustified(128, '\0'));
}

QByteArray firmware(int size)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = char((i * 7 + 3) & 0xFF);
    return data;
}

QList<QByteArray> replies(SimController &c, const QByteArray &message)
{
    QSignalSpy spy(&c, &SimController::reply);
    c.handleMessage(message);
    QTest::qWait(10);
    QList<QByteArray> list;
    for (const auto &args : spy)
        list << args.first().toByteArray();
    return list;
}

} // namespace

class TestSimulator : public QObject
{
    Q_OBJECT

private slots:
    void receiverTakesAFile()
    {
        const QByteArray data = firmware(1024 + 128 + 50);
        YmodemReceiver r;
        QCOMPARE(r.start(), QByteArray("C"));
        QCOMPARE(r.feed(header("mavu-1.0.3.bin", data.size())), kAck + 'C');
        QCOMPARE(r.feed(block(1, data.left(1024), true)), kAck);
        QByteArray damaged = block(2, data.mid(1024, 128));
        damaged[50] = char(damaged[50] ^ 0x40);
        QCOMPARE(r.feed(damaged), kNak);
        QByteArray badNumber = block(2, data.mid(1024, 128));
        badNumber[2] = 0x00; // complement does not match
        QCOMPARE(r.feed(badNumber), kNak);
        QCOMPARE(r.feed(block(2, data.mid(1024, 128))), kAck);
        QCOMPARE(r.feed(block(2, data.mid(1024, 128))), kAck); // our ACK was lost: acknowledged, not stored twice
        // The last block arrives in pieces, as a serial line delivers it.
        const QByteArray last = block(3, data.mid(1152));
        QCOMPARE(r.feed(last.left(40)), QByteArray());
        QCOMPARE(r.feed(last.mid(40)), kAck);
        QCOMPARE(r.feed(kEot), kNak); // the first end of file is questioned, the second taken
        QCOMPARE(r.feed(kEot), kAck + 'C');
        QCOMPARE(r.feed(block(0, QByteArray(128, '\0'))), kAck);
        QCOMPARE(r.state(), YmodemReceiver::State::Done);
        QCOMPARE(r.files().size(), 1);
        QCOMPARE(r.files().first().name, QString("mavu-1.0.3.bin"));
        QCOMPARE(r.files().first().data, data); // padding beyond the announced size cut off
    }

    void receiverEndings_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("done");
        QTest::addColumn<QByteArray>("lastAnswer");
        QTest::newRow("skipped block") << "skip" << false << kCancel;
        QTest::newRow("sender cancels") << "cancel" << false << QByteArray("any");
        QTest::newRow("no sender") << "no sender" << false << kCancel;
        QTest::newRow("silent mid-file") << "silent" << false << kCancel;
        QTest::newRow("no batch end") << "no batch end" << true << QByteArray("any");
        QTest::newRow("empty batch") << "empty" << true << kAck;
    }
    void receiverEndings()
    {
        QFETCH(QString, ending);
        QFETCH(bool, done);
        QFETCH(QByteArray, lastAnswer);
        YmodemReceiver r;
        r.start();
        QByteArray answer;
        if (ending == "no sender") {
            for (int i = 0; i < YmodemReceiver::kStartRequests; ++i)
                answer = r.tick();
        } else if (ending == "empty") {
            answer = r.feed(block(0, QByteArray(128, '\0')));
        } else {
            r.feed(header("f.bin", ending == "no batch end" ? 10 : 1000));
            r.feed(block(1, firmware(ending == "no batch end" ? 10 : 128)));
            if (ending == "skip")
                answer = r.feed(block(3, firmware(128)));
            if (ending == "cancel")
                answer = r.feed("\x18\x18");
            for (int i = 0; i < 2 && ending == "no batch end"; ++i)
                r.feed(kEot);
            for (int i = 0; i < YmodemReceiver::kIdleLimit && (ending == "silent" || ending == "no batch end"); ++i)
                answer = r.tick();
        }
        QCOMPARE(r.state(), done ? YmodemReceiver::State::Done : YmodemReceiver::State::Failed);
        QCOMPARE(r.files().size(), ending == "no batch end" ? 1 : 0);
        if (lastAnswer != "any")
            QCOMPARE(answer, lastAnswer);
    }

    void controllerAnswers()
    {
        SimController c;
        c.setVersion(4, 5, 6);
        c.setSerial("KMV0000000007");
        const QList<QByteArray> settings = replies(c, protocol::request(protocol::ReadSettings));
        QCOMPARE(settings.size(), 1);
        QCOMPARE(settings.first().size(), 458);
        QCOMPARE(settings.first().left(2) + settings.first().mid(8, 3), fromHex("F0 02 04 05 06"));
        QCOMPARE(replies(c, protocol::request(protocol::ReadSerial)), QList<QByteArray>{protocol::serialReply("KMV0000000007")});
        QByteArray written = protocol::writeSettingsMessage(c.settingsReply());
        written[30] = 0x42;
        QSignalSpy taken(&c, &SimController::settingsWritten);
        QVERIFY(replies(c, written).isEmpty());
        QVERIFY(replies(c, written.left(200)).isEmpty()); // a damaged write is refused whole
        QCOMPARE(taken.size(), 1);
        QCOMPARE(c.settingsReply().at(30), char(0x42));
        QSignalSpy update(&c, &SimController::updateRequested);
        c.handleMessage(protocol::request(protocol::EnterUpdate));
        QCOMPARE(update.size(), 1);

        c.setReplyMode(SimController::ReplyMode::Silent);
        QVERIFY(replies(c, protocol::request(protocol::ReadSettings)).isEmpty());
        c.setReplyMode(SimController::ReplyMode::Short);
        const QByteArray cut = replies(c, protocol::request(protocol::ReadSettings)).value(0);
        QVERIFY(cut.size() > 8 && cut.size() < 458 && cut.endsWith(char(0xF7)));
        c.setReplyMode(SimController::ReplyMode::Long);
        const QByteArray extra = replies(c, protocol::request(protocol::ReadSettings)).value(0);
        QVERIFY(extra.size() > 458 && extra.endsWith(char(0xF7)));
        c.setReplyMode(SimController::ReplyMode::Normal);
        c.setReplyDelay(300);
        QSignalSpy late(&c, &SimController::reply);
        QElapsedTimer clock;
        clock.start();
        c.handleMessage(protocol::request(protocol::ReadSettings));
        QVERIFY(late.isEmpty() && late.wait(2000) && clock.elapsed() >= 290);
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("error");
        QTest::newRow("unknown") << QStringList{"--bogus"} << "unknown option";
        QTest::newRow("stray") << QStringList{"stray"} << "unexpected argument";
        QTest::newRow("no value") << QStringList{"--reply"} << "needs a value";
        QTest::newRow("reply") << QStringList{"--reply", "sometimes"} << "bad value for --reply";
        QTest::newRow("serial") << QStringList{"--serial", "12345678901234"} << "bad value for --serial";
        QTest::newRow("api") << QStringList{"--midi-api", "winmm"} << "bad value for --midi-api";
        QTest::newRow("delay") << QStringList{"--reply-delay", "-5"} << "bad value for --reply-delay";
        QTest::newRow("version") << QStringList{"--firmware-version", "1.0.300"} << "bad value for --firmware-version";
        QTest::newRow("all good") << QStringList{"--midi-api", "jack", "--serial", "KMV1", "--firmware-version", "2.0.1",
                                                 "--reply", "short", "--reply-delay", "250", "--update-link", "/tmp/x",
                                                 "--firmware-dir", "/tmp/fw", "--version-after-update", "2.0.2"}
                                  << "";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, error);
        const SimCommandLine c = SimCommandLine::parse(args);
        QVERIFY2(error.isEmpty() ? c.error.isEmpty() : c.error.contains(error), qPrintable(c.error));
        if (error.isEmpty()) {
            const QStringList seen{c.midiApi, c.serial, QString::number(c.version[0] * 10000 + c.version[1] * 100 + c.version[2]),
                                   QString::number(int(c.replyMode)), QString::number(c.replyDelayMs),
                                   c.device.updateLink, c.device.firmwareDir, c.device.versionAfterUpdate};
            QCOMPARE(seen, (QStringList{"jack", "KMV1", "20001", "2", "250", "/tmp/x", "/tmp/fw", "2.0.2"}));
        }
    }

    void updateModeTakesAFirmwareFileFromSb()
    {
        QVERIFY2(!QStandardPaths::findExecutable("sb").isEmpty(), "lrzsz's sb is needed (scripts/debian-packages.txt)");
        QTemporaryDir dir;
        const QByteArray data = firmware(5000);
        const QString source = dir.filePath("mavu-fw-1.0.9.bin");
        testsupport::writeAll(source, data);
        LoopbackMidi *loop = editorharness::useLoopbackMidi();
        SimOptions options;
        options.updateLink = dir.filePath("ttyMAVU");
        options.firmwareDir = dir.filePath("received");
        options.versionAfterUpdate = "1.0.9";
        SimulatedDevice device(new LoopbackSimPorts(loop, "Korvel Mavu"), options);
        QString error;
        QVERIFY(device.plug(&error));

        // The editor's command, through the MIDI ports: the ports go, the update port comes.
        QCOMPARE(midiOutDevices().value(0), QString("Korvel Mavu"));
        MidiOut out;
        const QByteArray enter = protocol::request(protocol::EnterUpdate);
        QVERIFY(out.open(0) && out.send(enter.constData(), enter.size()));
        QTRY_VERIFY(device.inUpdateMode());
        QVERIFY(midiInDevices().isEmpty() && midiOutDevices().isEmpty());
        QCOMPARE(QFileInfo(options.updateLink).symLinkTarget(), device.updatePortPath());
        out.close();

        QSignalSpy received(&device, &SimulatedDevice::firmwareReceived);
        QProcess sender;
        sender.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        sender.start("/bin/sh", {"-c", "exec sb \"$@\" < \"$0\" > \"$0\"", options.updateLink, "--ymodem", "-k", source});
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 60000);
        QTRY_COMPARE_WITH_TIMEOUT(sender.state(), QProcess::NotRunning, 10000);
        QCOMPARE(sender.exitCode(), 0);
        QCOMPARE(received.first().mid(0, 2), (QList<QVariant>{"mavu-fw-1.0.9.bin", qint64(data.size())}));
        QCOMPARE(testsupport::readAll(dir.filePath("received/mavu-fw-1.0.9.bin")), data);

        // Back in normal mode, with the new version and without the update port.
        QTRY_VERIFY(device.isPlugged() && !device.inUpdateMode());
        QCOMPARE(midiInDevices().value(0), QString("Korvel Mavu"));
        QCOMPARE(device.controller().settingsReply().mid(8, 3), fromHex("01 00 09"));
        QVERIFY(!QFileInfo(options.updateLink).isSymLink());
        setMidiBackend(nullptr);
    }
};

QTEST_GUILESS_MAIN(TestSimulator)
#include "tst_simulator.moc"
