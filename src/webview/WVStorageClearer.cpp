#include "webview/WVStorageClearer.h"

#include "webview/WVDevToolsSession.h"
#include "webview/WVProfileData.h"
#include "webview/WVTypes.h"

#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

TWVStorageClearer::TWVStorageClearer(QWebEngineProfile *profile, TWVDevToolsSession *session, const QString &origin,
                                     quint32 storage, QObject *owner)
    : QObject(owner), FProfile(profile), FSession(session), FOrigin(WVTypes::OriginOf(origin)), FStorage(storage)
{
    FCookieTimer.setSingleShot(true);
    FCookieTimer.setInterval(15000);
    connect(&FCookieTimer, &QTimer::timeout, this,
            [this] { PartDone(false, QStringLiteral("cookies: the engine did not confirm the deletion")); });
}

bool TWVStorageClearer::Start()
{
    // An empty origin would make the engine's command clear every origin: never sent.
    if (!FProfile || !FSession || FOrigin.isEmpty() || FPending || FFinished)
        return false;
    const bool cookies = FStorage & wvosCookies;
    const bool storage = FStorage & wvosAll;
    FPending = int(cookies) + int(storage);
    if (cookies)
        StartCookies();
    if (storage)
        StartStorage();
    if (!cookies && !storage) {
        // Nothing this engine keeps for the origin was asked for: done, with nothing to clear.
        FPending = 1;
        QMetaObject::invokeMethod(this, [this] { PartDone(true); }, Qt::QueuedConnection);
    }
    return true;
}

void TWVStorageClearer::StartCookies()
{
    TWVProfileData *data = TWVProfileData::For(FProfile);
    FCookiesToGo = data->CookiesFor(FOrigin);
    if (FCookiesToGo.isEmpty()) {
        QMetaObject::invokeMethod(this, [this] { PartDone(true); }, Qt::QueuedConnection);
        return;
    }
    // The store deletes asynchronously; the part is done when each deletion has been reported.
    connect(data, &TWVProfileData::CookieRemoved, this, &TWVStorageClearer::CookieRemoved);
    FCookieTimer.start();
    const QList<QNetworkCookie> cookies = FCookiesToGo;
    for (const QNetworkCookie &cookie : cookies)
        FProfile->cookieStore()->deleteCookie(cookie);
}

void TWVStorageClearer::CookieRemoved(const QNetworkCookie &cookie)
{
    if (FCookiesToGo.isEmpty())
        return;
    FCookiesToGo.removeIf([&cookie](const QNetworkCookie &c) { return TWVProfileData::SameCookie(c, cookie); });
    if (FCookiesToGo.isEmpty()) {
        FCookieTimer.stop();
        PartDone(true);
    }
}

void TWVStorageClearer::StartStorage()
{
    // The engine answers once the data is gone, also from pages that have the origin open (their
    // database connections are closed for it) and including the origin's service workers. Its cookie
    // part takes only the host's own cookies; those of parent domains go through the store.
    const QJsonObject params{{QStringLiteral("origin"), FOrigin},
                             {QStringLiteral("storageTypes"), WVTypes::ProtocolStorageTypes(FStorage)}};
    FSession->Send(QStringLiteral("Storage.clearDataForOrigin"), params, this,
                   [this](bool ok, const QString &error) { PartDone(ok, QStringLiteral("storage: ") + error); });
}

void TWVStorageClearer::PartDone(bool success, const QString &error)
{
    if (FFinished || FPending <= 0)
        return;
    if (!success) {
        FSuccess = false;
        if (!error.isEmpty())
            FErrorText += (FErrorText.isEmpty() ? QString() : QStringLiteral("; ")) + error;
    }
    if (--FPending > 0)
        return;
    FFinished = true;
    if (!FSuccess)
        qWarning("Clearing data of %s: %s", qPrintable(FOrigin), qPrintable(FErrorText));
    Q_EMIT Finished(FSuccess);
}
