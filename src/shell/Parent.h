#pragma once

#include "shell/IniFile.h"
#include "shell/Settings.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QTabWidget;

// The main window: the hub every tab and dialog reaches through frmParent.
class TfrmParent : public QMainWindow
{
    Q_OBJECT

public:
    // arguments: the command line without the program name.
    explicit TfrmParent(const QStringList &arguments, QWidget *parent = nullptr);
    ~TfrmParent() override;

    TSettings Settings;
    TIniFile &IniFile() { return FIniFile; }

    // Run-time state.
    QString navigateURL;
    quint32 FLastTabID = 0;
    qint32 lastActiveTabIndex = 0;
    qint32 resetTabIndex = 0;
    qint32 downloadCount = 0;
    bool isDownloading = false;
    bool startup = true;
    bool appExit = false;
    bool tabExit = false;
    bool refreshRestart = false;
    bool showDummyPage = false;
    bool newWindowRequested = false;
    bool showPanelAdUrls = false;
    bool isContextMenuEnabledParent = false;
    bool isRemovingExtension = false;
    bool FHideToolbar = false;
    bool FGoBigScreen = false;
    QStringList adBlockList;
    QStringList adBlockWhitelist;

    // The address the first tab opens instead of navigateURL; empty without a usable argument.
    QString InitialAddress() const { return FInitialAddress; }

    void readIniFile();
    static QString getDefaultPath();
    QString getHomePage() const;
    void setDarkMode();
    // Writes one key; on failure shows "Unable to write to <file>." and returns false.
    bool WriteSetting(const QString &section, const QString &key, bool value);

    void createFrame();
    QTabWidget *tbcChildrenTabs() const { return FTabs; }

    // Set by the clearing feature: clears the selected kinds through the active tab at exit.
    std::function<void()> clearHistoryOnClose;

    // Colours of the palette, for the parts of a tab that follow it.
    static QColor WindowBackground(bool dark);

Q_SIGNALS:
    // The active tab should take the palette of the moment.
    void DarkModeChanged(bool dark);
    void ParentWindowPositionChanged();

public Q_SLOTS:
    void WVInitializedMsg();
    void GlobalWebView2Loader_OnEnvironmentCreated();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void BuildMenus();
    void ShowEngineErrors();
    void ShowToolbar1Click();
    void CloseAllWindows1Click();
    void newTab();

    TIniFile FIniFile;
    QString FInitialAddress;
    QTabWidget *FTabs = nullptr;
    QMenuBar *MainMenu1 = nullptr;
    QMenu *popToolbar = nullptr;
    QAction *ShowToolbar1 = nullptr;
    bool FEngineErrorsShown = false;
};

extern TfrmParent *frmParent;
