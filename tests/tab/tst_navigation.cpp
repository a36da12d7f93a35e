#include "common/BrowserWindowFixture.h"
#include "common/TestHttpServer.h"
#include "look/GradientTabBar.h"
#include "shell/TabRules.h"
#include "tab/AddressEdit.h"
#include "tab/BasicUserAuthForm.h"
#include "tab/CFrame.h"

#include <QBuffer>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {
constexpr int Timeout = TBrowserWindowFixture::Timeout;

QByteArray Page(const QByteArray &title, const QByteArray &body = QByteArray(), const QByteArray &head = {})
{
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + title + "</title>" + head
           + "</head><body>" + body + "</body></html>";
}

QByteArray Png(const QColor &colour)
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
} // namespace

// What a tab does with typed addresses, page titles and icons, new windows, passwords and certificates.
class TestNavigation : public QObject
{
    Q_OBJECT

private:
    TTestHttpServer FServer;
    TBrowserWindowFixture F;
    // Addresses the tabs tried to leave the loopback for, cancelled before any request.
    QStringList FOutside;

    QString Address(const QString &path) const { return FServer.Url(path).toString(); }
    TFrameChild *Frame(int index) const { return F.Window->TabAt(index)->Frame(); }
    TWVBrowser *Browser(int index) const { return F.Window->TabAt(index)->OrbwellBrowser(); }

    // Keeps every tab of the window on the loopback and the program's own pages.
    void GuardTab(int index)
    {
        connect(Browser(index), &TWVBrowser::OnNavigationStarting, this, [this](TWVNavigationStartingArgs &args) {
            const QString scheme = args.Uri.scheme();
            if (scheme != QLatin1String("orbwell") && args.Uri.host() != QLatin1String("127.0.0.1")
                && scheme != QLatin1String("about") && scheme != QLatin1String("data")) {
                FOutside.append(args.Uri.toString());
                args.Cancel = true;
            }
        });
    }

    bool Open(const QString &path)
    {
        if (!F.Open("NextToCurrentTabPage=0\r\n", {Address(path)}))
            return false;
        GuardTab(0);
        return QTest::qWaitFor([&] { return F.PageOf(0) == Address(path) && !Browser(0)->IsNavigating(); }, Timeout);
    }

    // Types into the address box and presses Enter; returns the address the tab started for.
    QString Type(const QString &text)
    {
        QStringList started;
        QObject context;
        connect(Browser(0), &TWVBrowser::OnNavigationStarting, &context,
                [&started](TWVNavigationStartingArgs &args) { started.append(args.Uri.toString()); });
        TAddressEdit *box = Frame(0)->edtAddress;
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
        if (!QTest::qWaitFor([&] { return !started.isEmpty(); }, Timeout))
            return QString();
        return started.constFirst();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FServer.Listen());
        FServer.SetRoute(QStringLiteral("/a"), Page("Page A"));
        FServer.SetRoute(QStringLiteral("/b"), Page("Page B"));
        FServer.SetRoute(QStringLiteral("/iconic"),
                         Page("A page with a rather long title indeed", "", "<link rel=\"icon\" href=\"/icon.png\">"));
        FServer.SetRoute(QStringLiteral("/icon.png"), Png(Qt::red), "image/png");
        FServer.SetRoute(QStringLiteral("/links"),
                         Page("Links", "<a id=\"blank\" href=\"/b\" target=\"_blank\">b</a>"
                                       "<script>function openA(){window.open('/a');}"
                                       "function openBlank(){var w=window.open('about:blank');w.document.write('hi');}"
                                       "function openForm(){window.open('/CONTACTFORMPLUS.HTML');}</script>"));
        FServer.SetRoute(QStringLiteral("/CONTACTFORMPLUS.HTML"), Page("Contact"));
        FServer.SetRoute(QStringLiteral("/echo"),
                         Page("Echo", "<script>chrome.webview.addEventListener('message', e => "
                                      "{ document.title = 'back ' + JSON.stringify(e.data); });"
                                      "chrome.webview.postMessage({n: 7, s: 'x'});</script>"));
        FServer.SetRoute(QStringLiteral("/closer"),
                         Page("Closer", "<script>function later(){setTimeout(function(){window.close();}, 10);}</script>"));
        FServer.SetHandler([](const TTestHttpRequest &request) -> std::optional<TTestHttpResponse> {
            if (request.Path != QLatin1String("/private"))
                return std::nullopt;
            TTestHttpResponse response;
            for (const auto &header : request.Headers) {
                // "user:secret" in base 64
                if (header.first.toLower() == "authorization" && header.second == "Basic dXNlcjpzZWNyZXQ=") {
                    response.Body = Page("Inside");
                    return response;
                }
            }
            response.Status = 401;
            response.Headers.append(qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Basic realm=\"test\"")));
            response.Body = Page("Denied");
            return response;
        });
        QVERIFY(F.StartEngine());
    }

    void cleanupTestCase() { F.StopEngine(); }

    void typedTextNavigatesOrSearches_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("searched"); // empty when the text is the address itself
        QTest::newRow("address") << QStringLiteral("ADDRESS") << QString();
        QTest::newRow("host without scheme") << QStringLiteral("example.org") << QStringLiteral("example.org");
        QTest::newRow("two words") << QStringLiteral("two words") << QStringLiteral("two words");
        QTest::newRow("nothing") << QString() << QString(QLatin1String(""));
    }

    void typedTextNavigatesOrSearches()
    {
        QFETCH(QString, typed);
        QFETCH(QString, searched);
        if (typed == QLatin1String("ADDRESS"))
            typed = Address(QStringLiteral("/b"));
        QVERIFY(Open(QStringLiteral("/a")));
        FOutside.clear();
        const QString started = Type(typed);
        if (searched.isNull()) {
            QCOMPARE(started, typed);
            QTRY_COMPARE_WITH_TIMEOUT(F.PageOf(0), typed, Timeout);
            QCOMPARE(F.Window->navigateURL, typed);
            return;
        }
        QCOMPARE(started, TPublisherPages::SearchPage + QStringLiteral("#gsc.tab=0&gsc.sort=&gsc.q=") + searched);
        if (searched.isEmpty())
            return; // an empty query stays on the search page
        // The search page hands the query on to the web search engine (stopped here at the loopback's edge).
        QTRY_VERIFY_WITH_TIMEOUT(!FOutside.isEmpty(), Timeout);
        QCOMPARE(QUrl(FOutside.constFirst()),
                 QUrl(QStringLiteral("https://duckduckgo.com/?q=") + QString::fromLatin1(QUrl::toPercentEncoding(searched))));
    }

    void backForwardHome()
    {
        QVERIFY(Open(QStringLiteral("/a")));
        QVERIFY(!Type(Address(QStringLiteral("/b"))).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(Browser(0)->DocumentTitle(), QStringLiteral("Page B"), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(Browser(0)->CanGoBack(), Timeout);
        Frame(0)->btnBack->click();
        QTRY_COMPARE_WITH_TIMEOUT(F.PageOf(0), Address(QStringLiteral("/a")), Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(Frame(0)->edtAddress->text(), Address(QStringLiteral("/a")), Timeout);
        Frame(0)->btnForward->click();
        QTRY_COMPARE_WITH_TIMEOUT(F.PageOf(0), Address(QStringLiteral("/b")), Timeout);
        Frame(0)->btnHome->click();
        QTRY_COMPARE_WITH_TIMEOUT(F.PageOf(0), TPublisherPages::HomePage, Timeout);
        // The publisher's page gets the publisher's icon and its friendly caption stays the title.
        QTRY_VERIFY_WITH_TIMEOUT(Frame(0)->btnNewTab->isEnabled(), Timeout);
        QCOMPARE(F.Window->navigateURL, TPublisherPages::HomePage);
    }

    void titleAndIconReachTheTab()
    {
        QVERIFY(Open(QStringLiteral("/a")));
        const int iconsBefore = F.Window->ImageList1.size();
        QVERIFY(!Type(Address(QStringLiteral("/iconic"))).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->tbcChildrenTabs()->tabText(0),
                                  TTabRules::getTitleText(QStringLiteral("A page with a rather long title indeed")),
                                  Timeout);
        QCOMPARE(F.Window->tbcChildrenTabs()->tabText(0).size(), 27);
        // The page's own icon, scaled to 24 x 24 and appended to the tab icons.
        QTRY_VERIFY_WITH_TIMEOUT(F.Window->ImageList1.size() > iconsBefore, Timeout);
        const QImage icon = F.Window->ImageList1.constLast().pixmap(24, 24).toImage();
        QCOMPARE(icon.size(), QSize(24, 24));
        QCOMPARE(QColor(icon.pixel(12, 12)), QColor(Qt::red));
        QVERIFY(F.Window->tbcChildrenTabs()->tabIcon(0).cacheKey() == F.Window->ImageList1.constLast().cacheKey());
    }

    void newWindowsOpenWhereDesigned()
    {
        QVERIFY(Open(QStringLiteral("/links")));
        // A link with a blank target: a new tab whose web view is the window the page gets.
        QVERIFY(Browser(0)->ExecuteScript(QStringLiteral("document.getElementById('blank').click()")));
        QVERIFY(F.WaitForTabs(2));
        QTRY_COMPARE_WITH_TIMEOUT(F.PageOf(1), Address(QStringLiteral("/b")), Timeout);
        QCOMPARE(F.Window->ActiveTabIndex(), 1);
        // A script's window.open of an ordinary address: also a tab.
        F.Window->SelectTab(0);
        QVERIFY(Browser(0)->ExecuteScript(QStringLiteral("openA()")));
        QVERIFY(F.WaitForTabs(3));
        QTRY_COMPARE_WITH_TIMEOUT(F.PageOf(2), Address(QStringLiteral("/a")), Timeout);
        // An empty window to write into, and an address of the pop-up list, go to the engine's own window.
        F.Window->SelectTab(0);
        const int requests = FServer.RequestCount(QStringLiteral("/CONTACTFORMPLUS.HTML"));
        QVERIFY(Browser(0)->ExecuteScript(QStringLiteral("openBlank(); openForm();")));
        QTRY_COMPARE_WITH_TIMEOUT(FServer.RequestCount(QStringLiteral("/CONTACTFORMPLUS.HTML")), requests + 1, Timeout);
        QCOMPARE(F.Window->TabCount(), 3);
    }

    void pageMessagesComeBackUnchanged()
    {
        QVERIFY(Open(QStringLiteral("/echo")));
        QTRY_COMPARE_WITH_TIMEOUT(Browser(0)->DocumentTitle(), QStringLiteral("back {\"n\":7,\"s\":\"x\"}"), Timeout);
    }

    void pageClosingItsWindowClosesItsTab()
    {
        QVERIFY(Open(QStringLiteral("/links")));
        QVERIFY(Browser(0)->ExecuteScript(QStringLiteral("window.open('/closer')")));
        QVERIFY(F.WaitForTabs(2));
        QTRY_COMPARE_WITH_TIMEOUT(Browser(1)->DocumentTitle(), QStringLiteral("Closer"), Timeout);
        const quint32 opener = F.Window->TabAt(0)->TabID();
        QVERIFY(Browser(1)->ExecuteScript(QStringLiteral("later()")));
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->TabCount(), 1, Timeout);
        QCOMPARE(F.Window->TabAt(0)->TabID(), opener);
        // The last tab stays: a page never quits the program.
        QSignalSpy asked(Browser(0), &TWVBrowser::OnWindowCloseRequested);
        QVERIFY(Browser(0)->ExecuteScript(QStringLiteral("window.close()")));
        QVERIFY(asked.wait(Timeout));
        QTest::qWait(300);
        QCOMPARE(F.Window->TabCount(), 1);
        QVERIFY(F.Window->isVisible());
    }

    void pageClosingWaitsForItsTabsDialog()
    {
        QVERIFY(Open(QStringLiteral("/links")));
        QVERIFY(Browser(0)->ExecuteScript(QStringLiteral("window.open('/closer')")));
        QVERIFY(F.WaitForTabs(2));
        QTRY_COMPARE_WITH_TIMEOUT(Browser(1)->DocumentTitle(), QStringLiteral("Closer"), Timeout);
        // A dialog of the tab is open when its page closes the window: the tab must outlive the dialog.
        QPointer<QMessageBox> box =
            new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Test"), QStringLiteral("Wait"), QMessageBox::Ok, Frame(1));
        int tabsWhileOpen = -1;
        connect(Browser(1), &TWVBrowser::OnWindowCloseRequested, box, [&] {
            QTimer::singleShot(500, box, [&] {
                tabsWhileOpen = F.Window->TabCount();
                if (box)
                    box->accept();
            });
        });
        QTimer::singleShot(0, Browser(1), [&] { Browser(1)->ExecuteScript(QStringLiteral("window.close()")); });
        box->exec();
        QVERIFY(box);
        delete box;
        QCOMPARE(tabsWhileOpen, 2);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->TabCount(), 1, Timeout);
    }

    void popupNewWindowGoesToTheEngine()
    {
        QVERIFY(Open(QStringLiteral("/a")));
        const int requests = FServer.RequestCount(QStringLiteral("/a"));
        Frame(0)->btnRequestNewWindow->click();
        QTRY_COMPARE_WITH_TIMEOUT(FServer.RequestCount(QStringLiteral("/a")), requests + 1, Timeout);
        QCOMPARE(F.Window->TabCount(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!F.Window->newWindowRequested, Timeout);
        // Typed quotes and backslashes are part of the address, not of the script that opens it.
        Frame(0)->edtAddress->setText(Address(QStringLiteral("/a")) + QStringLiteral("?q=\"x\\\");"));
        Frame(0)->btnRequestNewWindow->click();
        QTRY_COMPARE_WITH_TIMEOUT(FServer.RequestCount(QStringLiteral("/a")), requests + 2, Timeout);
    }

    void basicAuthentication_data()
    {
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("title");
        // The engine keeps accepted credentials for the run, so the right ones come last.
        QTest::newRow("cancelled") << QString() << QString() << false << QStringLiteral("Denied");
        QTest::newRow("wrong") << QStringLiteral("user") << QStringLiteral("guess") << true << QString();
        QTest::newRow("right") << QStringLiteral("user") << QStringLiteral("secret") << true << QStringLiteral("Inside");
    }

    void basicAuthentication()
    {
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, ok);
        QFETCH(QString, title);
        QVERIFY(Open(QStringLiteral("/a")));
        bool sawDisabledOk = false;
        int asked = 0;
        QString shownAddress;
        // The dialog is modal: answer it from the event loop that runs it. Every dialog is
        // answered here, because a second one may open before the test body runs again.
        QTimer answer;
        answer.setInterval(50);
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *form = qobject_cast<TTBasicUserAuthForm *>(QApplication::activeModalWidget());
            if (!form || form->property("answered").toBool())
                return;
            form->setProperty("answered", true);
            if (++asked > 1) {
                // The site asks again after wrong credentials: give up there.
                form->CancelBtn->click();
                return;
            }
            shownAddress = form->URILbl->text();
            form->UsernameEdt->setText(user);
            sawDisabledOk = !form->OkBtn->isEnabled();
            form->PasswordEdt->setText(password);
            (ok ? form->OkBtn : form->CancelBtn)->click();
        });
        answer.start();
        QVERIFY(!Type(Address(QStringLiteral("/private"))).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(asked >= 1, Timeout);
        QCOMPARE(shownAddress, Address(QStringLiteral("/private")));
        QVERIFY(sawDisabledOk);
        if (title.isEmpty()) {
            QTRY_VERIFY_WITH_TIMEOUT(asked >= 2, Timeout);
            title = QStringLiteral("Denied");
        }
        QTRY_COMPARE_WITH_TIMEOUT(Browser(0)->DocumentTitle(), title, Timeout);
        QCOMPARE(asked, title == QLatin1String("Denied") && ok ? 2 : 1);
    }

    void certificateErrorNeedsConsent()
    {
        TTestHttpServer tls;
        QVERIFY(tls.ListenTls(TTestHttpServer::TlsConfiguration(QStringLiteral(FIXTURES "/selfsigned-cert.pem"),
                                                                QStringLiteral(FIXTURES "/selfsigned-key.pem"))));
        tls.SetRoute(QStringLiteral("/"), Page("Secure"));
        QVERIFY(Open(QStringLiteral("/a")));
        QString question;
        bool goOn = false;
        QTimer answer;
        answer.setInterval(50);
        connect(&answer, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            question = box->text();
            auto *button = goOn ? box->findChild<QPushButton *>(QStringLiteral("ContinueBtn"))
                                : qobject_cast<QPushButton *>(box->button(QMessageBox::Cancel));
            button->click();
        });
        answer.start();

        // Refused: the page is not shown and the server never answers a request.
        QVERIFY(!Type(tls.Url().toString()).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!question.isEmpty(), Timeout);
        QVERIFY(question.contains(QStringLiteral("127.0.0.1")));
        QTRY_VERIFY_WITH_TIMEOUT(!Browser(0)->IsNavigating(), Timeout);
        QCOMPARE(tls.RequestCount(QStringLiteral("/")), 0);
        QVERIFY(Browser(0)->DocumentTitle() != QLatin1String("Secure"));

        // Accepted for this run: the page loads, and later visits do not ask again.
        question.clear();
        goOn = true;
        QVERIFY(!Type(tls.Url().toString()).isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(Browser(0)->DocumentTitle(), QStringLiteral("Secure"), Timeout);
        QVERIFY(tls.RequestCount(QStringLiteral("/")) >= 1);
        question.clear();
        QVERIFY(!Type(tls.Url().toString() + QStringLiteral("?again")).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(tls.RequestCount(QStringLiteral("/")) >= 2, Timeout);
        QVERIFY(question.isEmpty());

        // Another certificate on the same host and port is a new question: the consent was for the first.
        const quint16 port = tls.Port();
        tls.Close();
        TTestHttpServer other;
        QVERIFY(other.ListenTls(TTestHttpServer::TlsConfiguration(QStringLiteral(FIXTURES "/selfsigned2-cert.pem"),
                                                                  QStringLiteral(FIXTURES "/selfsigned2-key.pem")),
                                port));
        other.SetRoute(QStringLiteral("/"), Page("Other"));
        goOn = false;
        QVERIFY(!Type(other.Url().toString() + QStringLiteral("?changed")).isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!question.isEmpty(), Timeout);
        QTRY_VERIFY_WITH_TIMEOUT(!Browser(0)->IsNavigating(), Timeout);
        QCOMPARE(other.RequestCount(QStringLiteral("/")), 0);
        TFrameChild::CertificateExceptions().clear();
    }
};

ORBWELL_WINDOW_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
