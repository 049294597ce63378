#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::readAll;
using testsupport::run;

class TestMavuctlFiles : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    static testsupport::ProcessResult mavuctl(const QStringList &args)
    {
        return run(QStringLiteral(MAVU_MAVUCTL_PATH), args);
    }

    QJsonObject dumpJson(const QString &file)
    {
        const auto r = mavuctl({"dump", "--json", file});
        if (r.exitCode != 0)
            qWarning() << r.err;
        return QJsonDocument::fromJson(r.out).object();
    }

    static int field(const QJsonObject &root, const char *list, int index, const char *key)
    {
        return root.value(list).toArray().at(index).toObject().value(key).toInt(-999);
    }

    // A fresh default preset at name, returned as its path.
    QString freshPreset(const QString &name)
    {
        const QString file = path(name);
        QFile::remove(file);
        const auto r = mavuctl({"defaults", file});
        if (r.exitCode != 0)
            qWarning() << r.err;
        return file;
    }

private slots:
    void defaultsWritesTheStmForm()
    {
        const QString file = freshPreset("d.stm");
        const QByteArray bytes = readAll(file);
        QCOMPARE(bytes.size(), 462);
        QCOMPARE(bytes.left(15), testsupport::fromHex("00 00 01 CA F0 01 00 00 00 20 6F 00 01 00 00"));
        QCOMPARE(quint8(bytes.back()), quint8(0xF7));
    }

    void jsonDumpHasEveryRecordWithExactKeys()
    {
        const QJsonObject root = dumpJson(freshPreset("j.stm"));
        QCOMPARE(root.keys(), (QStringList{"buttons", "curve", "firmware", "intensity", "knobs", "pads"}));
        QCOMPARE(root.value("firmware").toArray(), (QJsonArray{1, 0, 0}));
        QCOMPARE(root.value("pads").toArray().size(), 48);
        QCOMPARE(root.value("knobs").toArray().size(), 12);
        QCOMPARE(root.value("buttons").toArray().size(), 6);
        QStringList padKeys = {"padtype", "padData", "padCh", "padMode", "padR", "padG", "padB"};
        QStringList knobKeys = {"bqmType", "bqmData", "bqmCh", "bqmLsbMin", "bqmLsbMax", "bqmMsbMin", "bqmMsbMax"};
        QStringList buttonKeys = {"wbtype", "wbData", "wbCh", "wbMode"};
        padKeys.sort();
        knobKeys.sort();
        buttonKeys.sort();
        QCOMPARE(root.value("pads").toArray().at(47).toObject().keys(), padKeys);
        QCOMPARE(root.value("knobs").toArray().at(0).toObject().keys(), knobKeys);
        QCOMPARE(root.value("buttons").toArray().at(5).toObject().keys(), buttonKeys);
        QCOMPARE(field(root, "pads", 47, "padData"), 71);
        QCOMPARE(field(root, "knobs", 8, "bqmData"), 53);
    }

    void textDumpNamesNotes()
    {
        const auto r = mavuctl({"dump", freshPreset("t.stm")});
        QCOMPARE(r.exitCode, 0);
        const QString text = QString::fromUtf8(r.out);
        QVERIFY(text.contains("Pads, bank A"));
        QVERIFY(text.contains("Pads, bank C"));
        QVERIFY(text.contains("(C1"));  // pad 1: note 24
        QVERIFY(text.contains("(B4"));  // pad 48: note 71
        QVERIFY(text.contains("Knobs, bank B"));
        QVERIFY(text.contains("Transport buttons"));
    }

    void editReproducesBatchEdges()
    {
        const QString file = freshPreset("e.stm");
        QCOMPARE(mavuctl({"edit", file, "setPadBatch", "2", "note", "false", "padData", "120"}).exitCode, 0);
        QCOMPARE(mavuctl({"edit", file, "setPadBatch", "1", "cc", "true", "padData", "5"}).exitCode, 0);
        QCOMPARE(mavuctl({"edit", file, "setPadBatch", "3", "pc", "false", "padCh", "10"}).exitCode, 0);
        QCOMPARE(mavuctl({"edit", file, "setBQMBatch", "1", "pitch", "bqmData", "126"}).exitCode, 0);
        QCOMPARE(mavuctl({"edit", file, "setCurveInten", "curve", "3"}).exitCode, 0);
        const QJsonObject root = dumpJson(file);
        for (int p = 16; p < 32; ++p) {
            QCOMPARE(field(root, "pads", p, "padData"), qMin(120 + p - 16, 127));
            QCOMPARE(field(root, "pads", p, "padtype"), 0);
        }
        for (int p = 0; p < 16; ++p) {
            QCOMPARE(field(root, "pads", p, "padData"), qMax(5 - p, 0));
            QCOMPARE(field(root, "pads", p, "padtype"), 1);
        }
        for (int p = 32; p < 48; ++p) {
            QCOMPARE(field(root, "pads", p, "padtype"), 2);
            QCOMPARE(field(root, "pads", p, "padCh"), 10);
        }
        const int knobs[4] = {126, 127, 127, 127};
        for (int k = 0; k < 4; ++k) {
            QCOMPARE(field(root, "knobs", k, "bqmData"), knobs[k]);
            QCOMPARE(field(root, "knobs", k, "bqmType"), 2);
        }
        QCOMPARE(root.value("curve").toInt(), 3);
    }

    void editColourAndBrightness()
    {
        const QString file = freshPreset("c.stm");
        QCOMPARE(mavuctl({"edit", file, "setPadInfo", "5", "padRGB", "#ff8000"}).exitCode, 0);
        QCOMPARE(mavuctl({"edit", file, "setLum", "1", "0.5"}).exitCode, 0);
        QJsonObject root = dumpJson(file);
        QCOMPARE(field(root, "pads", 5, "padR"), 63);
        QCOMPARE(field(root, "pads", 5, "padG"), 32);
        // The full-colour table is rebuilt from the file, so brightness 1 restores
        // what the dimmed bytes allow: 63,32,0 scales up to 127,64,0.
        QCOMPARE(mavuctl({"edit", file, "setLum", "1", "1"}).exitCode, 0);
        root = dumpJson(file);
        QCOMPARE(field(root, "pads", 5, "padR"), 127);
        QCOMPARE(field(root, "pads", 5, "padG"), 64);
        QCOMPARE(field(root, "pads", 5, "padB"), 0);

        QCOMPARE(mavuctl({"edit", file, "setPadBatchColor", "1", "#000000"}).exitCode, 0);
        QCOMPARE(mavuctl({"edit", file, "setLum", "1", "1.0"}).exitCode, 0);
        root = dumpJson(file);
        QCOMPARE(field(root, "pads", 0, "padR"), 127);
        QCOMPARE(field(root, "pads", 15, "padB"), 127);
    }

    void convertRoundTrip()
    {
        const QString stm = freshPreset("r.stm");
        QCOMPARE(mavuctl({"edit", stm, "setWalkingBeltInfo", "3", "wbtype", "1"}).exitCode, 0);
        QCOMPARE(mavuctl({"convert", stm, path("r.syx")}).exitCode, 0);
        QCOMPARE(readAll(path("r.syx")), readAll(stm).mid(4));
        QCOMPARE(mavuctl({"convert", path("r.syx"), path("back.stm")}).exitCode, 0);
        QCOMPARE(readAll(path("back.stm")), readAll(stm));
    }

    void badInputChangesNothing_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("unknown op") << QStringList{"edit", "FILE", "setEverything", "1"};
        QTest::newRow("too few") << QStringList{"edit", "FILE", "setPadInfo", "1", "padData"};
        QTest::newRow("too many") << QStringList{"edit", "FILE", "setLum", "1", "0.5", "2"};
        QTest::newRow("not a number") << QStringList{"edit", "FILE", "setPadInfo", "x", "padData", "1"};
        QTest::newRow("pad border") << QStringList{"edit", "FILE", "setPadInfo", "48", "padData", "1"};
        QTest::newRow("bank border") << QStringList{"edit", "FILE", "setPadBatch", "4", "note", "false", "padData", "1"};
        QTest::newRow("bad key") << QStringList{"edit", "FILE", "setBQMInfo", "0", "bqmdata", "1"};
        QTest::newRow("bad mode") << QStringList{"edit", "FILE", "setBQMBatch", "1", "note", "bqmData", "1"};
        QTest::newRow("bad bool") << QStringList{"edit", "FILE", "setPadBatch", "1", "cc", "maybe", "padData", "1"};
        QTest::newRow("bad colour") << QStringList{"edit", "FILE", "setPadBatchColor", "1", "#ggg"};
        QTest::newRow("value range") << QStringList{"edit", "FILE", "setWalkingBeltInfo", "0", "wbData", "128"};
        QTest::newRow("brightness range") << QStringList{"edit", "FILE", "setLum", "1", "1.5"};
        QTest::newRow("no command") << QStringList{};
        QTest::newRow("unknown command") << QStringList{"frobnicate"};
        QTest::newRow("dump extra") << QStringList{"dump", "FILE", "FILE"};
    }

    void badInputChangesNothing()
    {
        QFETCH(QStringList, args);
        const QString file = freshPreset("bad.stm");
        const QByteArray before = readAll(file);
        args.replaceInStrings("FILE", file);
        const auto r = mavuctl(args);
        QVERIFY(r.exitCode != 0);
        QVERIFY(r.out.isEmpty());
        const QList<QByteArray> lines = r.err.trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().startsWith("mavuctl: "), r.err.constData());
        QCOMPARE(readAll(file), before);
    }

    void truncatedPresetIsRefused()
    {
        const QString file = path("trunc.stm");
        const QByteArray bytes = readAll(freshPreset("full.stm")).left(300);
        testsupport::writeAll(file, bytes);
        for (const QStringList &args : {QStringList{"dump", file}, QStringList{"edit", file, "initDefaultData"},
                                        QStringList{"convert", file, path("out.syx")}}) {
            const auto r = mavuctl(args);
            QVERIFY(r.exitCode != 0);
            QVERIFY2(r.err.contains("truncated"), r.err.constData());
        }
        QCOMPARE(readAll(file), bytes);
        QVERIFY(!QFile::exists(path("out.syx")));
    }

    void helpAndVersion()
    {
        auto r = mavuctl({"--help"});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.out.contains("Usage: mavuctl"));
        r = mavuctl({"--version"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out.trimmed(), QByteArray("mavuctl 1.0.1.1"));
    }
};

QTEST_GUILESS_MAIN(TestMavuctlFiles)
#include "tst_mavuctl_files.moc"
