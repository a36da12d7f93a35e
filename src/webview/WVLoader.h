#pragma once

#include "webview/WVLoaderConfig.h"

#include <QObject>
#include <QPointer>
#include <QStringList>

class QWebEngineProfile;

enum TWV2LoaderStatus {
    wvlsCreated,
    wvlsLoading,
    wvlsLoaded,
    wvlsImported,
    wvlsInitialized,
    wvlsError,
    wvlsUnloaded,
};

// Starts the web engine once per process: checks that the engine is installed, hands it the switches
// composed from the properties, and creates the one profile ("environment") every web view shares.
// The environment arrives asynchronously, on the user-interface thread.
class TWVLoader : public QObject
{
    Q_OBJECT

public:
    explicit TWVLoader(QObject *owner = nullptr);
    ~TWVLoader() override;

    // The properties; changes after StartWebView2 have no effect on the running engine.
    TWVLoaderConfig Config;

    // Where the engine's helper process and resources are looked for; empty means Qt's own locations.
    QString HelperProcessPath;
    QString ResourcesFile;

    bool StartWebView2();

    TWV2LoaderStatus Status() const { return FStatus; }
    bool Initialized() const { return FStatus == wvlsInitialized; }
    bool InitializationError() const { return FStatus == wvlsError; }
    bool EnvironmentIsInitialized() const { return !FProfile.isNull(); }
    QWebEngineProfile *Environment() const;
    // The off-the-record profile of private-mode tabs, made on first use.
    QWebEngineProfile *PrivateEnvironment();

    QStringList ErrorLog() const { return FErrorLog; }
    QString ErrorMessage() const;
    qint64 ErrorCode() const { return FErrorCode; }

    QString AvailableBrowserVersion() const;
    QString InstalledRuntimeVersion() const;
    QString CustomCommandLineSwitches() const { return Config.CustomCommandLineSwitches(); }
    bool CompareVersions(const QString &a, const QString &b, int *result) const;
    double DeviceScaleFactor() const;

    // The switch text as the engine will receive it, after anything already in the environment.
    static QString ComposeEngineFlags(const QString &switches, const QString &existingFlags);

Q_SIGNALS:
    void OnEnvironmentCreated(QObject *sender);
    void OnInitializationError(QObject *sender);
    // Asked once, when the environment is requested: the program's own schemes (registered before the
    // application object with TWVAppScheme::Register) to serve in every profile.
    void OnGetCustomSchemes(QStringList *schemes);

private:
    bool CheckWV2Library();
    bool CheckBrowserExecPath();
    bool CheckWebViewRuntimeVersion();
    bool CreateEnvironment();
    void EnvironmentCompleted();
    void AppendErrorLog(const QString &line);
    void ShowErrorMessageDlg();
    void Fail(quint32 code, const QString &firstLine, bool showBox);

    TWV2LoaderStatus FStatus = wvlsCreated;
    QStringList FErrorLog;
    qint64 FErrorCode = 0;
    bool FEnvironmentRequested = false;
    QStringList FCustomSchemes;
    QPointer<QWebEngineProfile> FProfile;
    QPointer<QWebEngineProfile> FPrivateProfile;
};

extern TWVLoader *GlobalWebView2Loader;
void DestroyGlobalWebView2Loader();
