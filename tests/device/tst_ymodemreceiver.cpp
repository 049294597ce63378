#include "firmware/Crc16.h"
#include "simulator/YmodemReceiver.h"

#include <QtTest>

namespace {

constexpr char kSoh = 0x01, kStx = 0x02, kEot = 0x04, kAck = 0x06, kNak = 0x15, kCan = 0x18;

QByteArray block(int sequence, QByteArray payload, bool big = false)
{
    const int size = big ? 1024 : 128;
    payload = payload.leftJustified(size, char(0x1A), true);
    QByteArray b;
    b += big ? kStx : kSoh;
    b += char(sequence & 0xFF);
    b += char(~sequence & 0xFF);
    b += payload;
    const std::uint16_t crc = crc16Xmodem(reinterpret_cast<const std::uint8_t *>(payload.constData()), size);
    b += char(crc >> 8);
    b += char(crc & 0xFF);
    return b;
}

QByteArray header(const QByteArray &name, qint64 size)
{
    QByteArray p = name + '\0' + QByteArray::number(size) + " 14371512344 100644";
    return block(0, p.leftJustified(128, '\0'));
}

QByteArray endOfBatch()
{
    return block(0, QByteArray(128, '\0'));
}

QByteArray bytes(std::initializer_list<char> list)
{
    return QByteArray(list.begin(), int(list.size()));
}

QByteArray firmware(int size)
{
    QByteArray data;
    for (int i = 0; i < size; ++i)
        data += char((i * 7 + 3) & 0xFF);
    return data;
}

} // namespace

// The simulator's YMODEM receiver, fed as a sender would feed it.
class TestYmodemReceiver : public QObject
{
    Q_OBJECT
private slots:
    void receivesAFileInMixedBlocks()
    {
        const QByteArray data = firmware(1024 + 128 + 50);
        YmodemReceiver r;
        QCOMPARE(r.start(), QByteArray("C"));
        QCOMPARE(r.feed(header("mavu-1.0.3.bin", data.size())), bytes({kAck, 'C'}));
        QCOMPARE(r.feed(block(1, data.left(1024), true)), bytes({kAck}));
        QCOMPARE(r.feed(block(2, data.mid(1024, 128))), bytes({kAck}));
        // The last block arrives in pieces, as a serial line delivers it.
        const QByteArray last = block(3, data.mid(1152));
        QCOMPARE(r.feed(last.left(40)), QByteArray());
        QCOMPARE(r.feed(last.mid(40)), bytes({kAck}));
        // The first end of file is questioned, the second taken.
        QCOMPARE(r.feed(bytes({kEot})), bytes({kNak}));
        QCOMPARE(r.feed(bytes({kEot})), bytes({kAck, 'C'}));
        QCOMPARE(r.feed(endOfBatch()), bytes({kAck}));
        QCOMPARE(r.state(), YmodemReceiver::State::Done);
        QCOMPARE(r.files().size(), 1);
        QCOMPARE(r.files().first().name, QString("mavu-1.0.3.bin"));
        // Padding beyond the announced size is cut off.
        QCOMPARE(r.files().first().data, data);
    }

    void damagedAndRepeatedBlocksAreHandled()
    {
        const QByteArray data = firmware(300);
        YmodemReceiver r;
        r.start();
        QCOMPARE(r.feed(header("f.bin", data.size())), bytes({kAck, 'C'}));
        QByteArray damaged = block(1, data.left(128));
        damaged[50] = char(damaged[50] ^ 0x40);
        QCOMPARE(r.feed(damaged), bytes({kNak}));
        QByteArray badNumber = block(1, data.left(128));
        badNumber[2] = 0x00; // complement does not match
        QCOMPARE(r.feed(badNumber), bytes({kNak}));
        QCOMPARE(r.feed(block(1, data.left(128))), bytes({kAck}));
        // Our ACK was lost and the sender repeats: acknowledged, not stored twice.
        QCOMPARE(r.feed(block(1, data.left(128))), bytes({kAck}));
        QCOMPARE(r.feed(block(2, data.mid(128, 128))), bytes({kAck}));
        QCOMPARE(r.feed(block(3, data.mid(256))), bytes({kAck}));
        r.feed(bytes({kEot}));
        r.feed(bytes({kEot}));
        r.feed(endOfBatch());
        QCOMPARE(r.files().value(0).data, data);
    }

    void aSkippedBlockCancels()
    {
        YmodemReceiver r;
        r.start();
        r.feed(header("f.bin", 1000));
        r.feed(block(1, firmware(128)));
        QCOMPARE(r.feed(block(3, firmware(128))), QByteArray(5, kCan));
        QCOMPARE(r.state(), YmodemReceiver::State::Failed);
        QVERIFY(r.files().isEmpty());
    }

    void theSenderCanCancel()
    {
        YmodemReceiver r;
        r.start();
        r.feed(header("f.bin", 1000));
        r.feed(bytes({kCan, kCan}));
        QCOMPARE(r.state(), YmodemReceiver::State::Failed);
        QVERIFY(r.error().contains("cancelled"));
    }

    void waitsForASenderThenGivesUp()
    {
        YmodemReceiver r;
        r.start();
        for (int i = 1; i < YmodemReceiver::kStartRequests; ++i)
            QCOMPARE(r.tick(), QByteArray("C"));
        QCOMPARE(r.tick(), QByteArray(5, kCan));
        QCOMPARE(r.state(), YmodemReceiver::State::Failed);
    }

    void aSenderGoingSilentMidFileFails()
    {
        YmodemReceiver r;
        r.start();
        r.feed(header("f.bin", 1000));
        for (int i = 1; i < YmodemReceiver::kIdleLimit; ++i)
            QCOMPARE(r.tick(), QByteArray());
        QCOMPARE(r.tick(), QByteArray(5, kCan));
        QVERIFY(r.files().isEmpty());
    }

    void aCompleteFileSurvivesAMissingBatchEnd()
    {
        YmodemReceiver r;
        r.start();
        r.feed(header("f.bin", 10));
        r.feed(block(1, firmware(10)));
        r.feed(bytes({kEot}));
        r.feed(bytes({kEot}));
        for (int i = 0; i < YmodemReceiver::kIdleLimit; ++i)
            r.tick();
        QCOMPARE(r.state(), YmodemReceiver::State::Done);
        QCOMPARE(r.files().value(0).data, firmware(10));
    }

    void anEmptyBatchHoldsNoFile()
    {
        YmodemReceiver r;
        r.start();
        QCOMPARE(r.feed(endOfBatch()), bytes({kAck}));
        QCOMPARE(r.state(), YmodemReceiver::State::Done);
        QVERIFY(r.files().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestYmodemReceiver)
#include "tst_ymodemreceiver.moc"
