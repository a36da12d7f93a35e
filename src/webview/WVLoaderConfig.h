#pragma once

#include <QString>
#include <QStringList>

enum class TWVState { STATE_DEFAULT, STATE_ENABLED, STATE_DISABLED };
enum class TWVAutoplayPolicy { appDefault, appDocumentUserActivationRequired, appNoUserGestureRequired, appUserGestureRequired };
enum class TWVDebugLog { dlDisabled, dlEnabled, dlEnabledStdOut, dlEnabledStdErr };
enum class TWVDebugLogLevel { dllDefault, dllInfo, dllWarning, dllError, dllFatal };

struct TWVProxySettings
{
    bool NoProxyServer = false;
    bool AutoDetect = false;
    QString ByPassList;
    QString PacUrl;
    QString Server;
};

// The engine loader's properties with their defaults, and the engine switches they compose to.
// Kept apart from the loader so the composition is testable without an engine.
struct TWVLoaderConfig
{
    QString UserDataFolder;
    QString BrowserExecPath;
    bool CheckFiles = true;
    bool ShowMessageDlg = true;
    bool ReRaiseExceptions = false;
    bool AllowOldRuntime = true;
    QString AdditionalBrowserArguments;
    QString Language;
    QString TargetCompatibleBrowserVersion = QStringLiteral("124.0.2478.35");
    bool AllowSingleSignOnUsingOSPrimaryAccount = false;
    bool ExclusiveUserDataFolderAccess = false;
    bool CustomCrashReportingEnabled = false;
    bool EnableTrackingPrevention = true;
    bool AreBrowserExtensionsEnabled = false;
    quint32 ChannelSearchKind = 0;
    quint32 ReleaseChannels = 15;
    bool EnableGPU = true;
    QString EnableFeatures;
    QString DisableFeatures;
    QString EnableBlinkFeatures;
    QString DisableBlinkFeatures;
    QString BlinkSettings;
    QString ForceFieldTrials;
    QString ForceFieldTrialParams;
    bool SmartScreenProtectionEnabled = true;
    bool AllowInsecureLocalhost = false;
    bool DisableWebSecurity = false;
    TWVState TouchEvents = TWVState::STATE_DEFAULT;
    bool HyperlinkAuditing = true;
    TWVAutoplayPolicy AutoplayPolicy = TWVAutoplayPolicy::appDefault;
    bool MuteAudio = false;
    QString DefaultEncoding;
    bool KioskPrinting = false;
    TWVProxySettings ProxySettings;
    bool AllowFileAccessFromFiles = false;
    bool AllowRunningInsecureContent = false;
    bool DisableBackgroundNetworking = false;
    float ForcedDeviceScaleFactor = 0;
    qint32 RemoteDebuggingPort = 0;
    QString RemoteAllowOrigins;
    TWVDebugLog DebugLog = TWVDebugLog::dlDisabled;
    TWVDebugLogLevel DebugLogLevel = TWVDebugLogLevel::dllDefault;
    QString JavaScriptFlags;
    bool DisableEdgePitchNotification = true;
    QString TreatInsecureOriginAsSecure;
    bool AutoAcceptCamAndMicCapture = false;

    QString CustomCommandLineSwitches() const;
    QString DisabledFeaturesList() const;
};

inline const QString LowestChromiumVersion = QStringLiteral("124.0.2478.35");

// Compares dotted version strings number by number; missing numbers count as 0.
// Returns false when either is not a dotted list of numbers.
bool CompareDottedVersions(const QString &a, const QString &b, int *result);

// Describes an environment-creation failure code.
QString EnvironmentCreationErrorToString(quint32 code);
QString ErrorCodeLine(quint32 code);
