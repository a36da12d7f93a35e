#pragma once

#include "webview/WVResourceFilter.h"

#include <QWebEngineUrlRequestInterceptor>
#include <functional>

// Sees every request of one page before it is sent: refuses network requests while the page is
// offline, hands requests that match the owner's patterns to the owner's filter, and reports the
// documents the page loads.
class TWVRequestInterceptor : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    explicit TWVRequestInterceptor(QObject *owner);

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

    TWVResourceFilter Filter;
    TWVRequestFilter Callback;
    // Called with the address of each document (page or frame) before it is requested.
    std::function<void(const QUrl &url)> OnDocument;
    bool Offline = false;

    static TWVWebResourceContext ContextOf(int resourceType);
    static bool IsNetworkScheme(const QString &scheme);
};
