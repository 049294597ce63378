#include "model/ColorMath.h"
#include "model/DataManagement.h"
#include "support/TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

using namespace layout;

class TestSettingsImage : public QObject
{
    Q_OBJECT

private:
    static int byte(const DataManagement &d, int offset) { return int(qint8(d.image()[offset])); }

    static void checkFullColorInvariant(const DataManagement &d)
    {
        for (int p = 0; p < kPadCount; ++p) {
            const int o = padOffset(p) + 4;
            const auto expected = normalizeColor(qint8(d.image()[o]), qint8(d.image()[o + 1]), qint8(d.image()[o + 2]));
            QCOMPARE(d.fullColor(p), expected);
        }
    }

private slots:
    void constructorWritesOnlyHeaderAndEnd()
    {
        DataManagement d;
        QCOMPARE(d.imageBytes().left(11), testsupport::fromHex("F0 01 00 00 00 20 6F 00 01 00 00"));
        QCOMPARE(quint8(d.image()[kImageSize - 1]), quint8(0xF7));
        // Everything between header and end stays zero until defaults are written.
        QCOMPARE(d.imageBytes().mid(11, kImageSize - 12), QByteArray(kImageSize - 12, '\0'));
    }

    void defaultsLayout()
    {
        DataManagement d;
        QSignalSpy updated(&d, &DataManagement::s_updateDate);
        d.initDefaultData();
        QCOMPARE(updated.count(), 1);
        QCOMPARE(d.imageBytes().left(11), testsupport::fromHex("F0 01 00 00 00 20 6F 00 01 00 00"));
        QCOMPARE(byte(d, 13), 0);
        QCOMPARE(byte(d, 14), 24);
        QCOMPARE(byte(d, 17), 90);
        QCOMPARE(byte(d, 18), 0);
        QCOMPARE(byte(d, 19), 0);
        QCOMPARE(byte(d, 350), 7);
        QCOMPARE(byte(d, 434), 21);
        QCOMPARE(quint8(d.image()[457]), quint8(0xF7));

        const int knobData[kKnobCount] = {7, 1, 2, 10, 14, 15, 12, 13, 53, 54, 51, 52};
        for (int p = 0; p < kPadCount; ++p) {
            const QVariantMap pad = d.getPadInfo(p);
            QCOMPARE(pad.value("padData").toInt(), 24 + p);
            QCOMPARE(pad.value("padCh").toInt(), 1);
            const int bank = p / kPadsPerBank;
            QCOMPARE(pad.value("padR").toInt(), bank == 0 ? 90 : 0);
            QCOMPARE(pad.value("padG").toInt(), bank == 1 ? 90 : 0);
            QCOMPARE(pad.value("padB").toInt(), bank == 2 ? 90 : 0);
            const auto full = d.fullColor(p);
            QCOMPARE(int(full[bank]), 127);
        }
        for (int k = 0; k < kKnobCount; ++k) {
            const QVariantMap knob = d.getBQMInfo(k);
            QCOMPARE(knob.value("bqmData").toInt(), knobData[k]);
            QCOMPARE(knob.value("bqmLsbMax").toInt(), 127);
            QCOMPARE(knob.value("bqmMsbMax").toInt(), 127);
        }
        for (int j = 0; j < kButtonCount; ++j)
            QCOMPARE(d.getWalkingBeltInfo(j).value("wbData").toInt(), 21 + j);
        checkFullColorInvariant(d);
    }

    void defaultsKeepVersionCurveAndIntensity()
    {
        DataManagement d;
        d.initDefaultData();
        QByteArray reply = d.imageBytes();
        reply[1] = 0x02;
        reply[8] = 2;
        reply[9] = 3;
        reply[10] = 4;
        reply[11] = 3;
        reply[12] = 99;
        d.setImage(reply.constData(), reply.size());
        d.initDefaultData();
        QCOMPARE(d.getVerInfo(), (QVariantList{2, 3, 4}));
        QCOMPARE(byte(d, 1), 2);
        QCOMPARE(byte(d, 11), 3);
        QCOMPARE(byte(d, 12), 99);
    }

    void normalizeColorCases()
    {
        using C = std::array<std::int8_t, 3>;
        QCOMPARE(normalizeColor(0, 0, 0), (C{127, 127, 127}));
        QCOMPARE(normalizeColor(90, 0, 0), (C{127, 0, 0}));
        QCOMPARE(normalizeColor(15, 0, 0), (C{126, 0, 0}));
        QCOMPARE(normalizeColor(127, 64, 0), (C{127, 64, 0}));
        // Out-of-range (negative) inputs count as black.
        QCOMPARE(normalizeColor(-5, -1, -128), (C{127, 127, 127}));
    }

    void normalizeColorSinglePrecisionMaxima()
    {
        // Single-precision arithmetic leaves exactly these maxima one short of 127.
        const QSet<int> short126 = {15, 19, 29, 30, 38, 51, 58, 60, 61, 76, 95, 102, 116, 120, 122};
        for (int m = 1; m <= 127; ++m) {
            const auto c = normalizeColor(std::int8_t(m), 0, std::int8_t(m / 2));
            QCOMPARE(int(c[0]), short126.contains(m) ? 126 : 127);
        }
    }

    void setImageShortBlockReplacesLeadingBytesOnly()
    {
        DataManagement d;
        d.initDefaultData();
        const QByteArray before = d.imageBytes();
        QSignalSpy updated(&d, &DataManagement::s_updateDate);
        QByteArray block(20, char(0x11));
        d.setImage(block.constData(), block.size());
        QCOMPARE(updated.count(), 1);
        QCOMPARE(d.imageBytes().left(20), block);
        QCOMPARE(d.imageBytes().mid(20), before.mid(20));
        // Pad 0's colour bytes (17..19) changed, so its table entry follows them.
        checkFullColorInvariant(d);
    }

    void setImageLongBlockIsCut()
    {
        DataManagement d;
        QByteArray block(500, '\0');
        for (int i = 0; i < block.size(); ++i)
            block[i] = char(i % 100);
        d.setImage(block.constData(), block.size());
        QCOMPARE(d.imageBytes(), block.left(kImageSize));
        checkFullColorInvariant(d);
    }

    void setImageEmptyOrNegativeCopiesNothing()
    {
        DataManagement d;
        d.initDefaultData();
        const QByteArray before = d.imageBytes();
        QSignalSpy updated(&d, &DataManagement::s_updateDate);
        d.setImage(nullptr, 458);
        const char x[4] = {1, 2, 3, 4};
        d.setImage(x, 0);
        d.setImage(x, -3);
        QCOMPARE(updated.count(), 3);
        QCOMPARE(d.imageBytes(), before);
    }
};

QTEST_GUILESS_MAIN(TestSettingsImage)
#include "tst_settings_image.moc"
