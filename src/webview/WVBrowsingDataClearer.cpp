#include "webview/WVBrowsingDataClearer.h"

#include "webview/WVProfileData.h"
#include "webview/WVStorageClearer.h"
#include "webview/WVTypes.h"

#include <QWebEngineCookieStore>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>

TWVBrowsingDataClearer::TWVBrowsingDataClearer(QWebEngineProfile *profile, quint32 kinds, QObject *owner)
    : QObject(owner), FProfile(profile), FKinds(kinds)
{
    FCookieTimer.setSingleShot(true);
    FCookieTimer.setInterval(15000);
    connect(&FCookieTimer, &QTimer::timeout, this, [this] {
        qWarning("Clearing cookies: the engine did not confirm the deletion of %d cookies", int(FCookiesToGo.size()));
        FCookiesToGo.clear();
        FSuccess = false;
        NextOrigin();
    });
}

bool TWVBrowsingDataClearer::Start()
{
    if (!FProfile || FStarted)
        return false;
    FStarted = true;
    const TWVBrowsingDataPlan plan = WVTypes::PlanBrowsingData(FKinds);
    TWVProfileData *data = TWVProfileData::For(FProfile);

    if (plan.BrowsingHistory) {
        const QList<QWebEnginePage *> pages = data->Pages();
        for (QWebEnginePage *page : pages)
            page->history()->clear();
        FProfile->clearAllVisitedLinks();
    }
    if (plan.DiskCache) {
        // Qt 6.4 gives no notice when the cache is empty; the engine finishes this before it resets
        // the profile's network context, and it has taken the request here.
        FProfile->clearHttpCache();
    }
    FOriginStorage = plan.OriginStorage & wvosAllDom;
    if (FOriginStorage)
        FOrigins = data->Origins().Origins();

    // Every completion comes after the call that started it has returned.
    QMetaObject::invokeMethod(
        this,
        [this, cookies = bool(plan.OriginStorage & wvosCookies)] {
            if (cookies)
                ClearCookies();
            else
                NextOrigin();
        },
        Qt::QueuedConnection);
    return true;
}

void TWVBrowsingDataClearer::ClearCookies()
{
    TWVProfileData *data = TWVProfileData::For(FProfile);
    FCookiesToGo = data->Cookies();
    FProfile->cookieStore()->deleteAllCookies();
    if (FCookiesToGo.isEmpty()) {
        NextOrigin();
        return;
    }
    connect(data, &TWVProfileData::CookieRemoved, this, [this](const QNetworkCookie &cookie) {
        if (FCookiesToGo.isEmpty())
            return;
        FCookiesToGo.removeIf([&cookie](const QNetworkCookie &c) { return TWVProfileData::SameCookie(c, cookie); });
        if (FCookiesToGo.isEmpty()) {
            FCookieTimer.stop();
            NextOrigin();
        }
    });
    FCookieTimer.start();
}

void TWVBrowsingDataClearer::NextOrigin()
{
    if (!FProfile) {
        FSuccess = false;
        Finish();
        return;
    }
    if (FOrigins.isEmpty()) {
        Finish();
        return;
    }
    // One origin at a time: each one opens a hidden page.
    auto *clearer = new TWVStorageClearer(FProfile, FOrigins.takeFirst(), FOriginStorage, this);
    connect(clearer, &TWVStorageClearer::Finished, this, [this, clearer](bool success) {
        FSuccess = FSuccess && success;
        clearer->deleteLater();
        NextOrigin();
    });
    if (!clearer->Start()) {
        delete clearer;
        NextOrigin();
    }
}

void TWVBrowsingDataClearer::Finish()
{
    Q_EMIT Finished(FSuccess ? WV_S_OK : WV_E_FAIL);
}
