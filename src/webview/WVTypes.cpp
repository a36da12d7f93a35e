#include "webview/WVTypes.h"

#include <QList>
#include <QPair>
#include <QStringList>
#include <QUrl>
#include <QtCore/qnamespace.h>

namespace WVTypes {

QString StorageTypeName(int storageType)
{
    switch (storageType) {
    case cdstAppCache:
        return QStringLiteral("appcache");
    case cdstCookies:
        return QStringLiteral("cookies");
    case cdstFileSystems:
        return QStringLiteral("file_systems");
    case cdstIndexeddb:
        return QStringLiteral("indexeddb");
    case cdstLocalStorage:
        return QStringLiteral("local_storage");
    case cdstShaderCache:
        return QStringLiteral("shader_cache");
    case cdstWebsql:
        return QStringLiteral("websql");
    case cdstServiceWorkers:
        return QStringLiteral("service_workers");
    case cdstCacheStorage:
        return QStringLiteral("cache_storage");
    default:
        return QStringLiteral("all");
    }
}

quint32 OriginStorageOf(int storageType)
{
    switch (storageType) {
    case cdstAppCache:
    case cdstShaderCache:
        return 0;
    case cdstCookies:
        return wvosCookies;
    case cdstFileSystems:
        return wvosFileSystems;
    case cdstIndexeddb:
        return wvosIndexedDB;
    case cdstLocalStorage:
        return wvosLocalStorage;
    case cdstWebsql:
        return wvosWebSql;
    case cdstServiceWorkers:
        return wvosServiceWorkers;
    case cdstCacheStorage:
        return wvosCacheStorage;
    default:
        return wvosAll;
    }
}

QString ProtocolStorageTypes(quint32 originStorage)
{
    static const QList<QPair<quint32, QLatin1String>> names = {
        {wvosCookies, QLatin1String("cookies")},
        {wvosLocalStorage, QLatin1String("local_storage")},   {wvosIndexedDB, QLatin1String("indexeddb")},
        {wvosCacheStorage, QLatin1String("cache_storage")},   {wvosServiceWorkers, QLatin1String("service_workers")},
        {wvosFileSystems, QLatin1String("file_systems")},     {wvosWebSql, QLatin1String("websql")},
    };
    QStringList types;
    for (const auto &name : names)
        if (originStorage & name.first)
            types << name.second;
    return types.join(QLatin1Char(','));
}

bool CookieReachesOrigin(const QString &cookieDomain, const QString &origin)
{
    // Cookie domains are in their ASCII form, so the host is too.
    const QString host = QUrl(origin).host(QUrl::FullyEncoded).toLower();
    QString domain = cookieDomain.toLower();
    const bool domainCookie = domain.startsWith(QLatin1Char('.'));
    if (domainCookie)
        domain.remove(0, 1);
    if (host.isEmpty() || domain.isEmpty())
        return false;
    return host == domain || (domainCookie && host.endsWith(QLatin1Char('.') + domain));
}

TWVBrowsingDataPlan PlanBrowsingData(quint32 kinds)
{
    TWVBrowsingDataPlan plan;
    const bool profile = kinds & WV_BROWSING_DATA_KINDS_ALL_PROFILE;
    const bool site = profile || (kinds & WV_BROWSING_DATA_KINDS_ALL_SITE);
    const bool dom = site || (kinds & WV_BROWSING_DATA_KINDS_ALL_DOM_STORAGE);
    if (dom)
        plan.OriginStorage |= wvosAllDom;
    if (site || (kinds & WV_BROWSING_DATA_KINDS_COOKIES))
        plan.OriginStorage |= wvosCookies;
    if (kinds & WV_BROWSING_DATA_KINDS_FILE_SYSTEMS)
        plan.OriginStorage |= wvosFileSystems;
    if (kinds & WV_BROWSING_DATA_KINDS_INDEXED_DB)
        plan.OriginStorage |= wvosIndexedDB;
    if (kinds & WV_BROWSING_DATA_KINDS_LOCAL_STORAGE)
        plan.OriginStorage |= wvosLocalStorage;
    if (kinds & WV_BROWSING_DATA_KINDS_WEB_SQL)
        plan.OriginStorage |= wvosWebSql;
    if (kinds & WV_BROWSING_DATA_KINDS_CACHE_STORAGE)
        plan.OriginStorage |= wvosCacheStorage;
    if (kinds & WV_BROWSING_DATA_KINDS_SERVICE_WORKERS)
        plan.OriginStorage |= wvosServiceWorkers;
    plan.DiskCache = profile || (kinds & WV_BROWSING_DATA_KINDS_DISK_CACHE);
    plan.BrowsingHistory = profile || (kinds & WV_BROWSING_DATA_KINDS_BROWSING_HISTORY);
    plan.DownloadHistory = profile || (kinds & WV_BROWSING_DATA_KINDS_DOWNLOAD_HISTORY);
    // Autofill, saved passwords and site settings are not kept by this engine, so those kinds have
    // nothing to clear here.
    return plan;
}

QString DecodeRetrievedText(const QString &encoded)
{
    return QUrl::fromPercentEncoding(encoded.toUtf8());
}

int VirtualKeyOf(int qtKey)
{
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 0x41 + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return 0x30 + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 0x0D;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    case Qt::Key_Pause:
        return 0x13;
    case Qt::Key_Escape:
        return 0x1B;
    case Qt::Key_Space:
        return 0x20;
    case Qt::Key_PageUp:
        return 0x21;
    case Qt::Key_PageDown:
        return 0x22;
    case Qt::Key_End:
        return 0x23;
    case Qt::Key_Home:
        return 0x24;
    case Qt::Key_Left:
        return 0x25;
    case Qt::Key_Up:
        return 0x26;
    case Qt::Key_Right:
        return 0x27;
    case Qt::Key_Down:
        return 0x28;
    case Qt::Key_Insert:
        return 0x2D;
    case Qt::Key_Delete:
        return 0x2E;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        return 0xBB;
    case Qt::Key_Comma:
        return 0xBC;
    case Qt::Key_Minus:
        return 0xBD;
    case Qt::Key_Period:
        return 0xBE;
    default:
        return 0;
    }
}

QString OriginOf(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty())
        return {};
    QUrl origin;
    origin.setScheme(url.scheme().toLower());
    origin.setHost(url.host().toLower());
    const int port = url.port();
    const bool defaultPort = (port == 80 && origin.scheme() == QLatin1String("http"))
                             || (port == 443 && origin.scheme() == QLatin1String("https"));
    if (port != -1 && !defaultPort)
        origin.setPort(port);
    return origin.toString(QUrl::FullyEncoded);
}

} // namespace WVTypes
