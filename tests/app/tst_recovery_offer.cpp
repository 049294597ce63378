// The recovery of a controller left in update mode: offered once the loader
// stays, not again while it stays, and again when it comes back; not for a
// named port on which no loader asks for a file; "flash again" only for a
// download that still matches what it was verified against, and never on the
// default button.
#include "app/MessageBoxPrompt.h"
#include "app/RecoveryOffer.h"
#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "support/TestSupport.h"
#include "support/firmware/PtyLink.h"
#include "support/model/ScriptedPrompt.h"
#include "support/device/ScriptedChannel.h"
#include "workflows/FirmwareUpdateFlow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QMessageBox>
#include <QPushButton>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QtTest>

class TestRecoveryOffer : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;

private slots:
    void recoveryIsOfferedOnceTheLoaderStays()
    {
        FirmwareUpdate update;
        // The named port: a link to a terminal, there while the link is; the
        // loader at its far end asks for a file with "C".
        PtyLink line;
        QVERIFY(line.open());
        QSerialPort loader(line.peerPath());
        QVERIFY(loader.open(QIODevice::ReadWrite));
        const QString port = m_dir.filePath(QStringLiteral("loader-tty"));
        update.setPortOverride(port);
        MyFtp ftp;
        ftp.setDownloadFolder(m_dir.filePath(QStringLiteral("no-downloads")));
        bool midi = true;
        ScriptedPrompt prompt;
        ScriptedChannel channel;
        FirmwareUpdateFlow firmware(channel, update);
        RecoveryOffer offer(firmware, ftp, [&] { return midi; });
        offer.setPrompt(&prompt);

        // A named port that merely exists (a node that stays): not asked.
        midi = false;
        QVERIFY(QFile::link(line.portPath(), port));
        offer.look();
        offer.look();
        QTest::qWait(LoaderListener::kListenMs + 500);
        QVERIFY(prompt.asked().isEmpty());

        // Then a loader asks for a file on it: asked.
        loader.write("C");
        offer.look();
        offer.look();
        QTRY_COMPARE(prompt.asked().size(), 1);

        // At each look: MIDI ports, a loader port, questions asked so far.
        const int looks[][3] = {
            {true, true, 1}, // a normal controller beside a loader port: nothing to mend
            {false, false, 1}, // unplugged
            {false, true, 1}, // the loader, once: maybe a restart passing through
            {false, true, 2}, // still there: asked
            {false, true, 2}, // not asked again while it stays
            {false, false, 2}, {false, true, 2}, {false, true, 3}, // back again: asked again
        };
        for (const auto &look : looks) {
            midi = look[0];
            QFile::remove(port);
            if (look[1]) {
                QVERIFY(QFile::link(line.portPath(), port));
                loader.write("C");
            }
            offer.look();
            QTRY_COMPARE(prompt.asked().size(), look[2]);
        }
        // Nothing downloaded yet: no "flash again" choice.
        QCOMPARE(prompt.asked().last().split(QLatin1Char('\n')).last(),
            QStringLiteral("Choose a firmware file...|Look for firmware online"));

        // A download is offered only beside the description it still matches.
        const QString download = m_dir.filePath(QStringLiteral("no-downloads/mavu-1.0.4.bin"));
        QVERIFY(QDir().mkpath(QFileInfo(download).path()));
        testsupport::writeAll(download, "firmware");
        firmwareserver::FirmwareInfo described;
        described.size = 8;
        for (const QByteArray &bytes : {QByteArray(), QByteArray("other"), QByteArray("firmware")}) {
            described.sha256 = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
            QVERIFY(bytes.isEmpty() || firmwarefile::remember(download, described));
            const qsizetype asked = prompt.asked().size();
            loader.write("C");
            offer.offer();
            QTRY_COMPARE(prompt.asked().size(), asked + 1);
            QCOMPARE(prompt.asked().last().contains("Flash mavu-1.0.4.bin again|"), bytes == "firmware");
        }
        // Flashing is never the default: Enter takes nothing.
        MessageBoxPrompt boxes(nullptr);
        QStringList defaults;
        // The box comes once the loader was heard: wait for it.
        const auto answerNext = [&] {
            auto *timer = new QTimer(this);
            connect(timer, &QTimer::timeout, this, [&defaults, timer] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                if (!box)
                    return;
                timer->deleteLater();
                timer->stop();
                defaults << box->defaultButton()->text();
                box->reject();
            });
            timer->start(20);
        };
        offer.setPrompt(&boxes);
        answerNext();
        loader.write("C");
        offer.offer();
        QTRY_COMPARE(defaults.size(), 1);
        answerNext();
        QVERIFY(!boxes.question(QString(), QString()));
        QCOMPARE(defaults, (QStringList{QStringLiteral("Cancel"), QStringLiteral("&No")}));
    }
};

QTEST_MAIN(TestRecoveryOffer)
#include "tst_recovery_offer.moc"
