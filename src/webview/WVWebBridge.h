#pragma once

#include <QObject>
#include <QString>

class QWebEngineScript;

// The object a page reaches as window.chrome.webview: messages from the page to its host and back,
// and the notice that the page's DOM content has loaded. Published to the page's main world.
class TWVWebBridge : public QObject
{
    Q_OBJECT

public:
    explicit TWVWebBridge(QObject *owner);

    // The script that gives every page window.chrome.webview over this bridge; empty when the
    // engine's channel script cannot be read.
    static QWebEngineScript PageScript();
    static QString ObjectName() { return QStringLiteral("orbwellBridge"); }

    // Called by the page.
    Q_INVOKABLE void postMessage(const QString &json);
    Q_INVOKABLE void domContentLoaded(const QString &address);

Q_SIGNALS:
    // To the page: a message for its "message" listeners.
    void webMessage(const QString &json);
    // To the host.
    void MessageReceived(const QString &json);
    // The address of the document whose DOM has loaded.
    void DOMContentLoaded(const QString &address);
};
