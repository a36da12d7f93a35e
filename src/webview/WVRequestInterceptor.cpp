#include "webview/WVRequestInterceptor.h"

#include <QWebEngineUrlRequestInfo>

TWVRequestInterceptor::TWVRequestInterceptor(QObject *owner) : QWebEngineUrlRequestInterceptor(owner) {}

TWVWebResourceContext TWVRequestInterceptor::ContextOf(int resourceType)
{
    switch (resourceType) {
    case QWebEngineUrlRequestInfo::ResourceTypeMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadMainFrame:
    case QWebEngineUrlRequestInfo::ResourceTypeNavigationPreloadSubFrame:
        return wvrcDocument;
    case QWebEngineUrlRequestInfo::ResourceTypeStylesheet:
        return wvrcStylesheet;
    case QWebEngineUrlRequestInfo::ResourceTypeScript:
    case QWebEngineUrlRequestInfo::ResourceTypeWorker:
    case QWebEngineUrlRequestInfo::ResourceTypeSharedWorker:
    case QWebEngineUrlRequestInfo::ResourceTypeServiceWorker:
        return wvrcScript;
    case QWebEngineUrlRequestInfo::ResourceTypeImage:
    case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
        return wvrcImage;
    case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
        return wvrcFont;
    case QWebEngineUrlRequestInfo::ResourceTypeMedia:
        return wvrcMedia;
    case QWebEngineUrlRequestInfo::ResourceTypeXhr:
        // The engine reports fetch() as XMLHttpRequest; both are the same kind of request here.
        return wvrcXmlHttpRequest;
    case QWebEngineUrlRequestInfo::ResourceTypePing:
        return wvrcPing;
    case QWebEngineUrlRequestInfo::ResourceTypeCspReport:
        return wvrcCspViolationReport;
    case QWebEngineUrlRequestInfo::ResourceTypeWebSocket:
        return wvrcWebsocket;
    default:
        return wvrcOther;
    }
}

bool TWVRequestInterceptor::IsNetworkScheme(const QString &scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("ws")
           || scheme == QLatin1String("wss") || scheme == QLatin1String("ftp");
}

void TWVRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    TWVResourceRequest request;
    request.Url = info.requestUrl();
    request.FirstPartyUrl = info.firstPartyUrl();
    request.Initiator = info.initiator();
    request.Method = QString::fromLatin1(info.requestMethod());
    request.Context = ContextOf(info.resourceType());

    if (request.Context == wvrcDocument && OnDocument)
        OnDocument(request.Url);
    if (Offline && IsNetworkScheme(request.Url.scheme())) {
        info.block(true);
        return;
    }
    if (Callback && Filter.Matches(request) && Callback(request))
        info.block(true);
}
