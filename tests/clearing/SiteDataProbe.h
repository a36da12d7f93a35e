#pragma once

#include <QVariant>
#include <QWebEnginePage>
#include <QtTest>

// What a page of one origin keeps, set and read by script: a cookie, local storage, an indexed
// database (left open by the page), cache storage, a service worker and a file system entry.
namespace SiteDataProbe {

constexpr int Timeout = 30000;

// Routes a test server needs: the worker script.
inline QByteArray WorkerScript()
{
    return QByteArrayLiteral("self.addEventListener('fetch', () => {});");
}

// Runs an async function body in the page; its JSON result, or "<no result>".
inline QString Run(QWebEnginePage *page, const QString &body)
{
    page->runJavaScript(QStringLiteral("window.probeResult = undefined; (async () => { %1 })().then("
                                       "v => window.probeResult = JSON.stringify(v), "
                                       "e => window.probeResult = JSON.stringify('error: ' + e));")
                            .arg(body));
    QString result;
    const bool done = QTest::qWaitFor(
        [&] {
            bool answered = false;
            page->runJavaScript(QStringLiteral("window.probeResult"), [&](const QVariant &value) {
                answered = true;
                if (value.isValid() && !value.isNull())
                    result = value.toString();
            });
            return QTest::qWaitFor([&] { return answered; }, 5000) && !result.isEmpty();
        },
        Timeout);
    return done ? result : QStringLiteral("<no result>");
}

// Sets every kind, with values naming the tag.
inline QString Fill(QWebEnginePage *page, const QString &tag)
{
    return Run(page, QStringLiteral(R"JS(
      document.cookie = 'c=%1; max-age=3600';
      localStorage.setItem('k', '%1');
      const cache = await caches.open('cache-%1');
      await cache.put('/cached-entry', new Response('%1'));
      window.heldDatabase = await new Promise((resolve, reject) => {
        const request = indexedDB.open('db-%1');
        request.onupgradeneeded = () => request.result.createObjectStore('s');
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => reject(request.error);
      });
      // Registering again costs the engine a second; a worker kept from before is reused.
      if (!(await navigator.serviceWorker.getRegistration()))
        await navigator.serviceWorker.register('/sw.js');
      await navigator.serviceWorker.ready;
      await new Promise((resolve, reject) => webkitRequestFileSystem(TEMPORARY, 1024,
        fs => fs.root.getFile('%1.txt', {create: true}, () => resolve(), reject), reject));
      return 'filled';
    )JS").arg(tag));
}

// Only a cookie and local storage: enough where a test looks at what was kept.
inline QString FillLight(QWebEnginePage *page, const QString &tag)
{
    return Run(page, QStringLiteral("document.cookie = 'c=%1; max-age=3600'; localStorage.setItem('k', '%1');"
                                    " return 'filled';")
                         .arg(tag));
}

inline QString ProbeLight(QWebEnginePage *page)
{
    const QString json = Run(page, QStringLiteral("return 'cookie=' + document.cookie + ' local=' +"
                                                  " (localStorage.getItem('k') || '');"));
    return json.startsWith(QLatin1Char('"')) ? json.mid(1, json.size() - 2) : json;
}

inline QString ExpectedLight(const QString &tag, bool cleared = false)
{
    return cleared ? QStringLiteral("cookie= local=") : QStringLiteral("cookie=c=%1 local=%1").arg(tag);
}

// "cookie=… local=… idb=… cache=… sw=… fs=…"; an empty kind shows nothing after its "=".
inline QString Probe(QWebEnginePage *page)
{
    const QString json = Run(page, QStringLiteral(R"JS(
      const idb = (await indexedDB.databases()).map(d => d.name).join('|');
      const cache = (await caches.keys()).join('|');
      const workers = (await navigator.serviceWorker.getRegistrations()).length;
      const files = await new Promise((resolve, reject) => webkitRequestFileSystem(TEMPORARY, 1024,
        fs => fs.root.createReader().readEntries(entries => resolve(entries.map(e => e.name).join('|')), reject),
        reject));
      return 'cookie=' + document.cookie + ' local=' + (localStorage.getItem('k') || '') + ' idb=' + idb +
             ' cache=' + cache + ' sw=' + (workers || '') + ' fs=' + files;
    )JS"));
    return json.startsWith(QLatin1Char('"')) ? json.mid(1, json.size() - 2) : json;
}

// The probe of a page whose origin keeps everything Fill set, minus the kinds named in cleared.
inline QString Expected(const QString &tag, const QStringList &cleared = {})
{
    const auto part = [&](const char *name, const QString &value) {
        const QString key = QLatin1String(name);
        return key + QLatin1Char('=') + (cleared.contains(key) ? QString() : value);
    };
    return QStringList{part("cookie", QStringLiteral("c=") + tag), part("local", tag),
                       part("idb", QStringLiteral("db-") + tag),   part("cache", QStringLiteral("cache-") + tag),
                       part("sw", QStringLiteral("1")),           part("fs", tag + QStringLiteral(".txt"))}
        .join(QLatin1Char(' '));
}

inline bool Load(QWebEnginePage *page, const QUrl &url)
{
    QSignalSpy loaded(page, &QWebEnginePage::loadFinished);
    page->load(url);
    return loaded.wait(Timeout) && loaded.constFirst().constFirst().toBool();
}

} // namespace SiteDataProbe
