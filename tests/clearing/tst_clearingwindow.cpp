#include "SiteDataProbe.h"
#include "clearing/BrowsingDataClearing.h"
#include "clearing/ClearingRun.h"
#include "clearing/DeleteBrowserHistory.h"
#include "clearing/DeleteDomainData.h"
#include "common/BrowserWindowFixture.h"
#include "common/TestHttpServer.h"
#include "shell/IniFile.h"
#include "tab/CFrame.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>

using namespace SiteDataProbe;

namespace {
const QStringList Everything = {QStringLiteral("cookie"), QStringLiteral("local"), QStringLiteral("idb"),
                                QStringLiteral("cache"),  QStringLiteral("sw"),    QStringLiteral("fs")};

// Answers the program's modal windows as a user would: message boxes are read and closed (question
// boxes with the answer set here), other modal windows go to OnDialog. Every click is queued, so a
// window that waits in its own event loop never waits on this driver.
class TModalDriver : public QObject
{
public:
    QStringList Messages;
    QMessageBox::StandardButton Answer = QMessageBox::Yes;
    std::function<void(QWidget *)> OnDialog;

    TModalDriver()
    {
        FTimer.setInterval(30);
        connect(&FTimer, &QTimer::timeout, this, [this] { Look(); });
        FTimer.start();
    }

private:
    void Look()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            if (FAnswered.contains(box))
                return;
            FAnswered.append(box);
            Messages << box->text();
            QAbstractButton *button = box->button(Answer);
            if (!button)
                button = box->button(QMessageBox::Ok);
            QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
            return;
        }
        if (OnDialog)
            OnDialog(modal);
    }

    QTimer FTimer;
    QList<QPointer<QMessageBox>> FAnswered;
};

void Click(QAbstractButton *button)
{
    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
}
} // namespace

// The clearing commands of a tab, their dialogs and the clearing at exit, in a whole main window.
class TestClearingWindow : public QObject
{
    Q_OBJECT

private:
    TTestHttpServer FServer;
    TBrowserWindowFixture F;
    QWebEnginePage *FPageA = nullptr;
    QWebEnginePage *FPageB = nullptr;
    TModalDriver *FModals = nullptr;

    QUrl UrlA(const QString &path = QStringLiteral("/")) const { return FServer.Url(path); }
    QUrl UrlB(const QString &path = QStringLiteral("/")) const
    {
        QUrl url = FServer.Url(path);
        url.setHost(QStringLiteral("localhost"));
        return url;
    }
    TFrameChild *Frame(int index = 0) const { return F.Window->TabAt(index)->Frame(); }

    // A fresh window whose settings hold the lines given; its first tab shows a page of origin A.
    bool OpenWindow(const QByteArray &settings = QByteArray())
    {
        if (!F.Open(settings, {UrlA(QStringLiteral("/tab")).toString()}))
            return false;
        return QTest::qWaitFor([&] { return F.PageOf(0) == UrlA(QStringLiteral("/tab")).toString()
                                            && !F.Window->TabAt(0)->OrbwellBrowser()->IsNavigating(); },
                               Timeout);
    }

    void FillBothLight()
    {
        QCOMPARE(FillLight(FPageA, QStringLiteral("a")), QStringLiteral("\"filled\""));
        QCOMPARE(FillLight(FPageB, QStringLiteral("b")), QStringLiteral("\"filled\""));
    }

    void FillBoth()
    {
        QCOMPARE(Fill(FPageA, QStringLiteral("a")), QStringLiteral("\"filled\""));
        QCOMPARE(Fill(FPageB, QStringLiteral("b")), QStringLiteral("\"filled\""));
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a")));
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b")));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(F.StartEngine());
        QVERIFY(FServer.Listen());
        FServer.SetRoute(QStringLiteral("/"), QByteArrayLiteral("<!DOCTYPE html><title>site</title>"));
        FServer.SetRoute(QStringLiteral("/tab"), QByteArrayLiteral("<!DOCTYPE html><title>tab</title>"));
        FServer.SetRoute(QStringLiteral("/sw.js"), WorkerScript(), "text/javascript");
        FModals = new TModalDriver();
        QVERIFY(OpenWindow());
        // Pages of both origins in the engine's profile, which every window of the run shares.
        FPageA = new QWebEnginePage(GlobalWebView2Loader->Environment(), this);
        FPageB = new QWebEnginePage(GlobalWebView2Loader->Environment(), this);
        QVERIFY(Load(FPageA, UrlA()));
        QVERIFY(Load(FPageB, UrlB()));
    }

    void cleanupTestCase()
    {
        delete FModals;
        delete FPageA;
        delete FPageB;
        F.StopEngine();
    }

    void init() { FModals->Messages.clear(); FModals->OnDialog = nullptr; FModals->Answer = QMessageBox::Yes; }

    void menusLeadToTheCommands()
    {
        QStringList settings;
        const QList<QAction *> actions = Frame()->popSettings->actions();
        for (QAction *action : actions.mid(0, 5))
            settings << (action->isSeparator() ? QStringLiteral("-") : action->objectName() + QLatin1Char(':') + action->text());
        QCOMPARE(settings, (QStringList{QStringLiteral("DeleteAllCookies1:Delete All Cookies"),
                                        QStringLiteral("ClearDomainData1:Clear Domain Data..."),
                                        QStringLiteral("ClearCache1:Clear Selected Data..."),
                                        QStringLiteral("ClearBrowsingHistory1:Clear All Surfing Data"),
                                        QStringLiteral("-")}));
        QAction *exit = Frame()->popClose->findChild<QAction *>(QStringLiteral("Exit1"));
        QVERIFY(exit);
        QCOMPARE(exit->text(), QStringLiteral("Exit Orbwell Browser"));
        QCOMPARE(Frame()->popClose->actions().constLast(), exit);
    }

    void refusedRequestsTellTheirMessages()
    {
        // A browser component that takes nothing: every request is refused, each with its message.
        TClearingRun run(nullptr, F.Window);
        run.Run(TClearingRules::PlanSelected(TSettings(), true));
        QCOMPARE(run.Wait(1000), TClearingRun::coFailed);
        QCOMPARE(FModals->Messages,
                 (QStringList{QStringLiteral("Orbwell could not clear Cookies."), QStringLiteral("Orbwell could not clear Cookies."),
                              QStringLiteral("Orbwell could not clear Site Data."),
                              QStringLiteral("Orbwell could not clear Browsing History."),
                              QStringLiteral("Orbwell could not clear Download History."),
                              QStringLiteral("Orbwell could not clear Cache Storage."),
                              QStringLiteral("Orbwell could not clear Cached Images and Files."),
                              QStringLiteral("Orbwell could not clear Password Data."),
                              QStringLiteral("Orbwell could not clear Autofill Data."),
                              QStringLiteral("Orbwell could not clear Site Setting Data.")}));
    }

    void dialogShowsAndKeepsTheChoice()
    {
        TfrmDeleteBrowserHistory *form = TBrowsingDataClearing::DeleteBrowserHistoryForm();
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("Clear Selected Browser Data"));
        QCOMPARE(form->size(), QSize(457, 408));
        F.Window->Settings.FImages = false;
        F.Window->Settings.FPasswords = false;
        form->show();
        QVERIFY(!form->chkCachedImages->isChecked());
        QVERIFY(!form->chkPasswords->isChecked());
        QVERIFY(form->chkCookiesSiteData->isChecked());

        // Closing without clearing keeps the new choice, in memory and in the file.
        form->chkPasswords->setChecked(true);
        form->chkSiteSettings->setChecked(false);
        form->btnClose->click();
        QVERIFY(!form->isVisible());
        QVERIFY(F.Window->Settings.FPasswords);
        QVERIFY(!F.Window->Settings.FSiteSettings);
        const TIniFile ini(F.Window->IniFile().FileName());
        QCOMPARE(ini.ReadString(QStringLiteral("Delete History"), QStringLiteral("Passwords"), QString()), QStringLiteral("1"));
        QCOMPARE(ini.ReadString(QStringLiteral("Delete History"), QStringLiteral("SiteSettings"), QString()), QStringLiteral("0"));
        QCOMPARE(ini.ReadString(QStringLiteral("Delete History"), QStringLiteral("Images"), QString()), QStringLiteral("0"));
        QVERIFY(FModals->Messages.isEmpty());
    }

    void clearSelectedDataBehindATemporaryTab()
    {
        FillBoth();
        F.Window->Settings = TSettings(); // every category chosen
        bool clicked = false;
        QString temporaryPage;
        FModals->OnDialog = [&](QWidget *modal) {
            auto *form = qobject_cast<TfrmDeleteBrowserHistory *>(modal);
            if (!form || clicked || F.Window->TabCount() != 2 || !F.Window->ActiveTab()->Initialized()
                || F.PageOf(F.Window->ActiveTabIndex()).isEmpty())
                return;
            clicked = true;
            temporaryPage = F.PageOf(F.Window->ActiveTabIndex());
            Click(form->btnClearData);
        };
        Frame()->ClearCache1Click();
        QVERIFY(clicked);
        QCOMPARE(temporaryPage, TPublisherPages::InterludePage);
        QCOMPARE(FModals->Messages, QStringList{TClearingRules::ClearedMessage});
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->TabCount(), 1, Timeout);
        QCOMPARE(F.Window->ActiveTabIndex(), 0);
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a"), Everything));
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b"), Everything));
    }

    void clearAllSurfingData_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << true;
        QTest::newRow("no") << false;
    }

    void clearAllSurfingData()
    {
        QFETCH(bool, yes);
        if (yes)
            FillBoth();
        else
            FillBothLight();
        FModals->Answer = yes ? QMessageBox::Yes : QMessageBox::No;
        Frame()->ClearBrowsingHistory1Click();
        if (!yes) {
            QCOMPARE(FModals->Messages, QStringList{TClearingRules::ClearAllQuestion});
            QCOMPARE(ProbeLight(FPageA), ExpectedLight(QStringLiteral("a")));
            return;
        }
        QCOMPARE(FModals->Messages, (QStringList{TClearingRules::ClearAllQuestion, TClearingRules::ClearAllDoneMessage}));
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a"), Everything));
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b"), Everything));
    }

    void deleteAllCookies()
    {
        FillBothLight();
        Frame()->DeleteAllCookies1Click();
        QCOMPARE(FModals->Messages,
                 (QStringList{QStringLiteral("Delete All Cookies?\r\n\r\nYou may be [Logged Out] of some online accounts."),
                              QStringLiteral("All Orbwell Cookies Have Been Deleted.")}));
        QCOMPARE(ProbeLight(FPageA), QStringLiteral("cookie= local=a"));
        QCOMPARE(ProbeLight(FPageB), QStringLiteral("cookie= local=b"));
    }

    void domainDialog()
    {
        QCOMPARE(Fill(FPageA, QStringLiteral("a")), QStringLiteral("\"filled\""));
        QCOMPARE(FillLight(FPageB, QStringLiteral("b")), QStringLiteral("\"filled\""));
        TfrmDeleteDomainData *form = TBrowsingDataClearing::DeleteDomainDataForm();
        QVERIFY(form);
        QCOMPARE(form->size(), QSize(583, 151));
        QCOMPARE(form->edtDomain->text(), TPublisherPages::HomePage);
        form->show();

        // Nothing to delete: the dialog stays and says nothing.
        form->btnClearClick();
        QVERIFY(form->edtDomain->text().isEmpty());
        form->btnDelete->click();
        QVERIFY(form->isVisible());
        QVERIFY(FModals->Messages.isEmpty());
        // Not an origin: the user is told and may correct it.
        form->edtDomain->setText(QStringLiteral("not an origin"));
        form->btnDelete->click();
        QVERIFY(form->isVisible());
        QCOMPARE(FModals->Messages, QStringList{TClearingRules::NotAnOriginMessage});
        FModals->Messages.clear();

        // "Paste" replaces the whole text; Enter deletes.
        QApplication::clipboard()->setText(UrlA(QStringLiteral("/some/page")).toString());
        form->edtDomain->setText(QStringLiteral("old text"));
        form->edtDomain->setCursorPosition(3);
        form->btnPaste->click();
        QCOMPARE(form->edtDomain->text(), UrlA(QStringLiteral("/some/page")).toString());
        QTest::keyClick(form->edtDomain, Qt::Key_Return);
        QVERIFY(!form->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(FModals->Messages, QStringList{TClearingRules::OriginClearedMessage}, Timeout);
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a"), Everything));
        QCOMPARE(ProbeLight(FPageB), ExpectedLight(QStringLiteral("b")));

        // The next opening shows the last text; Cancel clears nothing.
        QString shown;
        FModals->OnDialog = [&](QWidget *modal) {
            auto *dialog = qobject_cast<TfrmDeleteDomainData *>(modal);
            if (!dialog || !shown.isEmpty())
                return;
            shown = dialog->edtDomain->text();
            Click(dialog->btnClose);
        };
        Frame()->ClearDomainData1Click();
        QCOMPARE(shown, UrlA(QStringLiteral("/some/page")).toString());
        QCOMPARE(ProbeLight(FPageB), ExpectedLight(QStringLiteral("b")));
    }

    void clearingAtExit_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<bool>("downloading");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("asked for") << QByteArray("DeleteHistoryOnClose=1\r\n") << false << true;
        QTest::newRow("not asked for") << QByteArray("DeleteHistoryOnClose=0\r\n") << false << false;
        QTest::newRow("a download runs") << QByteArray("DeleteHistoryOnClose=1\r\n") << true << false;
    }

    void clearingAtExit()
    {
        QFETCH(QByteArray, settings);
        QFETCH(bool, downloading);
        QFETCH(bool, cleared);
        QVERIFY(OpenWindow(settings));
        if (cleared)
            FillBoth();
        else
            FillBothLight();
        F.Window->isDownloading = downloading;
        F.Window->close();
        QVERIFY(F.Window->appExit);
        QVERIFY(FModals->Messages.isEmpty());
        if (!cleared) {
            QCOMPARE(ProbeLight(FPageA), ExpectedLight(QStringLiteral("a")));
            QCOMPARE(ProbeLight(FPageB), ExpectedLight(QStringLiteral("b")));
            return;
        }
        // The exit has waited for the engine: what was chosen is gone by the time the window closed.
        QCOMPARE(Probe(FPageA), Expected(QStringLiteral("a"), Everything));
        QCOMPARE(Probe(FPageB), Expected(QStringLiteral("b"), Everything));
    }

    void noClearingAtExitWhileThePageLoads()
    {
        QTcpServer silent; // takes the request and never answers
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        QVERIFY(OpenWindow("DeleteHistoryOnClose=1\r\n"));
        FillBothLight();
        TWVBrowser *browser = F.Window->ActiveTab()->OrbwellBrowser();
        QVERIFY(browser->Navigate(QStringLiteral("http://127.0.0.1:%1/slow").arg(silent.serverPort())));
        QTRY_VERIFY_WITH_TIMEOUT(silent.hasPendingConnections() || browser->IsNavigating(), Timeout);
        QVERIFY(browser->IsNavigating());
        F.Window->clearHistoryOnClose();
        QCOMPARE(ProbeLight(FPageA), ExpectedLight(QStringLiteral("a")));
        // Once the page has stopped, the same exit clears.
        QVERIFY(browser->Stop());
        QTRY_VERIFY_WITH_TIMEOUT(!browser->IsNavigating(), Timeout);
        F.Window->clearHistoryOnClose();
        QCOMPARE(ProbeLight(FPageA), ExpectedLight(QStringLiteral("a"), true));
    }
};

ORBWELL_WINDOW_TEST_MAIN(TestClearingWindow)
#include "tst_clearingwindow.moc"
