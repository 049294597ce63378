#include "app/WebLinks.h"

#include <QQmlEngine>

namespace {

constexpr char kEnglishSite[] = "https://www.korvel-audio.com/en/";
constexpr char kChineseSite[] = "https://www.korvel-audio.cn/";
constexpr char kEnglishFaq[] = "https://www.korvel-audio.com/en/support/faq/";
constexpr char kChineseFaq[] = "https://www.korvel-audio.cn/support/faq/";
constexpr char kEnglishContact[] = "https://www.korvel-audio.com/en/support/contact/";
constexpr char kChineseContact[] = "https://www.korvel-audio.cn/support/contact/";
constexpr char kVideoChannel[] = "https://space.bilibili.com/korvel-audio";
// The accounts behind the About box's QR pictures; the build encodes these
// three lines (img/QrCodes.cmake), so keep each on one line in this form.
constexpr char kWeChatAccount[] = "https://weixin.qq.com/r/korvel-audio";
constexpr char kCustomerService[] = "https://work.weixin.qq.com/kfid/korvel-audio";
constexpr char kXiaohongshu[] = "https://www.xiaohongshu.com/user/profile/korvel-audio";

bool isEnglish(const QString &language)
{
    return language == QLatin1String("English");
}

} // namespace

WebLinks::WebLinks(QObject *parent)
    : QObject(parent)
{ }

QString WebLinks::englishSite()
{
    return QString::fromLatin1(kEnglishSite);
}

QString WebLinks::chineseSite()
{
    return QString::fromLatin1(kChineseSite);
}

QString WebLinks::videoChannel()
{
    return QString::fromLatin1(kVideoChannel);
}

QString WebLinks::weChatAccount()
{
    return QString::fromLatin1(kWeChatAccount);
}

QString WebLinks::customerService()
{
    return QString::fromLatin1(kCustomerService);
}

QString WebLinks::xiaohongshu()
{
    return QString::fromLatin1(kXiaohongshu);
}

QString WebLinks::faqUrl(const QString &language)
{
    return QString::fromLatin1(isEnglish(language) ? kEnglishFaq : kChineseFaq);
}

QString WebLinks::contactUrl(const QString &language)
{
    return QString::fromLatin1(isEnglish(language) ? kEnglishContact : kChineseContact);
}

void WebLinks::registerQmlType()
{
    qmlRegisterSingletonType<WebLinks>(
        "Mavu", 1, 0, "WebLinks", [](QQmlEngine *, QJSEngine *) -> QObject * { return new WebLinks; });
}
