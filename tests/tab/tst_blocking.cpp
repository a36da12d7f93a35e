#include "common/BrowserWindowFixture.h"
#include "common/TestHttpServer.h"
#include "tab/AddressEdit.h"
#include "tab/CFrame.h"

#include <QBuffer>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace {
constexpr int Timeout = TBrowserWindowFixture::Timeout;

QByteArray Png()
{
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QByteArray PageWithImages(const QByteArray &title)
{
    // The title tells when every image has settled, loaded or refused.
    return "<!DOCTYPE html><html><head><title>loading</title></head><body>"
           "<img src=\"/ads/banner.png\"><img src=\"/img/photo.png\">"
           "<script>var left=2;function done(){if(--left==0)document.title='" + title + "';}"
           "for(const i of document.images){if(i.complete)done();else{i.onload=done;i.onerror=done;}}</script>"
           "</body></html>";
}

void WriteList(const QString &path, const QByteArray &lines)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(lines);
}
} // namespace

// The content blocker inside real tabs: refused requests never reach the server.
class TestBlocking : public QObject
{
    Q_OBJECT

private:
    TTestHttpServer FServer;
    TBrowserWindowFixture F;

    QString Address(const QString &path) const { return FServer.Url(path).toString(); }
    TFrameChild *Frame(int index) const { return F.Window->TabAt(index)->Frame(); }
    TWVBrowser *Browser(int index) const { return F.Window->TabAt(index)->OrbwellBrowser(); }

    // A window with the given lists and switches, its first tab on the page.
    bool Open(const QByteArray &blockList, const QByteArray &whitelist, const QByteArray &settings,
              const QString &path)
    {
        WriteList(F.Dir.filePath(QStringLiteral("AdBlockURLs.txt")), blockList);
        WriteList(F.Dir.filePath(QStringLiteral("AdBlockWhitelistURLs.txt")), whitelist);
        return F.Open(settings, {Address(path)});
    }

    bool WaitForTitle(int tab, const QString &title)
    {
        return QTest::qWaitFor([&] { return Browser(tab) && Browser(tab)->DocumentTitle() == title; }, Timeout);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FServer.Listen());
        FServer.SetRoute(QStringLiteral("/page"), PageWithImages("settled"));
        FServer.SetRoute(QStringLiteral("/white/page"), PageWithImages("settled"));
        FServer.SetRoute(QStringLiteral("/ads/banner.png"), Png(), "image/png");
        FServer.SetRoute(QStringLiteral("/img/photo.png"), Png(), "image/png");
        FServer.SetRoute(QStringLiteral("/ads/landing"), "<title>landing</title>");
        FServer.SetRoute(QStringLiteral("/plain"), "<title>plain</title>");
        QVERIFY(F.StartEngine());
    }

    void cleanupTestCase() { F.StopEngine(); }

    void blockedImageNeverReachesTheServer()
    {
        const int banners = FServer.RequestCount(QStringLiteral("/ads/banner.png"));
        const int photos = FServer.RequestCount(QStringLiteral("/img/photo.png"));
        QVERIFY(Open("/ADS/\r\n", "", "AdBlocker=1\r\n", QStringLiteral("/page")));
        QVERIFY(WaitForTitle(0, QStringLiteral("settled")));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/ads/banner.png")), banners);
        QCOMPARE(FServer.RequestCount(QStringLiteral("/img/photo.png")), photos + 1);
        QCOMPARE(Frame(0)->btnAdBlocker->text(), QStringLiteral("1"));
    }

    void whitelistedPageLoadsEverything()
    {
        const int banners = FServer.RequestCount(QStringLiteral("/ads/banner.png"));
        QVERIFY(Open("/ads/\r\n", "/white/\r\n", "AdBlocker=1\r\n", QStringLiteral("/white/page")));
        QVERIFY(WaitForTitle(0, QStringLiteral("settled")));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/ads/banner.png")), banners + 1);
        QCOMPARE(Frame(0)->btnAdBlocker->text(), QStringLiteral("0"));
    }

    void imageBlockingRefusesImages()
    {
        const int banners = FServer.RequestCount(QStringLiteral("/ads/banner.png"));
        const int photos = FServer.RequestCount(QStringLiteral("/img/photo.png"));
        QVERIFY(Open("/ads/\r\n", "", "AdBlocker=0\r\n[Environment Settings]\r\nBlockImages=1\r\n",
                     QStringLiteral("/page")));
        QVERIFY(WaitForTitle(0, QStringLiteral("settled")));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/ads/banner.png")), banners);
        QCOMPARE(FServer.RequestCount(QStringLiteral("/img/photo.png")), photos);
        // The page itself is not an image and loads.
        QCOMPARE(Frame(0)->btnAdBlocker->text(), QString());
    }

    void missingListTurnsTheBlockerOffForTheRun()
    {
        QVERIFY(Open("/ads/\r\n", "", "AdBlocker=1\r\n", QStringLiteral("/plain")));
        QVERIFY(QFile::remove(F.Dir.filePath(QStringLiteral("AdBlockWhitelistURLs.txt"))));
        const QString ini = F.Window->IniFile().FileName();
        F.Close();
        QFile settings(ini);
        QVERIFY(settings.open(QIODevice::ReadOnly));
        const QByteArray before = settings.readAll();
        settings.close();
        F.Window = new TfrmParent({Address(QStringLiteral("/page"))}, ini);
        F.Window->show();
        QVERIFY(F.WaitForTabs(1));
        QVERIFY(!F.Window->Settings.FAdBlocker);
        const int banners = FServer.RequestCount(QStringLiteral("/ads/banner.png"));
        QVERIFY(WaitForTitle(0, QStringLiteral("settled")));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/ads/banner.png")), banners + 1);
        QVERIFY(settings.open(QIODevice::ReadOnly));
        QCOMPARE(settings.readAll(), before);
    }

    void blockedNavigationIsStopped()
    {
        QVERIFY(Open("/ads/\r\n", "", "AdBlocker=1\r\n", QStringLiteral("/plain")));
        QVERIFY(WaitForTitle(0, QStringLiteral("plain")));
        const int landings = FServer.RequestCount(QStringLiteral("/ads/landing"));
        // With one tab the tab stays, stopped.
        QVERIFY(Browser(0)->Navigate(Address(QStringLiteral("/ads/landing"))));
        QTRY_VERIFY_WITH_TIMEOUT(!Browser(0)->IsNavigating(), Timeout);
        QCOMPARE(F.Window->TabCount(), 1);
        // With two tabs the active one closes.
        QVERIFY(F.AddTab(Address(QStringLiteral("/plain"))));
        QVERIFY(WaitForTitle(1, QStringLiteral("plain")));
        QVERIFY(Browser(1)->Navigate(Address(QStringLiteral("/ads/landing"))));
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->TabCount(), 1, Timeout);
        QCOMPARE(FServer.RequestCount(QStringLiteral("/ads/landing")), landings);
        QCOMPARE(F.PageOf(0), Address(QStringLiteral("/plain")));
        // A tab in the background that is sent to a blocked page is the one that goes.
        QVERIFY(F.AddTab(Address(QStringLiteral("/plain?front"))));
        QVERIFY(WaitForTitle(1, QStringLiteral("plain")));
        QCOMPARE(F.Window->ActiveTabIndex(), 1);
        QVERIFY(Browser(0)->Navigate(Address(QStringLiteral("/ads/landing"))));
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->TabCount(), 1, Timeout);
        QCOMPARE(F.PageOf(0), Address(QStringLiteral("/plain?front")));
    }

    void panelListsWhatPassed()
    {
        QVERIFY(Open("/ads/\r\n", "", "AdBlocker=1\r\n", QStringLiteral("/plain")));
        F.Window->showPanelAdUrls = true;
        Frame(0)->showAdPanel();
        QVERIFY(Browser(0)->Navigate(Address(QStringLiteral("/page"))));
        QVERIFY(WaitForTitle(0, QStringLiteral("settled")));
        QStringList listed;
        for (int i = 0; i < Frame(0)->lstAdUrls->count(); ++i)
            listed.append(Frame(0)->lstAdUrls->item(i)->text());
        QVERIFY(listed.contains(Address(QStringLiteral("/img/photo.png"))));
        QVERIFY(!listed.join(QLatin1Char(' ')).contains(QStringLiteral("/ads/")));
        Frame(0)->btnClearList->click();
        QCOMPARE(Frame(0)->lstAdUrls->count(), 0);
        Frame(0)->btnHide->click();
        QVERIFY(!F.Window->showPanelAdUrls);
        QVERIFY(Frame(0)->pnlAdList->isHidden());
    }

    void addDomainToWhitelistTakesEffectAtOnce()
    {
        QVERIFY(Open("/ads/\r\n", "", "AdBlocker=1\r\n", QStringLiteral("/page")));
        QVERIFY(WaitForTitle(0, QStringLiteral("settled")));
        QCOMPARE(Frame(0)->btnAdBlocker->text(), QStringLiteral("1"));
        Frame(0)->popEdit->findChild<QAction *>(QStringLiteral("AddtoWhitelist1"))->trigger();
        QFile list(F.Dir.filePath(QStringLiteral("AdBlockWhitelistURLs.txt")));
        QVERIFY(list.open(QIODevice::ReadOnly));
        QCOMPARE(list.readAll(), (Address(QString()).toLatin1() + "\r\n"));
        const int banners = FServer.RequestCount(QStringLiteral("/ads/banner.png"));
        QVERIFY(Browser(0)->Navigate(Address(QStringLiteral("/page?again"))));
        QVERIFY(WaitForTitle(0, QStringLiteral("loading")));
        QVERIFY(WaitForTitle(0, QStringLiteral("settled")));
        QCOMPARE(FServer.RequestCount(QStringLiteral("/ads/banner.png")), banners + 1);
    }

    void blockImagesSwitchesTheAdBlockerOff()
    {
        QVERIFY(Open("/ads/\r\n", "", "AdBlocker=1\r\n", QStringLiteral("/plain")));
        QTimer answer;
        connect(&answer, &QTimer::timeout, this, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                box->accept();
        });
        answer.start(50);
        Frame(0)->BlockImages1Click();
        QVERIFY(F.Window->Settings.FBlockImages);
        QVERIFY(!F.Window->Settings.FAdBlocker);
        QFile ini(F.Window->IniFile().FileName());
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray text = ini.readAll();
        QVERIFY(text.contains("AdBlocker=0"));
        QVERIFY(text.contains("BlockImages=1"));
    }
};

ORBWELL_WINDOW_TEST_MAIN(TestBlocking)
#include "tst_blocking.moc"
