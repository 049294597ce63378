// The recovery of a controller left in update mode: offered once the loader
// stays, not again while it stays, and again when it comes back; "flash again"
// only for a download that still matches what it was verified against, and
// never on the default button.
#include "app/MessageBoxPrompt.h"
#include "app/RecoveryOffer.h"
#include "firmware/FirmwareFile.h"
#include "firmware/FirmwareUpdate.h"
#include "firmware/MyFtp.h"
#include "support/TestSupport.h"
#include "support/model/ScriptedPrompt.h"
#include "support/device/ScriptedChannel.h"
#include "workflows/FirmwareUpdateFlow.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QMessageBox>
#include <QPushButton>
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

        // Found in update mode at start: asked, and not again while it stays.
        midi = false;
        testsupport::writeAll(port, "");
        offer.offer();
        offer.look();
        offer.look();
        QCOMPARE(prompt.asked().size(), 1);

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
            if (look[1])
                testsupport::writeAll(port, "");
            else
                QFile::remove(port);
            offer.look();
            QCOMPARE(prompt.asked().size(), look[2]);
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
            offer.offer();
            QCOMPARE(prompt.asked().last().contains("Flash mavu-1.0.4.bin again|"), bytes == "firmware");
        }
        // Flashing is never the default: Enter takes nothing.
        MessageBoxPrompt boxes(nullptr);
        QStringList defaults;
        const auto answerNext = [&] {
            QTimer::singleShot(0, this, [&] {
                auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                defaults << box->defaultButton()->text();
                box->reject();
            });
        };
        offer.setPrompt(&boxes);
        answerNext();
        offer.offer();
        answerNext();
        QVERIFY(!boxes.question(QString(), QString()));
        QCOMPARE(defaults, (QStringList{QStringLiteral("Cancel"), QStringLiteral("&No")}));
    }
};

QTEST_MAIN(TestRecoveryOffer)
#include "tst_recovery_offer.moc"
