#include "SiteDataProbe.h"
#include "clearing/ClearingRun.h"
#include "common/EngineTestMain.h"
#include "common/TestHttpServer.h"
#include "webview/WVBrowser.h"
#include "webview/WVProfileData.h"
#include "webview/WVWindowParent.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineProfile>

using namespace SiteDataProbe;

// Clearing through the browser component over the real engine, with two origins of one loopback
// server: http://127.0.0.1:<port> and http://localhost:<port>.
class TestClearingEngine : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    TTestHttpServer FServer;
    QWebEngineProfile *FProfile = nullptr;
    TWVWindowParent *FHost = nullptr;
    TWVBrowser *FBrowser = nullptr;
    QWebEnginePage *FPageA = nullptr;
    QWebEnginePage *FPageB = nullptr;

    QUrl UrlA(const QString &path = QStringLiteral("/")) const { return FServer.Url(path); }
    QUrl UrlB(const QString &path = QStringLiteral("/")) const
    {
        QUrl url = FServer.Url(path);
        url.setHost(QStringLiteral("localhost"));
        return url;
    }

    void OpenProfile()
    {
        FProfile = new QWebEngineProfile(QStringLiteral("clearing"), this);
        FProfile->setPersistentStoragePath(FDir.filePath(QStringLiteral("profile")));
        FProfile->setCachePath(FDir.filePath(QStringLiteral("cache")));
        FProfile->setDownloadPath(FDir.filePath(QStringLiteral("downloads")));
        FProfile->setPersistentCookiesPolicy(QWebEngineProfile::ForcePersistentCookies);
        FHost = new TWVWindowParent();
        FHost->resize(800, 600);
        FHost->show();
        FBrowser = new TWVBrowser(this);
        FHost->SetBrowser(FBrowser);
        QSignalSpy created(FBrowser, &TWVBrowserBase::OnAfterCreated);
        QVERIFY(FBrowser->CreateBrowser(FHost, FProfile));
        QVERIFY(created.wait(Timeout));
        FPageA = new QWebEnginePage(FProfile, this);
        FPageB = new QWebEnginePage(FProfile, this);
        QVERIFY(Load(FPageA, UrlA()));
        QVERIFY(Load(FPageB, UrlB()));
    }

    // As the program ends: pages first, then the profile, which writes out what it keeps.
    void CloseProfile()
    {
        delete FPageA;
        delete FPageB;
        delete FBrowser;
        delete FHost;
        delete FProfile;
        FPageA = FPageB = nullptr;
        FBrowser = nullptr;
        FHost = nullptr;
        FProfile = nullptr;
    }

    void FillBoth()
    {
        QCOMPARE(Fill(FPageA, QStringLiteral("a")), QStringLiteral("\"filled\""));
        QCOMPARE(Fill(FPageB, QStringLiteral("b")), QStringLiteral("\"filled\""));
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a")));
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b")));
    }

    // Navigates the component and waits until the page and its resources have loaded.
    bool Navigate(const QUrl &url)
    {
        QSignalSpy completed(FBrowser, &TWVBrowserBase::OnNavigationCompleted);
        return FBrowser->Navigate(url.toString()) && completed.wait(Timeout);
    }

    qint32 ClearKinds(quint32 kinds)
    {
        QSignalSpy cleared(FBrowser, &TWVBrowserBase::OnClearBrowsingDataCompleted);
        if (!FBrowser->ClearBrowsingData(kinds) || !cleared.wait(Timeout) || cleared.count() != 1)
            return 1;
        return cleared.constFirst().constFirst().toInt();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FDir.isValid());
        QVERIFY(FServer.Listen());
        FServer.SetRoute(QStringLiteral("/"), QByteArrayLiteral("<!DOCTYPE html><title>site</title><p>site</p>"));
        FServer.SetRoute(QStringLiteral("/other"), QByteArrayLiteral("<!DOCTYPE html><title>other</title>"));
        FServer.SetRoute(QStringLiteral("/sw.js"), WorkerScript(), "text/javascript");
        TTestHttpResponse cached;
        cached.ContentType = "text/css";
        cached.Headers.append(qMakePair(QByteArray("Cache-Control"), QByteArray("max-age=3600")));
        cached.Body = "p { color: blue }";
        FServer.SetRoute(QStringLiteral("/cached.css"), cached);
        FServer.SetRoute(QStringLiteral("/styled"),
                         QByteArrayLiteral("<!DOCTYPE html><title>styled</title><link rel=stylesheet href=/cached.css>"));
        FServer.SetRoute(QStringLiteral("/styled2"),
                         QByteArrayLiteral("<!DOCTYPE html><title>styled 2</title><link rel=stylesheet href=/cached.css>"));
        TTestHttpResponse file;
        file.ContentType = "application/octet-stream";
        file.Headers.append(qMakePair(QByteArray("Content-Disposition"), QByteArray("attachment; filename=\"f.bin\"")));
        file.Body = "bytes";
        FServer.SetRoute(QStringLiteral("/f.bin"), file);
        OpenProfile();
    }

    void cleanupTestCase() { CloseProfile(); }

    void clearOneOriginLeavesTheOther()
    {
        FillBoth();
        // Another page of the origin holding its database open does not stop the clearing.
        QWebEnginePage holder(FProfile);
        QVERIFY(Load(&holder, UrlA(QStringLiteral("/other"))));
        QCOMPARE(Run(&holder, QStringLiteral("window.held = await new Promise(r => { const q = indexedDB.open('db-a');"
                                             " q.onsuccess = () => r(q.result); }); return 1;")),
                 QStringLiteral("1"));

        QSignalSpy cleared(FBrowser, &TWVBrowserBase::OnClearDataForOriginCompleted);
        QVERIFY(FBrowser->ClearDataForOrigin(FServer.Origin() + QStringLiteral("/some/page.html"), cdstAll));
        QVERIFY(cleared.wait(Timeout));
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(cleared.constFirst().constFirst().toBool(), true);
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a"), {QStringLiteral("cookie"), QStringLiteral("local"),
                                                              QStringLiteral("idb"), QStringLiteral("cache"),
                                                              QStringLiteral("sw"), QStringLiteral("fs")}));
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b")));
    }

    void textThatNamesNoOriginClearsNothing_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("words") << QStringLiteral("not an origin");
        QTest::newRow("empty") << QString();
        QTest::newRow("scheme only") << QStringLiteral("http://");
    }

    void textThatNamesNoOriginClearsNothing()
    {
        QFETCH(QString, text);
        QCOMPARE(FillLight(FPageA, QStringLiteral("a")), QStringLiteral("\"filled\""));
        QCOMPARE(FillLight(FPageB, QStringLiteral("b")), QStringLiteral("\"filled\""));
        QSignalSpy cleared(FBrowser, &TWVBrowserBase::OnClearDataForOriginCompleted);
        QVERIFY(FBrowser->ClearDataForOrigin(text, cdstAll));
        QVERIFY(cleared.wait(Timeout));
        QCOMPARE(cleared.constFirst().constFirst().toBool(), false);
        // The engine's own command would take a missing origin as every origin.
        QCOMPARE(ProbeLight(FPageA), ExpectedLight(QStringLiteral("a")));
        QCOMPARE(ProbeLight(FPageB), ExpectedLight(QStringLiteral("b")));
    }

    void deleteAllCookies()
    {
        FillBoth();
        QVERIFY(FBrowser->DeleteAllCookies());
        QTRY_COMPARE_WITH_TIMEOUT(Probe(FPageA), Expected(QStringLiteral("a"), {QStringLiteral("cookie")}), Timeout);
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b"), {QStringLiteral("cookie")}));
        QVERIFY(FProfile->cookieStore());
        QTRY_VERIFY_WITH_TIMEOUT(TWVProfileData::For(FProfile)->Cookies().isEmpty(), Timeout);
    }

    // One kind after another over the same data: each takes what it names, on both origins, and
    // nothing else.
    void kindsOfSiteData()
    {
        FillBoth();
        const QList<QPair<quint32, QString>> kinds = {
            {WV_BROWSING_DATA_KINDS_PASSWORD_AUTOSAVE | WV_BROWSING_DATA_KINDS_GENERAL_AUTOFILL
                 | WV_BROWSING_DATA_KINDS_SETTINGS,
             QString()}, // not kept by this engine: done at once, nothing to clear
            {WV_BROWSING_DATA_KINDS_COOKIES, QStringLiteral("cookie")},
            {WV_BROWSING_DATA_KINDS_LOCAL_STORAGE, QStringLiteral("local")},
            {WV_BROWSING_DATA_KINDS_INDEXED_DB, QStringLiteral("idb")},
            {WV_BROWSING_DATA_KINDS_CACHE_STORAGE, QStringLiteral("cache")},
            {WV_BROWSING_DATA_KINDS_SERVICE_WORKERS, QStringLiteral("sw")},
            {WV_BROWSING_DATA_KINDS_FILE_SYSTEMS, QStringLiteral("fs")},
        };
        QStringList cleared;
        for (const auto &kind : kinds) {
            QCOMPARE(ClearKinds(kind.first), WV_S_OK);
            if (!kind.second.isEmpty())
                cleared << kind.second;
            QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a"), cleared));
            QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b"), cleared));
        }
    }

    void allDomStorageLeavesCookies()
    {
        FillBoth();
        QCOMPARE(ClearKinds(WV_BROWSING_DATA_KINDS_ALL_DOM_STORAGE), WV_S_OK);
        const QStringList storage = {QStringLiteral("local"), QStringLiteral("idb"), QStringLiteral("cache"),
                                     QStringLiteral("sw"), QStringLiteral("fs")};
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a"), storage));
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b"), storage));
    }

    void runWaitsForItsOwnRequests()
    {
        FillBoth();
        // An earlier request of the tab, quick to finish, is still under way when the run starts.
        QVERIFY(FBrowser->ClearBrowsingData(WV_BROWSING_DATA_KINDS_GENERAL_AUTOFILL));
        TClearStep step;
        step.Kind = TClearStep::csClearKind;
        step.DataKind = WV_BROWSING_DATA_KINDS_ALL_DOM_STORAGE;
        TClearingRun run(FBrowser, nullptr);
        run.Run({step});
        QCOMPARE(run.Accepted(), 1);
        QCOMPARE(run.Wait(Timeout), TClearingRun::coCleared);
        // Done means this run's storage is gone, not merely that some request finished.
        const QStringList storage = {QStringLiteral("local"), QStringLiteral("idb"), QStringLiteral("cache"),
                                     QStringLiteral("sw"), QStringLiteral("fs")};
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a"), storage));
    }

    void diskCache()
    {
        const int before = FServer.RequestCount(QStringLiteral("/cached.css"));
        QVERIFY(Navigate(UrlA(QStringLiteral("/styled"))));
        QVERIFY(Navigate(UrlA(QStringLiteral("/styled2"))));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/cached.css")), before + 1); // the second from the cache

        QCOMPARE(ClearKinds(WV_BROWSING_DATA_KINDS_DISK_CACHE), WV_S_OK);
        QVERIFY(Navigate(UrlA(QStringLiteral("/styled"))));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/cached.css")), before + 2);

        // The cache command of its own reports the same way, once the cache is empty.
        QSignalSpy cacheCleared(FBrowser, &TWVBrowserBase::OnClearCacheCompleted);
        QVERIFY(FBrowser->ClearCache());
        QVERIFY(cacheCleared.wait(Timeout));
        QCOMPARE(cacheCleared.constFirst().constFirst().toBool(), true);
        QVERIFY(Navigate(UrlA(QStringLiteral("/styled2"))));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/cached.css")), before + 3);
    }

    void browsingHistory()
    {
        QVERIFY(Navigate(UrlA()));
        QVERIFY(Navigate(UrlA(QStringLiteral("/other"))));
        QVERIFY(FBrowser->CanGoBack());
        QCOMPARE(ClearKinds(WV_BROWSING_DATA_KINDS_BROWSING_HISTORY), WV_S_OK);
        QVERIFY(!FBrowser->CanGoBack());
    }

    void downloadHistory()
    {
        TWVDownloadHistory &history = TWVProfileData::For(FProfile)->Downloads();
        QVERIFY(history.Clear());
        QVERIFY(FBrowser->Navigate(UrlA(QStringLiteral("/f.bin")).toString()));
        QTRY_COMPARE_WITH_TIMEOUT(history.Records().size(), 1, Timeout);
        QCOMPARE(history.Records().constFirst().Url, UrlA(QStringLiteral("/f.bin")).toString());
        QVERIFY(QFile::exists(history.FileName()));

        QCOMPARE(ClearKinds(WV_BROWSING_DATA_KINDS_DOWNLOAD_HISTORY), WV_S_OK);
        QVERIFY(history.Records().isEmpty());
        QVERIFY(!QFile::exists(history.FileName()));
    }

    // Last: the profile is closed and opened again over the same folder, as the next run would.
    void clearedDataStaysGoneInTheNextRun()
    {
        FillBoth();
        QSignalSpy cleared(FBrowser, &TWVBrowserBase::OnClearDataForOriginCompleted);
        QVERIFY(FBrowser->ClearDataForOrigin(UrlA().toString(), cdstAll));
        QVERIFY(cleared.wait(Timeout));
        QCOMPARE(cleared.constFirst().constFirst().toBool(), true);
        CloseProfile();

        OpenProfile();
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a"), {QStringLiteral("cookie"), QStringLiteral("local"),
                                                              QStringLiteral("idb"), QStringLiteral("cache"),
                                                              QStringLiteral("sw"), QStringLiteral("fs")}));
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b"))); // what was kept did survive the restart

        // The same for everything at once.
        QCOMPARE(ClearKinds(WV_BROWSING_DATA_KINDS_ALL_PROFILE), WV_S_OK);
        CloseProfile();
        OpenProfile();
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b"), {QStringLiteral("cookie"), QStringLiteral("local"),
                                                              QStringLiteral("idb"), QStringLiteral("cache"),
                                                              QStringLiteral("sw"), QStringLiteral("fs")}));
    }
};

ORBWELL_ENGINE_TEST_MAIN(TestClearingEngine)
#include "tst_clearingengine.moc"
