// The About box's hover pictures are QR codes of the addresses in WebLinks:
// each compiled-in picture, at both sizes, decodes to its address.
#include "app/WebLinks.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestQrCodes : public QObject
{
    Q_OBJECT
private slots:
    void picturesDecodeToTheConfiguredAddresses_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("address");
        const struct {
            const char *name;
            QString address;
        } accounts[] = {
            {"公众号", WebLinks::weChatAccount()},
            {"客服", WebLinks::customerService()},
            {"小红书", WebLinks::xiaohongshu()},
        };
        for (const auto &account : accounts) {
            const QString name = QString::fromUtf8(account.name);
            for (const char *suffix : {".png", "@2x.png"}) {
                const QString resource = QStringLiteral(":/img/") + name + QLatin1String(suffix);
                QTest::newRow(qPrintable(resource)) << resource << account.address;
            }
        }
    }

    void picturesDecodeToTheConfiguredAddresses()
    {
        QFETCH(QString, resource);
        QFETCH(QString, address);
        const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        QVERIFY2(!zbarimg.isEmpty(), "zbarimg (Debian package zbar-tools) is needed to read the QR codes");

        QImage picture(resource);
        QVERIFY2(!picture.isNull(), qPrintable(resource));
        QCOMPARE(picture.width(), picture.height());
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("code.png"));
        QVERIFY(picture.save(file));

        const auto result = testsupport::run(zbarimg, {QStringLiteral("--quiet"), QStringLiteral("--raw"), file});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(QString::fromUtf8(result.out).trimmed(), address);
    }

    void pictureSizes()
    {
        // Shown at their natural size below the link while hovered: big
        // enough for a phone to read, small enough to stay near the box.
        const QImage small(QStringLiteral(":/img/公众号.png"));
        const QImage large(QStringLiteral(":/img/公众号@2x.png"));
        QVERIFY(small.width() >= 80 && small.width() <= 160);
        QCOMPARE(large.width(), 2 * small.width());
    }

    void addressesArePlainHttps()
    {
        for (const QString &url : {WebLinks::weChatAccount(), WebLinks::customerService(), WebLinks::xiaohongshu()}) {
            const QUrl parsed(url, QUrl::StrictMode);
            QVERIFY2(parsed.isValid() && parsed.scheme() == QLatin1String("https"), qPrintable(url));
        }
    }
};

QTEST_GUILESS_MAIN(TestQrCodes)
#include "tst_qrcodes.moc"
