// The YMODEM sender engine against scripted receivers: framing, handshakes,
// resend and give-up arithmetic (with small limits), rejections, cancels and
// the end of a batch whose last answer never comes. The real receiver
// (lrzsz's rb) is in tst_fault_update_port.
#include "support/FirmwareBytes.h"
#include "firmware/Ymodem.h"
#include "firmware/YmodemFileTransmit.h"

#include <QLoggingCategory>
#include <QtTest>

#include <cstring>

namespace {

// The engine with a scripted line: the test queues answers, every packet
// written is kept, and the owner's side serves one file from memory.
class ScriptedSender : public Ymodem
{
public:
    explicit ScriptedSender(const QByteArray &file, const QByteArray &name = "fw.bin")
        : m_file(file)
        , m_name(name)
    { }

    // Queues the answer, performs one step, and returns what that step wrote.
    QByteArray step(const QByteArray &answer = QByteArray())
    {
        input += answer;
        const int before = packets.size();
        transmit();
        QByteArray out;
        for (int i = before; i < packets.size(); ++i)
            out += packets.at(i);
        return out;
    }
    std::uint32_t idleSteps() const { return timeCount; }
    static std::uint16_t crc(const QByteArray &b)
    {
        return crc16(reinterpret_cast<const std::uint8_t *>(b.data()), b.size());
    }

    QList<Status> reports; // callback statuses, in order
    QList<QByteArray> packets;
    QByteArray input;
    bool failHeader = false;
    bool failData = false;

protected:
    Code callback(Status status, std::uint8_t *buff, std::uint32_t *len) override
    {
        reports << status;
        if ((status == StatusEstablish && failHeader) || (status == StatusTransmit && failData))
            return CodeCan;
        QByteArray payload;
        if (status == StatusEstablish) {
            payload = m_name + '\0' + QByteArray::number(m_file.size()) + '\0';
            *len = 128;
        } else if (status == StatusTransmit) {
            if (m_offset >= m_file.size())
                return CodeEot;
            *len = m_file.size() - m_offset > 128 ? 1024 : 128;
            payload = m_file.mid(m_offset, int(*len));
            m_offset += payload.size();
        }
        if (buff)
            std::memcpy(buff, payload.constData(), size_t(payload.size()));
        return CodeAck;
    }
    std::uint32_t read(std::uint8_t *buff, std::uint32_t len) override
    {
        const int n = int(std::min<qint64>(len, input.size()));
        std::memcpy(buff, input.constData(), size_t(n));
        input.remove(0, n);
        return std::uint32_t(n);
    }
    std::uint32_t write(std::uint8_t *buff, std::uint32_t len) override
    {
        packets << QByteArray(reinterpret_cast<const char *>(buff), int(len));
        return len;
    }
    QByteArray readAll() override { return std::exchange(input, QByteArray()); }

private:
    QByteArray m_file;
    QByteArray m_name;
    int m_offset = 0;
};

// Frames as a receiver sees them.
QByteArray block(std::uint8_t type, std::uint8_t number, const QByteArray &payload)
{
    const std::uint16_t crc = ScriptedSender::crc(payload);
    return QByteArray(1, char(type)) + char(number) + char(255 - number) + payload + char(crc >> 8) + char(crc & 0xFF);
}

const QByteArray kEndOfBatch = block(0x01, 0, QByteArray(128, '\0'));
const QByteArray kCancel(5, char(0x18));
const QByteArray kAck(1, char(0x06));

// The blocks a file goes out in: 1024 bytes while more than 128 remain, then
// 128; the first padded with NULs, later ones with SUB.
QList<QByteArray> dataBlocks(const QByteArray &file)
{
    QList<QByteArray> blocks;
    for (int offset = 0; offset < file.size();) {
        const int size = file.size() - offset > 128 ? 1024 : 128;
        QByteArray payload = file.mid(offset, size);
        payload.append(QByteArray(size - payload.size(), blocks.isEmpty() ? '\0' : char(0x1A)));
        blocks << block(size == 1024 ? 0x02 : 0x01, quint8(blocks.size() + 1), payload);
        offset += size;
    }
    return blocks;
}

// Routes of a 200-byte file into each stage (see exchange_data()).
const QStringList kRoutes{
    "", ".:-", ".:- C:H+E", ".:- C:H+E k:- C:D1+T", ".:- C:H+E k:- C:D1+T k:E+T", ".:- C:H+E k:- C:D1+T k:E+T C:B"};
const QStringList kStages{"", "establishing", "established", "transmitting", "finishing", "finished"};

} // namespace

class TestYmodemEngine : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false")); }
    void exchange_data()
    {
        // A conversation, step by step: "[N*]ANSWER:WRITTEN[+REPORTS]". Answers:
        // "." nothing, C, k ACK, n NAK, x CAN, A and a (cancels too), # noise.
        // Written: "-" nothing, H the header, Dn data block n, E EOT, B the
        // end-of-batch block, Z the cancel, R the last packet again. Reports:
        // E establish, T transmit, F finish, A abort, O time-out, R error.
        // Resends come every 5 silent steps, silence gives up after 15, and the
        // 4th rejection in a row ends it.
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("failHeader");
        QTest::addColumn<bool>("failData");
        // Nothing is read before the first step; the ACK and the "C" for the data
        // come together, and the data answers the "C" (rb clears its input as it
        // sends it); an EOT's ACK alone changes nothing.
        QTest::newRow("whole exchange") << 1100 << "C:- .:H+E kC:- .:D1+T k:D2+T k:E+T n:E k:- C:B k:-+F" << false
                                        << false;
        // The EOT waits for the request for data, so the "C" after the ACK is not
        // taken for the one after the EOT.
        QTest::newRow("empty file") << 0 << ".:- C:H+E k:- C:E+T k:- C:B k:-+F" << false << false;
        // A receiver that asks for nothing after its ACK gets the data a resend period later.
        QTest::newRow("data after silence") << 10 << ".:- C:H+E k:- 4*.:- .:D1+T" << false << false;
        QTest::newRow("EOT after silence") << 0 << ".:- C:H+E k:- 4*.:- .:E+T kC:- .:B k:-+F" << false << false;
        // Before the header only a "C" counts; surplus "C" and noise after it are
        // drained, and the header goes out again only when its period is over.
        QTest::newRow("odd answers") << 10 << ".:- ?:- k:- C:H+E CC#C:- 4*.:- .:R k:- C:D1+T" << false << false;
        // The owner cannot give the header or the data: a cancel, no report, and
        // the next step waits for a new "C".
        QTest::newRow("header fails") << 10 << ".:- C:Z+E .:- C:Z+E" << true << false;
        QTest::newRow("data fails") << 10 << ".:- C:H+E k:- C:Z+T .:- C:H+E" << false << true;
        for (int stage = 1; stage < kRoutes.size(); ++stage) {
            const QByteArray name = kStages.at(stage).toLatin1();
            for (const char *cancel : {"x", "A", "a"})
                QTest::addRow("%s, remote cancel %s", name.data(), cancel)
                    << 200 << kRoutes.at(stage) + QStringLiteral(" %1:-+A").arg(cancel) << false << false;
            // Waiting for the first "C" never resends.
            QTest::addRow("%s, silence", name.data())
                << 200 << kRoutes.at(stage) + (stage == 1 ? " 14*.:- .:Z+O" : " 4*.:- .:R 4*.:- .:R 4*.:- .:Z+R")
                << false << false;
            if (stage > 1)
                QTest::addRow("%s, NAK", name.data()) << 200 << kRoutes.at(stage) + " 3*n:R n:Z+R" << false << false;
        }
        // Unconfirmed, the end of the batch waits for its ACK; a "C" asks for it again, like a NAK.
        QTest::newRow("finished, ACK") << 200 << kRoutes.last() + " .:- k:-+F" << false << false;
        QTest::newRow("finished, C") << 200 << kRoutes.last() + " 3*C:R C:Z+R" << false << false;
        // Rejections of the EOT accumulate over silence between them.
        QTest::newRow("EOT rejected") << 10 << ".:- C:H+E k:- C:D1+T k:E+T n:E .:- n:E .:- n:E .:- n:Z+R" << false
                                      << false;
        // The receiver confirmed the file (ACK to the EOT): the end of the batch
        // goes out again while it asks (rb may clear its input as the block
        // arrives), and silence after it is the end (rb and a restarting loader
        // take their ACK with them); one that asks for no next file is done after
        // a resend period. The next transfer waits for its own confirmation.
        const QString confirmed = ".:- C:H+E k:- C:D1+T k:E+T .:- k:-";
        QTest::newRow("confirmed, end of batch")
            << 10 << confirmed + " C:B C:B .:- .:- .:-+F .:- C:H+E k:- C:E+T C:B .:-" << false << false;
        QTest::newRow("no request for the next file") << 10 << confirmed + " 4*.:- .:-+F" << false << false;
        // Unconfirmed, the end-of-batch block is resent and the silence is an error.
        QTest::newRow("EOT never acknowledged")
            << 10 << ".:- C:H+E k:- C:D1+T k:E+T C:B 4*.:- .:R 4*.:- .:R 4*.:- .:Z+R" << false << false;
    }
    void exchange()
    {
        QFETCH(int, size);
        QFETCH(QString, script);
        QFETCH(bool, failHeader);
        QFETCH(bool, failData);
        const QByteArray file = testFirmwareBytes(size);
        ScriptedSender sender(file, "firmware.bin");
        sender.failHeader = failHeader;
        sender.failData = failData;
        sender.setTimeDivide(4);
        sender.setTimeMax(2);
        sender.setErrorMax(3);
        QByteArray header = "firmware.bin" + QByteArray(1, '\0') + QByteArray::number(size);
        header = block(0x01, 0, header.append(QByteArray(128 - header.size(), '\0')));
        const QList<QByteArray> data = dataBlocks(file);
        const QHash<QChar, QByteArray> answers{{'C', "C"}, {'k', kAck}, {'n', QByteArray(1, char(0x15))},
            {'x', QByteArray(1, char(0x18))}, {'A', "A"}, {'a', "a"}, {'#', QByteArray(1, char(0x7F))}, {'?', "?"}};
        const QHash<QChar, QByteArray> packets{
            {'-', QByteArray()}, {'H', header}, {'E', QByteArray(1, char(0x04))}, {'B', kEndOfBatch}, {'Z', kCancel}};
        const QString statuses = QStringLiteral("ETFAOR");
        QByteArray last;
        const QStringList tokens = script.split(' ');
        for (int t = 0; t < tokens.size(); ++t) {
            QString token = tokens.at(t);
            int times = 1;
            if (token.contains('*'))
                times = token.section('*', 0, 0).toInt(), token = token.section('*', 1);
            QByteArray answer;
            const QString said = token.section(':', 0, 0);
            for (const QChar c : said)
                answer += answers.value(c);
            const QString written = token.section(':', 1).section('+', 0, 0);
            QByteArray expected = written == "R" ? last : packets.value(written.at(0));
            if (written.startsWith('D'))
                expected = data.value(written.mid(1).toInt() - 1);
            for (int i = 0; i < times; ++i) {
                const int reported = sender.reports.size();
                const QByteArray out = sender.step(answer);
                const QString where
                    = QStringLiteral("step %1 of token %2 \"%3\"").arg(i + 1).arg(t + 1).arg(tokens.at(t));
                QVERIFY2(out == expected, qPrintable(where + ": wrote " + out.left(8).toHex()));
                QString news;
                for (const Ymodem::Status s : sender.reports.mid(reported))
                    news += statuses.at(int(s));
                QVERIFY2(news == (i + 1 == times ? token.section('+', 1) : QString()), qPrintable(where + ": " + news));
                if (!out.isEmpty())
                    last = out;
            }
        }
        QCOMPARE(sender.input, QByteArray()); // every answer was taken in
    }
    void blockTypeAndFillFollowPayloadLength_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("packetSizes");
        QTest::newRow("1") << 1 << QList<int>{133};
        QTest::newRow("128") << 128 << QList<int>{133};
        QTest::newRow("129") << 129 << QList<int>{1029};
        QTest::newRow("1025") << 1025 << QList<int>{1029, 133};
        QTest::newRow("1153") << 1153 << QList<int>{1029, 1029};
        QTest::newRow("block numbers wrap past 255") << 257 * 1024 << QVector<int>(257, 1029).toList();
    }
    void blockTypeAndFillFollowPayloadLength()
    {
        QFETCH(int, size);
        QFETCH(QList<int>, packetSizes);
        const QByteArray file = testFirmwareBytes(size);
        ScriptedSender sender(file);
        sender.step();
        sender.step("C");
        sender.step(kAck);
        QList<QByteArray> blocks{sender.step("C")};
        while (blocks.size() < packetSizes.size())
            blocks << sender.step(kAck);
        QCOMPARE(sender.step(kAck), QByteArray(1, char(0x04)));

        for (int i = 0; i < blocks.size(); ++i)
            QCOMPARE(blocks.at(i).size(), packetSizes.at(i));
        QCOMPARE(blocks, dataBlocks(file));
    }
    void blockSplitAcrossStepsIsReadWhole()
    {
        QCOMPARE(ScriptedSender::crc("123456789"), std::uint16_t(0x31C3)); // CRC-16/XMODEM
        // The 128-byte header holds the name, a NUL, the size and a NUL.
        QVERIFY(YmodemFileTransmit::headerFits(QByteArray(125, 'n'), 5));
        QVERIFY(!YmodemFileTransmit::headerFits(QByteArray(126, 'n'), 5));
        // A receiver that sends a whole block (never expected) in pieces: it is
        // read over several steps, then ignored, and the ACK after it still counts.
        ScriptedSender sender(testFirmwareBytes(10));
        sender.step();
        sender.step("C");
        const QByteArray junk = block(0x02, 7, QByteArray(1024, 'x'));
        QVERIFY(sender.step(junk.left(100)).isEmpty());
        QVERIFY(sender.step(junk.mid(100, 900)).isEmpty());
        QVERIFY(sender.step(junk.mid(1000)).isEmpty());
        QVERIFY(sender.input.isEmpty());
        QCOMPARE(sender.idleSteps(), 3u);
        QVERIFY(sender.step(kAck).isEmpty());
        QCOMPARE(sender.step("C"), dataBlocks(testFirmwareBytes(10)).first());
    }
};

QTEST_APPLESS_MAIN(TestYmodemEngine)
#include "tst_ymodem_engine.moc"
