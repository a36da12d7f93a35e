#include "webview/WVDownloadHistory.h"
#include "webview/WVResourceFilter.h"
#include "webview/WVTypes.h"
#include "webview/ZoomSteps.h"

#include <QTemporaryDir>
#include <QtTest>

// Rules of the web view layer that need no engine: zoom steps, request patterns, clearing plans,
// retrieved-text decoding, key codes and origins.
class TestWebViewCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cookieReachesOrigin_data()
    {
        QTest::addColumn<QString>("domain");
        QTest::addColumn<QString>("origin");
        QTest::addColumn<bool>("reaches");
        const QString www = QStringLiteral("https://www.example.com");
        QTest::newRow("own host") << QStringLiteral("www.example.com") << www << true;
        QTest::newRow("own host, any case") << QStringLiteral("WWW.Example.com") << www << true;
        QTest::newRow("domain cookie of the host") << QStringLiteral(".www.example.com") << www << true;
        QTest::newRow("domain cookie of a parent") << QStringLiteral(".example.com") << www << true;
        QTest::newRow("host-only cookie of a parent") << QStringLiteral("example.com") << www << false;
        QTest::newRow("sibling host") << QStringLiteral("mail.example.com") << www << false;
        QTest::newRow("child host") << QStringLiteral(".a.www.example.com") << www << false;
        QTest::newRow("suffix that is no parent") << QStringLiteral(".ample.com") << www << false;
        QTest::newRow("other site") << QStringLiteral(".other.com") << www << false;
        QTest::newRow("international host") << QStringLiteral(".xn--bcher-kva.example")
                                            << QStringLiteral("https://b\u00FCcher.example") << true;
        QTest::newRow("no domain") << QString() << www << false;
        QTest::newRow("no origin") << QStringLiteral("example.com") << QString() << false;
    }

    void cookieReachesOrigin()
    {
        QFETCH(QString, domain);
        QFETCH(QString, origin);
        QFETCH(bool, reaches);
        QCOMPARE(WVTypes::CookieReachesOrigin(domain, origin), reaches);
    }

    void zoomTable()
    {
        QCOMPARE(std::size(TZoomSteps::ZoomStepValues), size_t(16));
        QCOMPARE(TZoomSteps::ValueOf(TZoomSteps::ZOOM_STEP_DEF), 100.0);
        QCOMPARE(TZoomSteps::ValueOf(0), 25.0);
        QCOMPARE(TZoomSteps::ValueOf(15), 500.0);
        QCOMPARE(TZoomSteps::ValueOf(16), 0.0);
        QCOMPARE(TZoomSteps::ValueOf(-1), 0.0);
    }

    void stepOf_data()
    {
        QTest::addColumn<double>("pct");
        QTest::addColumn<int>("step");
        QTest::newRow("25") << 25.0 << 0;
        QTest::newRow("33") << 33.0 << 1;
        QTest::newRow("33 read back from a factor") << 0.33 * 100 << 1;
        QTest::newRow("100") << 100.0 << 6;
        QTest::newRow("125") << 125.0 << 8;
        QTest::newRow("500") << 500.0 << 15;
        QTest::newRow("130 between") << 130.0 << 16;
        QTest::newRow("24 below") << 24.0 << 16;
    }

    void stepOf()
    {
        QFETCH(double, pct);
        QTEST(TZoomSteps::StepOf(pct), "step");
    }

    void validPct_data()
    {
        QTest::addColumn<double>("pct");
        QTest::addColumn<bool>("valid");
        QTest::newRow("24") << 24.0 << false;
        QTest::newRow("25") << 25.0 << true;
        QTest::newRow("130") << 130.0 << true;
        QTest::newRow("500") << 500.0 << true;
        QTest::newRow("501") << 501.0 << false;
    }

    void validPct()
    {
        QFETCH(double, pct);
        QTEST(TZoomSteps::IsValidPct(pct), "valid");
    }

    void nextStep_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("pct");
        QTest::addColumn<bool>("increase");
        QTest::addColumn<int>("next");
        QTest::newRow("100 up") << 6 << 100.0 << true << 7;
        QTest::newRow("100 down") << 6 << 100.0 << false << 5;
        QTest::newRow("500 up stays") << 15 << 500.0 << true << -1;
        QTest::newRow("25 down stays") << 0 << 25.0 << false << -1;
        QTest::newRow("130 up to 150") << 16 << 130.0 << true << 9;
        QTest::newRow("130 down to 125") << 16 << 130.0 << false << 8;
        QTest::newRow("20 up to 25") << 16 << 20.0 << true << 0;
        QTest::newRow("20 down nothing") << 16 << 20.0 << false << -1;
        QTest::newRow("600 down to 500") << 16 << 600.0 << false << 15;
        QTest::newRow("600 up nothing") << 16 << 600.0 << true << -1;
        QTest::newRow("1000 fits no bound") << 16 << 1000.0 << true << -1;
        QTest::newRow("on a value while unknown") << 16 << 150.0 << true << -1;
        QTest::newRow("step outside the table") << 17 << 100.0 << true << -1;
    }

    void nextStep()
    {
        QFETCH(int, step);
        QFETCH(double, pct);
        QFETCH(bool, increase);
        QTEST(TZoomSteps::NextStep(step, pct, increase), "next");
    }

    void storageTypeNames_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("name");
        QTest::addColumn<quint32>("storage");
        QTest::newRow("appcache") << int(cdstAppCache) << QStringLiteral("appcache") << 0u;
        QTest::newRow("cookies") << int(cdstCookies) << QStringLiteral("cookies") << quint32(wvosCookies);
        QTest::newRow("file systems") << int(cdstFileSystems) << QStringLiteral("file_systems") << quint32(wvosFileSystems);
        QTest::newRow("indexeddb") << int(cdstIndexeddb) << QStringLiteral("indexeddb") << quint32(wvosIndexedDB);
        QTest::newRow("local storage") << int(cdstLocalStorage) << QStringLiteral("local_storage")
                                       << quint32(wvosLocalStorage);
        QTest::newRow("shader cache") << int(cdstShaderCache) << QStringLiteral("shader_cache") << 0u;
        QTest::newRow("websql") << int(cdstWebsql) << QStringLiteral("websql") << quint32(wvosWebSql);
        QTest::newRow("service workers") << int(cdstServiceWorkers) << QStringLiteral("service_workers")
                                         << quint32(wvosServiceWorkers);
        QTest::newRow("cache storage") << int(cdstCacheStorage) << QStringLiteral("cache_storage")
                                       << quint32(wvosCacheStorage);
        QTest::newRow("all") << int(cdstAll) << QStringLiteral("all") << quint32(wvosAll);
        QTest::newRow("outside the range") << 42 << QStringLiteral("all") << quint32(wvosAll);
        QTest::newRow("negative") << -1 << QStringLiteral("all") << quint32(wvosAll);
    }

    void storageTypeNames()
    {
        QFETCH(int, type);
        QTEST(WVTypes::StorageTypeName(type), "name");
        QTEST(WVTypes::OriginStorageOf(type), "storage");
    }

    void browsingDataPlan_data()
    {
        QTest::addColumn<quint32>("kinds");
        QTest::addColumn<quint32>("storage");
        QTest::addColumn<bool>("cache");
        QTest::addColumn<bool>("history");
        QTest::addColumn<bool>("downloads");
        QTest::newRow("cookies") << quint32(WV_BROWSING_DATA_KINDS_COOKIES) << quint32(wvosCookies) << false << false
                                 << false;
        QTest::newRow("cache storage and local storage")
            << quint32(WV_BROWSING_DATA_KINDS_CACHE_STORAGE | WV_BROWSING_DATA_KINDS_LOCAL_STORAGE)
            << quint32(wvosCacheStorage | wvosLocalStorage) << false << false << false;
        QTest::newRow("all DOM storage") << quint32(WV_BROWSING_DATA_KINDS_ALL_DOM_STORAGE) << quint32(wvosAllDom)
                                         << false << false << false;
        QTest::newRow("all site") << quint32(WV_BROWSING_DATA_KINDS_ALL_SITE) << quint32(wvosAll) << false << false
                                  << false;
        QTest::newRow("disk cache") << quint32(WV_BROWSING_DATA_KINDS_DISK_CACHE) << 0u << true << false << false;
        QTest::newRow("history") << quint32(WV_BROWSING_DATA_KINDS_BROWSING_HISTORY) << 0u << false << true << false;
        QTest::newRow("download history") << quint32(WV_BROWSING_DATA_KINDS_DOWNLOAD_HISTORY) << 0u << false << false
                                          << true;
        QTest::newRow("all profile") << quint32(WV_BROWSING_DATA_KINDS_ALL_PROFILE) << quint32(wvosAll) << true
                                     << true << true;
        QTest::newRow("kinds the engine does not keep")
            << quint32(WV_BROWSING_DATA_KINDS_GENERAL_AUTOFILL | WV_BROWSING_DATA_KINDS_PASSWORD_AUTOSAVE
                       | WV_BROWSING_DATA_KINDS_SETTINGS)
            << 0u << false << false << false;
    }

    void browsingDataPlan()
    {
        QFETCH(quint32, kinds);
        const TWVBrowsingDataPlan plan = WVTypes::PlanBrowsingData(kinds);
        QTEST(plan.OriginStorage, "storage");
        QTEST(plan.DiskCache, "cache");
        QTEST(plan.BrowsingHistory, "history");
        QTEST(plan.DownloadHistory, "downloads");
    }

    void protocolStorageTypes_data()
    {
        QTest::addColumn<quint32>("storage");
        QTest::addColumn<QString>("types");
        QTest::newRow("nothing") << 0u << QString();
        QTest::newRow("cookies") << quint32(wvosCookies) << QStringLiteral("cookies");
        QTest::newRow("all DOM storage") << quint32(wvosAllDom)
                                         << QStringLiteral("local_storage,indexeddb,cache_storage,service_workers,"
                                                           "file_systems,websql");
        QTest::newRow("all") << quint32(wvosAll)
                             << QStringLiteral("cookies,local_storage,indexeddb,cache_storage,service_workers,"
                                               "file_systems,websql");
    }

    void protocolStorageTypes()
    {
        QFETCH(quint32, storage);
        QTEST(WVTypes::ProtocolStorageTypes(storage), "types");
    }

    void decodeRetrievedText_data()
    {
        QTest::addColumn<QString>("encoded");
        QTest::addColumn<QString>("text");
        QTest::newRow("plus and percent") << QStringLiteral("1+1%20is%2050%25") << QStringLiteral("1+1 is 50%");
        QTest::newRow("utf-8 bytes") << QStringLiteral("%C3%BC%E2%82%AC") << QStringLiteral("\u00FC\u20AC");
        QTest::newRow("quotes kept") << QStringLiteral("%22quoted%22") << QStringLiteral("\"quoted\"");
        QTest::newRow("empty") << QString() << QString();
    }

    void decodeRetrievedText()
    {
        QFETCH(QString, encoded);
        QTEST(WVTypes::DecodeRetrievedText(encoded), "text");
    }

    void virtualKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("vk");
        QTest::newRow("B") << int(Qt::Key_B) << 0x42;
        QTest::newRow("W") << int(Qt::Key_W) << 0x57;
        QTest::newRow("0") << int(Qt::Key_0) << 0x30;
        QTest::newRow("F5") << int(Qt::Key_F5) << 0x74;
        QTest::newRow("F10") << int(Qt::Key_F10) << 0x79;
        QTest::newRow("F11") << int(Qt::Key_F11) << 0x7A;
        QTest::newRow("Ctrl") << int(Qt::Key_Control) << 0x11;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << 0x1B;
        QTest::newRow("no code") << int(Qt::Key_MediaPlay) << 0;
    }

    void virtualKeys()
    {
        QFETCH(int, key);
        QTEST(WVTypes::VirtualKeyOf(key), "vk");
    }

    void originOf_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("origin");
        QTest::newRow("path and query") << QStringLiteral("https://Example.COM/a/b?c#d") << QStringLiteral("https://example.com");
        QTest::newRow("port kept") << QStringLiteral("http://127.0.0.1:8080/x") << QStringLiteral("http://127.0.0.1:8080");
        QTest::newRow("default port dropped") << QStringLiteral("https://a.org:443/") << QStringLiteral("https://a.org");
        QTest::newRow("file has none") << QStringLiteral("file:///tmp/a.html") << QString();
        QTest::newRow("about has none") << QStringLiteral("about:blank") << QString();
        QTest::newRow("not an address") << QStringLiteral("just words") << QString();
    }

    void originOf()
    {
        QFETCH(QString, address);
        QTEST(WVTypes::OriginOf(address), "origin");
    }

    void wildcards_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("match");
        QTest::newRow("star matches all") << QStringLiteral("*") << QStringLiteral("https://a/b") << true;
        QTest::newRow("star matches empty") << QStringLiteral("*") << QString() << true;
        QTest::newRow("prefix") << QStringLiteral("https://ads.*") << QStringLiteral("https://ads.example/x") << true;
        QTest::newRow("prefix miss") << QStringLiteral("https://ads.*") << QStringLiteral("https://www.example/ads") << false;
        QTest::newRow("middle") << QStringLiteral("*/track/*") << QStringLiteral("http://h/track/p.gif") << true;
        QTest::newRow("question mark") << QStringLiteral("http://h/?.png") << QStringLiteral("http://h/a.png") << true;
        QTest::newRow("question needs one") << QStringLiteral("http://h/?.png") << QStringLiteral("http://h/.png") << false;
        QTest::newRow("exact") << QStringLiteral("http://h/") << QStringLiteral("http://h/") << true;
        QTest::newRow("back-track") << QStringLiteral("*a*b") << QStringLiteral("xaxaxb") << true;
        QTest::newRow("trailing text") << QStringLiteral("*a") << QStringLiteral("ab") << false;
    }

    void wildcards()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        QTEST(TWVResourceFilter::WildcardMatch(pattern, text), "match");
    }

    void filterByKind()
    {
        TWVResourceFilter filter;
        TWVResourceRequest image;
        image.Url = QUrl(QStringLiteral("http://h/p.png"));
        image.Context = wvrcImage;
        TWVResourceRequest script = image;
        script.Context = wvrcScript;

        QVERIFY(!filter.Matches(image)); // nothing registered, nothing handed over
        QVERIFY(!filter.Add(QString(), wvrcAll));
        QVERIFY(!filter.Add(QStringLiteral("*"), 17));
        QVERIFY(filter.Add(QStringLiteral("*"), wvrcImage));
        QVERIFY(filter.Add(QStringLiteral("*"), wvrcMedia));
        QVERIFY(filter.Add(QStringLiteral("*"), wvrcImage)); // the same twice is one entry
        QCOMPARE(filter.Count(), 2);
        QVERIFY(filter.Matches(image));
        QVERIFY(!filter.Matches(script));
        QVERIFY(filter.Add(QStringLiteral("*"), wvrcAll));
        QVERIFY(filter.Matches(script));
        QVERIFY(filter.Remove(QStringLiteral("*"), wvrcAll));
        QVERIFY(!filter.Remove(QStringLiteral("*"), wvrcAll));
        QVERIFY(!filter.Matches(script));
    }

    void downloadHistoryPersistsUntilCleared()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("downloads.txt"));
        const QDateTime started(QDate(2024, 5, 6), QTime(7, 8, 9));
        {
            TWVDownloadHistory history(file);
            history.Add({QStringLiteral("http://127.0.0.1:9/a.bin"), QStringLiteral("/tmp/a\tb.bin"), started});
            history.Add({QStringLiteral("http://127.0.0.1:9/c.zip"), QStringLiteral("/tmp/c.zip"), started});
        }
        TWVDownloadHistory again(file);
        QCOMPARE(again.Records().size(), 2);
        QCOMPARE(again.Records().at(0).FilePath, QStringLiteral("/tmp/a\tb.bin"));
        QCOMPARE(again.Records().at(1).Url, QStringLiteral("http://127.0.0.1:9/c.zip"));
        QCOMPARE(again.Records().at(1).Started, started);
        QVERIFY(again.Clear());
        QVERIFY(again.Records().isEmpty());
        QVERIFY(!QFile::exists(file));
        QVERIFY(TWVDownloadHistory(file).Records().isEmpty());
        QVERIFY(again.Clear()); // nothing left to remove is no failure
    }
};

QTEST_GUILESS_MAIN(TestWebViewCore)
#include "tst_webviewcore.moc"
