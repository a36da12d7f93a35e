#pragma once

#include "common/EngineTestMain.h"
#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "shell/PublisherPages.h"
#include "webview/WVAppScheme.h"
#include "webview/WVBrowser.h"
#include "webview/WVLoader.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

// A whole main window over the real engine, in a private data folder, for tests of what tabs do.
class TBrowserWindowFixture
{
public:
    static constexpr int Timeout = 30000;

    QTemporaryDir Dir;
    TfrmParent *Window = nullptr;

    ~TBrowserWindowFixture() { Close(); }

    // The engine's profile lives in the fixture's folder; the program's own scheme is served.
    bool StartEngine()
    {
        if (!Dir.isValid())
            return false;
        GlobalWebView2Loader = new TWVLoader();
        GlobalWebView2Loader->Config.UserDataFolder = Dir.filePath(QStringLiteral("Orbwell Cache"));
        QObject::connect(GlobalWebView2Loader, &TWVLoader::OnGetCustomSchemes, GlobalWebView2Loader,
                         [](QStringList *schemes) { schemes->append(TPublisherPages::Scheme); });
        QSignalSpy created(GlobalWebView2Loader, &TWVLoader::OnEnvironmentCreated);
        if (!GlobalWebView2Loader->StartWebView2())
            return false;
        return created.count() > 0 || created.wait(Timeout);
    }

    void StopEngine()
    {
        Close();
        DestroyGlobalWebView2Loader();
    }

    // A fresh main window whose settings file holds the given lines of "General Settings"; waits for
    // its first tab, which opens the argument when there is one.
    bool Open(const QByteArray &settings = QByteArray(), const QStringList &arguments = {})
    {
        Close();
        const QString ini = Dir.filePath(QStringLiteral("Settings%1.ini").arg(++FCount));
        QFile file(ini);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write("[General Settings]\r\nDefaultHomePageIndex=1\r\n" + settings);
        file.close();
        Window = new TfrmParent(arguments, ini);
        Window->resize(1200, 700);
        Window->show();
        return WaitForTabs(1);
    }

    void Close()
    {
        delete Window;
        Window = nullptr;
    }

    bool WaitForTabs(int count)
    {
        return QTest::qWaitFor([&] {
            if (Window->TabCount() != count)
                return false;
            for (int i = 0; i < count; ++i)
                if (!Window->TabAt(i)->Initialized())
                    return false;
            return true;
        }, Timeout);
    }

    // Opens a tab for the address the way the program's commands do.
    bool AddTab(const QString &address)
    {
        const int before = Window->TabCount();
        Window->navigateURL = address;
        Window->createFrame();
        return WaitForTabs(before + 1);
    }

    QString PageOf(int index) const
    {
        TBrowserTab *tab = Window->TabAt(index);
        return tab && tab->OrbwellBrowser() ? tab->OrbwellBrowser()->Source() : QString();
    }

private:
    int FCount = 0;
};

// main() for tests of whole windows.
#define ORBWELL_WINDOW_TEST_MAIN(TestClass)                                                  \
    int main(int argc, char *argv[])                                                         \
    {                                                                                        \
        PrepareEngineTest();                                                                 \
        TWVAppScheme::Register(TPublisherPages::Scheme);                                     \
        QApplication app(argc, argv);                                                        \
        TestClass tc;                                                                        \
        QTEST_SET_MAIN_SOURCE_PATH                                                           \
        return QTest::qExec(&tc, argc, argv);                                                \
    }
