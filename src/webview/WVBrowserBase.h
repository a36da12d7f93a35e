#pragma once

#include "webview/WVEventArgs.h"
#include "webview/WVResourceRequest.h"
#include "webview/WVTypes.h"
#include "webview/ZoomSteps.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QUrl>
#include <functional>
#include <memory>

class QIODevice;
class QLabel;
class QPrinter;
class QTemporaryDir;
class QVariant;
class QWebChannel;
class QWebEngineDownloadRequest;
class QWebEngineNewWindowRequest;
class QWebEngineProfile;
class QWebEngineView;
class TWVDevToolsSession;
class TWVDownloadOperation;
class TWVNewWindowRequest;
class TWVPage;
class TWVPopupWindow;
class TWVRequestInterceptor;
class TWVWebBridge;
class TWVWindowParent;

// The one object through which a tab drives its web view.
//
// Every operation checks Initialized first: before OnAfterCreated, a boolean operation returns false,
// a query returns an empty value, a setter does nothing, and no event follows. Asynchronous
// operations return whether the engine took the request; when they return true, their completion
// event follows exactly once, later, on the user-interface thread. Every event is raised on that
// thread while the engine's notice is handled; events of a destroyed component are dropped.
class TWVBrowserBase : public QObject
{
    Q_OBJECT

public:
    explicit TWVBrowserBase(QObject *owner = nullptr);
    ~TWVBrowserBase() override;

    // Creation. With aUseDefaultEnvironment the web view runs in the global loader's profile (its
    // private profile when IsInPrivateModeEnabled); refused while the loader is not initialized.
    bool CreateBrowser(TWVWindowParent *host, bool aUseDefaultEnvironment = true);
    // The same in a profile of the caller's, which must outlive the component.
    bool CreateBrowser(TWVWindowParent *host, QWebEngineProfile *profile);
    bool Initialized() const;
    QString DefaultURL() const { return FDefaultURL; }
    void SetDefaultURL(const QString &url) { FDefaultURL = url; }
    bool IsInPrivateModeEnabled() const { return FIsInPrivateModeEnabled; }
    void SetIsInPrivateModeEnabled(bool enabled) { FIsInPrivateModeEnabled = enabled; }
    bool IsNavigating() const { return FIsNavigating; }
    TWVWindowParent *Host() const;

    // Navigation and page state.
    bool Navigate(const QString &aURL);
    bool NavigateToString(const QString &aHTMLContent);
    bool GoBack();
    bool GoForward();
    bool CanGoBack() const;
    bool CanGoForward() const;
    bool Refresh();
    bool Stop();
    bool SetFocus();
    QRect Bounds() const;
    void SetBounds(const QRect &bounds);
    bool NotifyParentWindowPositionChanged();
    bool OpenDevToolsWindow();
    bool OpenTaskManagerWindow();
    bool GetIsDefaultDownloadDialogOpen() const;
    bool CloseDefaultDownloadDialog();
    QString DocumentTitle() const;
    QString StatusBarText() const;
    QString Source() const;
    QString FaviconURI() const;
    QString UserAgent() const;
    // The engine process that renders the page; 0 while there is none.
    qint64 RenderProcessId() const;
    bool ContainsFullScreenElement() const { return FContainsFullScreenElement; }
    bool ExecuteScript(const QString &aJavaScript, qint32 aExecutionID = 0);
    bool PostWebMessageAsJson(const QString &aWebMessageAsJson);
    bool PostWebMessageAsString(const QString &aWebMessageAsString);
    bool DeleteAllCookies();

    // Requests of the page: those matching a registered pattern and kind (TWVWebResourceContext) go
    // to the request filter, which returns true to refuse one. Without a pattern it is never called.
    bool AddWebResourceRequestedFilter(const QString &aURI, int aResourceContext);
    bool RemoveWebResourceRequestedFilter(const QString &aURI, int aResourceContext);
    void SetRequestFilter(TWVRequestFilter aFilter);

    // Settings of the web view; a setter returns false when this engine cannot honour the value.
    bool ScriptEnabled() const;
    bool SetScriptEnabled(bool enabled);
    bool StatusBarEnabled() const { return FStatusBarEnabled; }
    bool SetStatusBarEnabled(bool enabled);
    bool WebMessageEnabled() const { return FWebMessageEnabled; }
    bool SetWebMessageEnabled(bool enabled);
    bool AreDefaultScriptDialogsEnabled() const;
    bool SetAreDefaultScriptDialogsEnabled(bool enabled);
    bool AreBrowserAcceleratorKeysEnabled() const { return FAcceleratorKeysEnabled; }
    bool SetAreBrowserAcceleratorKeysEnabled(bool enabled);
    bool IsPasswordAutosaveEnabled() const { return false; }
    bool SetIsPasswordAutosaveEnabled(bool enabled);
    bool IsVisible() const;
    bool SetIsVisible(bool visible);
    QString DefaultDownloadFolderPath() const;
    bool SetDefaultDownloadFolderPath(const QString &path);
    bool SetPreferredColorScheme(int scheme);
    bool SetHeaderTitle(const QString &title);
    bool SetShouldPrintHeaderAndFooter(bool print);

    // Zoom in fixed steps (TZoomSteps).
    double ZoomPct() const;
    bool SetZoomPct(double pct);
    int ZoomStep() const { return FZoomStep; }
    bool SetZoomStep(int step);
    bool IncZoomStep();
    bool DecZoomStep();
    bool ResetZoom();

    // Asynchronous operations.
    // The visible page as an image (TWVImageFormat) written to the caller's open stream.
    bool CapturePreview(int aImageFormat, QIODevice *aStream);
    bool GetFavicon(int aFormat);
    // Prints on the default printer without a dialog; without one the completion says so.
    bool Print();
    // One PDF at a time.
    bool PrintToPdf(const QString &aResultFilePath);
    bool RetrieveHTML();
    bool RetrieveText();
    bool RetrieveMHTML();
    // Kinds are TWVBrowsingDataKinds, cleared in the whole profile, for every origin. Kinds this engine
    // does not keep (autofill, saved passwords, site settings) complete at once with nothing to clear.
    // The completion comes when everything is gone; its code is negative when any part failed.
    // Requests run side by side; aRequestId, when given, names this one in
    // OnClearBrowsingDataRequestCompleted.
    bool ClearBrowsingData(quint32 aDataKinds, qint32 *aRequestId = nullptr);
    bool ClearBrowsingDataAll();
    // aStorageTypes is a TWVClearDataStorageTypes; aOrigin an address whose scheme and host (and port)
    // name the origin. The cookies the origin is sent go with it. Completes false when the
    // text names no origin.
    bool ClearDataForOrigin(const QString &aOrigin, int aStorageTypes);
    // The completion comes when the disk cache is empty.
    bool ClearCache();
    bool Offline() const { return FOffline; }
    // Only a change is sent (false otherwise); offline, every network request of the page is refused.
    bool SetOffline(bool offline);
    // Certificate errors are decided one by one in OnServerCertificateErrorDetected; asking to ignore
    // all of them is refused.
    bool IgnoreCertificateErrors() const { return false; }
    bool SetIgnoreCertificateErrors(bool ignore);
    // A key (Qt::Key, TWVKeyEventKind) handed to the web view's input, as the keyboard would.
    bool SimulateKeyEvent(int aKind, int aQtKey, Qt::KeyboardModifiers aModifiers, const QString &aText = QString());
    bool RefreshIgnoreCache();
    // This engine has no extension support: both return false.
    bool AddBrowserExtension(const QString &aExtensionFolderPath);
    bool GetBrowserExtensions();

Q_SIGNALS:
    void OnInitializationError(qint32 aErrorCode, const QString &aErrorMessage);
    void OnAfterCreated();
    void OnNavigationStarting(TWVNavigationStartingArgs &aArgs);
    void OnNavigationCompleted(const TWVNavigationCompletedArgs &aArgs);
    void OnSourceChanged(const QUrl &aSource);
    void OnDocumentTitleChanged();
    void OnNewWindowRequested(TWVNewWindowRequest *aArgs);
    void OnWebMessageReceived(const QString &aWebMessageAsJson);
    void OnContainsFullScreenElementChanged();
    void OnWindowCloseRequested();
    void OnAcceleratorKeyPressed(TWVAcceleratorKeyArgs &aArgs);
    void OnGotFocus();
    void OnLostFocus();
    // Reported by the page over its channel to the host, so it may come after OnNavigationCompleted.
    void OnDOMContentLoaded();
    void OnDownloadStarting(TWVDownloadStartingArgs &aArgs);
    void OnDownloadStateChanged(TWVDownloadOperation *aOperation, qint32 aDownloadID);
    void OnBytesReceivedChanged(TWVDownloadOperation *aOperation, qint32 aDownloadID);
    void OnBasicAuthenticationRequested(TWVBasicAuthenticationArgs &aArgs);
    void OnContextMenuRequested(TWVContextMenuArgs &aArgs);
    void OnStatusBarTextChanged();
    void OnServerCertificateErrorDetected(TWVServerCertificateErrorArgs &aArgs);
    void OnFaviconChanged();
    void OnZoomFactorChanged();
    void OnProcessFailed(int aExitCode);

    void OnExecuteScriptCompleted(qint32 aErrorCode, const QString &aResultObjectAsJson, qint32 aExecutionID);
    void OnCapturePreviewCompleted(qint32 aErrorCode);
    void OnGetFaviconCompleted(qint32 aErrorCode, const QByteArray &aFaviconStream);
    void OnPrintCompleted(qint32 aErrorCode, int aPrintStatus);
    void OnPrintToPdfCompleted(qint32 aErrorCode, bool aIsSuccessful);
    void OnRetrieveHTMLCompleted(bool aResult, const QString &aHTML);
    void OnRetrieveTextCompleted(bool aResult, const QString &aText);
    void OnRetrieveMHTMLCompleted(bool aResult, const QString &aMHTML);
    // Raised just before OnClearBrowsingDataCompleted, for the request named by aRequestId.
    void OnClearBrowsingDataRequestCompleted(qint32 aRequestId, qint32 aErrorCode);
    void OnClearBrowsingDataCompleted(qint32 aErrorCode);
    void OnClearDataForOriginCompleted(bool aResult);
    void OnClearCacheCompleted(bool aResult);
    void OnOfflineCompleted(bool aResult);
    void OnSimulateKeyEventCompleted(bool aResult);
    void OnRefreshIgnoreCacheCompleted(bool aResult);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    friend class TWVNewWindowRequest;

    bool StartCreation(TWVWindowParent *host, QWebEngineProfile *profile);
    void FinishCreation();
    void InitializationError(qint32 code, const QString &message);
    void AttachPage(TWVPage *page);
    void DetachPage();
    bool AdoptPage(TWVPage *page);
    TWVPage *Page() const;
    void WatchWidget(QObject *object);
    void ConnectPageEvents();
    void ScriptCompleted(const QVariant &result, qint32 id);
    void RaiseRetrieval(qint32 id, bool ok, const QString &text);
    void ApplyZoomStep(int step);
    void HandleDownload(QWebEngineDownloadRequest *request);
    void FinishMhtml(bool ok);
    bool HandleBrowserKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat);
    void HandleNewWindow(QWebEngineNewWindowRequest &request);
    void UpdateStatusBubble();
    // Raises a completion after the caller has returned, unless the component is gone by then.
    void Later(std::function<void()> raise);
    // The engine's developer-tools commands for this component's profile, made on first use.
    TWVDevToolsSession *DevTools();

    QPointer<QWebEngineProfile> FProfile;
    QPointer<TWVWindowParent> FHost;
    QPointer<QWebEngineView> FView;
    QPointer<TWVPage> FPage;
    TWVRequestInterceptor *FInterceptor;
    TWVWebBridge *FBridge;
    QWebChannel *FChannel;
    QPointer<QLabel> FStatusBubble;
    QPointer<TWVPopupWindow> FDevToolsWindow;
    QPointer<TWVDevToolsSession> FDevTools;
    QList<QPointer<TWVPopupWindow>> FPopups;
    std::unique_ptr<QPrinter> FPrinter;
    bool FCreating = false;
    bool FCreated = false;
    bool FDestroying = false;
    QString FDefaultURL;
    bool FIsInPrivateModeEnabled = false;
    bool FIsNavigating = false;
    bool FStartRaised = false;
    quint64 FNavigationId = 0;
    QUrl FLeavingUrl;
    QUrl FTargetUrl;
    quint8 FZoomStep = TZoomSteps::ZOOM_STEP_DEF;
    bool FOffline = false;
    bool FStatusBarEnabled = true;
    bool FWebMessageEnabled = true;
    bool FAcceleratorKeysEnabled = true;
    bool FContainsFullScreenElement = false;
    QString FStatusBarText;
    QString FPdfPath;
    std::unique_ptr<QTemporaryDir> FMhtmlDir;
    QString FMhtmlPath;
    QPointer<QWebEngineDownloadRequest> FMhtmlDownload;
    qint32 FNextDownloadId = 1;
    qint32 FNextClearId = 1;
};
