#include "shell/Orbwell.h"

#include "shell/DataFolder.h"
#include "shell/IniFile.h"
#include "shell/Parent.h"
#include "shell/QuitSignals.h"
#include "shell/Settings.h"
#include "shell/PublisherPages.h"
#include "webview/WVAppScheme.h"
#include "webview/WVLoader.h"

#include <QApplication>
#include <QProcess>
#include <unistd.h>

namespace {

void ApplyEngineSettings(TWVLoaderConfig &config, const TIniFile &ini)
{
    TSettings s;
    s.Read(ini, QString());
    config.AutoplayPolicy = s.FMediaAutoPlay ? TWVAutoplayPolicy::appNoUserGestureRequired
                                             : TWVAutoplayPolicy::appUserGestureRequired;
    config.EnableGPU = s.FEnableGPU;
    config.MuteAudio = s.FMuteAudio;
    config.DisableWebSecurity = s.FDisableWebSecurity;
    config.SmartScreenProtectionEnabled = s.FSmartScreen;
    config.AllowInsecureLocalhost = s.FAllowInsecureLocalhost;
    config.DisableBackgroundNetworking = s.FDisableBackgroundNetworking;
    config.EnableTrackingPrevention = s.FEnableTrackingPrevention;
}

} // namespace

int RunOrbwell(int argc, char *argv[])
{
    // Chromium refuses to start its sandbox for root; a root user gets the unsandboxed engine.
    if (geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    TWVAppScheme::Register(TPublisherPages::Scheme);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbwell"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orbwell"));
    QApplication::setQuitOnLastWindowClosed(false);

    // The engine first, then the windows.
    GlobalWebView2Loader = new TWVLoader();
    GlobalWebView2Loader->Config.UserDataFolder = TDataFolder::PathOf(QStringLiteral("Orbwell Cache"));
    GlobalWebView2Loader->Config.AreBrowserExtensionsEnabled = true;
    QObject::connect(GlobalWebView2Loader, &TWVLoader::OnGetCustomSchemes, GlobalWebView2Loader,
                     [](QStringList *schemes) { schemes->append(TPublisherPages::Scheme); });
    ApplyEngineSettings(GlobalWebView2Loader->Config, TIniFile(TDataFolder::PathOf(QStringLiteral("Settings.ini"))));
    GlobalWebView2Loader->StartWebView2();

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    auto *window = new TfrmParent(arguments);
    QObject::connect(GlobalWebView2Loader, &TWVLoader::OnEnvironmentCreated, window,
                     &TfrmParent::GlobalWebView2Loader_OnEnvironmentCreated);
    TQuitSignals quitSignals;
    QObject::connect(&quitSignals, &TQuitSignals::QuitRequested, window, &QWidget::close);
    window->showMaximized();

    const int code = QApplication::exec();

    const bool restart = window->refreshRestart;
    delete window; // tabs and their pages go before the engine's profile
    DestroyGlobalWebView2Loader();
    if (restart)
        QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
    return code;
}
