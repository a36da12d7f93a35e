#include "common/EngineTestMain.h"
#include "webview/WVLoader.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWebEnginePage>
#include <QWebEngineProfile>

class TestLoader : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir FDir;

    TWVLoader *NewLoader()
    {
        auto *loader = new TWVLoader(this);
        loader->Config.ShowMessageDlg = false;
        loader->Config.UserDataFolder = FDir.filePath(QStringLiteral("Orbwell Cache"));
        return loader;
    }

private Q_SLOTS:
    void missingHelperStopsBeforeTheEngine()
    {
        TWVLoader *loader = NewLoader();
        loader->HelperProcessPath = FDir.filePath(QStringLiteral("no-such-helper"));
        QSignalSpy created(loader, &TWVLoader::OnEnvironmentCreated);
        QVERIFY(!loader->StartWebView2());
        QCOMPARE(loader->Status(), wvlsError);
        QVERIFY(loader->InitializationError());
        QCOMPARE(loader->ErrorLog(), (QStringList{QStringLiteral("WebView2 Runtime is not installed correctly."),
                                                  QStringLiteral("Download and run the Evergreen Standalone Installer from "),
                                                  QStringLiteral("https://packages.debian.org/stable/libqt6webenginecore6-bin")}));
        QVERIFY(loader->ErrorMessage().endsWith(QStringLiteral("libqt6webenginecore6-bin\r\n")));
        QCoreApplication::processEvents();
        QCOMPARE(created.count(), 0);
        QVERIFY(!loader->Environment());
    }

    void checks_data()
    {
        QTest::addColumn<QString>("browserExecPath");
        QTest::addColumn<QString>("resourcesFile");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("fixed-version folder without helper") << FDir.path() << QString()
                                                             << QStringLiteral("The Browser Executable Folder doesn't exist.");
        QTest::newRow("resources missing") << QString() << FDir.filePath(QStringLiteral("none.pak"))
                                           << QStringLiteral("WebView2 Runtime is not installed correctly.");
    }

    void checks()
    {
        QFETCH(QString, browserExecPath);
        QFETCH(QString, resourcesFile);
        TWVLoader *loader = NewLoader();
        loader->Config.BrowserExecPath = browserExecPath;
        loader->ResourcesFile = resourcesFile;
        QVERIFY(!loader->StartWebView2());
        QCOMPARE(loader->Status(), wvlsError);
        QTEST(loader->ErrorLog().value(0), "firstLine");
    }

    void checksCanBeSkipped()
    {
        TWVLoader *loader = NewLoader();
        loader->Config.CheckFiles = false;
        loader->HelperProcessPath = FDir.filePath(QStringLiteral("no-such-helper"));
        loader->Config.AllowOldRuntime = false;
        // The version check still runs; this engine is older than the minimum.
        QVERIFY(!loader->StartWebView2());
        QCOMPARE(loader->Status(), wvlsError);
        QCOMPARE(loader->ErrorLog().size(), 1);
        QVERIFY(loader->ErrorLog().constFirst().contains(QStringLiteral("older than the expected version 124.0.2478.35")));
    }

    void userDataFolderTakenByFile()
    {
        TWVLoader *loader = NewLoader();
        loader->Config.UserDataFolder = FDir.filePath(QStringLiteral("a-file"));
        QFile file(loader->Config.UserDataFolder);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QSignalSpy failed(loader, &TWVLoader::OnInitializationError);
        QVERIFY(loader->StartWebView2()); // the request is accepted; the answer comes later
        QVERIFY(failed.wait(5000));
        QCOMPARE(loader->Status(), wvlsError);
        const QStringList log = loader->ErrorLog();
        QCOMPARE(log.mid(log.size() - 3),
                 (QStringList{QStringLiteral("There was a problem initializing the browser environment."),
                              QStringLiteral("Error code : 0x80070050"),
                              QStringLiteral("User data folder cannot be created because a file with the same name already exists.")}));
        QCOMPARE(loader->ErrorCode(), qint64(0x80070050));
    }

    // Last: the engine takes its switches once per process.
    void environmentArrivesLaterWithTheSwitches()
    {
        TWVLoader *loader = NewLoader();
        loader->Config.JavaScriptFlags = QStringLiteral("--expose-gc");
        QSignalSpy created(loader, &TWVLoader::OnEnvironmentCreated);
        QVERIFY(loader->StartWebView2());
        // Asynchronous: nothing exists until the event loop runs.
        QCOMPARE(loader->Status(), wvlsImported);
        QVERIFY(!loader->Initialized());
        QCOMPARE(created.count(), 0);
        QVERIFY(!loader->StartWebView2()); // one environment per loader
        QVERIFY(created.wait(5000));
        QCOMPARE(created.count(), 1);
        QVERIFY(loader->Initialized());
        QVERIFY(loader->EnvironmentIsInitialized());
        QVERIFY(loader->ErrorLog().value(0).contains(QStringLiteral("older than the expected version"))); // warning only
        QVERIFY(!loader->InitializationError());
        QVERIFY(QFileInfo(loader->Config.UserDataFolder).isDir());
        QCOMPARE(loader->Environment()->persistentStoragePath(), loader->Config.UserDataFolder);
        QVERIFY(!loader->AvailableBrowserVersion().isEmpty());
        QVERIFY(qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS").contains(QStringLiteral("--js-flags=\"--expose-gc\"")));

        // The switch reached the engine: gc() exists only with --expose-gc.
        QWebEnginePage page(loader->Environment());
        QSignalSpy loaded(&page, &QWebEnginePage::loadFinished);
        page.setHtml(QStringLiteral("<p>x</p>"), QUrl(QStringLiteral("http://127.0.0.1/")));
        QVERIFY(loaded.wait(20000));
        QString type;
        page.runJavaScript(QStringLiteral("typeof gc"), [&type](const QVariant &v) { type = v.toString(); });
        QTRY_COMPARE_WITH_TIMEOUT(type, QStringLiteral("function"), 10000);

        QVERIFY(loader->PrivateEnvironment());
        QVERIFY(loader->PrivateEnvironment()->isOffTheRecord());
    }
};

ORBWELL_ENGINE_TEST_MAIN(TestLoader)
#include "tst_loader.moc"
