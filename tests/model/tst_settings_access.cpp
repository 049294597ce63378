#include "model/DataManagement.h"

#include <QSignalSpy>
#include <QtTest>

using namespace layout;

namespace {

QStringList g_lines;

void collect(QtMsgType, const QMessageLogContext &, const QString &message)
{
    g_lines << message;
}

int countLines(const QString &prefix)
{
    int n = 0;
    for (const QString &line : qAsConst(g_lines))
        n += line.startsWith(prefix) ? 1 : 0;
    return n;
}

} // namespace

class TestSettingsAccess : public QObject
{
    Q_OBJECT

private:
    DataManagement *m_data = nullptr;
    QtMessageHandler m_previous = nullptr;

    int pad(int p, const char *key) { return m_data->getPadInfo(p).value(key).toInt(); }
    int knob(int k, const char *key) { return m_data->getBQMInfo(k).value(key).toInt(); }
    QList<int> knobs(int first, const char *key)
    {
        return {knob(first, key), knob(first + 1, key), knob(first + 2, key), knob(first + 3, key)};
    }
    QList<int> rgb(int p) { return {pad(p, "padR"), pad(p, "padG"), pad(p, "padB")}; }
    using Colour = std::array<std::int8_t, 3>;

private slots:
    void init()
    {
        m_data = new DataManagement;
        m_data->initDefaultData();
        g_lines.clear();
        m_previous = qInstallMessageHandler(collect);
    }

    void cleanup()
    {
        qInstallMessageHandler(m_previous);
        delete m_data;
    }

    // The ordinary note, CC and PC fills of a bank are checked through the
    // function page in tst_functionpage.qml; here the edges.
    void padBatchUnknownKeyStillSetsTypeAndEmits()
    {
        QSignalSpy updated(m_data, &DataManagement::s_updateDate);
        const QByteArray before = m_data->imageBytes();
        m_data->setPadBatch(1, "bogus-mode", false, "nonsense", 3);
        QCOMPARE(updated.count(), 1);
        // Unknown mode means note (0), which pads already had: nothing changed.
        QCOMPARE(m_data->imageBytes(), before);
        m_data->setPadBatch(1, "pc", false, "nonsense", 3);
        QCOMPARE(pad(0, "padtype"), 2);
        QCOMPARE(pad(0, "padData"), 24);
    }

    void knobBatchClampsData()
    {
        m_data->setBQMBatch(1, "pitch", "bqmData", 126);
        QCOMPARE(knobs(0, "bqmData"), (QList<int>{126, 127, 127, 127}));
        QCOMPARE(knobs(0, "bqmType"), (QList<int>{2, 2, 2, 2}));
        m_data->setBQMBatch(3, "chn", "bqmData", -2);
        QCOMPARE(knobs(8, "bqmData"), (QList<int>{0, 0, 0, 1}));
        QCOMPARE(knobs(8, "bqmType"), (QList<int>{1, 1, 1, 1}));
        QCOMPARE(knob(4, "bqmType"), 0);
    }

    void batchesRefuseBadBanks()
    {
        QSignalSpy updated(m_data, &DataManagement::s_updateDate);
        const QByteArray before = m_data->imageBytes();
        for (int bank : {0, 4, -1}) {
            m_data->setPadBatch(bank, "cc", false, "padData", 1);
            m_data->setPadBatchColor(bank, "#ffffff");
            m_data->setBQMBatch(bank, "pitch", "bqmData", 1);
            m_data->setLum(bank, 0.5f);
        }
        QCOMPARE(updated.count(), 0);
        QCOMPARE(m_data->imageBytes(), before);
    }

    void colourAndBrightnessRoundTrip()
    {
        m_data->setPadInfo(5, "padRGB", QString("#ff8000"));
        QCOMPARE(rgb(5), (QList<int>{127, 64, 0}));
        QCOMPARE(m_data->fullColor(5), (Colour{127, 64, 0}));

        QSignalSpy updated(m_data, &DataManagement::s_updateDate);
        m_data->setLum(1, 0.5f);
        QCOMPARE(rgb(5), (QList<int>{63, 32, 0}));
        m_data->setLum(1, 0.0f);
        QCOMPARE(rgb(5), (QList<int>{0, 0, 0}));
        m_data->setLum(1, 1.0f);
        QCOMPARE(rgb(5), (QList<int>{127, 64, 0}));
        QCOMPARE(updated.count(), 3);
        // Default red pads of bank 1 come back at full brightness, not at 90.
        QCOMPARE(pad(0, "padR"), 127);
        // Bank 2 is untouched by bank 1's brightness.
        QCOMPARE(pad(16, "padG"), 90);
    }

    void blackBatchColourLightsWhite()
    {
        m_data->setPadBatchColor(1, "#000000");
        for (int p = 0; p < 16; ++p)
            QCOMPARE(rgb(p), (QList<int>{0, 0, 0}));
        m_data->setLum(1, 1.0f);
        for (int p = 0; p < 16; ++p)
            QCOMPARE(rgb(p), (QList<int>{127, 127, 127}));
    }

    void invalidColourStoresBlack()
    {
        m_data->setPadInfo(3, "padRGB", QString("not a colour"));
        QCOMPARE(rgb(3), (QList<int>{0, 0, 0}));
        QCOMPARE(m_data->fullColor(3), (Colour{127, 127, 127}));
    }

    void singleSettersStoreLowByteAndEmitNothing()
    {
        QSignalSpy updated(m_data, &DataManagement::s_updateDate);
        m_data->setPadInfo(47, "padCh", 16);
        m_data->setPadInfo(0, "padData", 300); // low 8 bits: 44
        m_data->setBQMInfo(11, "bqmMsbMin", 5);
        m_data->setWalkingBeltInfo(5, "wbtype", 1);
        m_data->setCurveInten("curve", 3);
        m_data->setCurveInten("intensity", 100);
        QCOMPARE(updated.count(), 0);
        QCOMPARE(pad(47, "padCh"), 16);
        QCOMPARE(pad(0, "padData"), 44);
        QCOMPARE(knob(11, "bqmMsbMin"), 5);
        QCOMPARE(m_data->getWalkingBeltInfo(5).value("wbtype").toInt(), 1);
        QCOMPARE(int(m_data->image()[kCurveOffset]), 3);
        QCOMPARE(int(m_data->image()[kIntensityOffset]), 100);
        // Bytes read back signed, as the image stores them.
        m_data->setPadInfo(1, "padData", 200);
        QCOMPARE(pad(1, "padData"), -56);
    }

    void singleSettersIgnoreUnknownKeysButLog()
    {
        const QByteArray before = m_data->imageBytes();
        m_data->setPadInfo(2, "padR", 5); // colours only go through the string form
        m_data->setPadInfo(2, "padData", QString("#ffffff"));
        m_data->setBQMInfo(2, "BQMDATA", 5);
        m_data->setWalkingBeltInfo(2, "nothing", 5);
        m_data->setCurveInten("Curve", 2);
        QCOMPARE(m_data->imageBytes(), before);
        QCOMPARE(countLines("setPadInfo1 "), 1);
        QCOMPARE(countLines("setPadInfo2 "), 1);
        QCOMPARE(countLines("setBQMInfo "), 1);
        QCOMPARE(countLines("setWalkingBeltInfo "), 1);
        QCOMPARE(countLines("setCurveInten "), 1);
    }

    void indexBorders()
    {
        QVERIFY(m_data->getPadInfo(48).isEmpty());
        QVERIFY(m_data->getPadInfo(-1).isEmpty());
        QCOMPARE(m_data->getPadInfo(47).size(), 7);
        QVERIFY(m_data->getBQMInfo(12).isEmpty());
        QCOMPARE(m_data->getBQMInfo(11).size(), 7);
        QVERIFY(m_data->getWalkingBeltInfo(6).isEmpty());
        QVERIFY(m_data->getWalkingBeltInfo(-1).isEmpty());
        QCOMPARE(m_data->getWalkingBeltInfo(5).size(), 4);
        QCOMPARE(countLines("getPadInfo: pad index cross the border"), 2);
        QCOMPARE(countLines("getBQMInfo: pad index cross the border"), 1);

        const QByteArray before = m_data->imageBytes();
        g_lines.clear();
        m_data->setPadInfo(48, "padData", 1);
        m_data->setPadInfo(-1, "padRGB", QString("#ffffff"));
        m_data->setBQMInfo(12, "bqmData", 1);
        m_data->setWalkingBeltInfo(6, "wbData", 1);
        QCOMPARE(m_data->imageBytes(), before);
        QCOMPARE(g_lines.size(), 3);
        QVERIFY(g_lines.at(0).startsWith("setPadInfo: pad index cross the border"));
        QVERIFY(g_lines.at(1).startsWith("setBQMInfo: pad index cross the border"));
    }

    void headerAndEndNeverChangeByFieldOperations()
    {
        const QByteArray before = m_data->imageBytes();
        for (int p = 0; p < kPadCount; ++p) {
            for (const char *key : kPadKeys)
                m_data->setPadInfo(p, key, 127);
            m_data->setPadInfo(p, "padRGB", QString("#fefefe"));
        }
        for (int bank = 1; bank <= 3; ++bank) {
            m_data->setPadBatch(bank, "pc", true, "padData", 127);
            m_data->setBQMBatch(bank, "pitch", "bqmData", 127);
            m_data->setLum(bank, 0.3f);
        }
        for (int j = 0; j < kButtonCount; ++j)
            for (const char *key : kButtonKeys)
                m_data->setWalkingBeltInfo(j, key, 127);
        const QByteArray after = m_data->imageBytes();
        QCOMPARE(after.left(11), before.left(11));
        QCOMPARE(after.right(1), before.right(1));
    }
};

QTEST_GUILESS_MAIN(TestSettingsAccess)
#include "tst_settings_access.moc"
