// The one comparison behind the status line, the marks, the compare list and
// `mavuctl diff`: every byte of the image changed alone is exactly one
// difference, of the right control and key, or none outside the settings.
#include "model/SettingsDiff.h"

#include <QtTest>

class TestSettingsDiff : public QObject
{
    Q_OBJECT
private slots:
    void everyFieldDiffersAlone_data()
    {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("difference"); // "PAD B3 padCh"; empty for none
        const QStringList pad{"padtype", "padData", "padCh", "padMode", "padColor", "padColor", "padColor"};
        const QStringList knob{"bqmType", "bqmData", "bqmCh", "bqmLsbMin", "bqmLsbMax", "bqmMsbMin", "bqmMsbMax"};
        const QStringList button{"wbtype", "wbData", "wbCh", "wbMode"};
        int offset = 0;
        const auto add = [&offset](const QString &difference) {
            QTest::addRow("%d %s", offset, qPrintable(difference)) << offset << difference;
            ++offset;
        };
        const auto control = [&add](const QString &name, const QStringList &keys) {
            for (const QString &key : keys)
                add(name + ' ' + key);
        };
        for (int i = 0; i < 11; ++i)
            add(QString()); // the message's framing and the firmware version
        add("GLOBAL curve");
        add("GLOBAL intensity");
        for (int p = 0; p < 48; ++p)
            control(QString("PAD %1%2").arg(QChar('A' + p / 16)).arg(p % 16 + 1), pad);
        for (int k = 0; k < 12; ++k)
            control(QString("KNOB %1%2").arg(QChar('A' + k / 4)).arg(k % 4 + 1), knob);
        for (const char *name : {"previous", "stop", "next", "record", "start", "repeat"})
            control(QString("BUTTON ") + name, button);
        add(QString()); // F7
        QCOMPARE(offset, 458);
    }
    void everyFieldDiffersAlone()
    {
        QFETCH(int, offset);
        QFETCH(QString, difference);
        const QByteArray before(458, '\x11');
        QByteArray after = before;
        after[offset] = '\x14';
        QStringList found;
        for (const settingsDiff::Difference &d : settingsDiff::compare(before, after))
            found << d.control.machineName() + ' ' + d.key;
        QCOMPARE(found, difference.isEmpty() ? QStringList() : QStringList{difference});
        QCOMPARE(settingsDiff::sameSettings(before, after), difference.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettingsDiff)
#include "tst_settings_diff.moc"
