#include "webview/WVStorageClearer.h"

#include "webview/WVProfileData.h"
#include "webview/WVTypes.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>

namespace {
const QString DonePrefix = QStringLiteral("orbwell-clear:");

// Runs in a page of the origin; reports through the page title once every requested part is done.
// A deletion of a database that another page of the origin keeps open waits for that page; it is
// reported as failed when that takes longer than ten seconds.
const QString ClearScript = QStringLiteral(R"JS(
(async () => {
  const want = %1;
  const errors = [];
  const unknown = [];
  const step = async (bit, name, work) => {
    if (!(want & bit)) return;
    try { await work(); } catch (e) { errors.push(name + ': ' + e); }
  };
  await step(2, 'local storage', async () => { if (self.localStorage) localStorage.clear(); });
  await step(4, 'indexed databases', async () => {
    if (!self.indexedDB) return;
    const databases = await indexedDB.databases();
    await Promise.all(databases.map(db => new Promise((resolve, reject) => {
      const request = indexedDB.deleteDatabase(db.name);
      const timer = setTimeout(() => reject('held open by another page'), 10000);
      request.onsuccess = () => { clearTimeout(timer); resolve(); };
      request.onerror = () => { clearTimeout(timer); reject(request.error); };
    })));
  });
  await step(8, 'cache storage', async () => {
    if (!self.caches) return;
    for (const key of await caches.keys()) await caches.delete(key);
  });
  await step(16, 'service workers', async () => {
    if (!navigator.serviceWorker) return;
    let registrations;
    try {
      registrations = await navigator.serviceWorker.getRegistrations();
    } catch (e) {
      // A document placed at an origin without loading it cannot reach the origin's workers.
      if (e.name === 'InvalidStateError') { unknown.push('service-workers'); return; }
      throw e;
    }
    for (const registration of registrations) await registration.unregister();
  });
  const clearFileSystem = type => new Promise((resolve, reject) => {
    if (!self.webkitRequestFileSystem) { resolve(); return; }
    // An origin that cannot open a file system has none to clear.
    webkitRequestFileSystem(type, 0, fs => {
      const reader = fs.root.createReader();
      const entries = [];
      const next = () => reader.readEntries(batch => {
        if (batch.length) { entries.push(...batch); next(); return; }
        Promise.all(entries.map(entry => new Promise((done, fail) =>
          entry.isDirectory ? entry.removeRecursively(done, fail) : entry.remove(done, fail)))).then(resolve, reject);
      }, reject);
      next();
    }, () => resolve());
  });
  await step(32, 'file systems', async () => {
    await clearFileSystem(self.TEMPORARY);
    await clearFileSystem(self.PERSISTENT);
  });
  await step(64, 'web SQL', async () => {
    // Databases cannot be listed from a page; whether the origin has any is told from the profile.
    if (typeof openDatabase !== 'undefined') unknown.push('web-sql');
  });
  document.title = '%2' + JSON.stringify({errors, unknown});
})();
)JS");
} // namespace

TWVStorageClearer::TWVStorageClearer(QWebEngineProfile *profile, const QString &origin, quint32 storage,
                                     QObject *owner)
    : QObject(owner), FProfile(profile), FOrigin(WVTypes::OriginOf(origin)), FStorage(storage)
{
    FCookieTimer.setSingleShot(true);
    FCookieTimer.setInterval(15000);
    connect(&FCookieTimer, &QTimer::timeout, this,
            [this] { PartDone(false, QStringLiteral("cookies: the engine did not confirm the deletion")); });
}

bool TWVStorageClearer::Start()
{
    if (!FProfile || FOrigin.isEmpty() || FPending || FFinished)
        return false;
    const bool cookies = FStorage & wvosCookies;
    const bool storage = FStorage & wvosAllDom;
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
    FPage = new QWebEnginePage(FProfile, this);
    connect(FPage, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        if (!ok) {
            PartDone(false, QStringLiteral("storage: no page could be opened for the origin"));
            return;
        }
        FPage->runJavaScript(ClearScript.arg(FStorage & wvosAllDom).arg(DonePrefix), QWebEngineScript::MainWorld);
    });
    connect(FPage, &QWebEnginePage::titleChanged, this, [this](const QString &title) {
        if (!title.startsWith(DonePrefix))
            return;
        const QJsonObject outcome = QJsonDocument::fromJson(title.mid(DonePrefix.size()).toUtf8()).object();
        QStringList errors;
        const QJsonArray failed = outcome.value(QLatin1String("errors")).toArray();
        for (const QJsonValue &error : failed)
            errors << error.toString();
        const QJsonArray unknown = outcome.value(QLatin1String("unknown")).toArray();
        for (const QJsonValue &part : unknown) {
            const QString reason = Unclearable(part.toString());
            if (!reason.isEmpty())
                errors << reason;
        }
        PartDone(errors.isEmpty(), errors.join(QLatin1String("; ")));
    });
    // A document placed at the origin's address runs with that origin's storage, without loading
    // anything from the network.
    FPage->setHtml(QStringLiteral("<!DOCTYPE html><title>clearing</title>"), QUrl(FOrigin + QLatin1Char('/')));
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

QString TWVStorageClearer::Unclearable(const QString &part) const
{
    // Data of these kinds exists only for an origin a page of this profile has loaded.
    TWVProfileData *data = TWVProfileData::For(FProfile);
    if (!data->Origins().Origins().contains(FOrigin))
        return {};
    const QString storage = FProfile->isOffTheRecord() ? QString() : FProfile->persistentStoragePath();
    if (part == QLatin1String("service-workers")) {
        if (!storage.isEmpty() && !QFileInfo::exists(QDir(storage).filePath(QStringLiteral("Service Worker"))))
            return {}; // no page of this profile ever registered a worker
        return QStringLiteral("service workers: this engine cannot remove the workers of an origin");
    }
    if (part == QLatin1String("web-sql")) {
        const QUrl url(FOrigin);
        const int port = url.port() == -1 ? 0 : url.port();
        const QString folder = QStringLiteral("databases/%1_%2_%3").arg(url.scheme(), url.host()).arg(port);
        if (!storage.isEmpty() && !QFileInfo::exists(QDir(storage).filePath(folder)))
            return {}; // the origin has no web SQL database
        return QStringLiteral("web SQL: this engine cannot delete the databases of an origin");
    }
    return QStringLiteral("%1: unknown part").arg(part);
}
