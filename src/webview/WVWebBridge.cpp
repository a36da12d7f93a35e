#include "webview/WVWebBridge.h"

#include <QFile>
#include <QJsonDocument>
#include <QWebEngineScript>

namespace {
const QString BridgeScript = QStringLiteral(R"JS(
(() => {
  if (typeof qt === 'undefined' || !qt.webChannelTransport || (window.chrome && window.chrome.webview)) return;
  let bridge = null;
  const outbox = [];
  let domLoaded = false;
  const listeners = [];
  new QWebChannel(qt.webChannelTransport, channel => {
    bridge = channel.objects.%1;
    bridge.webMessage.connect(json => {
      const event = { data: JSON.parse(json) };
      for (const listener of listeners.slice()) listener(event);
    });
    for (const json of outbox.splice(0)) bridge.postMessage(json);
    if (domLoaded) bridge.domContentLoaded(location.href);
  });
  document.addEventListener('DOMContentLoaded', () => {
    if (bridge) bridge.domContentLoaded(location.href); else domLoaded = true;
  });
  window.chrome = window.chrome || {};
  window.chrome.webview = {
    postMessage(message) {
      const json = JSON.stringify(message);
      if (bridge) bridge.postMessage(json); else outbox.push(json);
    },
    addEventListener(type, listener) { if (type === 'message') listeners.push(listener); },
    removeEventListener(type, listener) {
      const i = listeners.indexOf(listener);
      if (type === 'message' && i >= 0) listeners.splice(i, 1);
    },
  };
})();
)JS");
} // namespace

TWVWebBridge::TWVWebBridge(QObject *owner) : QObject(owner) {}

QWebEngineScript TWVWebBridge::PageScript()
{
    QWebEngineScript script;
    QFile channel(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
    if (!channel.open(QIODevice::ReadOnly)) {
        qWarning("TWVWebBridge: the engine's channel script is missing; pages get no window.chrome.webview");
        return script;
    }
    script.setName(QStringLiteral("orbwell-bridge"));
    script.setSourceCode(QString::fromUtf8(channel.readAll()) + BridgeScript.arg(ObjectName()));
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(QWebEngineScript::MainWorld);
    script.setRunsOnSubFrames(false);
    return script;
}

void TWVWebBridge::postMessage(const QString &json)
{
    // Only well-formed JSON reaches the host, as the page's own JSON.stringify produced it.
    QJsonParseError error;
    QJsonDocument::fromJson(QByteArray("[") + json.toUtf8() + QByteArray("]"), &error);
    if (error.error == QJsonParseError::NoError)
        Q_EMIT MessageReceived(json);
}

void TWVWebBridge::domContentLoaded(const QString &address)
{
    Q_EMIT DOMContentLoaded(address);
}
