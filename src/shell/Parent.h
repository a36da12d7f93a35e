#pragma once

#include "shell/IniFile.h"
#include "shell/Settings.h"
#include "blocking/AdBlockLists.h"

#include <QMainWindow>
#include <QIcon>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QTimer;
class QMenu;
class QMenuBar;
class QPushButton;
class QStackedWidget;
class TBrowserTab;
class TGradientTabBar;
class TWVNewWindowRequest;

// The main window: the hub every tab and dialog reaches through frmParent.
class TfrmParent : public QMainWindow
{
    Q_OBJECT

public:
    // arguments: the command line without the program name.
    // settingsFile: empty for "Settings.ini" in the data folder.
    explicit TfrmParent(const QStringList &arguments, const QString &settingsFile = QString(), QWidget *parent = nullptr);
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
    qint32 tabIndex = 0;
    bool showPanelAdUrls = false;
    bool isContextMenuEnabledParent = false;
    bool isRemovingExtension = false;
    bool FHideToolbar = false;
    bool FGoBigScreen = false;
    // The block list and whitelist every tab consults.
    TAdBlockLists &AdBlockLists() { return *FAdBlockLists; }
    void getAdBlockList();
    void getAdBlockWhitelist();

    // The address the first tab opens instead of navigateURL; empty without a usable argument.
    QString InitialAddress() const { return FInitialAddress; }

    void readIniFile();
    static QString getDefaultPath();
    QString getHomePage() const;
    void setDarkMode();
    // Writes one key; on failure shows "Unable to write to <file>." and returns false.
    bool WriteSetting(const QString &section, const QString &key, bool value);

    // Tabs.
    void createFrame();
    void CreateNewTab(TWVNewWindowRequest *args);
    quint32 GetNextTabID() { return ++FLastTabID; }
    void closeTab(int tabCloseIndex);
    // Closes the tab that holds this widget once the caller's event has returned and no dialog runs:
    // a dialog of that tab may still be waiting further down the stack. Nothing happens if it is gone,
    // nor, with keepLastTab, when it is the last tab by then.
    void CloseTabOf(QWidget *content, bool keepLastTab = false);
    void closeAllTabs();
    void newWindow();
    void Refresh1Click();
    void OpenFile1Click();
    void LoadFromFileAsFileURI(const QString &fileName);
    void FlipWindow1Click();
    void StepToNextWindow1Click();
    void ShowTabCloseButtonOnHotTab();
    void tbcChildrenTabsDragDrop(const QPoint &pos);
    // The user picked a tab on the strip (not a selection made by code).
    void SelectTabByUser(int index);
    // Selecting from code only changes the visible page.
    void SelectTab(int index);

    TGradientTabBar *tbcChildrenTabs() const { return FTabs; }
    int TabCount() const;
    int ActiveTabIndex() const;
    TBrowserTab *TabAt(int index) const;
    TBrowserTab *ActiveTab() const { return TabAt(ActiveTabIndex()); }
    int IndexOfTab(const TBrowserTab *tab) const;
    // The last tab opened on the interlude page, while it lasts.
    TBrowserTab *InterludeTab() const;
    // Frees a tab with its frame and web view, without the closing rules of closeTab.
    void RemoveTab(int index);

    // Tab icons: 0 is the default page icon; later indexes are added at run time.
    QList<QIcon> ImageList1;
    int AddTabIcon(const QIcon &icon);

    QPushButton *btnTabClose = nullptr;
    QPushButton *btnHome = nullptr;

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
    QPointer<QWidget> FInterludeTab;
    void FormCreate();
    void FormShow();
    void FormClose();
    void BuildMenus();
    void ShowEngineErrors();
    void ShowToolbar1Click();
    void CloseAllWindows1Click();
    void newTab();
    TBrowserTab *AddTab(int index);
    void tbcChildrenTabsChange();
    void FocusActiveWebView();
    void BuildTabStrip();
    void RequestFirstTab();

    TIniFile FIniFile;
    std::unique_ptr<TAdBlockLists> FAdBlockLists;
    QString FInitialAddress;
    TGradientTabBar *FTabs = nullptr;
    QStackedWidget *FPages = nullptr;
    QTimer *tmrMouseDown = nullptr;
    int FOldHotTab = -2;
    bool FSelectingByCode = false;
    bool FFirstTabRequested = false;
    QMenuBar *MainMenu1 = nullptr;
    QMenu *popToolbar = nullptr;
    QAction *ShowToolbar1 = nullptr;
    bool FEngineErrorsShown = false;
};

extern TfrmParent *frmParent;
