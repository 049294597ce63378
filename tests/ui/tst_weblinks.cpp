// The maker's pages: English only for the language named exactly "English".
#include "app/WebLinks.h"

#include <QUrl>
#include <QtTest>

class TestWebLinks : public QObject
{
    Q_OBJECT
private slots:
    void pagesByLanguage()
    {
        const QString en = WebLinks::faqUrl(QStringLiteral("English"));
        const QString zh = WebLinks::faqUrl(QStringLiteral("简体中文"));
        QVERIFY(en != zh);
        QCOMPARE(WebLinks::faqUrl(QStringLiteral("english")), zh);
        QCOMPARE(WebLinks::faqUrl(QString()), zh);
        QVERIFY(WebLinks::contactUrl(QStringLiteral("English")) != WebLinks::contactUrl(QStringLiteral("简体中文")));
        QVERIFY(WebLinks::contactUrl(QStringLiteral("English")) != en);
        for (const QString &url : {en, zh, WebLinks::englishSite(), WebLinks::chineseSite(), WebLinks::videoChannel(),
                                   WebLinks::contactUrl(QStringLiteral("English"))}) {
            const QUrl parsed(url, QUrl::StrictMode);
            QVERIFY2(parsed.isValid() && parsed.scheme() == QLatin1String("https"), qPrintable(url));
        }
    }
};

QTEST_MAIN(TestWebLinks)
#include "tst_weblinks.moc"
