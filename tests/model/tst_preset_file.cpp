#include "model/DataManagement.h"
#include "model/PresetFile.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace layout;
using testsupport::readAll;
using testsupport::writeAll;

class TestPresetFile : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    static QByteArray defaultImage()
    {
        DataManagement d;
        d.initDefaultData();
        return d.imageBytes();
    }

private slots:
    void stmFormIsExactly462Bytes()
    {
        QVERIFY(preset::writeFile(path("a.stm"), defaultImage(), nullptr));
        const QByteArray bytes = readAll(path("a.stm"));
        QCOMPARE(bytes.size(), 462);
        QCOMPARE(bytes.left(15), testsupport::fromHex("00 00 01 CA F0 01 00 00 00 20 6F 00 01 00 00"));
        QCOMPARE(quint8(bytes.back()), quint8(0xF7));
        QCOMPARE(bytes.mid(4), defaultImage());
    }

    void syxFormIsTheBareMessage()
    {
        QVERIFY(preset::writeFile(path("a.SYX"), defaultImage(), nullptr));
        QCOMPARE(readAll(path("a.SYX")), defaultImage());
    }

    void roundTripsByContentNotExtension()
    {
        QByteArray image = defaultImage();
        image[1] = 0x02; // a controller reply's command byte is kept as it is
        image[200] = 0x33;
        QVERIFY(preset::writeFile(path("x.stm"), image, nullptr));
        QVERIFY(preset::writeFile(path("y.syx"), image, nullptr));
        // Renamed files are still recognised by what they hold.
        QVERIFY(QFile::rename(path("x.stm"), path("x.syx")));
        QVERIFY(QFile::rename(path("y.syx"), path("y.stm")));
        for (const char *name : {"x.syx", "y.stm"}) {
            QByteArray read;
            QString error;
            QVERIFY2(preset::readFile(path(name), &read, &error), qPrintable(error));
            QCOMPARE(read, image);
        }
    }

    void badContentsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("contents");
        const QByteArray stm = preset::encode(defaultImage(), preset::Format::Stm);
        const QByteArray syx = defaultImage();
        QByteArray badEnd = stm;
        badEnd[461] = 0x00;
        QByteArray badStart = stm;
        badStart[4] = 0x00;
        QByteArray shortLength = testsupport::fromHex("00 00 00 14") + syx.left(20);
        QByteArray hugeLength = testsupport::fromHex("FF FF FF FF") + syx;
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("three bytes") << QByteArray("\x00\x00\x01", 3);
        QTest::newRow("length 20") << shortLength;
        QTest::newRow("huge length") << hugeLength;
        QTest::newRow("truncated stm") << stm.left(300);
        QTest::newRow("one byte short") << stm.left(461);
        QTest::newRow("trailing garbage") << stm + "x";
        QTest::newRow("no F7") << badEnd;
        QTest::newRow("no F0") << badStart;
        QTest::newRow("truncated syx") << syx.left(457);
        QTest::newRow("long syx") << syx + char(0xF7);
        QTest::newRow("text") << QByteArray("hello, this is not a preset\n");
    }

    void badContentsAreRefused()
    {
        QFETCH(QByteArray, contents);
        QByteArray image("untouched");
        QString error;
        QVERIFY(!preset::decode(contents, &image, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(image, QByteArray("untouched"));
    }

    void unreadableFilesReportTheReason()
    {
        QByteArray image;
        QString error;
        QVERIFY(!preset::readFile(path("missing.stm"), &image, &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!preset::readFile(m_dir.path(), &image, &error));
        QVERIFY(!error.isEmpty());
    }

    void failedSaveKeepsThePreviousFile()
    {
        const QString target = path("keep.stm");
        QVERIFY(preset::writeFile(target, defaultImage(), nullptr));
        const QByteArray before = readAll(target);

        // Writing an incomplete image is refused and leaves the file alone.
        QString error;
        QVERIFY(!preset::writeFile(target, defaultImage().left(100), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(readAll(target), before);

        // A folder nobody may write: the save fails, the old preset stays intact.
        // Root ignores permissions, so only check this for ordinary users.
        if (::geteuid() != 0) {
            QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
            QByteArray changed = defaultImage();
            changed[20] = 0x44;
            QVERIFY(!preset::writeFile(target, changed, &error));
            QVERIFY(!error.isEmpty());
            QVERIFY(QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                            | QFileDevice::ExeOwner));
            QCOMPARE(readAll(target), before);
        }

        QVERIFY(!preset::writeFile(path("no/such/folder/x.stm"), defaultImage(), &error));
        QVERIFY(!error.isEmpty());
    }

    void savingOverAFolderFails()
    {
        QVERIFY(QDir(m_dir.path()).mkpath("folder.stm/inner"));
        QString error;
        QVERIFY(!preset::writeFile(path("folder.stm"), defaultImage(), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(QFileInfo(path("folder.stm/inner")).isDir());
    }
};

QTEST_GUILESS_MAIN(TestPresetFile)
#include "tst_preset_file.moc"
