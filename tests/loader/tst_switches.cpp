#include "webview/WVLoaderConfig.h"

#include <QtTest>

class TestSwitches : public QObject
{
    Q_OBJECT

private:
    // The loader as the program configures it from default settings.
    static TWVLoaderConfig ProgramDefaults()
    {
        TWVLoaderConfig c;
        c.AreBrowserExtensionsEnabled = true;
        c.AutoplayPolicy = TWVAutoplayPolicy::appUserGestureRequired;
        c.EnableGPU = true;
        c.MuteAudio = false;
        c.DisableWebSecurity = false;
        c.SmartScreenProtectionEnabled = false;
        c.AllowInsecureLocalhost = true;
        c.DisableBackgroundNetworking = true;
        c.EnableTrackingPrevention = true;
        return c;
    }

private Q_SLOTS:
    void switches_data()
    {
        QTest::addColumn<QString>("switches");
        QTest::addColumn<QString>("expected");

        QTest::newRow("program defaults") << ProgramDefaults().CustomCommandLineSwitches()
            << QStringLiteral("--disable-features=msSmartScreenProtection,msEdgeRose --allow-insecure-localhost "
                              "--autoplay-policy=user-gesture-required --disable-background-networking");
        QTest::newRow("constructor defaults") << TWVLoaderConfig().CustomCommandLineSwitches()
                                              << QStringLiteral("--disable-features=msEdgeRose");
        {
            TWVLoaderConfig c;
            c.DisableFeatures = QStringLiteral("A,B");
            c.SmartScreenProtectionEnabled = false;
            QTest::newRow("disabled features joined") << c.CustomCommandLineSwitches()
                << QStringLiteral("--disable-features=A,B,msSmartScreenProtection,msEdgeRose");
        }
        {
            TWVLoaderConfig c;
            c.DisableEdgePitchNotification = false;
            QTest::newRow("nothing at all") << c.CustomCommandLineSwitches() << QString();
        }
        {
            TWVLoaderConfig c;
            c.ProxySettings.NoProxyServer = true;
            c.ProxySettings.AutoDetect = true;
            c.ProxySettings.Server = QStringLiteral("proxy:8080");
            c.ProxySettings.PacUrl = QStringLiteral("http://pac");
            QTest::newRow("no proxy wins") << c.CustomCommandLineSwitches()
                << QStringLiteral("--disable-features=msEdgeRose --no-proxy-server");
        }
        {
            TWVLoaderConfig c;
            c.ProxySettings.AutoDetect = true;
            c.ProxySettings.ByPassList = QStringLiteral("<local>");
            c.ProxySettings.PacUrl = QStringLiteral("http://pac");
            c.ProxySettings.Server = QStringLiteral("proxy:8080");
            QTest::newRow("proxy pieces in order") << c.CustomCommandLineSwitches()
                << QStringLiteral("--disable-features=msEdgeRose --proxy-auto-detect --proxy-bypass-list=<local> "
                                  "--proxy-pac-url=http://pac --proxy-server=proxy:8080");
        }
        {
            TWVLoaderConfig c;
            c.MuteAudio = true;
            c.AdditionalBrowserArguments = QStringLiteral("--foo=1 ");
            QTest::newRow("additional after others keeps blank") << c.CustomCommandLineSwitches()
                << QStringLiteral("--disable-features=msEdgeRose --mute-audio --foo=1 ");
        }
        {
            TWVLoaderConfig c;
            c.DisableEdgePitchNotification = false;
            c.AdditionalBrowserArguments = QStringLiteral("  --foo=1 ");
            QTest::newRow("additional alone untrimmed") << c.CustomCommandLineSwitches() << QStringLiteral("  --foo=1 ");
        }
        {
            TWVLoaderConfig c;
            c.DisableEdgePitchNotification = false;
            c.EnableGPU = false;
            c.EnableFeatures = QStringLiteral("F1");
            c.EnableBlinkFeatures = QStringLiteral("B1");
            c.DisableBlinkFeatures = QStringLiteral("B2");
            c.BlinkSettings = QStringLiteral("s=1");
            c.ForceFieldTrials = QStringLiteral("T/G");
            c.ForceFieldTrialParams = QStringLiteral("T.G:p/v");
            c.DisableWebSecurity = true;
            c.TouchEvents = TWVState::STATE_DISABLED;
            c.HyperlinkAuditing = false;
            c.AutoplayPolicy = TWVAutoplayPolicy::appDocumentUserActivationRequired;
            c.DefaultEncoding = QStringLiteral("UTF-8");
            c.KioskPrinting = true;
            c.AllowFileAccessFromFiles = true;
            c.AllowRunningInsecureContent = true;
            c.ForcedDeviceScaleFactor = 1.25f;
            c.RemoteDebuggingPort = 9222;
            c.RemoteAllowOrigins = QStringLiteral("*");
            c.DebugLog = TWVDebugLog::dlEnabledStdErr;
            c.DebugLogLevel = TWVDebugLogLevel::dllError;
            c.TreatInsecureOriginAsSecure = QStringLiteral("http://a.test");
            c.AutoAcceptCamAndMicCapture = true;
            c.JavaScriptFlags = QStringLiteral("--expose-gc");
            QTest::newRow("every piece in order") << c.CustomCommandLineSwitches()
                << QStringLiteral("--disable-gpu --disable-gpu-compositing --enable-features=F1 "
                                  "--enable-blink-features=B1 --disable-blink-features=B2 --blink-settings=s=1 "
                                  "--force-fieldtrials=T/G --force-fieldtrial-params=T.G:p/v --disable-web-security "
                                  "--touch-events=disabled --no-pings --autoplay-policy=document-user-activation-required "
                                  "--default-encoding=UTF-8 --kiosk-printing --allow-file-access-from-files "
                                  "--allow-running-insecure-content --force-device-scale-factor=1.25 "
                                  "--remote-debugging-port=9222 --remote-allow-origins=* --enable-logging=stderr "
                                  "--log-level=2 --unsafely-treat-insecure-origin-as-secure=http://a.test "
                                  "--auto-accept-camera-and-microphone-capture --js-flags=\"--expose-gc\"");
        }
        {
            TWVLoaderConfig c;
            c.RemoteDebuggingPort = -1;
            c.TouchEvents = TWVState::STATE_ENABLED;
            c.AutoplayPolicy = TWVAutoplayPolicy::appNoUserGestureRequired;
            QTest::newRow("negative port omitted") << c.CustomCommandLineSwitches()
                << QStringLiteral("--disable-features=msEdgeRose --touch-events=enabled --autoplay-policy=no-user-gesture-required");
        }
    }

    void switches()
    {
        QFETCH(QString, switches);
        QTEST(switches, "expected");
    }

    void versions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("result");
        QTest::newRow("older major") << QStringLiteral("102.0.5005.177") << LowestChromiumVersion << true << -1;
        QTest::newRow("equal") << QStringLiteral("124.0.2478.35") << LowestChromiumVersion << true << 0;
        QTest::newRow("one build older") << QStringLiteral("124.0.2478.34") << LowestChromiumVersion << true << -1;
        QTest::newRow("newer minor") << QStringLiteral("124.1.0.0") << LowestChromiumVersion << true << 1;
        QTest::newRow("short is padded") << QStringLiteral("125") << LowestChromiumVersion << true << 1;
        QTest::newRow("not a version") << QString() << LowestChromiumVersion << false << 0;
    }

    void versions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        int result = 0;
        QTEST(CompareDottedVersions(a, b, &result), "ok");
        QTEST(result, "result");
    }

    void errorLines()
    {
        QCOMPARE(ErrorCodeLine(0x80070050), QStringLiteral("Error code : 0x80070050"));
        QCOMPARE(ErrorCodeLine(0x5), QStringLiteral("Error code : 0x00000005"));
        QCOMPARE(EnvironmentCreationErrorToString(0x80070050),
                 QStringLiteral("User data folder cannot be created because a file with the same name already exists."));
        QCOMPARE(EnvironmentCreationErrorToString(0x1234), QStringLiteral("Unexpected error result."));
    }
};

QTEST_GUILESS_MAIN(TestSwitches)
#include "tst_switches.moc"
