#pragma once

#include <QObject>
#include <QString>

// The maker's web addresses, kept in one place. QML reaches them as the
// singleton WebLinks of module "Mavu" 1.0.
class WebLinks : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString englishSite READ englishSite CONSTANT)
    Q_PROPERTY(QString chineseSite READ chineseSite CONSTANT)
    Q_PROPERTY(QString videoChannel READ videoChannel CONSTANT)
public:
    explicit WebLinks(QObject *parent = nullptr);

    static QString englishSite();
    static QString chineseSite();
    static QString videoChannel();
    // Shown as QR pictures in the About box, not opened.
    static QString weChatAccount();
    static QString customerService();
    static QString xiaohongshu();

    // The English pages serve the language named exactly "English";
    // every other language gets the Chinese site.
    Q_INVOKABLE static QString faqUrl(const QString &language);
    Q_INVOKABLE static QString contactUrl(const QString &language);

    static void registerQmlType();
};
