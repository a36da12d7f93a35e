#pragma once

#include "webview/WVDownloadHistory.h"

#include <QList>
#include <QNetworkCookie>
#include <QObject>
#include <QPointer>

class QWebEngineProfile;
class QWebEnginePage;

// What the web view layer keeps per engine profile: a copy of its cookies (the engine lists them only
// as they change), its live pages and its download history. Made on first use as a
// child of the profile, so it lives exactly as long as the profile.
class TWVProfileData : public QObject
{
    Q_OBJECT

public:
    static TWVProfileData *For(QWebEngineProfile *profile);

    QWebEngineProfile *Profile() const { return FProfile; }
    TWVDownloadHistory &Downloads() { return FDownloads; }

    QList<QNetworkCookie> Cookies() const { return FCookies; }
    // The cookies a request to the origin would carry by domain: its host-only ones and the domain
    // cookies that cover it.
    QList<QNetworkCookie> CookiesFor(const QString &origin) const;

    void AddPage(QWebEnginePage *page);
    QList<QWebEnginePage *> Pages() const;

    static bool SameCookie(const QNetworkCookie &a, const QNetworkCookie &b);

    // The engine's favicon database keeps the address of every page it showed an icon for, and the
    // engine offers no way to clear it while it runs: clearing history marks it, and it is removed
    // before the profile's folder is next opened (FinishPendingClears, by the loader). False when
    // the mark could not be written.
    bool MarkFaviconsForRemoval();
    static void FinishPendingClears(const QString &storagePath);

Q_SIGNALS:
    void CookieRemoved(const QNetworkCookie &cookie);

private:
    explicit TWVProfileData(QWebEngineProfile *profile);

    QWebEngineProfile *FProfile;
    TWVDownloadHistory FDownloads;
    QList<QNetworkCookie> FCookies;
    QList<QPointer<QWebEnginePage>> FPages;
};
