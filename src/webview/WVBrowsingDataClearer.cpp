#include "webview/WVBrowsingDataClearer.h"

#include "webview/WVDevToolsSession.h"
#include "webview/WVProfileData.h"
#include "webview/WVTypes.h"

#include <QWebEngineCookieStore>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>

TWVBrowsingDataClearer::TWVBrowsingDataClearer(QWebEngineProfile *profile, TWVDevToolsSession *session, quint32 kinds,
                                               QObject *owner)
    : QObject(owner), FProfile(profile), FSession(session), FKinds(kinds)
{
    FCookieTimer.setSingleShot(true);
    FCookieTimer.setInterval(15000);
    connect(&FCookieTimer, &QTimer::timeout, this, [this] {
        qWarning("Clearing cookies: the engine did not confirm the deletion of %d cookies", int(FCookiesToGo.size()));
        FCookiesToGo.clear();
        CookiesDone(false);
    });
}

bool TWVBrowsingDataClearer::Start()
{
    if (!FProfile || !FSession || FStarted)
        return false;
    FStarted = true;
    const TWVBrowsingDataPlan plan = WVTypes::PlanBrowsingData(FKinds);
    TWVProfileData *data = TWVProfileData::For(FProfile);

    if (plan.BrowsingHistory) {
        const QList<QWebEnginePage *> pages = data->Pages();
        for (QWebEnginePage *page : pages)
            page->history()->clear();
        FProfile->clearAllVisitedLinks();
        if (!data->MarkFaviconsForRemoval())
            FSuccess = false;
    }
    if (plan.DownloadHistory && !data->Downloads().Clear())
        FSuccess = false;
    FDiskCache = plan.DiskCache;
    FOriginStorage = plan.OriginStorage;

    // One part for the cookie store, one for the engine's commands; both end after Start returns.
    FPending = 2;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (FOriginStorage & wvosCookies)
                ClearCookies();
            else
                PartDone(true);
            SendCommands();
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
        CookiesDone(true);
        return;
    }
    connect(data, &TWVProfileData::CookieRemoved, this, [this](const QNetworkCookie &cookie) {
        if (FCookiesToGo.isEmpty())
            return;
        FCookiesToGo.removeIf([&cookie](const QNetworkCookie &c) { return TWVProfileData::SameCookie(c, cookie); });
        if (FCookiesToGo.isEmpty()) {
            FCookieTimer.stop();
            CookiesDone(true);
        }
    });
    FCookieTimer.start();
}

void TWVBrowsingDataClearer::CookiesDone(bool success)
{
    PartDone(success, success ? QString() : QStringLiteral("cookies: the engine did not confirm the deletion"));
}

void TWVBrowsingDataClearer::SendCommands()
{
    QList<QPair<QString, QJsonObject>> commands;
    // Both commands answer only once the engine has finished, so nothing is reported done too early.
    if (FDiskCache)
        commands.append({QStringLiteral("Network.clearBrowserCache"), QJsonObject()});
    const QString types = WVTypes::ProtocolStorageTypes(FOriginStorage);
    if (!types.isEmpty()) {
        // An empty origin is the engine's way of saying every origin, also those only seen in frames.
        commands.append({QStringLiteral("Storage.clearDataForOrigin"),
                         QJsonObject{{QStringLiteral("origin"), QString()}, {QStringLiteral("storageTypes"), types}}});
    }
    if (commands.isEmpty()) {
        PartDone(true);
        return;
    }
    if (!FSession) {
        PartDone(false, QStringLiteral("the engine's commands are not available"));
        return;
    }
    FPending += int(commands.size()) - 1;
    for (const auto &command : std::as_const(commands))
        FSession->Send(command.first, command.second, this,
                       [this](bool ok, const QString &error) { PartDone(ok, error); });
}

void TWVBrowsingDataClearer::PartDone(bool success, const QString &error)
{
    if (FFinished || FPending <= 0)
        return;
    if (!success) {
        FSuccess = false;
        if (!error.isEmpty())
            qWarning("Clearing browsing data: %s", qPrintable(error));
    }
    if (--FPending > 0)
        return;
    FFinished = true;
    Q_EMIT Finished(FSuccess ? WV_S_OK : WV_E_FAIL);
}
