#pragma once

#include <QString>

class TIniFile;

// The stored preferences, one field per key of "Settings.ini". The main window owns one instance;
// every writer sets the field first and then writes its key at once.
struct TSettings
{
    // General Settings
    QString FDefaultDownloadFolder;
    qint64 FZoom = 100;
    QString FInternetRouterAddress = QStringLiteral("https://192.168.1.1");
    QString FNASDeviceAddress = QStringLiteral("https://192.168.1.1");
    qint64 FDefaultHomePageIndex = 1;
    bool FAutoSavePasswords = true;
    bool FAskForDownloads = false;
    bool FMediaAutoPlay = false;
    bool FEnableGPU = true;
    bool FMuteAudio = false;
    bool FDeleteHistoryOnClose = false;
    bool FDisableWebSecurity = false;
    bool FAllowInsecureLocalhost = true;
    bool FDisableBackgroundNetworking = true;
    bool FEnableTrackingPrevention = true;
    bool FNextToCurrentTabPage = false;
    bool FAdBlocker = true;
    // Security Settings
    bool FSmartScreen = false;
    // Environment Settings
    bool FBlockImages = false;
    bool FPrivateMode = false;
    bool FMenuToolbar = false;
    bool FToolbarHints = true;
    bool FBrowserStatusBar = false;
    bool FDarkMode = false;
    // Delete History
    bool FBrowsingHistory = true;
    bool FDownloadHistory = true;
    bool FCookies = true;
    bool FImages = true;
    bool FPasswords = true;
    bool FAutofillData = true;
    bool FSiteSettings = true;

    // Reads every key in the file's documented order; missing keys keep the defaults above,
    // with defaultDownloadFolder as the default of DefaultDownloadFolder.
    void Read(const TIniFile &file, const QString &defaultDownloadFolder);

    static const QString GeneralSection;
    static const QString SecuritySection;
    static const QString EnvironmentSection;
    static const QString DeleteHistorySection;
};
