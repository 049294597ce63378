// The YMODEM sender engine against scripted receivers: framing, handshakes,
// resend and give-up arithmetic, rejections and cancels, stage by stage.
// Block numbers wrapping past 255 are checked against rb in tst_ymodem_transfer.
#include "ScriptedSender.h"

#include <QtTest>

namespace {

const QByteArray kC("C");
const QByteArray kAck(1, char(0x06));
const QByteArray kNak(1, char(0x15));
const QByteArray kEot(1, char(0x04));
const QByteArray kCan(1, char(0x18));
// Answers that take a 200-byte transfer from StageNone through Establishing,
// Established (the header, its ACK), Transmitting (the request for data),
// Finishing (the 200 bytes fit one block) and Finished.
const QList<QByteArray> kRoute{QByteArray(), kC, kAck, kC, kAck, kC};

QByteArray pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + 3) % 251);
    return bytes;
}

QByteArray headerPayload(const QByteArray &name, int size)
{
    QByteArray payload = name + '\0' + QByteArray::number(size) + '\0';
    payload.append(QByteArray(128 - payload.size(), '\0'));
    return payload;
}

// Takes a 200-byte transfer into the stage; returns the last packet written.
QByteArray reachStage(ScriptedSender &sender, int stage)
{
    if (stage >= int(Ymodem::StageTransmitting))
        QTest::ignoreMessage(QtDebugMsg, "transmitStageEstablished CodeAck");
    QByteArray lastPacket;
    for (int i = 0; i < kRoute.size() && int(sender.currentStage()) != stage; ++i) {
        const QByteArray out = sender.step(kRoute.at(i));
        if (!out.isEmpty())
            lastPacket = out;
    }
    return lastPacket;
}

// Steps the sender through "C", the header's ACK and the request for data;
// returns the first data packet.
QByteArray establish(ScriptedSender &sender)
{
    sender.step(); // StageNone -> StageEstablishing
    sender.step(kC);
    sender.step(kAck);
    return sender.step(kC);
}

} // namespace

class TestYmodemEngine : public QObject
{
    Q_OBJECT

private slots:
    void crcIsXmodem();
    void stepInStageNoneTouchesNothing();
    void wholeExchangeWithWellBehavedReceiver();
    void blockTypeAndFillFollowPayloadLength_data();
    void blockTypeAndFillFollowPayloadLength();
    void emptyFileEndsWithEotHandshake();
    void dataGoesOutAfterSilence_data();
    void dataGoesOutAfterSilence();
    void remoteCancelInEveryStage_data();
    void remoteCancelInEveryStage();
    void silenceGivesUpAfterStepCount_data();
    void silenceGivesUpAfterStepCount();
    void defaultLimitsResendEvery500AndGiveUpAt3000();
    void nakStormPastErrorMax_data();
    void nakStormPastErrorMax();
    void nakIsResentUpToTheLimit();
    void surplusCDrainsInputWithoutResend();
    void eotRejectionsAreBounded();
    void ownerFailureCancelsWithoutReport();
    void blockSplitAcrossStepsIsReadWhole();
    void strayBytesCountAsNoAnswer();
    void confirmedFileEndsBatchWithoutLastAnswer_data();
    void confirmedFileEndsBatchWithoutLastAnswer();
};

void TestYmodemEngine::crcIsXmodem()
{
    QCOMPARE(ScriptedSender::crc("123456789"), std::uint16_t(0x31C3));
    QCOMPARE(ScriptedSender::crc(QByteArray(1024, '\0')), std::uint16_t(0));
    QCOMPARE(ScriptedSender::crc(QByteArray()), std::uint16_t(0));
}

void TestYmodemEngine::stepInStageNoneTouchesNothing()
{
    ScriptedSender sender(pattern(10));
    sender.input = kC;
    QVERIFY(sender.step().isEmpty());
    QCOMPARE(sender.reads, 0);
    QCOMPARE(sender.input, kC);
    QCOMPARE(sender.currentStage(), Ymodem::StageEstablishing);
    QVERIFY(sender.reports.isEmpty());
}

void TestYmodemEngine::wholeExchangeWithWellBehavedReceiver()
{
    const QByteArray file = pattern(1152);
    ScriptedSender sender(file, "firmware.bin");
    sender.step();
    QVERIFY(sender.step().isEmpty()); // silence while waiting for "C"

    QCOMPARE(sender.step(kC), frames::block(0x01, 0x00, headerPayload("firmware.bin", 1152)));
    QCOMPARE(sender.currentStage(), Ymodem::StageEstablished);

    QTest::ignoreMessage(QtDebugMsg, "transmitStageEstablished CodeAck");
    // The receiver's ACK and its "C" for the data come together; the data
    // answers the "C" (rb clears its input as it sends it).
    QVERIFY(sender.step(kAck + kC).isEmpty());
    QCOMPARE(sender.step(), frames::block(0x02, 0x01, file.left(1024)));
    QCOMPARE(sender.currentStage(), Ymodem::StageTransmitting);
    QCOMPARE(sender.errors(), 0u);

    QByteArray last = file.mid(1024);
    QCOMPARE(sender.step(kAck), frames::block(0x01, 0x02, last));
    QCOMPARE(sender.step(kAck), kEot);
    QCOMPARE(sender.currentStage(), Ymodem::StageFinishing);
    QCOMPARE(sender.step(kNak), kEot);
    QVERIFY(sender.step(kAck).isEmpty()); // the EOT's ACK alone changes nothing
    QCOMPARE(sender.currentStage(), Ymodem::StageFinishing);
    QCOMPARE(sender.step(kC), frames::endOfBatch());
    QCOMPARE(sender.currentStage(), Ymodem::StageFinished);
    QVERIFY(sender.step(kAck).isEmpty());
    QCOMPARE(sender.currentStage(), Ymodem::StageNone);

    const QList<Ymodem::Status> expected = {Ymodem::StatusEstablish, Ymodem::StatusTransmit, Ymodem::StatusTransmit,
        Ymodem::StatusTransmit, Ymodem::StatusFinish};
    QCOMPARE(sender.reports, expected);
}

void TestYmodemEngine::blockTypeAndFillFollowPayloadLength_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("packetSizes");
    QTest::newRow("1") << 1 << QList<int>{133};
    QTest::newRow("128") << 128 << QList<int>{133};
    QTest::newRow("129") << 129 << QList<int>{1029};
    QTest::newRow("1024") << 1024 << QList<int>{1029};
    QTest::newRow("1025") << 1025 << QList<int>{1029, 133};
    QTest::newRow("1153") << 1153 << QList<int>{1029, 1029};
}

void TestYmodemEngine::blockTypeAndFillFollowPayloadLength()
{
    QFETCH(int, size);
    QFETCH(QList<int>, packetSizes);
    const QByteArray file = pattern(size);
    ScriptedSender sender(file);
    QTest::ignoreMessage(QtDebugMsg, "transmitStageEstablished CodeAck");
    QList<QByteArray> blocks{establish(sender)};
    while (blocks.size() < packetSizes.size())
        blocks << sender.step(kAck);
    QCOMPARE(sender.step(kAck), kEot);

    QByteArray carried;
    for (int i = 0; i < blocks.size(); ++i) {
        const QByteArray &block = blocks.at(i);
        QCOMPARE(block.size(), packetSizes.at(i));
        QCOMPARE(quint8(block.at(0)), quint8(block.size() == 133 ? 0x01 : 0x02));
        QCOMPARE(quint8(block.at(1)), quint8(i + 1));
        QCOMPARE(quint8(block.at(2)), quint8(254 - i));
        const QByteArray payload = block.mid(3, block.size() - 5);
        const std::uint16_t crc = ScriptedSender::crc(payload);
        QCOMPARE(quint8(block.at(block.size() - 2)), quint8(crc >> 8));
        QCOMPARE(quint8(block.at(block.size() - 1)), quint8(crc & 0xFF));
        const int used = qMin(payload.size(), size - carried.size());
        carried += payload.left(used);
        // The first block is padded with NULs, every later one with SUB.
        const char fill = i == 0 ? '\0' : char(0x1A);
        QCOMPARE(payload.mid(used), QByteArray(payload.size() - used, fill));
    }
    QCOMPARE(carried, file);
}

void TestYmodemEngine::emptyFileEndsWithEotHandshake()
{
    ScriptedSender sender(QByteArray(), "empty.bin");
    sender.step();
    QCOMPARE(sender.step(kC), frames::block(0x01, 0, headerPayload("empty.bin", 0)));
    // The ACK alone: the EOT waits for the receiver's request for data, so the
    // "C" that follows the ACK is not mistaken for the one after the EOT.
    QVERIFY(sender.step(kAck).isEmpty());
    QCOMPARE(sender.currentStage(), Ymodem::StageEstablished);
    QCOMPARE(sender.step(kC), kEot);
    QCOMPARE(sender.step(kNak), kEot);
    QVERIFY(sender.step(kAck).isEmpty());
    QCOMPARE(sender.step(kC), frames::endOfBatch());
    QVERIFY(sender.step(kAck).isEmpty());
    QCOMPARE(sender.currentStage(), Ymodem::StageNone);
    const QList<Ymodem::Status> expected = {Ymodem::StatusEstablish, Ymodem::StatusTransmit, Ymodem::StatusFinish};
    QCOMPARE(sender.reports, expected);
}

void TestYmodemEngine::dataGoesOutAfterSilence_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QByteArray>("first"); // what follows the header's ACK
    QTest::newRow("data") << pattern(10) << frames::block(0x01, 0x01, pattern(10) + QByteArray(118, '\0'));
    QTest::newRow("empty file") << QByteArray() << kEot;
}

// A receiver that does not ask for data after its ACK gets it one resend period later.
void TestYmodemEngine::dataGoesOutAfterSilence()
{
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, first);
    ScriptedSender sender(file);
    sender.setTimeDivide(9);
    sender.step();
    sender.step(kC);
    QVERIFY(sender.step(kAck).isEmpty());
    if (!file.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, "transmitStageEstablished CodeAck");
    int steps = 0;
    QCOMPARE(sender.stepUntilWritten(100, &steps), first);
    QCOMPARE(steps, 10);
    if (!file.isEmpty())
        return;
    // Now a "C" answers the EOT: the batch is closed.
    QCOMPARE(sender.step(kAck + kC), QByteArray());
    QCOMPARE(sender.step(), frames::endOfBatch());
    sender.step(kAck);
    QCOMPARE(sender.reports.last(), Ymodem::StatusFinish);
}

void TestYmodemEngine::remoteCancelInEveryStage_data()
{
    QTest::addColumn<int>("stage");
    QTest::addColumn<QByteArray>("answer");
    const QList<QByteArray> cancels{kCan, QByteArray("A"), QByteArray("a")};
    for (int stage = int(Ymodem::StageEstablishing); stage <= int(Ymodem::StageFinished); ++stage) {
        for (const QByteArray &cancel : cancels)
            QTest::addRow("stage %d, 0x%02x", stage, quint8(cancel.at(0))) << stage << cancel;
    }
}

void TestYmodemEngine::remoteCancelInEveryStage()
{
    QFETCH(int, stage);
    QFETCH(QByteArray, answer);
    ScriptedSender sender(pattern(200));
    reachStage(sender, stage);
    QCOMPARE(int(sender.currentStage()), stage);
    const int reportsBefore = sender.reports.size();

    QVERIFY(sender.step(answer).isEmpty()); // nothing is written on a remote cancel
    QCOMPARE(sender.currentStage(), Ymodem::StageNone);
    QCOMPARE(sender.reports.size(), reportsBefore + 1);
    QCOMPARE(sender.reports.last(), Ymodem::StatusAbort);
}

void TestYmodemEngine::silenceGivesUpAfterStepCount_data()
{
    QTest::addColumn<int>("stage");
    QTest::addColumn<int>("giveUp");
    QTest::newRow("establishing") << int(Ymodem::StageEstablishing) << int(Ymodem::StatusTimeout);
    QTest::newRow("established") << int(Ymodem::StageEstablished) << int(Ymodem::StatusError);
    QTest::newRow("transmitting") << int(Ymodem::StageTransmitting) << int(Ymodem::StatusError);
    QTest::newRow("finishing") << int(Ymodem::StageFinishing) << int(Ymodem::StatusError);
    QTest::newRow("finished") << int(Ymodem::StageFinished) << int(Ymodem::StatusError);
}

void TestYmodemEngine::silenceGivesUpAfterStepCount()
{
    QFETCH(int, stage);
    QFETCH(int, giveUp);
    ScriptedSender sender(pattern(200));
    sender.setTimeDivide(4); // resend every 5 steps
    sender.setTimeMax(2); // give up when 15 silent steps have passed
    const QByteArray lastPacket = reachStage(sender, stage);
    QCOMPARE(int(sender.currentStage()), stage);

    QList<int> resentAt;
    for (int i = 1; i < 15; ++i) {
        const QByteArray out = sender.step();
        if (!out.isEmpty()) {
            QCOMPARE(out, lastPacket);
            resentAt << i;
        }
    }
    // Waiting for the first "C" never resends; every later stage resends its packet.
    const QList<int> expected = stage == int(Ymodem::StageEstablishing) ? QList<int>() : QList<int>{5, 10};
    QCOMPARE(resentAt, expected);
    QCOMPARE(sender.idleSteps(), 14u);
    QVERIFY(sender.reports.isEmpty() || sender.reports.last() != Ymodem::Status(giveUp));

    QCOMPARE(sender.step(), frames::cancel());
    QCOMPARE(sender.reports.last(), Ymodem::Status(giveUp));
    QCOMPARE(sender.currentStage(), Ymodem::StageNone);
}

void TestYmodemEngine::defaultLimitsResendEvery500AndGiveUpAt3000()
{
    ScriptedSender sender(pattern(10));
    sender.step();
    const QByteArray header = sender.step(kC);
    QList<int> resentAt;
    for (int i = 1; i < 3000; ++i) {
        const QByteArray out = sender.step();
        if (!out.isEmpty()) {
            QCOMPARE(out, header);
            resentAt << i;
        }
    }
    QCOMPARE(resentAt, (QList<int>{500, 1000, 1500, 2000, 2500}));
    QCOMPARE(sender.step(), frames::cancel());
    QCOMPARE(sender.reports.last(), Ymodem::StatusError);
}

void TestYmodemEngine::nakStormPastErrorMax_data()
{
    QTest::addColumn<int>("stage");
    QTest::addColumn<QByteArray>("rejection");
    QTest::newRow("header, NAK") << int(Ymodem::StageEstablished) << kNak;
    QTest::newRow("data, NAK") << int(Ymodem::StageTransmitting) << kNak;
    QTest::newRow("EOT, NAK") << int(Ymodem::StageFinishing) << kNak;
    QTest::newRow("end of batch, NAK") << int(Ymodem::StageFinished) << kNak;
    QTest::newRow("end of batch, C") << int(Ymodem::StageFinished) << kC;
}

void TestYmodemEngine::nakStormPastErrorMax()
{
    QFETCH(int, stage);
    QFETCH(QByteArray, rejection);
    ScriptedSender sender(pattern(200));
    sender.setErrorMax(3);
    const QByteArray lastPacket = reachStage(sender, stage);
    for (int i = 1; i <= 3; ++i) {
        QCOMPARE(sender.step(rejection), lastPacket);
        QCOMPARE(sender.errors(), std::uint32_t(i));
        QCOMPARE(int(sender.currentStage()), stage);
    }
    QCOMPARE(sender.step(rejection), frames::cancel());
    QCOMPARE(sender.reports.last(), Ymodem::StatusError);
    QCOMPARE(sender.currentStage(), Ymodem::StageNone);
}

void TestYmodemEngine::nakIsResentUpToTheLimit()
{
    // The default limit: 999 rejections of one packet are answered, the 1000th ends it.
    ScriptedSender sender(pattern(2000));
    QTest::ignoreMessage(QtDebugMsg, "transmitStageEstablished CodeAck");
    const QByteArray first = establish(sender);
    const QByteArray second = sender.step(kAck);
    for (int i = 0; i < 999; ++i)
        QCOMPARE(sender.step(kNak), second);
    QCOMPARE(sender.step(kNak), frames::cancel());
    QCOMPARE(sender.reports.last(), Ymodem::StatusError);
    QVERIFY(first != second);
}

void TestYmodemEngine::surplusCDrainsInputWithoutResend()
{
    ScriptedSender sender(pattern(300));
    sender.setTimeDivide(9);
    sender.step();
    const QByteArray header = sender.step(kC);
    // Two more "C" the receiver sent before it saw the header, and line noise.
    QTest::ignoreMessage(QtDebugMsg, "readAll: 3");
    QVERIFY(sender.step("CC" + QByteArray(1, char(0x7F)) + "C").isEmpty());
    QCOMPARE(sender.errors(), 1u);
    QVERIFY(sender.input.isEmpty());
    // The header goes out again only when the resend period has passed.
    int steps = 0;
    QCOMPARE(sender.stepUntilWritten(20, &steps), header);
    QCOMPARE(steps, 10);
    QTest::ignoreMessage(QtDebugMsg, "transmitStageEstablished CodeAck");
    QVERIFY(sender.step(kAck).isEmpty());
    QCOMPARE(quint8(sender.step(kC).at(0)), quint8(0x02));
}

void TestYmodemEngine::eotRejectionsAreBounded()
{
    ScriptedSender sender(pattern(10));
    sender.setErrorMax(5);
    sender.setTimeDivide(9);
    QTest::ignoreMessage(QtDebugMsg, "transmitStageEstablished CodeAck");
    establish(sender);
    QCOMPARE(sender.step(kAck), kEot);
    // Silence between the NAKs does not reset the count of rejections.
    for (int i = 0; i < 5; ++i) {
        QCOMPARE(sender.step(kNak), kEot);
        QCOMPARE(sender.idleSteps(), 0u);
        sender.step();
    }
    QCOMPARE(sender.step(kNak), frames::cancel());
    QCOMPARE(sender.reports.last(), Ymodem::StatusError);
}

void TestYmodemEngine::ownerFailureCancelsWithoutReport()
{
    ScriptedSender header(pattern(10));
    header.failHeader = true;
    header.step();
    QCOMPARE(header.step(kC), frames::cancel());
    QCOMPARE(header.reports, QList<Ymodem::Status>{Ymodem::StatusEstablish});
    QCOMPARE(header.currentStage(), Ymodem::StageNone);

    ScriptedSender data(pattern(10));
    data.failData = true;
    data.step();
    data.step(kC);
    data.step(kAck);
    QCOMPARE(data.step(kC), frames::cancel());
    QCOMPARE(data.reports, (QList<Ymodem::Status>{Ymodem::StatusEstablish, Ymodem::StatusTransmit}));
    QCOMPARE(data.currentStage(), Ymodem::StageNone);
    // A further step waits for a new "C" from the start.
    QVERIFY(data.step().isEmpty());
    QCOMPARE(data.currentStage(), Ymodem::StageEstablishing);
}

void TestYmodemEngine::blockSplitAcrossStepsIsReadWhole()
{
    ScriptedSender sender(pattern(10));
    sender.setTimeDivide(99);
    sender.step();
    sender.step(kC);
    // A receiver that sends a whole block (never expected) in pieces: it is
    // read over several steps, then ignored, and the ACK after it still counts.
    const QByteArray junk = frames::block(0x02, 7, QByteArray(1024, 'x'));
    QVERIFY(sender.step(junk.left(100)).isEmpty());
    QVERIFY(sender.step(junk.mid(100, 900)).isEmpty());
    QVERIFY(sender.step(junk.mid(1000)).isEmpty());
    QVERIFY(sender.input.isEmpty());
    QCOMPARE(sender.idleSteps(), 3u);
    QTest::ignoreMessage(QtDebugMsg, "transmitStageEstablished CodeAck");
    QVERIFY(sender.step(kAck).isEmpty());
    QCOMPARE(sender.step(kC).size(), 133);
}

void TestYmodemEngine::strayBytesCountAsNoAnswer()
{
    ScriptedSender sender(pattern(10));
    sender.step();
    QVERIFY(sender.step("x").isEmpty());
    QVERIFY(sender.step(kAck).isEmpty()); // an ACK before the header means nothing
    QCOMPARE(sender.idleSteps(), 2u);
    QCOMPARE(sender.currentStage(), Ymodem::StageEstablishing);
    QCOMPARE(sender.step(kC).size(), 133);
}

QTEST_APPLESS_MAIN(TestYmodemEngine)
#include "tst_ymodem_engine.moc"

void TestYmodemEngine::confirmedFileEndsBatchWithoutLastAnswer_data()
{
    // What the receiver says after the EOT before it falls silent (rb and a
    // restarting loader close their side at once, and the last ACK can be lost).
    QTest::addColumn<QList<QByteArray>>("answers");
    QTest::addColumn<int>("silentSteps"); // until the transfer counts as finished
    QTest::newRow("end-of-batch ACK lost") << QList<QByteArray>{kAck, kC} << 7;
    QTest::newRow("end-of-batch NAKed, then silence") << QList<QByteArray>{kAck, kC, kNak} << 7;
    QTest::newRow("no request for the next file") << QList<QByteArray>{kAck} << 10;
    QTest::newRow("EOT never acknowledged") << QList<QByteArray>{kC} << -1;
}

void TestYmodemEngine::confirmedFileEndsBatchWithoutLastAnswer()
{
    QFETCH(QList<QByteArray>, answers);
    QFETCH(int, silentSteps);
    ScriptedSender sender(pattern(10));
    sender.setTimeDivide(9); // resend every 10 steps, give up after 60
    sender.setBatchEndGrace(7);
    QTest::ignoreMessage(QtDebugMsg, "transmitStageEstablished CodeAck");
    establish(sender);
    QCOMPARE(sender.step(kAck), kEot);
    for (const QByteArray &answer : answers)
        sender.step(answer);
    const int written = sender.packets.size();
    if (silentSteps < 0) {
        // Unconfirmed: the end-of-batch block is resent and the silence is an error.
        QCOMPARE(sender.stepUntilWritten(20), frames::endOfBatch());
        for (int i = 0; i < 100 && sender.currentStage() != Ymodem::StageNone; ++i)
            sender.step();
        QCOMPARE(sender.reports.last(), Ymodem::StatusError);
        return;
    }
    QTest::ignoreMessage(QtDebugMsg, "the receiver confirmed the file but did not answer the end of the batch");
    for (int i = 1; i < silentSteps; ++i)
        sender.step();
    QCOMPARE(sender.reports.last(), Ymodem::StatusTransmit);
    sender.step();
    QCOMPARE(sender.reports.last(), Ymodem::StatusFinish);
    QCOMPARE(sender.currentStage(), Ymodem::StageNone);
    // Nothing resent, no cancel: the receiver may already wait for the next file.
    QCOMPARE(sender.packets.size(), written);
}
