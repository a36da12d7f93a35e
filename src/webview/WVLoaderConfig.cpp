#include "webview/WVLoaderConfig.h"

#include <QLocale>

QString TWVLoaderConfig::DisabledFeaturesList() const
{
    QString list = DisableFeatures;
    const auto add = [&list](const QString &feature) {
        if (!list.isEmpty())
            list += QLatin1Char(',');
        list += feature;
    };
    if (!SmartScreenProtectionEnabled)
        add(QStringLiteral("msSmartScreenProtection"));
    if (DisableEdgePitchNotification)
        add(QStringLiteral("msEdgeRose"));
    return list;
}

QString TWVLoaderConfig::CustomCommandLineSwitches() const
{
    QString s;
    const auto value = [&s](const char *name, const QString &v) {
        if (!v.isEmpty())
            s += QLatin1String(name) + v + QLatin1Char(' ');
    };
    const auto flag = [&s](bool on, const char *text) {
        if (on)
            s += QLatin1String(text);
    };

    flag(!EnableGPU, "--disable-gpu --disable-gpu-compositing ");
    value("--enable-features=", EnableFeatures);
    value("--disable-features=", DisabledFeaturesList());
    value("--enable-blink-features=", EnableBlinkFeatures);
    value("--disable-blink-features=", DisableBlinkFeatures);
    value("--blink-settings=", BlinkSettings);
    value("--force-fieldtrials=", ForceFieldTrials);
    value("--force-fieldtrial-params=", ForceFieldTrialParams);
    flag(AllowInsecureLocalhost, "--allow-insecure-localhost ");
    flag(DisableWebSecurity, "--disable-web-security ");
    flag(TouchEvents == TWVState::STATE_ENABLED, "--touch-events=enabled ");
    flag(TouchEvents == TWVState::STATE_DISABLED, "--touch-events=disabled ");
    flag(!HyperlinkAuditing, "--no-pings ");
    flag(AutoplayPolicy == TWVAutoplayPolicy::appDocumentUserActivationRequired,
         "--autoplay-policy=document-user-activation-required ");
    flag(AutoplayPolicy == TWVAutoplayPolicy::appNoUserGestureRequired, "--autoplay-policy=no-user-gesture-required ");
    flag(AutoplayPolicy == TWVAutoplayPolicy::appUserGestureRequired, "--autoplay-policy=user-gesture-required ");
    flag(MuteAudio, "--mute-audio ");
    value("--default-encoding=", DefaultEncoding);
    flag(KioskPrinting, "--kiosk-printing ");
    if (ProxySettings.NoProxyServer) {
        s += QLatin1String("--no-proxy-server ");
    } else {
        flag(ProxySettings.AutoDetect, "--proxy-auto-detect ");
        value("--proxy-bypass-list=", ProxySettings.ByPassList);
        value("--proxy-pac-url=", ProxySettings.PacUrl);
        value("--proxy-server=", ProxySettings.Server);
    }
    flag(AllowFileAccessFromFiles, "--allow-file-access-from-files ");
    flag(AllowRunningInsecureContent, "--allow-running-insecure-content ");
    flag(DisableBackgroundNetworking, "--disable-background-networking ");
    if (ForcedDeviceScaleFactor != 0)
        value("--force-device-scale-factor=", QLocale::c().toString(ForcedDeviceScaleFactor, 'g', QLocale::FloatingPointShortest));
    if (RemoteDebuggingPort > 0)
        value("--remote-debugging-port=", QString::number(RemoteDebuggingPort));
    value("--remote-allow-origins=", RemoteAllowOrigins);
    flag(DebugLog == TWVDebugLog::dlEnabled, "--enable-logging ");
    flag(DebugLog == TWVDebugLog::dlEnabledStdOut, "--enable-logging=stdout ");
    flag(DebugLog == TWVDebugLog::dlEnabledStdErr, "--enable-logging=stderr ");
    flag(DebugLogLevel == TWVDebugLogLevel::dllInfo, "--log-level=0 ");
    flag(DebugLogLevel == TWVDebugLogLevel::dllWarning, "--log-level=1 ");
    flag(DebugLogLevel == TWVDebugLogLevel::dllError, "--log-level=2 ");
    flag(DebugLogLevel == TWVDebugLogLevel::dllFatal, "--log-level=3 ");
    value("--unsafely-treat-insecure-origin-as-secure=", TreatInsecureOriginAsSecure);
    flag(AutoAcceptCamAndMicCapture, "--auto-accept-camera-and-microphone-capture ");
    if (!JavaScriptFlags.isEmpty())
        s += QLatin1String("--js-flags=\"") + JavaScriptFlags + QLatin1String("\" ");

    if (AdditionalBrowserArguments.isEmpty()) {
        // Blanks and control characters (all at or below U+0020) come off both ends.
        qsizetype from = 0;
        qsizetype to = s.size();
        while (from < to && s.at(from).unicode() <= 0x20)
            ++from;
        while (to > from && s.at(to - 1).unicode() <= 0x20)
            --to;
        return s.mid(from, to - from);
    }
    return s + AdditionalBrowserArguments;
}

bool CompareDottedVersions(const QString &a, const QString &b, int *result)
{
    const QStringList pa = a.split(QLatin1Char('.'));
    const QStringList pb = b.split(QLatin1Char('.'));
    const qsizetype n = std::max(pa.size(), pb.size());
    int r = 0;
    for (qsizetype i = 0; i < n; ++i) {
        bool okA = true;
        bool okB = true;
        const qulonglong va = i < pa.size() ? pa.at(i).toULongLong(&okA) : 0;
        const qulonglong vb = i < pb.size() ? pb.at(i).toULongLong(&okB) : 0;
        if (!okA || !okB)
            return false;
        if (r == 0 && va != vb)
            r = va < vb ? -1 : 1;
    }
    if (result)
        *result = r;
    return true;
}

QString EnvironmentCreationErrorToString(quint32 code)
{
    switch (code) {
    case 0x80004005: return QStringLiteral("Edge runtime unable to start.");
    case 0x80010106: return QStringLiteral("CoInitializeEx was previously called with COINIT_MULTITHREADED.");
    case 0x800401F0: return QStringLiteral("CoInitializeEx was not called.");
    case 0x80070002: return QStringLiteral("Could not find Edge installation.");
    case 0x80070005: return QStringLiteral("Unable to create user data folder, Access Denied.");
    case 0x80070032: return QStringLiteral("\\Edge\\Application path used in browserExecutableFolder.");
    case 0x80070050: return QStringLiteral("User data folder cannot be created because a file with the same name already exists.");
    case 0x80070070: return QStringLiteral("There are too many previous WebView2 Runtime versions.");
    case 0x8007064E: return QStringLiteral("Webview depends upon an installed WebView2 Runtime version and it is uninstalled.");
    case 0x8007139F: return QStringLiteral("Specified options do not match the options of the WebViews that are currently running in the shared browser process.");
    default: return QStringLiteral("Unexpected error result.");
    }
}

QString ErrorCodeLine(quint32 code)
{
    return QStringLiteral("Error code : 0x") + QStringLiteral("%1").arg(code, 8, 16, QLatin1Char('0')).toUpper();
}
