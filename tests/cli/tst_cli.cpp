// mavuctl's file commands: the edit operations and readable forms in this
// process, the program itself for what only its command line shows.
#include "cli/EditCommand.h"
#include "model/DataManagement.h"
#include "model/SettingsLayout.h"
#include "model/SettingsText.h"
#include "support/TestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::readAll;

namespace {

testsupport::ProcessResult mavuctl(const QStringList &args)
{
    return testsupport::run(QStringLiteral(MAVU_MAVUCTL_PATH), args);
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void editOperations_data()
    {
        QTest::addColumn<QStringList>("edit");
        QTest::addColumn<QString>("record"); // "pads", "knobs", "buttons" or a top-level key
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("key");
        QTest::addColumn<int>("value");
        QTest::newRow("pad field") << QStringList{"setPadInfo", "47", "padCh", "16"} << "pads" << 47 << "padCh" << 16;
        QTest::newRow("pad colour") << QStringList{"setPadInfo", "5", "padRGB", "#ff8000"} << "pads" << 5 << "padG"
                                    << 64;
        QTest::newRow("pad batch") << QStringList{"setPadBatch", "2", "note", "true", "padData", "120"} << "pads" << 17
                                   << "padData" << 119;
        QTest::newRow("batch colour") << QStringList{"setPadBatchColor", "3", "#0000ff"} << "pads" << 40 << "padB"
                                      << 127;
        QTest::newRow("knob field") << QStringList{"setBQMInfo", "11", "bqmMsbMin", "5"} << "knobs" << 11 << "bqmMsbMin"
                                    << 5;
        QTest::newRow("knob batch") << QStringList{"setBQMBatch", "1", "pitch", "bqmData", "126"} << "knobs" << 1
                                    << "bqmData" << 127;
        QTest::newRow("button") << QStringList{"setWalkingBeltInfo", "3", "wbtype", "1"} << "buttons" << 3 << "wbtype"
                                << 1;
        QTest::newRow("brightness") << QStringList{"setLum", "1", "0.5"} << "pads" << 0 << "padR" << 63;
        QTest::newRow("curve") << QStringList{"setCurveInten", "curve", "3"} << "curve" << 0 << "" << 3;
        QTest::newRow("intensity") << QStringList{"setCurveInten", "intensity", "90"} << "intensity" << 0 << "" << 90;
    }
    void editOperations()
    {
        QFETCH(QStringList, edit);
        QFETCH(QString, record);
        QFETCH(int, index);
        QFETCH(QString, key);
        QFETCH(int, value);
        DataManagement settings;
        settings.initDefaultData();
        QString error;
        QVERIFY2(cli::applyEdit(settings, edit.first(), edit.mid(1), &error), qPrintable(error));
        const QJsonObject json = settingsText::toJson(settings);
        const QJsonValue field
            = key.isEmpty() ? json.value(record) : json.value(record).toArray().at(index).toObject().value(key);
        QCOMPARE(field.toInt(-999), value);
        QVERIFY(cli::applyEdit(settings, "initDefaultData", {}, &error));
        DataManagement fresh; // defaults keep the curve and intensity
        fresh.initDefaultData();
        QCOMPARE(settings.imageBytes().mid(layout::kPadOffset), fresh.imageBytes().mid(layout::kPadOffset));
    }

    void badEditsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("edit");
        QTest::newRow("unknown op") << QStringList{"setEverything", "1"};
        QTest::newRow("too few") << QStringList{"setPadInfo", "1", "padData"};
        QTest::newRow("too many") << QStringList{"setLum", "1", "0.5", "2"};
        QTest::newRow("not a number") << QStringList{"setPadInfo", "x", "padData", "1"};
        QTest::newRow("pad border") << QStringList{"setPadInfo", "48", "padData", "1"};
        QTest::newRow("bank border") << QStringList{"setPadBatch", "4", "note", "false", "padData", "1"};
        QTest::newRow("bad key") << QStringList{"setBQMInfo", "0", "bqmdata", "1"};
        QTest::newRow("bad mode") << QStringList{"setBQMBatch", "1", "note", "bqmData", "1"};
        QTest::newRow("bad bool") << QStringList{"setPadBatch", "1", "cc", "maybe", "padData", "1"};
        QTest::newRow("bad colour") << QStringList{"setPadBatchColor", "1", "#ggg"};
        QTest::newRow("value range") << QStringList{"setWalkingBeltInfo", "0", "wbData", "128"};
        QTest::newRow("curve range") << QStringList{"setCurveInten", "curve", "4"};
        QTest::newRow("brightness range") << QStringList{"setLum", "1", "1.5"};
    }
    void badEditsChangeNothing()
    {
        QFETCH(QStringList, edit);
        DataManagement settings;
        settings.initDefaultData();
        const QByteArray before = settings.imageBytes();
        QString error;
        QVERIFY(!cli::applyEdit(settings, edit.first(), edit.mid(1), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(settings.imageBytes(), before);
    }

    void readableForms()
    {
        DataManagement settings;
        settings.initDefaultData();
        const QJsonObject json = settingsText::toJson(settings);
        QCOMPARE(json.keys(), (QStringList{"buttons", "curve", "firmware", "intensity", "knobs", "pads"}));
        QCOMPARE(json.value("firmware").toArray(), (QJsonArray{1, 0, 0}));
        QCOMPARE(json.value("pads").toArray().size(), 48);
        QCOMPARE(json.value("knobs").toArray().at(8).toObject().value("bqmData").toInt(), 53);
        QCOMPARE(json.value("buttons").toArray().at(5).toObject().keys(),
            (QStringList{"wbCh", "wbData", "wbMode", "wbtype"}));
        const QString text = settingsText::toText(settings);
        for (const char *part : {"Pads, bank A", "Pads, bank C", "(C1", "(B4", "Knobs, bank B", "Transport buttons"})
            QVERIFY2(text.contains(QLatin1String(part)), part);
        QCOMPARE(settingsText::noteName(0), QStringLiteral("C-1"));
        QCOMPARE(settingsText::noteName(61), QStringLiteral("C#4"));
        QCOMPARE(settingsText::noteName(127), QStringLiteral("G9"));
    }

    void theProgram()
    {
        const QString stm = path("p.stm");
        QCOMPARE(mavuctl({"defaults", stm}).exitCode, 0);
        QCOMPARE(readAll(stm).size(), 462);
        QCOMPARE(mavuctl({"edit", stm, "setPadInfo", "5", "padData", "99"}).exitCode, 0);
        const auto dump = mavuctl({"dump", "--json", stm});
        QCOMPARE(QJsonDocument::fromJson(dump.out)["pads"][5]["padData"].toInt(), 99);
        QCOMPARE(mavuctl({"convert", stm, path("p.syx")}).exitCode, 0);
        QCOMPARE(readAll(path("p.syx")), readAll(stm).mid(4));
        QCOMPARE(mavuctl({"convert", path("p.syx"), path("back.stm")}).exitCode, 0);
        QCOMPARE(readAll(path("back.stm")), readAll(stm));
        QCOMPARE(mavuctl({"--version"}).out, QByteArray("mavuctl 1.0.1.1\n"));
        QVERIFY(mavuctl({"--help"}).out.contains("Usage: mavuctl"));

        // Bad command lines and files: one line on stderr, nothing else, the file as it was.
        testsupport::writeAll(path("trunc.stm"), readAll(stm).left(300));
        const QList<QStringList> bad
            = {{}, {"frobnicate"}, {"dump", stm, stm}, {"edit", stm, "setLum", "9", "1"}, {"dump", path("trunc.stm")},
                {"edit", path("trunc.stm"), "initDefaultData"}, {"convert", path("trunc.stm"), path("out.syx")}};
        const QByteArray before = readAll(stm);
        for (const QStringList &args : bad) {
            const auto r = mavuctl(args);
            QVERIFY2(r.exitCode > 0 && r.out.isEmpty(), qPrintable(args.join(' ')));
            QVERIFY2(r.err.startsWith("mavuctl: ") && r.err.count('\n') == 1, r.err.constData());
        }
        QVERIFY(mavuctl({"dump", path("trunc.stm")}).err.contains("truncated"));
        QCOMPARE(readAll(stm), before);
        QCOMPARE(readAll(path("trunc.stm")).size(), 300);
        QVERIFY(!QFile::exists(path("out.syx")));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
