#pragma once

#include "webview/WVOriginList.h"

#include <QList>
#include <QNetworkCookie>
#include <QObject>
#include <QPointer>

class QWebEngineProfile;
class QWebEnginePage;

// What the web view layer keeps per engine profile: the origins its pages have loaded, a copy of its
// cookies (the engine lists them only as they change), and its live pages. Made on first use as a
// child of the profile, so it lives exactly as long as the profile.
class TWVProfileData : public QObject
{
    Q_OBJECT

public:
    static TWVProfileData *For(QWebEngineProfile *profile);

    QWebEngineProfile *Profile() const { return FProfile; }
    TWVOriginList &Origins() { return FOrigins; }

    QList<QNetworkCookie> Cookies() const { return FCookies; }
    // The cookies a request to the origin would carry by domain: the host's own and its parents'.
    QList<QNetworkCookie> CookiesFor(const QString &origin) const;

    void AddPage(QWebEnginePage *page);
    QList<QWebEnginePage *> Pages() const;

    static bool SameCookie(const QNetworkCookie &a, const QNetworkCookie &b);

Q_SIGNALS:
    void CookieRemoved(const QNetworkCookie &cookie);

private:
    explicit TWVProfileData(QWebEngineProfile *profile);

    QWebEngineProfile *FProfile;
    TWVOriginList FOrigins;
    QList<QNetworkCookie> FCookies;
    QList<QPointer<QWebEnginePage>> FPages;
};
