// The maker's pages and the About box's QR codes: English pages only for the
// language named exactly "English", and each compiled-in QR picture, at both
// sizes, decodes to its address.
#include "app/WebLinks.h"
#include "support/TestSupport.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

class TestWebLinks : public QObject
{
    Q_OBJECT
private slots:
    void pagesByLanguage()
    {
        const QString en = WebLinks::faqUrl(QStringLiteral("English"));
        const QString zh = WebLinks::faqUrl(QStringLiteral("简体中文"));
        QVERIFY(en != zh && en.startsWith("https://") && zh.startsWith("https://"));
        QCOMPARE(WebLinks::faqUrl(QStringLiteral("english")), zh);
        QCOMPARE(WebLinks::faqUrl(QString()), zh);
        QVERIFY(WebLinks::contactUrl(QStringLiteral("English")) != WebLinks::contactUrl(QStringLiteral("简体中文")));
        QVERIFY(WebLinks::contactUrl(QStringLiteral("English")) != en);
    }

    void qrCodesDecodeToTheirAddresses_data()
    {
        QTest::addColumn<QString>("resource");
        QTest::addColumn<QString>("address");
        const QList<QPair<QString, QString>> accounts = {{"公众号", WebLinks::weChatAccount()},
            {"客服", WebLinks::customerService()}, {"小红书", WebLinks::xiaohongshu()}};
        for (const auto &account : accounts) {
            for (const char *suffix : {".png", "@2x.png"}) {
                const QString resource = ":/img/" + account.first + suffix;
                QTest::newRow(qPrintable(resource)) << resource << account.second;
            }
        }
    }
    void qrCodesDecodeToTheirAddresses()
    {
        QFETCH(QString, resource);
        QFETCH(QString, address);
        const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        QVERIFY2(!zbarimg.isEmpty(), "zbarimg (Debian package zbar-tools) is needed to read the QR codes");
        QTemporaryDir dir;
        QVERIFY(QImage(resource).save(dir.filePath("code.png")));
        const auto result = testsupport::run(zbarimg, {"--quiet", "--raw", dir.filePath("code.png")});
        QCOMPARE(QString::fromUtf8(result.out).trimmed(), address);
    }
};

QTEST_GUILESS_MAIN(TestWebLinks)
#include "tst_weblinks.moc"
