// What opening a file that is no preset says: first that it is none, then why.
#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using testsupport::fromHex;

class TestPresetMessages : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void notAPresetSaysSoFirst_data()
    {
        DataManagement data;
        data.initDefaultData();
        const QByteArray image = data.imageBytes();
        const QByteArray stm = fromHex("00 00 01 CA") + image;
        const QString lead = QStringLiteral("This file is not a Korvel Mavu preset. ");
        QByteArray noEnd = image;
        noEnd.back() = '\0';
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<QString>("message");
        QTest::newRow("text") << QByteArray("hello, this is not a preset\n")
                              << lead + "A preset begins with 00 00 01 CA or F0; this file begins with 68 65 6C 6C.";
        QTest::newRow("empty") << QByteArray() << lead + "The file is empty.";
        QTest::newRow("3 bytes") << fromHex("00 00 01") << lead + "The file is too short to be a preset (3 bytes).";
        QTest::newRow("truncated") << stm.left(300) << lead + "The file is truncated: 300 of 462 bytes are present.";
        QTest::newRow("short SysEx") << image.left(300)
                                     << lead + "The settings block is 300 bytes long; a complete block has 458 bytes.";
        QTest::newRow("SysEx without F7")
            << noEnd << lead + "The settings block does not begin with F0 and end with F7.";
        QTest::newRow("far too big") << QByteArray(5000, 'x')
                                     << lead + "The file is 5000 bytes long; at most 462 bytes are expected.";
        // A folder is no file at all: that is the whole story.
        QTest::newRow("folder") << QByteArray() << QStringLiteral("This is a folder, not a file.");
    }

    void notAPresetSaysSoFirst()
    {
        QFETCH(QByteArray, contents);
        QFETCH(QString, message);
        const bool folder = QByteArray(QTest::currentDataTag()) == "folder";
        const QString path = folder ? m_dir.path() : m_dir.filePath(QStringLiteral("x.stm"));
        if (!folder)
            testsupport::writeAll(path, contents);
        QByteArray image;
        QString error;
        QVERIFY(!preset::readFile(path, &image, &error));
        QCOMPARE(error, message);
    }
};

QTEST_GUILESS_MAIN(TestPresetMessages)
#include "tst_preset_messages.moc"
