#include "shell/Settings.h"

#include "shell/IniFile.h"

const QString TSettings::GeneralSection = QStringLiteral("General Settings");
const QString TSettings::SecuritySection = QStringLiteral("Security Settings");
const QString TSettings::EnvironmentSection = QStringLiteral("Environment Settings");
const QString TSettings::DeleteHistorySection = QStringLiteral("Delete History");

void TSettings::Read(const TIniFile &file, const QString &defaultDownloadFolder)
{
    const TIniFile::TSnapshot ini = file.Snapshot();
    const TSettings d; // defaults
    const QString &g = GeneralSection;
    const auto b = [&ini](const QString &section, const char *key, bool def) {
        return ini.ReadBool(section, QLatin1String(key), def);
    };

    FDefaultDownloadFolder = ini.ReadString(g, QStringLiteral("DefaultDownloadFolder"), defaultDownloadFolder);
    FZoom = ini.ReadInteger(g, QStringLiteral("DefaultZoom"), d.FZoom);
    FInternetRouterAddress = ini.ReadString(g, QStringLiteral("InternetRouterAddress"), d.FInternetRouterAddress);
    FNASDeviceAddress = ini.ReadString(g, QStringLiteral("NASDeviceAddress"), d.FNASDeviceAddress);
    FDefaultHomePageIndex = ini.ReadInteger(g, QStringLiteral("DefaultHomePageIndex"), d.FDefaultHomePageIndex);
    FAutoSavePasswords = b(g, "AutoSavePasswords", d.FAutoSavePasswords);
    FAskForDownloads = b(g, "AskForDownloads", d.FAskForDownloads);
    FMediaAutoPlay = b(g, "MediaAutoPlay", d.FMediaAutoPlay);
    FEnableGPU = b(g, "EnableGPU", d.FEnableGPU);
    FMuteAudio = b(g, "MuteAudio", d.FMuteAudio);
    FDeleteHistoryOnClose = b(g, "DeleteHistoryOnClose", d.FDeleteHistoryOnClose);
    FDisableWebSecurity = b(g, "DisableWebSecurity", d.FDisableWebSecurity);
    FAllowInsecureLocalhost = b(g, "AllowInsecureLocalhost", d.FAllowInsecureLocalhost);
    FDisableBackgroundNetworking = b(g, "DisableBackgroundNetworking", d.FDisableBackgroundNetworking);
    FEnableTrackingPrevention = b(g, "EnableTrackingPrevention", d.FEnableTrackingPrevention);
    FNextToCurrentTabPage = b(g, "NextToCurrentTabPage", d.FNextToCurrentTabPage);
    FAdBlocker = b(g, "AdBlocker", d.FAdBlocker);

    FSmartScreen = b(SecuritySection, "SmartScreen", d.FSmartScreen);

    const QString &e = EnvironmentSection;
    FBlockImages = b(e, "BlockImages", d.FBlockImages);
    FPrivateMode = b(e, "PrivateMode", d.FPrivateMode);
    FMenuToolbar = b(e, "MenuToolbar", d.FMenuToolbar);
    FToolbarHints = b(e, "ToolbarHints", d.FToolbarHints);
    FBrowserStatusBar = b(e, "BrowserStatusBar", d.FBrowserStatusBar);
    FDarkMode = b(e, "DarkMode", d.FDarkMode);

    const QString &h = DeleteHistorySection;
    FBrowsingHistory = b(h, "BrowsingHistory", d.FBrowsingHistory);
    FDownloadHistory = b(h, "DownloadHistory", d.FDownloadHistory);
    FCookies = b(h, "Cookies", d.FCookies);
    FImages = b(h, "Images", d.FImages);
    FPasswords = b(h, "Passwords", d.FPasswords);
    FAutofillData = b(h, "AutofillData", d.FAutofillData);
    FSiteSettings = b(h, "SiteSettings", d.FSiteSettings);
}
