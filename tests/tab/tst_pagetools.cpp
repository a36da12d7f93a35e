#include "common/BrowserWindowFixture.h"
#include "common/TestHttpServer.h"
#include "look/GradientTabBar.h"
#include "tab/AddressEdit.h"
#include "tab/CFrame.h"
#include "tab/TaskManager.h"
#include "webview/WVWindowParent.h"

#include <QAction>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPdfDocument>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QScreen>
#include <QTableWidget>
#include <QToolButton>

namespace {
constexpr int Timeout = TBrowserWindowFixture::Timeout;

// The page under test: its text, markup and two colours that a snapshot must show.
const QByteArray TestPage = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Tools Page</title>"
                            "<style>html,body{margin:0;height:100%}#top{height:50%;background:#FF0000}"
                            "#bottom{height:50%;background:#0000FF;color:white}</style></head>"
                            "<body><div id=\"top\"><h1>Orbwell tools marker</h1></div>"
                            "<div id=\"bottom\"><p>Second line with caf\xC3\xA9</p></div></body></html>";

// What a modal window showed, and the answer it got.
struct TModalSeen
{
    QString Class;
    QString Name;
    QString Title;
    QString Text;
    QString Proposed;     // a file dialog's proposed name
    QStringList Filters;  // a file dialog's filters
};
} // namespace

// The tab's page tools, full-screen modes and keys, on a whole window over the real engine.
class TestPageTools : public QObject
{
    Q_OBJECT

private:
    TTestHttpServer FServer;
    TBrowserWindowFixture F;
    QList<TModalSeen> FSeen;
    QTimer FAnswer;
    // How the next modal windows are answered: a file name for file dialogs (empty to cancel).
    QString FFileAnswer;
    QString FFilterAnswer;

    TFrameChild *Frame(int index = 0) const { return F.Window->TabAt(index)->Frame(); }
    TWVBrowser *Browser(int index = 0) const { return F.Window->TabAt(index)->OrbwellBrowser(); }
    QString Address(const QString &path) const { return FServer.Url(path).toString(); }

    void AnswerModals()
    {
        auto *modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        TModalSeen seen;
        seen.Class = QString::fromLatin1(modal->metaObject()->className());
        seen.Name = modal->objectName();
        seen.Title = modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            seen.Text = box->text();
            FSeen.append(seen);
            box->button(QMessageBox::Ok) ? box->button(QMessageBox::Ok)->click() : box->reject();
            return;
        }
        if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
            seen.Proposed = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
            seen.Filters = dialog->nameFilters();
            FSeen.append(seen);
            if (FFileAnswer.isEmpty()) {
                dialog->reject();
                return;
            }
            if (!FFilterAnswer.isEmpty())
                dialog->selectNameFilter(FFilterAnswer);
            dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(FFileAnswer);
            static_cast<QDialog *>(dialog)->accept();
            return;
        }
        FSeen.append(seen);
        modal->close();
    }

    // A window on the test page, kept from test to test while it has one tab in the normal state.
    bool Open()
    {
        FSeen.clear();
        FFileAnswer.clear();
        FFilterAnswer.clear();
        const bool reusable = F.Window && F.Window->TabCount() == 1 && !Frame()->fullScreenMode
                              && !Frame()->f10FullScreenMode && !F.Window->FGoBigScreen;
        if (!reusable)
            return F.Open("DefaultZoom=100\r\n", {Address(QStringLiteral("/tools"))})
                   && QTest::qWaitFor([&] { return Browser()->DocumentTitle() == QLatin1String("Tools Page")
                                                   && !Browser()->IsNavigating(); }, Timeout);
        // A fresh copy of the page, so that nothing of the previous test stays in it.
        QSignalSpy loaded(Browser(), &TWVBrowser::OnNavigationCompleted);
        return Browser()->Navigate(Address(QStringLiteral("/tools"))) && loaded.wait(Timeout);
    }

    QAction *ToolsItem(const char *name) const
    {
        return Frame()->popTools->findChild<QAction *>(QLatin1String(name));
    }

    bool WaitForSeen(int count) { return QTest::qWaitFor([&] { return FSeen.size() >= count; }, Timeout); }

    // A key pressed in the web view, as the keyboard gives it.
    bool Press(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat = false, int tab = 0)
    {
        QWidget *target = nullptr;
        const QList<QWidget *> children = Frame(tab)->WVWindowParent1->findChildren<QWidget *>();
        for (QWidget *child : children)
            if (child->focusProxy())
                target = child->focusProxy();
        if (!target)
            return false;
        QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, QString(), autoRepeat);
        QCoreApplication::sendEvent(target, &release);
        return true;
    }

    // The engine drops keys until a new page has been drawn; a user sees the page before pressing.
    // Escape shows when keys reach the page without counting as the user's gesture.
    bool WaitUntilKeysReachThePage(int tab = 0)
    {
        QSignalSpy result(Browser(tab), &TWVBrowser::OnExecuteScriptCompleted);
        if (!Browser(tab)->ExecuteScript(QStringLiteral("window.keysSeen=0;addEventListener('keydown',"
                                                     "function(){window.keysSeen++},true);0"), 90)
            || !result.wait(Timeout))
            return false;
        return QTest::qWaitFor([&] {
            result.clear();
            Press(Qt::Key_Escape, Qt::NoModifier, false, tab);
            return Browser(tab)->ExecuteScript(QStringLiteral("window.keysSeen > 0"), 91) && result.wait(Timeout)
                   && result.constLast().at(1).toString() == QLatin1String("true");
        }, Timeout);
    }

    static QByteArray Read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void Shot(const QString &name)
    {
        // Pictures for a person to look at, when asked for.
        const QString folder = qEnvironmentVariable("ORBWELL_SHOT_DIR");
        if (!folder.isEmpty())
            F.Window->grab().save(QDir(folder).filePath(name));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(FServer.Listen());
        FServer.SetRoute(QStringLiteral("/tools"), TestPage);
        FServer.SetRoute(QStringLiteral("/latin"), QByteArray("<!DOCTYPE html><html><head><meta charset=\"windows-1252\">"
                                                              "<title>Caf\xE9 Latin</title></head><body>x</body></html>"),
                         QByteArrayLiteral("text/html"));
        FAnswer.setInterval(50);
        connect(&FAnswer, &QTimer::timeout, this, &TestPageTools::AnswerModals);
        FAnswer.start();
        QVERIFY(F.StartEngine());
    }

    void cleanupTestCase() { F.StopEngine(); }

    void toolsMenuHoldsTheCommands()
    {
        QVERIFY(Open());
        QStringList captions;
        const QList<QAction *> actions = Frame()->popTools->actions();
        for (QAction *action : actions)
            if (!action->isSeparator())
                captions << action->text();
        QCOMPARE(captions, (QStringList{QStringLiteral("Open File..."), QStringLiteral("Save To File..."),
                                        QStringLiteral("Print..."), QStringLiteral("Print to PDF..."),
                                        QStringLiteral("Zoom"), QStringLiteral("Open Developer Tools..."),
                                        QStringLiteral("Orbwell Task Manager...")}));
        auto *zoom = Frame()->popTools->findChild<QMenu *>(QStringLiteral("Zoom1"));
        QVERIFY(zoom);
        QCOMPARE(zoom->actions().constFirst()->text(), QStringLiteral("Reset Zoom     Ctrl + 0"));
        // The tools button opens the menu.
        Frame()->btnTools->click();
        QTRY_VERIFY_WITH_TIMEOUT(Frame()->popTools->isVisible(), Timeout);
        Frame()->popTools->hide();
    }

    void snapshotIsAPictureOfThePage()
    {
        QVERIFY(Open());
        const QString path = F.Dir.filePath(QStringLiteral("snapshot.png"));
        FFileAnswer = path;
        // The page is drawn a moment after it has loaded; snapshot until the drawing shows.
        QImage image;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                QFile::remove(path);
                const int before = int(FSeen.size());
                Frame()->btnScreenshot->click();
                if (!WaitForSeen(before + 1) || !QTest::qWaitFor([&] { return QFile::exists(path); }, Timeout))
                    return false;
                image = QImage(path, "PNG");
                return !image.isNull() && image.pixelColor(image.width() / 2, image.height() / 4) == QColor(Qt::red)
                       && image.pixelColor(image.width() / 2, image.height() * 3 / 4) == QColor(Qt::blue);
            }(),
            Timeout);
        const TModalSeen &dialog = FSeen.constFirst();
        QCOMPARE(dialog.Name, QStringLiteral("SaveDialog1"));
        QCOMPARE(dialog.Title, QStringLiteral("Save File"));
        QCOMPARE(dialog.Filters, QStringList{QStringLiteral("PNG files (*.png)")});
        QVERIFY2(QRegularExpression(QStringLiteral("^Orbwell Snapshot-\\d{8}-\\d{6}\\.png$")).match(dialog.Proposed).hasMatch(),
                 qPrintable(dialog.Proposed));
        QVERIFY(Read(path).startsWith("\x89PNG"));
        QCOMPARE(image.size(), Browser()->Bounds().size());
        QVERIFY(!QFileInfo::exists(path + QStringLiteral(".tmp")));
        for (const TModalSeen &seen : std::as_const(FSeen))
            QVERIFY(seen.Class != QLatin1String("QMessageBox"));
    }

    void snapshotCancelledWritesNothing()
    {
        QVERIFY(Open());
        const int files = int(QDir(F.Dir.path()).entryList(QDir::Files).size());
        Frame()->btnScreenshot->click();
        QVERIFY(WaitForSeen(1));
        QCOMPARE(FSeen.constFirst().Name, QStringLiteral("SaveDialog1"));
        QTest::qWait(200);
        QCOMPARE(int(QDir(F.Dir.path()).entryList(QDir::Files).size()), files);
        QCOMPARE(FSeen.size(), 1);
    }

    void printToPdfHoldsThePage()
    {
        QVERIFY(Open());
        const QString path = F.Dir.filePath(QStringLiteral("page.pdf"));
        FFileAnswer = path;
        ToolsItem("PrinttoPDF1")->trigger();
        QVERIFY(WaitForSeen(2));
        QCOMPARE(FSeen.at(0).Filters, QStringList{QStringLiteral("PDF files (*.pdf)")});
        QVERIFY2(QRegularExpression(QStringLiteral("^Orbwell PDF-\\d{8}-\\d{6}\\.pdf$")).match(FSeen.at(0).Proposed).hasMatch(),
                 qPrintable(FSeen.at(0).Proposed));
        QCOMPARE(FSeen.at(1).Text, QStringLiteral("PDF was created successfully."));
        QVERIFY(Read(path).startsWith("%PDF"));
        QPdfDocument pdf;
        QCOMPARE(pdf.load(path), QPdfDocument::Error::None);
        QVERIFY(pdf.pageCount() >= 1);
        const QString text = pdf.getAllText(0).text();
        QVERIFY2(text.contains(QLatin1String("Orbwell tools marker")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Second line with caf\u00E9")), qPrintable(text));
    }

    void savePage_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("contains");
        QTest::addColumn<QStringList>("lacks");
        QTest::newRow("html") << QStringLiteral("HTML files (*.html)") << QStringLiteral("page.html")
                              << QStringList{QStringLiteral("<title>Tools Page</title>"),
                                             QStringLiteral("Orbwell tools marker"), QStringLiteral("caf\u00E9")}
                              << QStringList();
        QTest::newRow("text, whatever the extension")
            << QStringLiteral("Text files (*.txt)") << QStringLiteral("page-text.html")
            << QStringList{QStringLiteral("Orbwell tools marker"), QStringLiteral("Second line with caf\u00E9")}
            << QStringList{QStringLiteral("<h1>")};
        QTest::newRow("mhtml") << QStringLiteral("MHTML files (*.mhtml *.MHTML)") << QStringLiteral("page.mhtml")
                               << QStringList{QStringLiteral("MIME-Version: 1.0"), QStringLiteral("Tools Page"),
                                              QStringLiteral("tools marker")}
                               << QStringList();
    }

    void savePage()
    {
        QFETCH(QString, filter);
        QFETCH(QString, name);
        QFETCH(QStringList, contains);
        QFETCH(QStringList, lacks);
        QVERIFY(Open());
        const QString path = F.Dir.filePath(name);
        FFileAnswer = path;
        FFilterAnswer = filter;
        ToolsItem("SaveToFile1")->trigger();
        QVERIFY(WaitForSeen(1));
        QCOMPARE(FSeen.constFirst().Filters, (QStringList{QStringLiteral("HTML files (*.html)"),
                                                          QStringLiteral("Text files (*.txt)"),
                                                          QStringLiteral("MHTML files (*.mhtml *.MHTML)")}));
        QVERIFY(QRegularExpression(QStringLiteral("^Orbwell HTML-\\d{8}-\\d{6}\\.html$")).match(FSeen.constFirst().Proposed).hasMatch());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 0, Timeout);
        const QByteArray bytes = Read(path);
        const QString text = QString::fromUtf8(bytes);
        for (const QString &part : std::as_const(contains))
            QVERIFY2(text.contains(part), qPrintable(part));
        for (const QString &part : std::as_const(lacks))
            QVERIFY2(!text.contains(part), qPrintable(part));
        // Lines end in CR LF.
        QVERIFY(bytes.contains("\r\n"));
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QCOMPARE(FSeen.size(), 1); // nothing is told on success
    }

    void savedPageOpensAsItWas()
    {
        // The page declares another character set than the UTF-8 it is saved in.
        QVERIFY(Open());
        QSignalSpy loaded(Browser(), &TWVBrowser::OnNavigationCompleted);
        QVERIFY(Browser()->Navigate(Address(QStringLiteral("/latin"))) && loaded.wait(Timeout));
        QCOMPARE(Browser()->DocumentTitle(), QStringLiteral("Caf\u00E9 Latin"));
        const QString path = F.Dir.filePath(QStringLiteral("latin.html"));
        FFileAnswer = path;
        FFilterAnswer = QStringLiteral("HTML files (*.html)");
        ToolsItem("SaveToFile1")->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(path).size() > 0, Timeout);
        loaded.clear();
        QVERIFY(Browser()->Navigate(QUrl::fromLocalFile(path).toString()) && loaded.wait(Timeout));
        QCOMPARE(Browser()->Source(), QUrl::fromLocalFile(path).toString());
        QCOMPARE(Browser()->DocumentTitle(), QStringLiteral("Caf\u00E9 Latin"));
    }

    void failedSaveIsNotSaved()
    {
        const QString missing = F.Dir.filePath(QStringLiteral("no-such-folder/page.html"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^OrbwellForm\\.SaveAsTextFile error: .*no-such-folder")));
        QVERIFY(!TFrameChild::SaveAsTextFile(missing, QStringLiteral("text")));
        QVERIFY(!QFileInfo::exists(missing));
        const QString path = F.Dir.filePath(QStringLiteral("saved.txt"));
        QVERIFY(TFrameChild::SaveAsTextFile(path, QStringLiteral("a\nb")));
        QCOMPARE(Read(path), QByteArray("a\r\nb\r\n"));
    }

    void openFileShowsItInTheTab()
    {
        QVERIFY(Open());
        const QString path = F.Dir.filePath(QStringLiteral("local page.html"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("<html><head><title>Local File</title></head><body>local</body></html>");
        file.close();
        FFileAnswer = path;
        Press(Qt::Key_O, Qt::ControlModifier);
        QVERIFY(WaitForSeen(1));
        QCOMPARE(FSeen.constFirst().Name, QStringLiteral("OpenDialog1"));
        QCOMPARE(FSeen.constFirst().Title, QStringLiteral("Open File"));
        QCOMPARE(FSeen.constFirst().Filters.size(), 16);
        QCOMPARE(FSeen.constFirst().Filters.value(5), QStringLiteral("MHTML Files (*.mhtml)"));
        QTRY_COMPARE_WITH_TIMEOUT(Browser()->DocumentTitle(), QStringLiteral("Local File"), Timeout);
        QCOMPARE(QUrl(Browser()->Source()), QUrl::fromLocalFile(path));
        QCOMPARE(F.Window->navigateURL, QUrl::fromLocalFile(path).toString());
    }

    void zoomStepsFromTheSetting_data()
    {
        QTest::addColumn<int>("setting");
        QTest::addColumn<double>("up");
        QTest::addColumn<double>("down");
        QTest::newRow("100") << 100 << 110.0 << 90.0;
        QTest::newRow("125") << 125 << 150.0 << 110.0;
        QTest::newRow("500") << 500 << 500.0 << 400.0;
    }

    void zoomStepsFromTheSetting()
    {
        QFETCH(int, setting);
        QFETCH(double, up);
        QFETCH(double, down);
        QVERIFY(Open());
        F.Window->Settings.FZoom = setting;
        // Increments do not add up: each gives the step above the setting.
        for (int i = 0; i < 3; ++i) {
            ToolsItem("IncrementZoom1")->trigger();
            QCOMPARE(Browser()->ZoomPct(), up);
        }
        ToolsItem("DecrementZoom1")->trigger();
        QCOMPARE(Browser()->ZoomPct(), down);
        ToolsItem("NormalZoom1")->trigger();
        QCOMPARE(Browser()->ZoomPct(), 100.0);
        F.Window->Settings.FZoom = 100;
    }

    void developerToolsOpenInAWindow()
    {
        QVERIFY(Open());
        ToolsItem("DeveloperTools1")->trigger();
        QWidget *tools = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                const QList<QWidget *> windows = QApplication::topLevelWidgets();
                for (QWidget *w : windows)
                    if (w->isVisible() && w->windowTitle() == QLatin1String("Developer Tools"))
                        tools = w;
                return tools != nullptr;
            }(),
            Timeout);
        tools->close();
    }

    void taskManagerListsTheEngineProcesses()
    {
        QVERIFY(Open());
        QVERIFY(F.AddTab(Address(QStringLiteral("/tools"))));
        QTRY_VERIFY_WITH_TIMEOUT(Browser(0)->RenderProcessId() > 0 && Browser(1)->RenderProcessId() > 0
                                     && Browser(1)->DocumentTitle() == QLatin1String("Tools Page"),
                                 Timeout);
        ToolsItem("BrowserTaskManager1")->trigger();
        auto *form = F.Window->findChild<TfrmTaskManager *>();
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("Orbwell Task Manager"));
        QTableWidget *list = form->lstTasks;
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(list->item(0, 1)->text(), QString::number(QCoreApplication::applicationPid()));
        for (int row = 1; row < 3; ++row) {
            const qint64 pid = Browser(row - 1)->RenderProcessId();
            QCOMPARE(list->item(row, 0)->text(), QStringLiteral("Tab: Tools Page"));
            QCOMPARE(list->item(row, 1)->text(), QString::number(pid));
            QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
            QVERIFY(cmdline.open(QIODevice::ReadOnly));
            QVERIFY(cmdline.readAll().contains("QtWebEngineProcess"));
            QVERIFY2(list->item(row, 2)->text().endsWith(QLatin1String("MB")), qPrintable(list->item(row, 2)->text()));
        }
        if (const QString folder = qEnvironmentVariable("ORBWELL_SHOT_DIR"); !folder.isEmpty())
            form->grab().save(QDir(folder).filePath(QStringLiteral("task-manager.png")));
        // It follows the tabs.
        F.Window->closeTab(1);
        QTRY_COMPARE_WITH_TIMEOUT(list->rowCount(), 2, 3000);
        form->close();
    }

    void printWithoutPrinterIsTold_data()
    {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("menu") << false;
        QTest::newRow("Ctrl+P") << true;
    }

    void printWithoutPrinterIsTold()
    {
        QFETCH(bool, byKey);
        if (!QPrinterInfo::availablePrinters().isEmpty())
            QSKIP("This machine has a printer; printing would use paper.");
        QVERIFY(Open());
        if (byKey) {
            QVERIFY(Press(Qt::Key_P, Qt::ControlModifier));
            QVERIFY(Press(Qt::Key_P, Qt::ControlModifier, true));
        } else {
            ToolsItem("Print1")->trigger();
        }
        QVERIFY(WaitForSeen(1));
        QTest::qWait(300);
        QCOMPARE(FSeen.size(), 1);
        QCOMPARE(FSeen.constFirst().Text, QStringLiteral("The page could not be printed: there is no printer to print to."));
    }

    void keysActOnce_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("effect");
        const int ctrl = int(Qt::ControlModifier);
        const int ctrlAlt = int(Qt::ControlModifier | Qt::AltModifier);
        QTest::newRow("Ctrl+T new tab") << int(Qt::Key_T) << ctrl << QStringLiteral("tab");
        QTest::newRow("Ctrl+Shift+T nothing") << int(Qt::Key_T) << int(Qt::ControlModifier | Qt::ShiftModifier)
                                             << QStringLiteral("nothing");
        QTest::newRow("Ctrl+J downloads page") << int(Qt::Key_J) << ctrl << QStringLiteral("downloads");
        QTest::newRow("Ctrl+H history page") << int(Qt::Key_H) << ctrl << QStringLiteral("history");
        QTest::newRow("Ctrl+S save dialog") << int(Qt::Key_S) << ctrl << QStringLiteral("SaveDialog1");
        QTest::newRow("Ctrl+Alt+P pdf dialog") << int(Qt::Key_P) << ctrlAlt << QStringLiteral("SaveDialog1");
        QTest::newRow("Ctrl+Alt+T toolbar") << int(Qt::Key_T) << ctrlAlt << QStringLiteral("toolbar");
        QTest::newRow("Ctrl+D dark mode") << int(Qt::Key_D) << ctrl << QStringLiteral("dark");
        QTest::newRow("Ctrl+M private mode") << int(Qt::Key_M) << ctrl << QStringLiteral("private");
        QTest::newRow("Ctrl+W close tab") << int(Qt::Key_W) << ctrl << QStringLiteral("close");
    }

    void keysActOnce()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, effect);
        QVERIFY(Open());
        if (effect == QLatin1String("close"))
            QVERIFY(F.AddTab(Address(QStringLiteral("/tools"))));
        const int tabs = F.Window->TabCount();
        const bool dark = F.Window->Settings.FDarkMode;
        const bool hidden = F.Window->FHideToolbar;
        // The key held down repeats; only the first press counts.
        QVERIFY(Press(key, Qt::KeyboardModifiers(modifiers)));
        QVERIFY(Press(key, Qt::KeyboardModifiers(modifiers), true));
        QVERIFY(Press(key, Qt::KeyboardModifiers(modifiers), true));
        if (effect == QLatin1String("tab") || effect == QLatin1String("downloads")
            || effect == QLatin1String("history")) {
            QVERIFY(F.WaitForTabs(tabs + 1));
            QTest::qWait(300);
            QCOMPARE(F.Window->TabCount(), tabs + 1);
            if (effect != QLatin1String("tab"))
                QCOMPARE(F.Window->navigateURL, effect == QLatin1String("downloads") ? TPublisherPages::DownloadsPage
                                                                                       : TPublisherPages::HistoryPage);
            F.Window->closeTab(tabs);
        } else if (effect == QLatin1String("close")) {
            QTRY_COMPARE_WITH_TIMEOUT(F.Window->TabCount(), tabs - 1, Timeout);
            QTest::qWait(300);
            QCOMPARE(F.Window->TabCount(), tabs - 1);
        } else if (effect == QLatin1String("SaveDialog1")) {
            QVERIFY(WaitForSeen(1));
            QTest::qWait(300);
            QCOMPARE(FSeen.size(), 1);
            QCOMPARE(FSeen.constFirst().Name, effect);
        } else if (effect == QLatin1String("toolbar")) {
            QTRY_COMPARE_WITH_TIMEOUT(F.Window->FHideToolbar, !hidden, Timeout);
            QCOMPARE(Frame()->Panel1->isVisible(), hidden);
            QVERIFY(Press(key, Qt::KeyboardModifiers(modifiers)));
            QTRY_COMPARE_WITH_TIMEOUT(F.Window->FHideToolbar, hidden, Timeout);
        } else if (effect == QLatin1String("dark")) {
            QTRY_COMPARE_WITH_TIMEOUT(F.Window->Settings.FDarkMode, !dark, Timeout);
            QCOMPARE(F.Window->IniFile().ReadBool(TSettings::EnvironmentSection, QStringLiteral("DarkMode"), dark), !dark);
            QCOMPARE(F.Window->palette().color(QPalette::Window), TfrmParent::WindowBackground(!dark));
            QVERIFY(Press(key, Qt::KeyboardModifiers(modifiers)));
            QTRY_COMPARE_WITH_TIMEOUT(F.Window->Settings.FDarkMode, dark, Timeout);
        } else if (effect == QLatin1String("private")) {
            QVERIFY(WaitForSeen(1));
            QCOMPARE(FSeen.constFirst().Text, QStringLiteral("Private Mode will be Active on New Tabs from now on."));
            QVERIFY(Press(key, Qt::KeyboardModifiers(modifiers)));
            QVERIFY(WaitForSeen(2));
            QCOMPARE(FSeen.at(1).Text, QStringLiteral("Private Mode will be InActive on New Tabs from now on."));
            QVERIFY(!F.Window->Settings.FPrivateMode);
        } else {
            QTest::qWait(300);
            QCOMPARE(F.Window->TabCount(), tabs);
            QVERIFY(FSeen.isEmpty());
        }
    }

    void pageFullScreenCoversTheMonitor()
    {
        QVERIFY(Open());
        const QRect before = F.Window->geometry();
        const QRect monitor = F.Window->screen()->geometry();
        QVERIFY(before != monitor);
        QVERIFY(WaitUntilKeysReachThePage());
        QVERIFY(Press(Qt::Key_F11, Qt::NoModifier));
        QTRY_VERIFY_WITH_TIMEOUT(Frame()->fullScreenMode, Timeout);
        QVERIFY(Browser()->ContainsFullScreenElement());
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->geometry(), monitor, Timeout);
        QVERIFY(!F.Window->tbcChildrenTabs()->isVisible());
        QVERIFY(!Frame()->Panel1->isVisible());
        QVERIFY(!F.Window->menuBar()->isVisible());
        Shot(QStringLiteral("page-full-screen.png"));
        // Escape in the page leaves full screen; the window goes back where it was.
        QVERIFY(Press(Qt::Key_Escape, Qt::NoModifier));
        QTRY_VERIFY_WITH_TIMEOUT(!Frame()->fullScreenMode, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->geometry(), before, Timeout);
        QVERIFY(F.Window->tbcChildrenTabs()->isVisible());
        QVERIFY(Frame()->Panel1->isVisible());
    }

    void f10FullScreenTwiceRestores()
    {
        QVERIFY(Open());
        const QRect before = F.Window->geometry();
        const QRect monitor = F.Window->screen()->geometry();
        // A hidden toolbar comes back after F10 twice.
        Frame()->HideToolbar1Click();
        QVERIFY(!Frame()->Panel1->isVisible());
        QVERIFY(Press(Qt::Key_F10, Qt::NoModifier));
        QTRY_VERIFY_WITH_TIMEOUT(Frame()->f10FullScreenMode, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->geometry(), monitor, Timeout);
        QVERIFY(F.Window->tbcChildrenTabs()->isVisible()); // the tab row stays
        QVERIFY(!Frame()->Panel1->isVisible());
        QVERIFY(F.Window->FHideToolbar);
        Shot(QStringLiteral("f10-full-screen.png"));
        QVERIFY(Press(Qt::Key_F10, Qt::NoModifier));
        QTRY_VERIFY_WITH_TIMEOUT(!Frame()->f10FullScreenMode, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->geometry(), before, Timeout);
        QVERIFY(Frame()->Panel1->isVisible());
        QVERIFY(!F.Window->FHideToolbar);
    }

    void fullScreenModesBelongToTheWindow()
    {
        QVERIFY(Open());
        const QRect before = F.Window->geometry();
        const QRect monitor = F.Window->screen()->geometry();
        // F10 in one tab, F10 again in another: the window leaves the mode and goes back where it was.
        QVERIFY(Press(Qt::Key_F10, Qt::NoModifier));
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->geometry(), monitor, Timeout);
        QVERIFY(F.AddTab(Address(QStringLiteral("/tools"))));
        QCOMPARE(F.Window->ActiveTabIndex(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(Browser(1)->DocumentTitle() == QLatin1String("Tools Page"), Timeout);
        Frame(1)->setF10FullScreenMode();
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->geometry(), before, Timeout);
        QVERIFY(!F.Window->FHideToolbar);

        // Page full screen ends with the tab that holds it.
        const QRect beforePage = F.Window->geometry();
        QVERIFY(WaitUntilKeysReachThePage(1));
        QVERIFY(Press(Qt::Key_F11, Qt::NoModifier, false, 1));
        QTRY_VERIFY_WITH_TIMEOUT(Frame(1)->fullScreenMode, Timeout);
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->geometry(), monitor, Timeout);
        F.Window->closeTab(1);
        QCOMPARE(F.Window->TabCount(), 1);
        // Back to its size and place; the border coming back may move it by its frame width.
        QTRY_COMPARE_WITH_TIMEOUT(F.Window->geometry().size(), beforePage.size(), Timeout);
        QVERIFY((F.Window->geometry().topLeft() - beforePage.topLeft()).manhattanLength() <= 8);
        QVERIFY(F.Window->tbcChildrenTabs()->isVisible());
        QVERIFY(!F.Window->windowFlags().testFlag(Qt::FramelessWindowHint));
    }

    void bigScreenDropsMenuAndBorder()
    {
        QVERIFY(Open());
        F.Window->Settings.FMenuToolbar = true;
        F.Window->menuBar()->show();
        QVERIFY(Press(Qt::Key_B, Qt::ControlModifier | Qt::AltModifier));
        QTRY_VERIFY_WITH_TIMEOUT(F.Window->FGoBigScreen, Timeout);
        QVERIFY(F.Window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(!F.Window->menuBar()->isVisible());
        QVERIFY(!F.Window->Settings.FMenuToolbar);
        // The file keeps the stored value; big screen is for this run.
        QVERIFY(!F.Window->IniFile().ReadBool(TSettings::EnvironmentSection, QStringLiteral("MenuToolbar"), false));
        QVERIFY(Press(Qt::Key_B, Qt::ControlModifier | Qt::AltModifier));
        QTRY_VERIFY_WITH_TIMEOUT(!F.Window->FGoBigScreen, Timeout);
        QVERIFY(!F.Window->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(F.Window->isVisible());
    }
};

ORBWELL_WINDOW_TEST_MAIN(TestPageTools)
#include "tst_pagetools.moc"
