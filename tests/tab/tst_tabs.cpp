#include "common/BrowserWindowFixture.h"
#include "common/TestHttpServer.h"
#include "look/GradientTabBar.h"
#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "shell/PublisherPages.h"
#include "tab/AddressEdit.h"
#include "tab/CFrame.h"
#include "webview/WVAppScheme.h"
#include "webview/WVBrowser.h"
#include "webview/WVLoader.h"
#include "webview/WVNewWindowRequest.h"

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <unistd.h>

namespace {
constexpr int Timeout = TBrowserWindowFixture::Timeout;

QByteArray Page(const QByteArray &title, const QByteArray &body = QByteArray())
{
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title + "</title></head><body>" + body
           + "</body></html>";
}
} // namespace

// The tab manager and the tab frame in a real main window over the real engine.
class TestTabs : public QObject
{
    Q_OBJECT

private:
    TTestHttpServer FServer;
    TBrowserWindowFixture F;
    TfrmParent *&FWindow = F.Window;

    QString Address(const QString &path) const { return FServer.Url(path).toString(); }
    bool OpenWindow(const QByteArray &settings = QByteArray())
    {
        return F.Open(settings, {Address(QStringLiteral("/first"))});
    }
    bool WaitForTabs(int count) { return F.WaitForTabs(count); }
    bool AddTab(const QString &path) { return F.AddTab(Address(path)); }
    QString PageOf(int index) const { return F.PageOf(index); }

    QList<quint32> TabIds() const
    {
        QList<quint32> ids;
        for (int i = 0; i < FWindow->TabCount(); ++i)
            ids.append(FWindow->TabAt(i)->TabID());
        return ids;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FServer.Listen());
        for (const char *name : {"first", "a", "b", "c", "d", "e", "later", "earlier"})
            FServer.SetRoute(QLatin1Char('/') + QLatin1String(name), Page(name));
        FServer.SetRoute(QStringLiteral("/opener"),
                         Page("Opener", "<script>function go(){window.open('/a','_blank');}</script>"));
        QVERIFY(F.StartEngine());
    }

    void cleanupTestCase() { F.StopEngine(); }

    void firstTabShowsArgumentAndIsOne()
    {
        QVERIFY(OpenWindow("NextToCurrentTabPage=1\r\n"));
        TBrowserTab *tab = FWindow->TabAt(0);
        QCOMPARE(tab->TabID(), 1u);
        QCOMPARE(tab->Frame()->objectName(), QStringLiteral("BrowserFrame1"));
        QTRY_COMPARE_WITH_TIMEOUT(PageOf(0), Address(QStringLiteral("/first")), Timeout);
        QCOMPARE(tab->Frame()->btnBack->toolTip(), QStringLiteral("Go Back"));
        QCOMPARE(FWindow->tbcChildrenTabs()->tabText(0).trimmed().isEmpty(), false);
    }

    void newTabsPlacement_data()
    {
        QTest::addColumn<bool>("nextToCurrent");
        QTest::addColumn<QStringList>("expected");
        // Five tabs opened one after the other with the first made active before the last four.
        QTest::newRow("at the end") << false
                                    << QStringList{QStringLiteral("/first"), QStringLiteral("/a"), QStringLiteral("/b"),
                                                   QStringLiteral("/c"), QStringLiteral("/d")};
        QTest::newRow("next to current") << true
                                         << QStringList{QStringLiteral("/first"), QStringLiteral("/d"),
                                                        QStringLiteral("/c"), QStringLiteral("/b"),
                                                        QStringLiteral("/a")};
    }

    void newTabsPlacement()
    {
        QFETCH(bool, nextToCurrent);
        QFETCH(QStringList, expected);
        QVERIFY(OpenWindow(nextToCurrent ? "NextToCurrentTabPage=1\r\n" : "NextToCurrentTabPage=0\r\n"));
        for (const QString &path : {QStringLiteral("/a"), QStringLiteral("/b"), QStringLiteral("/c"),
                                    QStringLiteral("/d")}) {
            FWindow->SelectTab(0);
            QVERIFY(AddTab(path));
            // The new tab is the active one either way.
            QCOMPARE(FWindow->TabAt(FWindow->ActiveTabIndex())->Frame()->Homepage(), Address(path));
        }
        QStringList order;
        for (int i = 0; i < FWindow->TabCount(); ++i)
            order.append(FWindow->TabAt(i)->Frame()->Homepage().mid(Address(QString()).size() - 1));
        QCOMPARE(order, expected);
        const QList<quint32> ids = TabIds();
        QCOMPARE(QSet<quint32>(ids.begin(), ids.end()).size(), 5);
        QCOMPARE(*std::max_element(ids.begin(), ids.end()), 5u);
    }

    void requestsBeforeIdleOpenTheLaterAddress()
    {
        QVERIFY(OpenWindow());
        FWindow->navigateURL = Address(QStringLiteral("/earlier"));
        FWindow->createFrame();
        FWindow->navigateURL = Address(QStringLiteral("/later"));
        FWindow->createFrame();
        QVERIFY(WaitForTabs(3));
        QTRY_COMPARE_WITH_TIMEOUT(PageOf(1), Address(QStringLiteral("/later")), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(PageOf(2), Address(QStringLiteral("/later")), Timeout);
    }

    void closeKeepsTheRightTabActive_data()
    {
        QTest::addColumn<int>("tabCount");
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("closed");
        QTest::addColumn<int>("expectedIndex");
        QTest::addColumn<int>("expectedOldIndex");
        QTest::newRow("before the active one") << 4 << 2 << 0 << 1 << 2;
        QTest::newRow("the active one") << 4 << 2 << 2 << 2 << 3;
        QTest::newRow("after the active one") << 4 << 2 << 3 << 2 << 2;
        QTest::newRow("the active last one") << 3 << 2 << 2 << 1 << 1;
        QTest::newRow("invalid index") << 3 << 1 << 7 << 1 << 1;
    }

    void closeKeepsTheRightTabActive()
    {
        QFETCH(int, tabCount);
        QFETCH(int, active);
        QFETCH(int, closed);
        QFETCH(int, expectedIndex);
        QFETCH(int, expectedOldIndex);
        QVERIFY(OpenWindow());
        for (int i = 1; i < tabCount; ++i)
            QVERIFY(AddTab(QStringLiteral("/a")));
        const QList<quint32> before = TabIds();
        FWindow->SelectTab(active);
        FWindow->closeTab(closed);
        QCOMPARE(FWindow->TabCount(), closed < tabCount ? tabCount - 1 : tabCount);
        QCOMPARE(FWindow->ActiveTabIndex(), expectedIndex);
        QCOMPARE(FWindow->ActiveTab()->TabID(), before.at(expectedOldIndex));
        QVERIFY(!FWindow->tabExit);
        QVERIFY(FWindow->btnTabClose->isEnabled());
    }

    void closingTheLastTabClosesTheWindow()
    {
        QVERIFY(OpenWindow());
        FWindow->closeTab(0);
        QVERIFY(FWindow->appExit);
        QVERIFY(!FWindow->isVisible());
    }

    void dragDropReorders()
    {
        QVERIFY(OpenWindow());
        QVERIFY(AddTab(QStringLiteral("/a")));
        QVERIFY(AddTab(QStringLiteral("/b")));
        QVERIFY(AddTab(QStringLiteral("/c")));
        FWindow->SelectTab(0);
        const QList<quint32> ids = TabIds();
        TGradientTabBar *strip = FWindow->tbcChildrenTabs();
        // Dropped on empty strip space: nothing moves.
        FWindow->tbcChildrenTabsDragDrop(QPoint(strip->tabRect(3).right() + 40, strip->height() / 2));
        QCOMPARE(TabIds(), ids);
        FWindow->tbcChildrenTabsDragDrop(strip->tabRect(2).center());
        QCOMPARE(TabIds(), (QList<quint32>{ids[1], ids[2], ids[0], ids[3]}));
        QCOMPARE(FWindow->ActiveTab()->TabID(), ids[0]);
        QCOMPARE(FWindow->ActiveTabIndex(), 2);
    }

    void flipAndStep()
    {
        QVERIFY(OpenWindow());
        FWindow->StepToNextWindow1Click();
        QCOMPARE(FWindow->ActiveTabIndex(), 0);
        QVERIFY(AddTab(QStringLiteral("/a")));
        QVERIFY(AddTab(QStringLiteral("/b")));
        FWindow->StepToNextWindow1Click();
        QCOMPARE(FWindow->ActiveTabIndex(), 0);
        FWindow->StepToNextWindow1Click();
        QCOMPARE(FWindow->ActiveTabIndex(), 1);
        // The user goes from tab 1 to tab 2 on the strip; flipping returns to 1.
        FWindow->SelectTabByUser(2);
        QCOMPARE(FWindow->lastActiveTabIndex, 1);
        FWindow->FlipWindow1Click();
        QCOMPARE(FWindow->ActiveTabIndex(), 1);
        // A remembered index beyond the last tab falls back to the first.
        FWindow->lastActiveTabIndex = 9;
        FWindow->FlipWindow1Click();
        QCOMPARE(FWindow->ActiveTabIndex(), 0);
    }

    void temporaryTabReturnsToTheActiveTab()
    {
        QVERIFY(OpenWindow());
        QVERIFY(AddTab(QStringLiteral("/a")));
        QVERIFY(AddTab(QStringLiteral("/b")));
        FWindow->SelectTab(1);
        const quint32 activeId = FWindow->ActiveTab()->TabID();
        TFrameChild *frame = FWindow->ActiveTab()->Frame();
        int countWhileModal = -1;
        QString temporaryPage;
        frame->RunBehindTemporaryTab([&] {
            // Stands for the modal window: the interlude tab opens behind it.
            countWhileModal = WaitForTabs(4) ? FWindow->TabCount() : -1;
            temporaryPage = FWindow->ActiveTab()->Frame()->Homepage();
            return true;
        });
        QCOMPARE(countWhileModal, 4);
        QCOMPARE(temporaryPage, TPublisherPages::InterludePage);
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->TabCount(), 3, Timeout);
        QCOMPARE(FWindow->ActiveTab()->TabID(), activeId);
        QCOMPARE(FWindow->navigateURL, FWindow->getHomePage());
        QVERIFY(FWindow->tbcChildrenTabs()->isVisible());
    }

    void popupRequestAnsweredByNewTab()
    {
        QVERIFY(OpenWindow("NextToCurrentTabPage=0\r\n"));
        TWVBrowser *opener = FWindow->TabAt(0)->OrbwellBrowser();
        QSignalSpy done(opener, &TWVBrowserBase::OnNavigationCompleted);
        QVERIFY(opener->Navigate(Address(QStringLiteral("/opener"))));
        QVERIFY(done.wait(Timeout));
        opener->ExecuteScript(QStringLiteral("go()"));
        QVERIFY(WaitForTabs(2));
        TBrowserTab *popup = FWindow->TabAt(1);
        QCOMPARE(FWindow->ActiveTabIndex(), 1);
        QVERIFY(!popup->Frame()->Args());
        QTRY_COMPARE_WITH_TIMEOUT(PageOf(1), Address(QStringLiteral("/a")), Timeout);
    }

    void settingsOfTheMomentReachNewTabs()
    {
        QVERIFY(OpenWindow("DefaultZoom=150\r\nHideToolbar=0\r\n"));
        QTRY_COMPARE_WITH_TIMEOUT(PageOf(0), Address(QStringLiteral("/first")), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->TabAt(0)->OrbwellBrowser()->ZoomPct(), 150.0, Timeout);
        FWindow->Settings.FZoom = 80;
        FWindow->FHideToolbar = true;
        QVERIFY(AddTab(QStringLiteral("/a")));
        QCOMPARE(FWindow->TabAt(0)->OrbwellBrowser()->ZoomPct(), 150.0);
        QTRY_COMPARE_WITH_TIMEOUT(PageOf(1), Address(QStringLiteral("/a")), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(FWindow->TabAt(1)->OrbwellBrowser()->ZoomPct(), 80.0, Timeout);
        QVERIFY(FWindow->TabAt(1)->Frame()->Panel1->isHidden());
        QVERIFY(!FWindow->TabAt(0)->Frame()->Panel1->isHidden());
    }
};

ORBWELL_WINDOW_TEST_MAIN(TestTabs)

#include "tst_tabs.moc"
