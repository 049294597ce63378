#include "device/MidiBackend.h"
#include "device/PortNames.h"
#include "device/UdevEventSource.h"

#include <QtTest>

// Names and paths as the system hands them over, turned into what the
// detection and the port layer compare.
class TestPortNames : public QObject
{
    Q_OBJECT
private slots:
    void alsaClientName_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("product");
        QTest::newRow("usb controller") << "Korvel Mavu:Korvel Mavu MIDI 1 20:0" << "Korvel Mavu";
        QTest::newRow("virtual port") << "Korvel Mavu:Korvel Mavu 128:0" << "Korvel Mavu";
        QTest::newRow("other device") << "Midi Through:Midi Through Port-0 14:0" << "Midi Through";
        QTest::newRow("client with spaces and digits") << "USB 2 MIDI:USB 2 MIDI MIDI 1 24:1" << "USB 2 MIDI";
        QTest::newRow("not the ALSA shape") << "Korvel Mavu" << "Korvel Mavu";
        QTest::newRow("empty") << "" << "";
    }
    void alsaClientName()
    {
        QFETCH(QString, port);
        QFETCH(QString, product);
        QCOMPARE(portnames::alsaClientName(port), product);
    }

    void jackPortName_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("product");
        QTest::newRow("first client") << "Korvel Mavu:Korvel Mavu" << "Korvel Mavu";
        QTest::newRow("second client of the name") << "Korvel Mavu-01:Korvel Mavu" << "Korvel Mavu";
        QTest::newRow("editor's own port") << "korvel-mavu:korvel-mavu out" << "korvel-mavu out";
        QTest::newRow("no client part") << "Korvel Mavu" << "Korvel Mavu";
    }
    void jackPortName()
    {
        QFETCH(QString, port);
        QFETCH(QString, product);
        QCOMPARE(portnames::jackPortName(port), product);
    }

    void indexFollowsThePortWhenOthersMove()
    {
        const QStringList listed = {"a", "Korvel Mavu-01:Korvel Mavu", "b"};
        // Unchanged: the same index.
        QCOMPARE(currentIndexOf(listed, 1, listed.at(1)), 1);
        // A port appeared in front: found further on.
        QCOMPARE(currentIndexOf({"new", "a", "Korvel Mavu-01:Korvel Mavu", "b"}, 1, listed.at(1)), 2);
        // A port in front left: found earlier.
        QCOMPARE(currentIndexOf({"Korvel Mavu-01:Korvel Mavu", "b"}, 1, listed.at(1)), 0);
        // Gone.
        QCOMPARE(currentIndexOf({"a", "b"}, 1, listed.at(1)), -1);
        // Two ports of one raw name: the listed index is kept while it fits.
        QCOMPARE(currentIndexOf({"x", "x", "x"}, 2, "x"), 2);
        QCOMPARE(currentIndexOf({"x"}, 2, "x"), 0);
        QCOMPARE(currentIndexOf({"x"}, -1, "x"), 0);
    }

    void udevEvents()
    {
        using Kind = UdevEventSource::Kind;
        QCOMPARE(UdevEventSource::classify("change", "card2", true), Kind::Arrival);
        QCOMPARE(UdevEventSource::classify("add", "card2", false), Kind::None);
        QCOMPARE(UdevEventSource::classify("change", "card2", false), Kind::None);
        QCOMPARE(UdevEventSource::classify("remove", "card2", false), Kind::Removal);
        // The card's nodes come and go with it and are not counted twice.
        QCOMPARE(UdevEventSource::classify("remove", "midiC2D0", false), Kind::None);
        QCOMPARE(UdevEventSource::classify("change", "controlC2", true), Kind::None);
    }

    void udevPathCarriesTheUsbIdentity()
    {
        const QString path = UdevEventSource::pathText("/devices/pci0000:00/usb1/1-2/1-2:1.0/sound/card2", "0416", "b009");
        QVERIFY(path.contains("VID_0416&PID_B009"));
        QVERIFY(path.startsWith("/devices/pci0000:00/usb1"));
        // Short identifiers are padded as USB paths write them.
        QVERIFY(UdevEventSource::pathText("/x", "416", "b009").contains("VID_0416&PID_B009"));
        // Without identifiers (not a USB card) nothing can match.
        QVERIFY(!UdevEventSource::pathText("/x", "", "").contains("VID_0416"));
    }
};

QTEST_GUILESS_MAIN(TestPortNames)
#include "tst_portnames.moc"
