// What the catalogues say, held against what the texts mean: the pitch-bend
// ranges in Chinese, and Qt's own dialog texts following the language.
#include "i18n/Trans.h"

#include <QCoreApplication>
#include <QtTest>

class TestCatalogues : public QObject
{
    Q_OBJECT
    Trans m_trans{nullptr};

    QString translated(const QByteArray &context, const QByteArray &source) const
    {
        return QCoreApplication::translate(context.constData(), source.constData());
    }

private slots:
    // Each word of a range label and what its Chinese must say: LSB is the
    // fine byte (精调), MSB the coarse one (粗调).
    void pitchBendRangesMeanTheirByte_data()
    {
        QTest::addColumn<QByteArray>("context");
        QTest::addColumn<QByteArray>("source");
        for (const char *source : {"LSB MIN", "MSB MIN"})
            QTest::addRow("knob page %s", source) << QByteArray("BqmPitchBend") << QByteArray(source);
        for (const char *source : {"LSB MIN", "LSB MAX", "MSB MIN", "MSB MAX"})
            QTest::addRow("function page %s", source) << QByteArray("KnobSwitchGroup") << QByteArray(source);
    }

    void pitchBendRangesMeanTheirByte()
    {
        QFETCH(QByteArray, context);
        QFETCH(QByteArray, source);
        const QMap<QString, QString> meaning{{"LSB", "精调"}, {"MSB", "粗调"}, {"MIN", "最小"}, {"MAX", "最大"}};
        m_trans.reTrans(QStringLiteral("简体中文"));
        const QString chinese = translated(context, source);
        for (const QString &word : QString::fromLatin1(source).split(' '))
            QVERIFY2(chinese.contains(meaning.value(word)), qPrintable(chinese + " lacks " + meaning.value(word)));
        const QString otherByte = meaning.value(source.startsWith("LSB") ? "MSB" : "LSB");
        QVERIFY2(!chinese.contains(otherByte), qPrintable(chinese));
    }

    // The file dialog's and the message boxes' own texts, from Qt's catalogue.
    void qtOwnTextsFollowTheLanguage_data()
    {
        QTest::addColumn<QByteArray>("context");
        QTest::addColumn<QByteArray>("source");
        QTest::newRow("look in") << QByteArray("QFileDialog") << QByteArray("Look in:");
        QTest::newRow("file name") << QByteArray("QFileDialog") << QByteArray("File &name:");
        QTest::newRow("every file") << QByteArray("QFileDialog") << QByteArray("All Files (*)");
        QTest::newRow("save") << QByteArray("QPlatformTheme") << QByteArray("Save");
        QTest::newRow("cancel") << QByteArray("QPlatformTheme") << QByteArray("Cancel");
    }

    void qtOwnTextsFollowTheLanguage()
    {
        QFETCH(QByteArray, context);
        QFETCH(QByteArray, source);
        m_trans.reTrans(QStringLiteral("简体中文"));
        const QString chinese = translated(context, source);
        QVERIFY2(chinese.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))), qPrintable(chinese));
        m_trans.reTrans(QStringLiteral("English"));
        QCOMPARE(translated(context, source), QString::fromLatin1(source));
    }
};

QTEST_GUILESS_MAIN(TestCatalogues)
#include "tst_catalogues.moc"
