#include "common/EngineTestMain.h"
#include "common/TestHttpServer.h"
#include "webview/WVBrowser.h"
#include "webview/WVDownloadOperation.h"
#include "webview/WVLoader.h"
#include "webview/WVNewWindowRequest.h"
#include "webview/WVWindowParent.h"

#include <QBuffer>
#include <QImage>
#include <QPrinterInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <memory>

namespace {
constexpr int Timeout = 20000;

QByteArray Page(const QByteArray &title, const QByteArray &body, const QByteArray &head = QByteArray())
{
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title + "</title>" + head + "</head><body>"
           + body + "</body></html>";
}

QByteArray Png()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// How the owner answers a request for a new window.
enum class TNewWindowAnswer { OwnPopup, GivenAtOnce, Deferred };
} // namespace

Q_DECLARE_METATYPE(TNewWindowAnswer)

// The browser component and its host over the real engine, against pages served on 127.0.0.1.
class TestWVBrowser : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;
    TTestHttpServer FServer;
    QWebEngineProfile *FProfile = nullptr;
    TWVWindowParent *FHost = nullptr;
    TWVBrowser *FBrowser = nullptr;

    // Navigates and waits for the completion; true when the page loaded.
    bool Load(TWVBrowserBase *browser, const QString &path)
    {
        QSignalSpy completed(browser, &TWVBrowserBase::OnNavigationCompleted);
        if (!browser->Navigate(FServer.Url(path).toString()))
            return false;
        if (!completed.wait(Timeout))
            return false;
        return completed.constLast().at(0).value<TWVNavigationCompletedArgs>().IsSuccess;
    }

    // Runs a script and returns its JSON result.
    QString Evaluate(const QString &script)
    {
        QSignalSpy done(FBrowser, &TWVBrowserBase::OnExecuteScriptCompleted);
        if (!FBrowser->ExecuteScript(script, 7) || !done.wait(Timeout))
            return QStringLiteral("<no result>");
        return done.constFirst().at(1).toString();
    }

    TWVBrowser *NewBrowser(TWVWindowParent *host)
    {
        auto *browser = new TWVBrowser(this);
        host->SetBrowser(browser);
        QSignalSpy created(browser, &TWVBrowserBase::OnAfterCreated);
        if (!browser->CreateBrowser(host, FProfile) || !created.wait(Timeout))
            return nullptr;
        return browser;
    }

private Q_SLOTS:
    void initTestCase()
    {
        qRegisterMetaType<TWVNavigationCompletedArgs>();
        QVERIFY(FDir.isValid());
        QVERIFY(FServer.Listen());
        FServer.SetRoute(QStringLiteral("/"), Page("Home", "<p>home</p>"));
        FServer.SetRoute(QStringLiteral("/first"), Page("First page", "<p>first</p>"));
        FServer.SetRoute(QStringLiteral("/second"), Page("Second page", "<p>second</p>"));
        FServer.SetRoute(QStringLiteral("/text"), Page("Text", "<p>1+1 is 2, 100% sure: caf\xc3\xa9</p>"));
        FServer.SetRoute(QStringLiteral("/empty"), Page("Empty", ""));
        FServer.SetRoute(QStringLiteral("/red"),
                         Page("Red", "", "<style>html,body{margin:0;height:100%;background:#ff0000}</style>"));
        FServer.SetRoute(QStringLiteral("/images"),
                         Page("Images", "<img src=\"/img/keep.png\"><img src=\"/img/blocked.png\">"));
        FServer.SetRoute(QStringLiteral("/img/keep.png"), Png(), "image/png");
        FServer.SetRoute(QStringLiteral("/favicon.ico"), Png(), "image/png");
        FServer.SetRoute(QStringLiteral("/img/blocked.png"), Png(), "image/png");
        TTestHttpResponse file;
        file.ContentType = "application/octet-stream";
        file.Headers.append(qMakePair(QByteArray("Content-Disposition"), QByteArray("attachment; filename=\"data.bin\"")));
        file.Body = "downloaded bytes";
        FServer.SetRoute(QStringLiteral("/data.bin"), file);

        FProfile = new QWebEngineProfile(QStringLiteral("wvtest"), this);
        FProfile->setPersistentStoragePath(FDir.filePath(QStringLiteral("profile")));
        FProfile->setCachePath(FDir.filePath(QStringLiteral("cache")));
        FProfile->setDownloadPath(FDir.filePath(QStringLiteral("downloads")));

        FHost = new TWVWindowParent();
        FHost->resize(800, 600);
        FHost->show();
        FBrowser = new TWVBrowser(this);
        FHost->SetBrowser(FBrowser);
    }

    void cleanupTestCase()
    {
        delete FBrowser;
        delete FHost;
        delete FProfile; // pages first, then their profile
    }

    void nothingWorksBeforeCreation()
    {
        QSignalSpy any(FBrowser, &TWVBrowserBase::OnExecuteScriptCompleted);
        QVERIFY(!FBrowser->Initialized());
        QVERIFY(!FBrowser->Navigate(FServer.Url().toString()));
        QVERIFY(!FBrowser->ExecuteScript(QStringLiteral("1"), 1));
        QVERIFY(!FBrowser->SetZoomPct(125));
        QCOMPARE(FBrowser->ZoomPct(), 0.0);
        QVERIFY(!FBrowser->SetOffline(true));
        QVERIFY(!FBrowser->RetrieveHTML());
        QVERIFY(!FBrowser->PrintToPdf(FDir.filePath(QStringLiteral("x.pdf"))));
        QVERIFY(!FBrowser->AddWebResourceRequestedFilter(QStringLiteral("*"), wvrcAll));
        QCOMPARE(FBrowser->Source(), QString());
        QCOMPARE(FBrowser->Bounds(), QRect());
        FHost->resize(640, 480); // resizing before the web view exists changes nothing, raises nothing
        QCoreApplication::processEvents();
        QCOMPARE(any.count(), 0);
    }

    void creationRefusals()
    {
        TWVBrowser other;
        QVERIFY(!other.CreateBrowser(nullptr, FProfile));
        QVERIFY(!other.CreateBrowser(FHost, static_cast<QWebEngineProfile *>(nullptr)));
        // The loader's environment does not exist in this process.
        QSignalSpy errors(&other, &TWVBrowserBase::OnInitializationError);
        QVERIFY(!other.CreateBrowser(FHost, true));
        TWVLoader loader; // exists, but was never started
        GlobalWebView2Loader = &loader;
        QVERIFY(!other.CreateBrowser(FHost, true));
        GlobalWebView2Loader = nullptr;
        QCoreApplication::processEvents();
        QCOMPARE(errors.count(), 0);
        QVERIFY(!other.Initialized());
    }

    void createdThenDefaultUrlOnce()
    {
        QStringList log;
        connect(FBrowser, &TWVBrowserBase::OnAfterCreated, this, [&] {
            log << QStringLiteral("created");
            QVERIFY(FBrowser->Initialized()); // already usable inside the handler
        });
        connect(FBrowser, &TWVBrowserBase::OnNavigationStarting, this,
                [&](TWVNavigationStartingArgs &args) { log << QStringLiteral("starting ") + args.Uri.path(); });
        QSignalSpy completed(FBrowser, &TWVBrowserBase::OnNavigationCompleted);
        FBrowser->SetDefaultURL(FServer.Url(QStringLiteral("/first")).toString());
        QVERIFY(FBrowser->CreateBrowser(FHost, FProfile));
        QVERIFY(!FBrowser->Initialized());                 // creating: nothing works yet
        QVERIFY(!FBrowser->CreateBrowser(FHost, FProfile)); // and a second request is refused
        QVERIFY(completed.wait(Timeout));
        QCOMPARE(log, (QStringList{QStringLiteral("created"), QStringLiteral("starting /first")}));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/first")), 1);
        QVERIFY(!FBrowser->CreateBrowser(FHost, FProfile)); // once created, never again
        FBrowser->disconnect(this);
    }

    void hostKeepsViewAtClientArea()
    {
        FHost->resize(700, 500);
        QCOMPARE(FBrowser->Bounds(), QRect(0, 0, 700, 500));
        FHost->resize(800, 600);
        QCOMPARE(FBrowser->Bounds(), QRect(0, 0, 800, 600));
        QCOMPARE(FHost->ChildWindowHandle(), FHost->findChild<QWidget *>(QString(), Qt::FindDirectChildrenOnly));
    }

    void navigationEventsInOrder()
    {
        QStringList log;
        bool navigatingAtStart = false, navigatingAtEnd = true;
        connect(FBrowser, &TWVBrowserBase::OnNavigationStarting, this, [&](TWVNavigationStartingArgs &args) {
            navigatingAtStart = FBrowser->IsNavigating();
            log << QStringLiteral("starting ") + args.Uri.path();
        });
        connect(FBrowser, &TWVBrowserBase::OnSourceChanged, this,
                [&](const QUrl &url) { log << QStringLiteral("source ") + url.path(); });
        connect(FBrowser, &TWVBrowserBase::OnDocumentTitleChanged, this,
                [&] { log << QStringLiteral("title ") + FBrowser->DocumentTitle(); });
        connect(FBrowser, &TWVBrowserBase::OnNavigationCompleted, this, [&](const TWVNavigationCompletedArgs &args) {
            navigatingAtEnd = FBrowser->IsNavigating();
            log << QStringLiteral("completed %1").arg(args.IsSuccess);
        });
        QVERIFY(Load(FBrowser, QStringLiteral("/second")));
        FBrowser->disconnect(this);

        QCOMPARE(log.constFirst(), QStringLiteral("starting /second"));
        QCOMPARE(log.constLast(), QStringLiteral("completed 1"));
        QVERIFY(log.contains(QStringLiteral("title Second page")));
        QVERIFY(log.indexOf(QStringLiteral("source /second")) > 0);
        QCOMPARE(log.count(QStringLiteral("completed 1")), 1);
        QVERIFY(navigatingAtStart);
        QVERIFY(!navigatingAtEnd);
        QVERIFY(!FBrowser->IsNavigating());
        QCOMPARE(FBrowser->Source(), FServer.Url(QStringLiteral("/second")).toString());
        QCOMPARE(FBrowser->DocumentTitle(), QStringLiteral("Second page"));

        QVERIFY(FBrowser->CanGoBack());
        QSignalSpy back(FBrowser, &TWVBrowserBase::OnNavigationCompleted);
        QVERIFY(FBrowser->GoBack());
        QVERIFY(back.wait(Timeout));
        QCOMPARE(FBrowser->Source(), FServer.Url(QStringLiteral("/first")).toString());
        QVERIFY(!FBrowser->GoBack()); // nothing before the first page
        QVERIFY(!FBrowser->Navigate(QStringLiteral("no scheme here")));
        // An address never runs script in the page shown.
        QVERIFY(!FBrowser->Navigate(QStringLiteral("JavaScript:document.title='taken'")));
        QTest::qWait(200);
        QVERIFY(FBrowser->DocumentTitle() != QLatin1String("taken"));
    }

    void zoomSteps_data()
    {
        QTest::addColumn<double>("startPct");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("pct");
        QTest::newRow("125 is a step") << 125.0 << QString() << 8 << 125.0;
        QTest::newRow("130 lies between") << 130.0 << QString() << 16 << 130.0;
        QTest::newRow("130 up") << 130.0 << QStringLiteral("inc") << 9 << 150.0;
        QTest::newRow("130 down") << 130.0 << QStringLiteral("dec") << 8 << 125.0;
        QTest::newRow("100 up") << 100.0 << QStringLiteral("inc") << 7 << 110.0;
        QTest::newRow("500 up stays") << 500.0 << QStringLiteral("inc") << 15 << 500.0;
        QTest::newRow("25 down stays") << 25.0 << QStringLiteral("dec") << 0 << 25.0;
        QTest::newRow("24 refused") << 24.0 << QStringLiteral("refused") << 6 << 100.0;
        QTest::newRow("501 refused") << 501.0 << QStringLiteral("refused") << 6 << 100.0;
        QTest::newRow("reset") << 300.0 << QStringLiteral("reset") << 6 << 100.0;
    }

    void zoomSteps()
    {
        QFETCH(double, startPct);
        QFETCH(QString, action);
        QVERIFY(FBrowser->ResetZoom());
        QCOMPARE(FBrowser->SetZoomPct(startPct), action != QLatin1String("refused"));
        if (action == QLatin1String("inc"))
            FBrowser->IncZoomStep();
        else if (action == QLatin1String("dec"))
            FBrowser->DecZoomStep();
        else if (action == QLatin1String("reset"))
            QVERIFY(FBrowser->ResetZoom());
        QTEST(FBrowser->ZoomStep(), "step");
        QFETCH(double, pct);
        QVERIFY2(qAbs(FBrowser->ZoomPct() - pct) < 0.01, qPrintable(QString::number(FBrowser->ZoomPct())));
        QVERIFY(FBrowser->ResetZoom());
    }

    void scriptResults_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("json");
        QTest::newRow("number") << QStringLiteral("1 + 2") << 42 << QStringLiteral("3");
        QTest::newRow("string") << QStringLiteral("'a\"b'") << 1 << QStringLiteral("\"a\\\"b\"");
        QTest::newRow("object") << QStringLiteral("({a: [1, true]})") << 99999 << QStringLiteral("{\"a\":[1,true]}");
        QTest::newRow("undefined") << QStringLiteral("undefined") << 10002 << QStringLiteral("null");
        QTest::newRow("thrown") << QStringLiteral("throw new Error('x')") << 0 << QStringLiteral("null");
    }

    void scriptResults()
    {
        QFETCH(QString, script);
        QFETCH(int, id);
        QSignalSpy done(FBrowser, &TWVBrowserBase::OnExecuteScriptCompleted);
        QVERIFY(FBrowser->ExecuteScript(script, id));
        QCOMPARE(done.count(), 0); // never inside the call
        QVERIFY(done.wait(Timeout));
        QCOMPARE(done.count(), 1);
        QCOMPARE(done.constFirst().at(0).toInt(), WV_S_OK);
        QTEST(done.constFirst().at(1).toString(), "json");
        QCOMPARE(done.constFirst().at(2).toInt(), id);
    }

    void reservedIdentifiersRaiseRetrieval()
    {
        QSignalSpy owner(FBrowser, &TWVBrowserBase::OnExecuteScriptCompleted);
        QSignalSpy html(FBrowser, &TWVBrowserBase::OnRetrieveHTMLCompleted);
        QVERIFY(!FBrowser->ExecuteScript(QString(), 5));
        QVERIFY(FBrowser->ExecuteScript(QStringLiteral("'a%2Bb'"), WV_ID_RETRIEVE_HTML));
        QVERIFY(html.wait(Timeout));
        QCOMPARE(html.constFirst().at(1).toString(), QStringLiteral("a+b"));
        QCOMPARE(owner.count(), 0);
    }

    void retrieveHtmlAndText()
    {
        QVERIFY(Load(FBrowser, QStringLiteral("/text")));
        QSignalSpy text(FBrowser, &TWVBrowserBase::OnRetrieveTextCompleted);
        QSignalSpy html(FBrowser, &TWVBrowserBase::OnRetrieveHTMLCompleted);
        QVERIFY(FBrowser->RetrieveText());
        QVERIFY(FBrowser->RetrieveHTML());
        QVERIFY(text.wait(Timeout));
        QTRY_COMPARE_WITH_TIMEOUT(html.count(), 1, Timeout);
        QCOMPARE(text.count(), 1);
        QCOMPARE(text.constFirst().at(0).toBool(), true);
        QCOMPARE(text.constFirst().at(1).toString(), QStringLiteral("1+1 is 2, 100% sure: caf\u00E9"));
        QCOMPARE(html.constFirst().at(0).toBool(), true);
        const QString page = html.constFirst().at(1).toString();
        QVERIFY(page.startsWith(QStringLiteral("<html><head>")));
        QVERIFY(page.contains(QStringLiteral("<title>Text</title>")));
        QVERIFY(page.contains(QStringLiteral("<p>1+1 is 2, 100% sure: caf\u00E9</p>")));

        QVERIFY(Load(FBrowser, QStringLiteral("/empty")));
        text.clear();
        QVERIFY(FBrowser->RetrieveText());
        QVERIFY(text.wait(Timeout));
        QCOMPARE(text.constFirst().at(0).toBool(), false);
        QCOMPARE(text.constFirst().at(1).toString(), QString());
    }

    void retrieveMhtml()
    {
        QVERIFY(Load(FBrowser, QStringLiteral("/second")));
        QSignalSpy mhtml(FBrowser, &TWVBrowserBase::OnRetrieveMHTMLCompleted);
        int downloads = 0;
        connect(FBrowser, &TWVBrowserBase::OnDownloadStarting, this, [&downloads] { ++downloads; });
        QVERIFY(FBrowser->RetrieveMHTML());
        QVERIFY(!FBrowser->RetrieveMHTML()); // one snapshot at a time
        QVERIFY(mhtml.wait(Timeout));
        QCOMPARE(mhtml.count(), 1);
        QCOMPARE(mhtml.constFirst().at(0).toBool(), true);
        const QString text = mhtml.constFirst().at(1).toString();
        QVERIFY(text.contains(QStringLiteral("MIME-Version: 1.0")));
        QVERIFY(text.contains(QStringLiteral("Snapshot-Content-Location: ") + FServer.Url(QStringLiteral("/second")).toString()));
        QVERIFY(text.contains(QStringLiteral("Second page")));
        QVERIFY(FBrowser->RetrieveMHTML()); // and the next one may start
        QVERIFY(mhtml.wait(Timeout));
        FBrowser->disconnect(this);
        QCOMPARE(downloads, 0); // a snapshot is not a download of the user's
    }

    void capturePreviewAsPng()
    {
        QVERIFY(Load(FBrowser, QStringLiteral("/red")));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        QVERIFY(!FBrowser->CapturePreview(wvifPNG, &buffer)); // not writable
        buffer.open(QIODevice::WriteOnly);
        QSignalSpy captured(FBrowser, &TWVBrowserBase::OnCapturePreviewCompleted);
        // The page is drawn a moment after it has loaded; capture until the drawing shows.
        QImage image;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                bytes.clear();
                buffer.seek(0);
                captured.clear();
                if (!FBrowser->CapturePreview(wvifPNG, &buffer) || !captured.wait(Timeout))
                    return false;
                image = QImage::fromData(bytes, "PNG");
                return !image.isNull() && image.pixelColor(image.width() / 2, image.height() / 2) == QColor(Qt::red);
            }(),
            Timeout);
        QCOMPARE(captured.constFirst().at(0).toInt(), WV_S_OK);
        QVERIFY(bytes.startsWith("\x89PNG"));
        QCOMPARE(image.size(), FBrowser->Bounds().size());
    }

    void printToPdf()
    {
        QVERIFY(!FBrowser->PrintToPdf(QString()));
        const QString path = FDir.filePath(QStringLiteral("page.pdf"));
        QSignalSpy printed(FBrowser, &TWVBrowserBase::OnPrintToPdfCompleted);
        QVERIFY(FBrowser->PrintToPdf(path));
        QVERIFY(!FBrowser->PrintToPdf(FDir.filePath(QStringLiteral("other.pdf")))); // one at a time
        QVERIFY(printed.wait(Timeout));
        QCOMPARE(printed.count(), 1);
        QCOMPARE(printed.constFirst().at(0).toInt(), WV_S_OK);
        QCOMPARE(printed.constFirst().at(1).toBool(), true);
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");

        printed.clear();
        QVERIFY(FBrowser->PrintToPdf(FDir.filePath(QStringLiteral("no-such-folder/page.pdf"))));
        QVERIFY(printed.wait(Timeout));
        QCOMPARE(printed.constFirst().at(1).toBool(), false);
        QVERIFY(printed.constFirst().at(0).toInt() < 0);

        QVERIFY(!FBrowser->SetHeaderTitle(QStringLiteral("Orbwell"))); // this engine prints no header
        QVERIFY(!FBrowser->SetShouldPrintHeaderAndFooter(true));
        QVERIFY(FBrowser->SetShouldPrintHeaderAndFooter(false));
    }

    void printWithoutPrinter()
    {
        if (!QPrinterInfo::defaultPrinter().isNull())
            QSKIP("this machine has a printer; printing would reach it");
        QSignalSpy printed(FBrowser, &TWVBrowserBase::OnPrintCompleted);
        QVERIFY(FBrowser->Print());
        QCOMPARE(printed.count(), 0);
        QVERIFY(printed.wait(Timeout));
        QCOMPARE(printed.constFirst().at(0).toInt(), WV_S_OK);
        QCOMPARE(printed.constFirst().at(1).toInt(), int(wvpsPrinterUnavailable));
    }

    void offlineOnAndOff()
    {
        QSignalSpy offline(FBrowser, &TWVBrowserBase::OnOfflineCompleted);
        QVERIFY(FBrowser->SetOffline(true));
        QVERIFY(!FBrowser->SetOffline(true)); // unchanged: nothing sent
        QVERIFY(FBrowser->Offline());
        QVERIFY(offline.wait(Timeout));
        QCOMPARE(offline.count(), 1);
        QCOMPARE(offline.constFirst().at(0).toBool(), true);

        FServer.ClearRequests();
        QVERIFY(!Load(FBrowser, QStringLiteral("/first")));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/first")), 0);

        QVERIFY(FBrowser->SetOffline(false));
        QVERIFY(offline.wait(Timeout));
        QCOMPARE(offline.count(), 2);
        QVERIFY(Load(FBrowser, QStringLiteral("/first")));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/first")), 1);
    }

    void requestFilterByKind()
    {
        QList<TWVResourceRequest> seen;
        FBrowser->SetRequestFilter([&seen](const TWVResourceRequest &request) {
            seen.append(request);
            return request.Url.path().contains(QLatin1String("blocked"));
        });
        FServer.ClearRequests();
        QVERIFY(Load(FBrowser, QStringLiteral("/images")));
        QTRY_COMPARE_WITH_TIMEOUT(FServer.RequestCount(QStringLiteral("/img/blocked.png")), 1, Timeout);
        QVERIFY(seen.isEmpty()); // no pattern registered: the filter is never asked

        QVERIFY(FBrowser->AddWebResourceRequestedFilter(QStringLiteral("*"), wvrcImage));
        FServer.ClearRequests();
        QVERIFY(FBrowser->RefreshIgnoreCache());
        QTRY_COMPARE_WITH_TIMEOUT(FServer.RequestCount(QStringLiteral("/img/keep.png")), 1, Timeout);
        const auto imagesSeen = [&seen] {
            QStringList paths;
            for (const TWVResourceRequest &request : std::as_const(seen))
                if (request.Url.path().startsWith(QLatin1String("/img/"))) // the page's icon may come too
                    paths << request.Url.path();
            paths.sort();
            return paths;
        };
        QTRY_COMPARE_WITH_TIMEOUT(imagesSeen(), (QStringList{QStringLiteral("/img/blocked.png"), QStringLiteral("/img/keep.png")}),
                                  Timeout);
        QCOMPARE(FServer.RequestCount(QStringLiteral("/img/blocked.png")), 0);
        for (const TWVResourceRequest &request : std::as_const(seen)) {
            QCOMPARE(request.Context, wvrcImage);
            QCOMPARE(request.FirstPartyUrl, FServer.Url(QStringLiteral("/images")));
            QCOMPARE(request.Method, QStringLiteral("GET"));
        }
        QVERIFY(FBrowser->RemoveWebResourceRequestedFilter(QStringLiteral("*"), wvrcImage));
        FBrowser->SetRequestFilter(nullptr);
    }

    void clearDataForOrigin()
    {
        QVERIFY(Load(FBrowser, QStringLiteral("/first")));
        QCOMPARE(Evaluate(QStringLiteral("localStorage.setItem('k', 'v'); document.cookie = 'c=1; max-age=3600'; "
                                         "document.cookie")),
                 QStringLiteral("\"c=1\""));
        QSignalSpy cleared(FBrowser, &TWVBrowserBase::OnClearDataForOriginCompleted);
        QVERIFY(FBrowser->ClearDataForOrigin(FServer.Origin(), cdstAll));
        QVERIFY(cleared.wait(Timeout));
        QCOMPARE(cleared.constFirst().at(0).toBool(), true);
        QCOMPARE(Evaluate(QStringLiteral("localStorage.length")), QStringLiteral("0"));
        QCOMPARE(Evaluate(QStringLiteral("document.cookie")), QStringLiteral("\"\""));

        // Web SQL databases cannot be listed from a page; the engine still removes them for the origin.
        QCOMPARE(Evaluate(QStringLiteral("new Promise(r => openDatabase('d', '1', 'd', 1000).transaction("
                                         "t => t.executeSql('CREATE TABLE t(x)'), r, r)); 1")),
                 QStringLiteral("1"));
        const QString database = QStringLiteral("databases/http_127.0.0.1_%1").arg(FServer.Port());
        QTRY_VERIFY_WITH_TIMEOUT(QDir(FProfile->persistentStoragePath()).exists(database), Timeout);
        cleared.clear();
        QVERIFY(FBrowser->ClearDataForOrigin(FServer.Origin(), cdstWebsql));
        QVERIFY(cleared.wait(Timeout));
        QCOMPARE(cleared.constFirst().at(0).toBool(), true);
        QVERIFY(!QDir(FProfile->persistentStoragePath()).exists(database));
        cleared.clear();
        QVERIFY(FBrowser->ClearDataForOrigin(FServer.Origin(), cdstLocalStorage)); // other kinds still can be
        QVERIFY(cleared.wait(Timeout));
        QCOMPARE(cleared.constFirst().at(0).toBool(), true);

        cleared.clear();
        QVERIFY(FBrowser->ClearDataForOrigin(QStringLiteral("not an origin"), cdstAll));
        QVERIFY(cleared.wait(Timeout));
        QCOMPARE(cleared.constFirst().at(0).toBool(), false);
    }

    void faviconAsPng()
    {
        QSignalSpy changed(FBrowser, &TWVBrowserBase::OnFaviconChanged);
        QVERIFY(Load(FBrowser, QStringLiteral("/second")));
        QTRY_VERIFY_WITH_TIMEOUT(!FBrowser->FaviconURI().isEmpty() && changed.count() > 0, Timeout);
        QCOMPARE(FBrowser->FaviconURI(), FServer.Url(QStringLiteral("/favicon.ico")).toString());
        QSignalSpy icon(FBrowser, &TWVBrowserBase::OnGetFaviconCompleted);
        QVERIFY(!FBrowser->GetFavicon(7));
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                icon.clear();
                return FBrowser->GetFavicon(wvifPNG) && icon.wait(Timeout) && !icon.constFirst().at(1).toByteArray().isEmpty();
            }(),
            Timeout);
        QCOMPARE(icon.constFirst().at(0).toInt(), WV_S_OK);
        const QImage image = QImage::fromData(icon.constFirst().at(1).toByteArray(), "PNG");
        QVERIFY(!image.isNull());
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::blue));
    }

    void acceleratorKeys()
    {
        QVERIFY(Load(FBrowser, QStringLiteral("/first")));
        FHost->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(FHost));
        QSignalSpy focused(FBrowser, &TWVBrowserBase::OnGotFocus);
        FHost->SetFocus(); // the host passes the focus on to the web view
        QTRY_VERIFY_WITH_TIMEOUT(focused.count() > 0, Timeout);

        QList<int> keys;
        connect(FBrowser, &TWVBrowserBase::OnAcceleratorKeyPressed, this, [&keys](TWVAcceleratorKeyArgs &args) {
            if (!args.IsKeyReleased)
                keys << args.VirtualKey;
            args.Handled = args.VirtualKey == 0x42; // the owner takes Ctrl+B
        });
        QSignalSpy simulated(FBrowser, &TWVBrowserBase::OnSimulateKeyEventCompleted);
        QVERIFY(FBrowser->SimulateKeyEvent(wvkeKeyDown, Qt::Key_B, Qt::ControlModifier));
        QVERIFY(FBrowser->SimulateKeyEvent(wvkeKeyUp, Qt::Key_B, Qt::ControlModifier));
        QVERIFY(FBrowser->SimulateKeyEvent(wvkeKeyDown, Qt::Key_C, Qt::NoModifier, QStringLiteral("c")));
        QVERIFY(FBrowser->SimulateKeyEvent(wvkeKeyDown, Qt::Key_Plus, Qt::ControlModifier)); // the browser's zoom key
        QVERIFY(!FBrowser->SimulateKeyEvent(7, Qt::Key_A, Qt::NoModifier));
        QCOMPARE(simulated.count(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(simulated.count(), 4, Timeout);
        QCOMPARE(keys, (QList<int>{0x42, 0xBB})); // plain typing is no accelerator
        QCOMPARE(FBrowser->ZoomStep(), TZoomSteps::ZOOM_STEP_DEF + 1);

        QVERIFY(FBrowser->SetAreBrowserAcceleratorKeysEnabled(false));
        QVERIFY(FBrowser->SimulateKeyEvent(wvkeKeyDown, Qt::Key_Plus, Qt::ControlModifier));
        QCOMPARE(FBrowser->ZoomStep(), TZoomSteps::ZOOM_STEP_DEF + 1); // switched off: the key goes to the page
        QCOMPARE(keys.size(), 3);                                       // and the owner still sees it
        QVERIFY(FBrowser->SetAreBrowserAcceleratorKeysEnabled(true));
        FBrowser->disconnect(this);
        QVERIFY(FBrowser->ResetZoom());
    }

    void clearBrowsingDataKinds()
    {
        QVERIFY(Load(FBrowser, QStringLiteral("/first")));
        QCOMPARE(Evaluate(QStringLiteral("localStorage.setItem('k', 'v'); sessionStorage.setItem('s', 'v'); "
                                         "document.cookie = 'c=2; max-age=3600'; document.cookie")),
                 QStringLiteral("\"c=2\""));
        QSignalSpy cleared(FBrowser, &TWVBrowserBase::OnClearBrowsingDataCompleted);
        QVERIFY(FBrowser->ClearBrowsingData(WV_BROWSING_DATA_KINDS_COOKIES | WV_BROWSING_DATA_KINDS_LOCAL_STORAGE));
        QCOMPARE(cleared.count(), 0);
        QVERIFY(cleared.wait(Timeout));
        QCOMPARE(cleared.count(), 1);
        QCOMPARE(cleared.constFirst().at(0).toInt(), WV_S_OK);
        // The engine takes an origin's session storage with its local storage.
        QCOMPARE(Evaluate(QStringLiteral("[localStorage.length, document.cookie, sessionStorage.length]")),
                 QStringLiteral("[0,\"\",0]"));

        QVERIFY(FBrowser->CanGoBack());
        cleared.clear();
        QVERIFY(FBrowser->ClearBrowsingData(WV_BROWSING_DATA_KINDS_BROWSING_HISTORY));
        QVERIFY(cleared.wait(Timeout));
        QCOMPARE(cleared.constFirst().at(0).toInt(), WV_S_OK);
        QVERIFY(!FBrowser->CanGoBack());
    }

    void certificateErrorsDecidedOneByOne()
    {
        TTestHttpServer tls;
        QVERIFY(tls.ListenTls(TTestHttpServer::TlsConfiguration(QStringLiteral(FIXTURES "/selfsigned-cert.pem"),
                                                                QStringLiteral(FIXTURES "/selfsigned-key.pem"))));
        tls.SetRoute(QStringLiteral("/"), Page("Secure", "<p>secure</p>"));
        QVERIFY(!FBrowser->SetIgnoreCertificateErrors(true)); // never all of them at once
        QVERIFY(!FBrowser->IgnoreCertificateErrors());
        QVERIFY(FBrowser->SetIgnoreCertificateErrors(false));

        QList<TWVServerCertificateErrorArgs> errors;
        int action = wvceaDefault;
        connect(FBrowser, &TWVBrowserBase::OnServerCertificateErrorDetected, this,
                [&](TWVServerCertificateErrorArgs &args) {
                    errors << args;
                    args.Action = action;
                });
        QSignalSpy completed(FBrowser, &TWVBrowserBase::OnNavigationCompleted);
        QVERIFY(FBrowser->Navigate(tls.Url().toString()));
        QVERIFY(completed.wait(Timeout));
        QVERIFY(!completed.constLast().at(0).value<TWVNavigationCompletedArgs>().IsSuccess);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.constFirst().RequestUri, tls.Url());
        QVERIFY(errors.constFirst().IsOverridable);
        QVERIFY(!errors.constFirst().ErrorDescription.isEmpty());
        QCOMPARE(tls.RequestCount(QStringLiteral("/")), 0);

        action = wvceaAlwaysAllow; // the owner's decision for this one certificate
        completed.clear();
        QVERIFY(FBrowser->Navigate(tls.Url().toString()));
        QVERIFY(completed.wait(Timeout));
        QVERIFY(completed.constLast().at(0).value<TWVNavigationCompletedArgs>().IsSuccess);
        QCOMPARE(FBrowser->DocumentTitle(), QStringLiteral("Secure"));
        QCOMPARE(tls.RequestCount(QStringLiteral("/")), 1);
        FBrowser->disconnect(this);
    }

    void webMessagesBothWays()
    {
        FServer.SetRoute(QStringLiteral("/messages"),
                         Page("Messages", "<script>chrome.webview.addEventListener('message', e => "
                                          "{ document.title = 'got ' + e.data.n; });"
                                          "chrome.webview.postMessage({n: 5});</script>"));
        QSignalSpy received(FBrowser, &TWVBrowserBase::OnWebMessageReceived);
        // The notice of the page before may still arrive at first; it is raised while that page is shown.
        QStringList domLoaded;
        connect(FBrowser, &TWVBrowserBase::OnDOMContentLoaded, this, [&] { domLoaded << FBrowser->Source(); });
        QVERIFY(Load(FBrowser, QStringLiteral("/messages")));
        QTRY_COMPARE_WITH_TIMEOUT(received.count(), 1, Timeout);
        QCOMPARE(received.constFirst().at(0).toString(), QStringLiteral("{\"n\":5}"));
        const QString address = FServer.Url(QStringLiteral("/messages")).toString();
        QTRY_COMPARE_WITH_TIMEOUT(domLoaded.count(address), 1, Timeout);
        FBrowser->disconnect(this);
        QVERIFY(!FBrowser->PostWebMessageAsJson(QStringLiteral("{broken")));
        QVERIFY(FBrowser->PostWebMessageAsJson(received.constFirst().at(0).toString()));
        QTRY_COMPARE_WITH_TIMEOUT(FBrowser->DocumentTitle(), QStringLiteral("got 5"), Timeout);
    }

    void downloadToChosenPath()
    {
        const QString target = FDir.filePath(QStringLiteral("chosen.bin"));
        TWVDownloadOperation *operation = nullptr;
        QUrl uri;
        connect(FBrowser, &TWVBrowserBase::OnDownloadStarting, this, [&](TWVDownloadStartingArgs &args) {
            uri = args.Uri;
            operation = args.DownloadOperation;
            QVERIFY(args.ResultFilePath.endsWith(QLatin1String("data.bin")));
            args.ResultFilePath = target;
        });
        QList<int> states;
        connect(FBrowser, &TWVBrowserBase::OnDownloadStateChanged, this,
                [&](TWVDownloadOperation *op, qint32) { states << op->State(); });
        QVERIFY(FBrowser->Navigate(FServer.Url(QStringLiteral("/data.bin")).toString()));
        QTRY_VERIFY_WITH_TIMEOUT(states.contains(wvdsCompleted), Timeout);
        FBrowser->disconnect(this);
        QCOMPARE(uri, FServer.Url(QStringLiteral("/data.bin")));
        QVERIFY(operation);
        QCOMPARE(operation->ResultFilePath(), target);
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("downloaded bytes"));
    }

    void deferredNewWindowOpensInAnotherBrowser()
    {
        FServer.SetRoute(QStringLiteral("/opener"), Page("Opener", "<p>opener</p>"));
        QVERIFY(Load(FBrowser, QStringLiteral("/opener")));
        QPointer<TWVNewWindowRequest> request;
        connect(FBrowser, &TWVBrowserBase::OnNewWindowRequested, this, [&](TWVNewWindowRequest *args) {
            args->SetHandled(true);
            QVERIFY(args->GetDeferral());
            request = args;
        });
        QVERIFY(FBrowser->ExecuteScript(
            QStringLiteral("window.open('%1'); 0").arg(FServer.Url(QStringLiteral("/second")).toString()), 3));
        QTRY_VERIFY_WITH_TIMEOUT(request, Timeout);
        FBrowser->disconnect(this);
        QCOMPARE(request->Uri(), FServer.Url(QStringLiteral("/second")));

        TWVWindowParent host;
        host.resize(400, 300);
        host.show();
        TWVBrowser *popup = NewBrowser(&host);
        QVERIFY(popup);
        QVERIFY(request->SetNewWindow(popup));
        QVERIFY(request->Complete());
        QVERIFY(!request->Complete());
        delete request.data();
        QTRY_COMPARE_WITH_TIMEOUT(popup->Source(), FServer.Url(QStringLiteral("/second")).toString(), Timeout);
        QCOMPARE(Evaluate(QStringLiteral("1")), QStringLiteral("1")); // the opener is unharmed
        QSignalSpy opener(popup, &TWVBrowserBase::OnExecuteScriptCompleted);
        QVERIFY(popup->ExecuteScript(QStringLiteral("window.opener !== null"), 4));
        QVERIFY(opener.wait(Timeout));
        QCOMPARE(opener.constFirst().at(1).toString(), QStringLiteral("true"));
        delete popup;
    }

    // A script that opens a blank window and writes into it at once, as sites do for print views; the
    // window shows the written document and survives being resized, wherever the owner opens it.
    void popupWrittenByItsOpener_data()
    {
        QTest::addColumn<TNewWindowAnswer>("answer");
        QTest::newRow("engine's own pop-up") << TNewWindowAnswer::OwnPopup;
        QTest::newRow("another browser, at once") << TNewWindowAnswer::GivenAtOnce;
        QTest::newRow("another browser, deferred") << TNewWindowAnswer::Deferred;
    }

    void popupWrittenByItsOpener()
    {
        QFETCH(TNewWindowAnswer, answer);
        FServer.SetRoute(QStringLiteral("/writer"), Page("Writer", "<p>writer</p>"));
        QVERIFY(Load(FBrowser, QStringLiteral("/writer")));
        std::unique_ptr<TWVWindowParent> host;
        std::unique_ptr<TWVBrowser> browser;
        if (answer != TNewWindowAnswer::OwnPopup) {
            host = std::make_unique<TWVWindowParent>();
            host->resize(400, 300);
            host->show();
            browser.reset(NewBrowser(host.get()));
            QVERIFY(browser);
        }
        QPointer<TWVNewWindowRequest> request;
        connect(FBrowser, &TWVBrowserBase::OnNewWindowRequested, this, [&](TWVNewWindowRequest *args) {
            args->SetHandled(answer != TNewWindowAnswer::OwnPopup);
            if (answer == TNewWindowAnswer::GivenAtOnce)
                QVERIFY(args->SetNewWindow(browser.get()));
            if (answer == TNewWindowAnswer::Deferred)
                QVERIFY(args->GetDeferral());
            request = args;
        });
        QCOMPARE(Evaluate(QStringLiteral("var w = window.open('about:blank');"
                                         "w.document.write('<title>Written</title><p>hi</p>'); w.document.close();"
                                         "w.document.body.textContent")),
                 QStringLiteral("\"hi\""));
        FBrowser->disconnect(this);

        QWidget *window = host.get();
        if (answer == TNewWindowAnswer::Deferred) {
            QVERIFY(request);
            QVERIFY(request->SetNewWindow(browser.get()));
            QVERIFY(request->Complete());
            delete request.data();
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(!request, Timeout); // answered and gone
        }
        if (answer == TNewWindowAnswer::OwnPopup) {
            const auto ownPopup = [this, &window] {
                for (QWebEngineView *view : FHost->window()->findChildren<QWebEngineView *>()) {
                    if (view->isWindow() && view->isVisible() && view->title() == QLatin1String("Written"))
                        window = view;
                }
                return window != nullptr;
            };
            QTRY_VERIFY_WITH_TIMEOUT(ownPopup(), Timeout);
        } else {
            QTRY_COMPARE_WITH_TIMEOUT(browser->DocumentTitle(), QStringLiteral("Written"), Timeout);
        }
        window->resize(520, 390);
        QTRY_COMPARE_WITH_TIMEOUT(Evaluate(QStringLiteral("w.innerWidth")), QStringLiteral("520"), Timeout);
        QCOMPARE(Evaluate(QStringLiteral("w.document.body.textContent")), QStringLiteral("\"hi\""));
        QCOMPARE(Evaluate(QStringLiteral("document.title")), QStringLiteral("\"Writer\"")); // the opener is unharmed
        if (answer == TNewWindowAnswer::OwnPopup)
            delete window;
    }

    void browserDestroyedBeforeHost()
    {
        TWVWindowParent host;
        host.resize(300, 200);
        host.show();
        TWVBrowser *browser = NewBrowser(&host);
        QVERIFY(browser);
        QCOMPARE(host.Browser(), browser);
        QSignalSpy done(browser, &TWVBrowserBase::OnExecuteScriptCompleted);
        QVERIFY(browser->ExecuteScript(QStringLiteral("1"), 1));
        delete browser; // the pending completion is dropped with it
        QCOMPARE(host.Browser(), nullptr);
        host.resize(320, 240); // the host still works on its own
        host.SetFocus();
        host.UpdateSize();
        QCOMPARE(done.count(), 0);
    }
};

ORBWELL_ENGINE_TEST_MAIN(TestWVBrowser)
#include "tst_wvbrowser.moc"
