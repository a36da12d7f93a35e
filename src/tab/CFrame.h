#pragma once

#include <QPointer>

#include "webview/WVEventArgs.h"
#include "webview/WVNewWindowRequest.h"
#include "webview/WVResourceRequest.h"
#include <QSet>
#include <QUrl>
#include <QWidget>
#include <functional>

class QLabel;
class QMenu;
class QListWidget;
class QPushButton;
class QSaveFile;
class QSplitter;
class QTimer;
class QToolButton;
class TAddressEdit;
class TDownloadPopup;
class TWVDownloadOperation;
class TTBasicUserAuthForm;
class TWVBrowser;
class TWVWindowParent;

// The content of one tab: toolbar, address box and the web view with its host.
class TFrameChild : public QWidget
{
    Q_OBJECT

public:
    explicit TFrameChild(QWidget *owner = nullptr);
    ~TFrameChild() override;

    QString Homepage() const { return FHomepage; }
    void SetHomepage(const QString &address) { FHomepage = address; }
    bool Initialized() const;

    void SetArgs(TWVNewWindowRequest *args);
    TWVNewWindowRequest *Args() const { return FArgs; }
    void CreateAllHandles();
    void CreateBrowser();
    void NotifyParentWindowPositionChanged();
    void setToolbarHints(bool show);
    void setAddressBar();
    void setOffline();
    static bool detectConnection();
    void ApplyPalette(bool dark);
    void showAdPanel();

    // "Add New Tab": the home page, or the interlude page for a temporary tab.
    void btnNewTabClick();
    // Runs a modal window behind a temporary tab on the interlude page, then removes that tab.
    void RunBehindTemporaryTab(const std::function<bool()> &showModal);

    // Address box and navigation.
    void go();
    void changeLookout();
    void setFavicon();
    void btnBackClick();
    void btnForwardClick();
    void btnRefreshClick();
    void btnHomeClick();
    void PasteGo1Click();
    QMenu *popEdit = nullptr;

    // Content blocking.
    void setAdBlockButton();
    void setAdBlockOff();
    void BlockImages1Click();
    void btnHideClick();
    void btnClearListClick();
    void AddtoWhitelist1Click();
    // The blocked-request counter on btnAdBlocker; -1 while the ad blocker is off.
    int BlockedCount() const;

    // New windows, authentication and certificate errors.
    void btnRequestNewWindowClick();
    // Hosts (with port) whose invalid certificate the user accepted in this run.
    static QSet<QString> &CertificateExceptions();

    // Clearing browsing data, and the settings and close menus that lead there (CFrameClearing.cpp).
    QMenu *popSettings = nullptr;
    QMenu *popClose = nullptr;
    void BuildClearingMenus();
    void DeleteAllCookies1Click();
    void ClearDomainData1Click();
    void ClearCache1Click();
    void ClearBrowsingHistory1Click();
    void WVBrowser1ClearBrowsingDataCompleted(qint32 errorCode);
    void WVBrowser1ClearDataForOriginCompleted(bool result);

    // Downloads (CFrameDownloads.cpp), page tools and the tools menu (CFrameTools.cpp), full-screen modes
    // (CFrameFullScreen.cpp) and the keys the tab acts on in the web view (CFrameShortcuts.cpp).
    QMenu *popTools = nullptr;
    void BuildToolsMenu();
    void btnScreenshotClick();
    void Print1Click();
    void PrinttoPDF1Click();
    void SaveToFile1Click();
    void OpenFile1Click();
    void NormalZoom1Click();
    void IncrementZoom1Click();
    void DecrementZoom1Click();
    void DeveloperTools1Click();
    void BrowserTaskManager1Click();
    void saveFile();
    void openFile();
    void LoadFromFileAsFileURI(const QString &aPath);
    // False (with the reason on standard error) when the file could not be written.
    // With a byte-order mark, a saved page reads back as UTF-8 whatever character set it declares.
    static bool SaveAsTextFile(const QString &aFileName, const QString &aText, bool aByteOrderMark = false);
    void BigScreen1Click();
    void setF10FullScreenMode();
    void F11FullScreenMode();
    void setFullScreenMode();
    // Gives the window back its normal look when this tab, which made it full screen, closes.
    void ReleaseWindowModes();
    void HideToolbar1Click();
    void DarkMode1Click();
    void PrivateMode1Click();
    void History1Click();
    void DownloadSettings1Click();
    void NewOrbwell1Click();
    TDownloadPopup *DownloadPopup() const;

    // Components reached by the tab sheet and the main window.
    QWidget *Panel1 = nullptr;   // toolbar
    QWidget *Panel2 = nullptr;   // right part of the toolbar
    QWidget *Panel3 = nullptr;   // left part of the toolbar
    QWidget *pnlAdList = nullptr;
    QWidget *Panel5 = nullptr;   // the unblocked-URL panel's buttons
    QWidget *Splitter1 = nullptr; // the divider beside the unblocked-URL panel
    QListWidget *lstAdUrls = nullptr;
    QPushButton *btnClearList = nullptr;
    QPushButton *btnHide = nullptr;
    TAddressEdit *edtAddress = nullptr;
    TWVWindowParent *WVWindowParent1 = nullptr;
    TWVBrowser *WVBrowser1 = nullptr;
    QToolButton *btnDDWindows = nullptr;
    QToolButton *btnRequestNewWindow = nullptr;
    QToolButton *btnNewTab = nullptr;
    QToolButton *btnBack = nullptr;
    QToolButton *btnForward = nullptr;
    QToolButton *btnRefresh = nullptr;
    QToolButton *btnHome = nullptr;
    QToolButton *btnAdBlocker = nullptr;
    QToolButton *btnScreenshot = nullptr;
    QToolButton *btnMediaPlayer = nullptr;
    QToolButton *btnTools = nullptr;
    QToolButton *btnSettings = nullptr;
    QToolButton *btnCloseAll = nullptr;
    QToolButton *btnDDClose = nullptr;
    QWidget *imgAnimate = nullptr;
    QWidget *imgAnimateDark = nullptr;
    QLabel *imgComplete = nullptr;
    QTimer *Timer2 = nullptr;

    bool fullScreenMode = false;
    bool f10FullScreenMode = false;
    bool isContextMenuEnabled = false;

Q_SIGNALS:
    void OnBrowserTitleChange(QObject *sender, const QString &title);
    void OnBrowserFaviconChange(QObject *sender, int imageIndex);
    // The browser component exists; features attach their handlers to it here.
    void BrowserComponentCreated(TWVBrowser *browser);

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void BuildToolbar();
    void BuildBody();
    QToolButton *NewButton(QWidget *parent, const char *name, int width, const QString &hint, int glyph);
    void WVBrowser1AfterCreated();
    void WVBrowser1InitializationError(qint64 errorCode, const QString &errorMessage);
    void Timer2Timer();
    void WVBrowser1GotFocus();
    void ConnectNavigationEvents();
    void BuildEditMenu();
    void FocusWebView();
    void RefocusWebView();
    // Toolbar, menu and unblocked-URL panel go for a full-screen mode, and come back after it.
    void HideWindowChrome();
    void RestoreWindowAfterFullScreen();
    void WVBrowser1NavigationStarting(TWVNavigationStartingArgs &args);
    void WVBrowser1NavigationCompleted();
    void WVBrowser1DocumentTitleChanged();
    void WVBrowser1GetFaviconCompleted(qint32 errorCode, const QByteArray &stream);
    void ConnectWindowEvents();
    void ConnectBlocking();
    bool WVBrowser1WebResourceRequested(const TWVResourceRequest &request);
    // The content blocker's look at a starting navigation; true when it refuses it.
    bool AdBlockNavigationCheck(const QUrl &uri);
    void WVBrowser1NewWindowRequested(TWVNewWindowRequest *args);
    void WVBrowser1BasicAuthenticationRequested(TWVBasicAuthenticationArgs &args);
    void WVBrowser1ServerCertificateErrorDetected(TWVServerCertificateErrorArgs &args);
    void AskCertificateException(const QUrl &uri, const QString &error, const QString &exception);

    QString FHomepage;
    void ReleaseArgs();

    QPointer<TWVNewWindowRequest> FArgs;
    QPointer<TTBasicUserAuthForm> FUserAuthFrm;
    QSet<QString> FAskedCertificateHosts;
    QUrl FLastNavigation;
    bool FDeferral = false;
    QSplitter *FBody = nullptr;

    void ConnectDownloads();
    void ConnectPageTools();
    void WVBrowser1DownloadStarting(TWVDownloadStartingArgs &args);
    void WVBrowser1DownloadStateChanged(TWVDownloadOperation *operation, qint32 id);
    void WVBrowser1CapturePreviewCompleted(qint32 aErrorCode);
    void WVBrowser1PrintCompleted(qint32 aErrorCode, int aPrintStatus);
    void WVBrowser1PrintToPdfCompleted(qint32 aErrorCode, bool aIsSuccessful);
    void WVBrowser1RetrieveCompleted(int aKind, bool aResult, const QString &aText);
    void WVBrowser1ContainsFullScreenElementChanged();
    void WVBrowser1AcceleratorKeyPressed(TWVAcceleratorKeyArgs &args);
    // Shows a file dialog made for one command; empty when cancelled.
    QString ExecSaveDialog(const QString &filter, const QString &defaultSuffix, const QString &proposedName,
                           int *chosenFilter = nullptr);
    QPointer<TDownloadPopup> FDownloadPopup;
    QSaveFile *FFileStream = nullptr; // the snapshot being written
    int FAbandonedCaptures = 0;       // captures whose file a later snapshot replaced
    // Page retrievals under way: the kind (1 HTML, 2 text, 3 MHTML) and the file each is saved to.
    QList<QPair<int, QString>> FPendingSaves;
};
