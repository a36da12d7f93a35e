#include "webview/WVLoader.h"

#include "webview/WVAppScheme.h"
#include "webview/WVProfileData.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QWebEngineProfile>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>

TWVLoader *GlobalWebView2Loader = nullptr;

void DestroyGlobalWebView2Loader()
{
    delete GlobalWebView2Loader;
    GlobalWebView2Loader = nullptr;
}

namespace {
const QString HelperName = QStringLiteral("QtWebEngineProcess");
const QString RuntimeHelpAddress = QStringLiteral("https://packages.debian.org/stable/libqt6webenginecore6-bin");
} // namespace

TWVLoader::TWVLoader(QObject *owner) : QObject(owner) {}

TWVLoader::~TWVLoader()
{
    // Pages must be gone before their profile; the owner of the tabs frees them first.
    delete FPrivateProfile.data();
    delete FProfile.data();
    if (FStatus != wvlsCreated && FStatus != wvlsError)
        FStatus = wvlsUnloaded;
}

QWebEngineProfile *TWVLoader::Environment() const
{
    return FProfile.data();
}

QWebEngineProfile *TWVLoader::PrivateEnvironment()
{
    if (!Initialized())
        return nullptr;
    if (!FPrivateProfile) {
        FPrivateProfile = new QWebEngineProfile(this); // no storage name: off the record
        for (const QString &scheme : std::as_const(FCustomSchemes))
            TWVAppScheme::Install(FPrivateProfile, scheme);
        if (!Config.Language.isEmpty())
            FPrivateProfile->setHttpAcceptLanguage(Config.Language);
    }
    return FPrivateProfile.data();
}

QString TWVLoader::ErrorMessage() const
{
    QString text;
    for (const QString &line : FErrorLog)
        text += line + QStringLiteral("\r\n");
    return text;
}

QString TWVLoader::InstalledRuntimeVersion() const
{
    return QString::fromLatin1(qWebEngineChromiumVersion());
}

QString TWVLoader::AvailableBrowserVersion() const
{
    return Initialized() ? InstalledRuntimeVersion() : QString();
}

bool TWVLoader::CompareVersions(const QString &a, const QString &b, int *result) const
{
    if (FStatus != wvlsImported && FStatus != wvlsInitialized) {
        if (result)
            *result = 0;
        return false;
    }
    return CompareDottedVersions(a, b, result);
}

double TWVLoader::DeviceScaleFactor() const
{
    if (Config.ForcedDeviceScaleFactor != 0)
        return Config.ForcedDeviceScaleFactor;
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInch() / 96.0 : 1.0;
}

void TWVLoader::AppendErrorLog(const QString &line)
{
    FErrorLog.append(line);
    qWarning().noquote() << "TWVLoader:" << line;
}

void TWVLoader::ShowErrorMessageDlg()
{
    if (!Config.ShowMessageDlg || !qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), ErrorMessage(), QMessageBox::Ok);
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
}

void TWVLoader::Fail(quint32 code, const QString &firstLine, bool showBox)
{
    FStatus = wvlsError;
    FErrorCode = code;
    AppendErrorLog(firstLine);
    AppendErrorLog(ErrorCodeLine(code));
    AppendErrorLog(EnvironmentCreationErrorToString(code));
    if (showBox)
        ShowErrorMessageDlg();
}

bool TWVLoader::StartWebView2()
{
    if (!CheckWV2Library())
        return false;
    // The engine is linked into the program, so loading and importing cannot fail on their own.
    FStatus = wvlsLoading;
    FStatus = wvlsLoaded;
    FStatus = wvlsImported;
    if (!CheckWebViewRuntimeVersion())
        return false;
    return CreateEnvironment();
}

bool TWVLoader::CheckWV2Library()
{
    if (!Config.CheckFiles)
        return true;
    if (!CheckBrowserExecPath())
        return false;
    const QString resources = !ResourcesFile.isEmpty()
        ? ResourcesFile
        : QLibraryInfo::path(QLibraryInfo::DataPath) + QStringLiteral("/resources/qtwebengine_resources.pak");
    if (!QFileInfo::exists(resources) && qEnvironmentVariableIsEmpty("QTWEBENGINE_RESOURCES_PATH")) {
        FStatus = wvlsError;
        AppendErrorLog(QStringLiteral("WebView2 Runtime is not installed correctly."));
        AppendErrorLog(QStringLiteral("Download and run the Evergreen Standalone Installer from "));
        AppendErrorLog(RuntimeHelpAddress);
        ShowErrorMessageDlg();
        return false;
    }
    return true;
}

bool TWVLoader::CheckBrowserExecPath()
{
    if (!Config.BrowserExecPath.isEmpty()) {
        const QString helper = QDir(Config.BrowserExecPath).filePath(HelperName);
        if (!QFileInfo(helper).isExecutable()) {
            FStatus = wvlsError;
            AppendErrorLog(QStringLiteral("The Browser Executable Folder doesn't exist."));
            ShowErrorMessageDlg();
            return false;
        }
        return true;
    }
    QString helper = HelperProcessPath;
    if (helper.isEmpty())
        helper = qEnvironmentVariable("QTWEBENGINEPROCESS_PATH");
    if (helper.isEmpty())
        helper = QLibraryInfo::path(QLibraryInfo::LibraryExecutablesPath) + QLatin1Char('/') + HelperName;
    if (!QFileInfo(helper).isExecutable()) {
        FStatus = wvlsError;
        AppendErrorLog(QStringLiteral("WebView2 Runtime is not installed correctly."));
        AppendErrorLog(QStringLiteral("Download and run the Evergreen Standalone Installer from "));
        AppendErrorLog(RuntimeHelpAddress);
        ShowErrorMessageDlg();
        return false;
    }
    return true;
}

bool TWVLoader::CheckWebViewRuntimeVersion()
{
    int result = -1;
    const QString version = InstalledRuntimeVersion();
    if (CompareVersions(version, LowestChromiumVersion, &result) && result >= 0)
        return true;
    AppendErrorLog(QStringLiteral("The web engine (Chromium %1) is older than the expected version %2; "
                                  "some features of the web view layer will not work.")
                       .arg(version, LowestChromiumVersion));
    if (Config.AllowOldRuntime)
        return true;
    FStatus = wvlsError;
    return false;
}

QString TWVLoader::ComposeEngineFlags(const QString &switches, const QString &existingFlags)
{
    // Flags the user already set in the environment come last so they can still override ours.
    if (existingFlags.trimmed().isEmpty())
        return switches;
    if (switches.isEmpty())
        return existingFlags;
    return switches + QLatin1Char(' ') + existingFlags;
}

bool TWVLoader::CreateEnvironment()
{
    if (FStatus != wvlsImported || FEnvironmentRequested || FProfile)
        return false;
    FCustomSchemes.clear();
    Q_EMIT OnGetCustomSchemes(&FCustomSchemes);

    const QString flags = ComposeEngineFlags(Config.CustomCommandLineSwitches(),
                                             qEnvironmentVariable("QTWEBENGINE_CHROMIUM_FLAGS"));
    // The engine reads its switches once, when the first profile is made; that happens below, queued.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.toLocal8Bit());
    if (!Config.BrowserExecPath.isEmpty())
        qputenv("QTWEBENGINEPROCESS_PATH", QDir(Config.BrowserExecPath).filePath(HelperName).toLocal8Bit());
    FEnvironmentRequested = true;
    QMetaObject::invokeMethod(this, &TWVLoader::EnvironmentCompleted, Qt::QueuedConnection);
    return true;
}

void TWVLoader::EnvironmentCompleted()
{
    const QString folder = Config.UserDataFolder;
    const QFileInfo info(folder);
    quint32 failure = 0;
    if (folder.isEmpty())
        failure = 0x80070005;
    else if (info.exists() && !info.isDir())
        failure = 0x80070050;
    else if (!QDir().mkpath(folder) || !QFileInfo(folder).isWritable())
        failure = 0x80070005;
    if (failure) {
        Fail(failure, QStringLiteral("There was a problem initializing the browser environment."), false);
        Q_EMIT OnInitializationError(this);
        return;
    }

    TWVProfileData::FinishPendingClears(folder);
    auto *profile = new QWebEngineProfile(QStringLiteral("Orbwell"), this);
    profile->setPersistentStoragePath(folder);
    profile->setCachePath(folder + QStringLiteral("/Cache"));
    profile->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    profile->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    if (!Config.Language.isEmpty())
        profile->setHttpAcceptLanguage(Config.Language);
    for (const QString &scheme : std::as_const(FCustomSchemes))
        TWVAppScheme::Install(profile, scheme);
    FProfile = profile;
    FStatus = wvlsInitialized;
    Q_EMIT OnEnvironmentCreated(this);
}
