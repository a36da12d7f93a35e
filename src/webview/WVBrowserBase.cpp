#include "webview/WVBrowserBase.h"

#include "webview/WVDownloadOperation.h"
#include "webview/WVLoader.h"
#include "webview/WVNewWindowRequest.h"
#include "webview/WVPage.h"
#include "webview/WVPopupWindow.h"
#include "webview/WVProfileData.h"
#include "webview/WVRequestInterceptor.h"
#include "webview/WVWebBridge.h"
#include "webview/WVWindowParent.h"

#include <QAuthenticator>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QSslCertificate>
#include <QTemporaryDir>
#include <QWebChannel>
#include <QWebEngineCertificateError>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineCookieStore>
#include <QWebEngineDownloadRequest>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineProfile>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {
const QString CrLf = QStringLiteral("\r\n");

QString Hex8(qint32 code)
{
    return QStringLiteral("%1").arg(quint32(code), 8, 16, QLatin1Char('0')).toUpper();
}

// The script result as JSON text, as owners of ExecuteScript receive it; undefined becomes null.
QString ResultAsJson(const QVariant &result)
{
    if (!result.isValid())
        return QStringLiteral("null");
    const QByteArray array = QJsonDocument(QJsonArray{QJsonValue::fromVariant(result)}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}
} // namespace

TWVBrowserBase::TWVBrowserBase(QObject *owner)
    : QObject(owner), FInterceptor(new TWVRequestInterceptor(this)), FBridge(new TWVWebBridge(this)),
      FChannel(new QWebChannel(this))
{
    FChannel->registerObject(TWVWebBridge::ObjectName(), FBridge);
    connect(FBridge, &TWVWebBridge::MessageReceived, this, [this](const QString &json) {
        if (Initialized() && FWebMessageEnabled)
            Q_EMIT OnWebMessageReceived(json);
    });
    connect(FBridge, &TWVWebBridge::DOMContentLoaded, this, [this](const QString &address) {
        // The notice travels asynchronously and can come after the next navigation has started; one
        // from a document the page is leaving or has left is stale.
        if (!Initialized() || QUrl(address) != FPage->url())
            return;
        if (FIsNavigating && FPage->url() == FLeavingUrl && FLeavingUrl != FTargetUrl)
            return;
        Q_EMIT OnDOMContentLoaded();
    });
}

TWVBrowserBase::~TWVBrowserBase()
{
    FDestroying = true;
    // Pages waiting for a new-window answer use this component's interceptor; they go first.
    qDeleteAll(findChildren<TWVNewWindowRequest *>(QString(), Qt::FindDirectChildrenOnly));
    delete FDevToolsWindow.data();
    // The view goes before its page, and the page before the interceptor and channel it uses.
    delete FView.data();
    if (FPage)
        DetachPage();
    delete FPage.data();
    delete FStatusBubble.data();
}

bool TWVBrowserBase::CreateBrowser(TWVWindowParent *host, bool aUseDefaultEnvironment)
{
    if (!host || !GlobalWebView2Loader || !GlobalWebView2Loader->Initialized() || Initialized() || FCreating)
        return false;
    QWebEngineProfile *profile = nullptr;
    if (aUseDefaultEnvironment)
        profile = FIsInPrivateModeEnabled ? GlobalWebView2Loader->PrivateEnvironment()
                                          : GlobalWebView2Loader->Environment();
    if (!profile) {
        // The component makes no environment of its own; without the loader's there is nothing to run in.
        InitializationError(WV_E_NOTIMPL, QStringLiteral("There was an error creating the browser environment. (2)")
                                              + CrLf + QStringLiteral("Error code : 0x") + Hex8(WV_E_NOTIMPL) + CrLf
                                              + EnvironmentCreationErrorToString(quint32(WV_E_NOTIMPL)));
        return false;
    }
    return StartCreation(host, profile);
}

bool TWVBrowserBase::CreateBrowser(TWVWindowParent *host, QWebEngineProfile *profile)
{
    if (!host || !profile || Initialized() || FCreating)
        return false;
    return StartCreation(host, profile);
}

bool TWVBrowserBase::StartCreation(TWVWindowParent *host, QWebEngineProfile *profile)
{
    FHost = host;
    FProfile = profile;
    FCreating = true;
    // The engine's answer comes later, as it would from an engine that creates web views asynchronously;
    // owners can finish their own set-up first.
    QMetaObject::invokeMethod(this, &TWVBrowserBase::FinishCreation, Qt::QueuedConnection);
    return true;
}

void TWVBrowserBase::InitializationError(qint32 code, const QString &message)
{
    Q_EMIT OnInitializationError(code, message);
}

void TWVBrowserBase::FinishCreation()
{
    FCreating = false;
    if (!FHost) {
        InitializationError(WV_E_ABORT, QStringLiteral("There was an error creating the controller. (2)") + CrLf
                                            + QStringLiteral("Error code : 0x") + Hex8(WV_E_ABORT) + CrLf
                                            + QStringLiteral("The parent window was destroyed before the controller "
                                                             "creation was finished."));
        return;
    }
    if (!FProfile) {
        InitializationError(WV_E_FAIL, QStringLiteral("There was an error getting the browser webview."));
        return;
    }

    auto *view = new QWebEngineView(FHost);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    FView = view;
    WatchWidget(view);
    connect(view, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        if (!Initialized())
            return;
        TWVContextMenuArgs args;
        args.Location = pos;
        if (QWebEngineContextMenuRequest *request = FView->lastContextMenuRequest())
            args.LinkUrl = request->linkUrl();
        Q_EMIT OnContextMenuRequested(args);
        if (args.Handled || !FView)
            return;
        QMenu *menu = FView->createStandardContextMenu();
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(FView->mapToGlobal(pos));
    });
    connect(view, &QWebEngineView::printFinished, this, [this](bool success) {
        FPrinter.reset();
        Q_EMIT OnPrintCompleted(success ? WV_S_OK : WV_E_FAIL, success ? wvpsSucceeded : wvpsOtherError);
    });

    // The profile's own records (cookies, download history) start with its first web view.
    TWVProfileData::For(FProfile);
    connect(FProfile, &QWebEngineProfile::downloadRequested, this, &TWVBrowserBase::HandleDownload);

    AttachPage(new TWVPage(FProfile, this));
    FCreated = true;
    view->setGeometry(FHost->rect());
    view->show();
    Q_EMIT OnAfterCreated();
    // The owner's handler may have navigated or even closed the tab; the default address comes last.
    if (Initialized() && !FDefaultURL.isEmpty())
        Navigate(FDefaultURL);
}

bool TWVBrowserBase::Initialized() const
{
    return FCreated && !FDestroying && FProfile && FView && FPage;
}

TWVWindowParent *TWVBrowserBase::Host() const
{
    return FHost.data();
}

TWVPage *TWVBrowserBase::Page() const
{
    return FPage.data();
}

void TWVBrowserBase::AttachPage(TWVPage *page)
{
    FPage = page;
    page->setParent(this);
    page->setUrlRequestInterceptor(FInterceptor);
    page->setWebChannel(FChannel);
    if (page->scripts().find(QStringLiteral("orbwell-bridge")).isEmpty()) {
        const QWebEngineScript script = TWVWebBridge::PageScript();
        if (!script.sourceCode().isEmpty())
            page->scripts().insert(script);
    }
    if (FView)
        FView->setPage(page);
    TWVProfileData::For(FProfile)->AddPage(page);
    ConnectPageEvents();
}

void TWVBrowserBase::DetachPage()
{
    FPage->disconnect(this);
    FPage->setUrlRequestInterceptor(nullptr);
    FPage->setWebChannel(nullptr);
}

bool TWVBrowserBase::AdoptPage(TWVPage *page)
{
    if (!Initialized() || !page || page == FPage)
        return false;
    TWVPage *old = FPage;
    const bool scripts = old->settings()->testAttribute(QWebEngineSettings::JavascriptEnabled);
    page->ScriptDialogsEnabled = old->ScriptDialogsEnabled;
    page->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, scripts);
    page->setZoomFactor(old->zoomFactor());
    DetachPage();
    AttachPage(page);
    delete old;
    // The adopted page started loading before it was connected; its start was never raised.
    FIsNavigating = false;
    return true;
}

void TWVBrowserBase::ConnectPageEvents()
{
    TWVPage *page = FPage;
    // Every main-frame navigation, including those a script starts while a page loads, is raised
    // before its first request, so a refusal costs no traffic.
    connect(page, &TWVPage::MainFrameNavigationRequested, this, [this](const QUrl &url, bool *accept) {
        FIsNavigating = true;
        FStartRaised = true;
        FLeavingUrl = FPage->url();
        FTargetUrl = url;
        TWVNavigationStartingArgs args;
        args.Uri = url;
        args.NavigationId = ++FNavigationId;
        Q_EMIT OnNavigationStarting(args);
        if (!args.Cancel)
            return;
        *accept = false;
        FIsNavigating = false;
        FStartRaised = false;
        TWVNavigationCompletedArgs done;
        done.Uri = url;
        done.NavigationId = args.NavigationId;
        done.WasStopped = true;
        Later([this, done] { Q_EMIT OnNavigationCompleted(done); });
    });
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo &info) {
        if (info.status() == QWebEngineLoadingInfo::LoadStartedStatus) {
            FIsNavigating = true;
            if (FStartRaised) {
                FStartRaised = false;
                return;
            }
            // A load the engine began without asking (such as a history step) is raised here.
            FLeavingUrl = FPage->url();
            FTargetUrl = info.url();
            TWVNavigationStartingArgs args;
            args.Uri = info.url();
            args.NavigationId = ++FNavigationId;
            Q_EMIT OnNavigationStarting(args);
            if (args.Cancel && FPage)
                FPage->triggerAction(QWebEnginePage::Stop);
            return;
        }
        FStartRaised = false;
        FIsNavigating = false;
        TWVNavigationCompletedArgs args;
        args.Uri = info.url();
        args.NavigationId = FNavigationId;
        args.IsSuccess = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
        args.WasStopped = info.status() == QWebEngineLoadingInfo::LoadStoppedStatus;
        args.WebErrorStatus = args.IsSuccess ? 0 : info.errorCode();
        args.ErrorText = info.errorString();
        Q_EMIT OnNavigationCompleted(args);
    });
    connect(page, &QWebEnginePage::urlChanged, this, &TWVBrowserBase::OnSourceChanged);
    connect(page, &QWebEnginePage::titleChanged, this, &TWVBrowserBase::OnDocumentTitleChanged);
    connect(page, &QWebEnginePage::iconChanged, this, &TWVBrowserBase::OnFaviconChanged);
    connect(page, &QWebEnginePage::windowCloseRequested, this, &TWVBrowserBase::OnWindowCloseRequested);
    connect(page, &QWebEnginePage::linkHovered, this, [this](const QString &url) {
        FStatusBarText = url;
        UpdateStatusBubble();
        Q_EMIT OnStatusBarTextChanged();
    });
    connect(page, &QWebEnginePage::fullScreenRequested, this, [this](QWebEngineFullScreenRequest request) {
        request.accept();
        if (FContainsFullScreenElement == request.toggleOn())
            return;
        FContainsFullScreenElement = request.toggleOn();
        Q_EMIT OnContainsFullScreenElementChanged();
    });
    connect(page, &QWebEnginePage::authenticationRequired, this, [this](const QUrl &url, QAuthenticator *auth) {
        TWVBasicAuthenticationArgs args;
        args.Uri = url;
        args.Realm = auth->realm();
        Q_EMIT OnBasicAuthenticationRequested(args);
        if (args.Cancel || (args.UserName.isEmpty() && args.Password.isEmpty())) {
            *auth = QAuthenticator(); // an empty authenticator cancels the request
            return;
        }
        auth->setUser(args.UserName);
        auth->setPassword(args.Password);
    });
    connect(page, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *auth, const QString &) {
                TWVBasicAuthenticationArgs args;
                args.Uri = url;
                args.Realm = auth->realm();
                args.IsProxy = true;
                Q_EMIT OnBasicAuthenticationRequested(args);
                if (args.Cancel || (args.UserName.isEmpty() && args.Password.isEmpty())) {
                    *auth = QAuthenticator();
                    return;
                }
                auth->setUser(args.UserName);
                auth->setPassword(args.Password);
            });
    connect(page, &QWebEnginePage::certificateError, this, [this](const QWebEngineCertificateError &error) {
        QWebEngineCertificateError decision = error;
        TWVServerCertificateErrorArgs args;
        args.RequestUri = error.url();
        args.ErrorDescription = error.description();
        args.ErrorType = int(error.type());
        if (const QList<QSslCertificate> chain = error.certificateChain(); !chain.isEmpty())
            args.CertificateFingerprint = QString::fromLatin1(chain.constFirst().digest(QCryptographicHash::Sha256).toHex());
        args.IsOverridable = error.isOverridable();
        Q_EMIT OnServerCertificateErrorDetected(args);
        // Each certificate is decided on its own; nothing allows all of them.
        if (args.Action == wvceaAlwaysAllow && error.isOverridable())
            decision.acceptCertificate();
        else
            decision.rejectCertificate();
    });
    connect(page, &QWebEnginePage::newWindowRequested, this, &TWVBrowserBase::HandleNewWindow);
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status, int exitCode) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    Q_EMIT OnProcessFailed(exitCode);
            });
    connect(page, &QWebEnginePage::pdfPrintingFinished, this, [this](const QString &filePath, bool success) {
        if (FPdfPath.isEmpty() || filePath != FPdfPath)
            return;
        FPdfPath.clear();
        Q_EMIT OnPrintToPdfCompleted(success ? WV_S_OK : WV_E_FAIL, success);
    });
}

void TWVBrowserBase::WatchWidget(QObject *object)
{
    if (object->isWidgetType())
        object->installEventFilter(this);
}

bool TWVBrowserBase::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        // The engine draws into a child widget of the view, made when the page first renders.
        if (watched == FView)
            WatchWidget(static_cast<QChildEvent *>(event)->child());
        break;
    case QEvent::FocusIn:
        if (Initialized())
            Q_EMIT OnGotFocus();
        break;
    case QEvent::FocusOut:
        if (Initialized())
            Q_EMIT OnLostFocus();
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (!Initialized())
            break;
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        const int key = keyEvent->key();
        if (key == Qt::Key_Escape && event->type() == QEvent::KeyPress && FContainsFullScreenElement) {
            // Escape leaves page full screen, as in other browsers; Qt leaves that to the host.
            FPage->triggerAction(QWebEnginePage::ExitFullScreen);
            return true;
        }
        const bool modifierKey = key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Shift
                                 || key == Qt::Key_Meta || key == Qt::Key_AltGr;
        const bool accelerator = (keyEvent->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
                                 || (key >= Qt::Key_F1 && key <= Qt::Key_F24);
        if (modifierKey || !accelerator)
            break;
        TWVAcceleratorKeyArgs args;
        args.Key = key;
        args.VirtualKey = WVTypes::VirtualKeyOf(key);
        args.Modifiers = keyEvent->modifiers();
        args.IsKeyReleased = event->type() == QEvent::KeyRelease;
        args.WasKeyDown = keyEvent->isAutoRepeat();
        Q_EMIT OnAcceleratorKeyPressed(args);
        if (args.Handled)
            return true;
        if (!args.IsKeyReleased && FAcceleratorKeysEnabled && Initialized()
            && HandleBrowserKey(key, keyEvent->modifiers(), keyEvent->isAutoRepeat()))
            return true;
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool TWVBrowserBase::HandleBrowserKey(int key, Qt::KeyboardModifiers modifiers, bool autoRepeat)
{
    // The browser's own shortcuts, as users know them from other browsers. A zoom or history key is
    // taken even when there is no step or page left to go to.
    const Qt::KeyboardModifiers mods = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::ShiftModifier);
    const bool ctrl = mods.testFlag(Qt::ControlModifier) && !mods.testFlag(Qt::AltModifier);
    if ((key == Qt::Key_F5 && mods == Qt::NoModifier) || (key == Qt::Key_R && mods == Qt::ControlModifier))
        return Refresh();
    if ((key == Qt::Key_F5 && (mods == Qt::ControlModifier || mods == Qt::ShiftModifier))
        || (key == Qt::Key_R && mods == (Qt::ControlModifier | Qt::ShiftModifier)))
        return RefreshIgnoreCache();
    if (ctrl && (key == Qt::Key_Plus || key == Qt::Key_Equal)) {
        IncZoomStep();
        return true;
    }
    if (ctrl && key == Qt::Key_Minus) {
        DecZoomStep();
        return true;
    }
    if (key == Qt::Key_0 && mods == Qt::ControlModifier)
        return ResetZoom();
    // Printing answers through OnPrintCompleted, like the command; a held key prints once.
    if (key == Qt::Key_P && mods == Qt::ControlModifier)
        return autoRepeat || Print();
    if (mods == Qt::AltModifier && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        if (key == Qt::Key_Left)
            GoBack();
        else
            GoForward();
        return true;
    }
    return false;
}

void TWVBrowserBase::HandleNewWindow(QWebEngineNewWindowRequest &request)
{
    auto *args = new TWVNewWindowRequest(request.requestedUrl(), request.isUserInitiated(), request.requestedGeometry(),
                                         FHost ? FHost->window() : nullptr, this);
    args->FProfile = FProfile;
    QPointer<TWVNewWindowRequest> guard(args);
    Q_EMIT OnNewWindowRequested(args);
    if (!guard)
        return; // the owner deleted it in its handler: nothing opens
    args->FInsideHandler = false;
    if (args->FNewWindow && args->FNewWindow->Page()) {
        args->FNewWindow->Page()->OpenNewWindow(request);
        delete args;
        return;
    }
    if (args->FDeferred && !args->FCompleted) {
        // The engine needs a page now; it waits unseen, filtered like its opener, until adopted.
        auto *held = new TWVPage(FProfile, args);
        held->setUrlRequestInterceptor(FInterceptor);
        args->FHeldPage = held;
        held->OpenNewWindow(request);
        return;
    }
    if (!args->FHandled) {
        // The page is given to the engine before its view is shown: a script that writes into the
        // new window at once must find it in place.
        TWVPopupWindow *popup = args->OpenOwnPopup(nullptr, false);
        popup->Page()->OpenNewWindow(request);
        popup->show();
        FPopups.append(popup);
    }
    delete args;
}

void TWVBrowserBase::HandleDownload(QWebEngineDownloadRequest *request)
{
    // A restart of a download under way: asking for its page could touch a page that is gone.
    if (TWVDownloadOperation *running = TWVDownloadOperation::Running(FProfile, request->id())) {
        if (request->state() == QWebEngineDownloadRequest::DownloadRequested)
            running->Restart(request);
        return;
    }
    // Every component of the profile hears of the request. Once one has taken it, its page may be gone by
    // the time the others hear (its handler can run a dialog), so they must not ask for the page.
    static const char *const Claimed = "orbwellClaimed";
    if (request->property(Claimed).toBool())
        return;
    QWebEnginePage *page = request->page();
    bool ours = page && page == FPage;
    for (const QPointer<TWVPopupWindow> &popup : std::as_const(FPopups))
        ours = ours || (popup && page == popup->Page());
    if (!ours || !Initialized())
        return;
    request->setProperty(Claimed, true);

    if (request->isSavePageDownload()) {
        const QString path = QDir(request->downloadDirectory()).filePath(request->downloadFileName());
        if (FMhtmlPath.isEmpty() || QFileInfo(path) != QFileInfo(FMhtmlPath))
            return;
        FMhtmlDownload = request;
        connect(request, &QWebEngineDownloadRequest::isFinishedChanged, this, [this, request] {
            if (request->isFinished() && request == FMhtmlDownload)
                FinishMhtml(request->state() == QWebEngineDownloadRequest::DownloadCompleted);
        });
        if (request->state() == QWebEngineDownloadRequest::DownloadRequested)
            request->accept();
        return;
    }
    if (request->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;

    const qint32 id = FNextDownloadId++;
    auto *operation = new TWVDownloadOperation(request, id, this);
    connect(operation, &TWVDownloadOperation::OnStateChanged, this, &TWVBrowserBase::OnDownloadStateChanged);
    connect(operation, &TWVDownloadOperation::OnBytesReceivedChanged, this, &TWVBrowserBase::OnBytesReceivedChanged);

    TWVDownloadStartingArgs args;
    args.Uri = request->url();
    args.MimeType = request->mimeType();
    args.TotalBytesToReceive = request->totalBytes();
    args.ResultFilePath = QDir(request->downloadDirectory()).filePath(request->downloadFileName());
    args.DownloadOperation = operation;
    QPointer<QWebEngineDownloadRequest> guard(request);
    QPointer<TWVBrowserBase> self(this);
    Q_EMIT OnDownloadStarting(args);
    // The owner's handler may run other events (a dialog) in which the tab, and this component, goes.
    if (!guard || !self)
        return;
    if (args.Cancel) {
        request->cancel();
        delete operation;
        return;
    }
    if (!args.ResultFilePath.isEmpty()) {
        const QFileInfo target(args.ResultFilePath);
        request->setDownloadDirectory(target.absolutePath());
        request->setDownloadFileName(target.fileName());
    }
    request->accept();
    operation->Register(FProfile);
    TWVDownloadRecord record;
    record.Url = request->url().toString();
    record.FilePath = QDir(request->downloadDirectory()).filePath(request->downloadFileName());
    record.Started = QDateTime::currentDateTime();
    TWVProfileData::For(FProfile)->Downloads().Add(record);
}

void TWVBrowserBase::UpdateStatusBubble()
{
    if (!FHost || !FView)
        return;
    if (!FStatusBarEnabled || FStatusBarText.isEmpty()) {
        if (FStatusBubble)
            FStatusBubble->hide();
        return;
    }
    if (!FStatusBubble) {
        FStatusBubble = new QLabel(FHost);
        FStatusBubble->setObjectName(QStringLiteral("WVStatusBubble"));
        FStatusBubble->setAttribute(Qt::WA_TransparentForMouseEvents);
        FStatusBubble->setStyleSheet(QStringLiteral("QLabel { background: #F2F2F2; color: #202020; border: 1px solid "
                                                    "#B0B0B0; padding: 1px 4px; }"));
    }
    const QRect area = FView->geometry();
    const QString text =
        FStatusBubble->fontMetrics().elidedText(FStatusBarText, Qt::ElideMiddle, qMax(40, area.width() / 2));
    FStatusBubble->setText(text);
    FStatusBubble->adjustSize();
    FStatusBubble->move(area.left(), area.bottom() + 1 - FStatusBubble->height());
    FStatusBubble->raise();
    FStatusBubble->show();
}

void TWVBrowserBase::Later(std::function<void()> raise)
{
    QMetaObject::invokeMethod(
        this,
        [this, raise = std::move(raise)] {
            if (!FDestroying)
                raise();
        },
        Qt::QueuedConnection);
}

// Navigation and page state -------------------------------------------------------------------------

bool TWVBrowserBase::Navigate(const QString &aURL)
{
    if (!Initialized())
        return false;
    const QUrl url(aURL);
    if (!url.isValid() || url.isRelative())
        return false;
    // An address never runs script in the page shown: pasted "javascript:" text would act with that
    // page's rights. Scripts go through ExecuteScript.
    if (url.scheme().compare(QLatin1String("javascript"), Qt::CaseInsensitive) == 0)
        return false;
    FPage->load(url);
    return true;
}

bool TWVBrowserBase::NavigateToString(const QString &aHTMLContent)
{
    // The engine takes a document given as text up to 2 MB.
    if (!Initialized() || aHTMLContent.toUtf8().size() > 2 * 1024 * 1024)
        return false;
    FPage->setHtml(aHTMLContent);
    return true;
}

bool TWVBrowserBase::CanGoBack() const
{
    return Initialized() && FPage->history()->canGoBack();
}

bool TWVBrowserBase::CanGoForward() const
{
    return Initialized() && FPage->history()->canGoForward();
}

bool TWVBrowserBase::GoBack()
{
    if (!CanGoBack())
        return false;
    FPage->triggerAction(QWebEnginePage::Back);
    return true;
}

bool TWVBrowserBase::GoForward()
{
    if (!CanGoForward())
        return false;
    FPage->triggerAction(QWebEnginePage::Forward);
    return true;
}

bool TWVBrowserBase::Refresh()
{
    if (!Initialized())
        return false;
    FPage->triggerAction(QWebEnginePage::Reload);
    return true;
}

bool TWVBrowserBase::Stop()
{
    if (!Initialized())
        return false;
    FPage->triggerAction(QWebEnginePage::Stop);
    return true;
}

bool TWVBrowserBase::SetFocus()
{
    if (!Initialized())
        return false;
    FView->setFocus(Qt::OtherFocusReason);
    return true;
}

QRect TWVBrowserBase::Bounds() const
{
    return Initialized() ? FView->geometry() : QRect();
}

void TWVBrowserBase::SetBounds(const QRect &bounds)
{
    if (!Initialized())
        return;
    FView->setGeometry(bounds);
    UpdateStatusBubble();
}

bool TWVBrowserBase::NotifyParentWindowPositionChanged()
{
    // The engine's pop-ups (menus, drop-downs) are placed from the view's own position whenever they
    // open; there is nothing to tell it.
    return Initialized();
}

bool TWVBrowserBase::OpenDevToolsWindow()
{
    if (!Initialized())
        return false;
    if (!FDevToolsWindow) {
        FDevToolsWindow = new TWVPopupWindow(FProfile, FHost ? FHost->window() : nullptr);
        FDevToolsWindow->setWindowTitle(QStringLiteral("Developer Tools"));
        FPage->setDevToolsPage(FDevToolsWindow->Page());
    }
    FDevToolsWindow->show();
    FDevToolsWindow->raise();
    FDevToolsWindow->activateWindow();
    return true;
}

bool TWVBrowserBase::OpenTaskManagerWindow()
{
    return false; // this engine has no task manager window
}

bool TWVBrowserBase::GetIsDefaultDownloadDialogOpen() const
{
    return false; // this engine shows no download pop-up of its own
}

bool TWVBrowserBase::CloseDefaultDownloadDialog()
{
    return false;
}

QString TWVBrowserBase::DocumentTitle() const
{
    return Initialized() ? FPage->title() : QString();
}

QString TWVBrowserBase::StatusBarText() const
{
    return Initialized() ? FStatusBarText : QString();
}

QString TWVBrowserBase::Source() const
{
    return Initialized() ? FPage->url().toString() : QString();
}

QString TWVBrowserBase::FaviconURI() const
{
    return Initialized() ? FPage->iconUrl().toString() : QString();
}

QString TWVBrowserBase::UserAgent() const
{
    return Initialized() ? FProfile->httpUserAgent() : QString();
}

qint64 TWVBrowserBase::RenderProcessId() const
{
    return Initialized() ? FPage->renderProcessPid() : 0;
}

bool TWVBrowserBase::ExecuteScript(const QString &aJavaScript, qint32 aExecutionID)
{
    if (!Initialized() || aJavaScript.isEmpty())
        return false;
    QPointer<TWVBrowserBase> self(this);
    // The engine calls back even when the page goes away, then with an empty result; a component that
    // is being destroyed drops it.
    FPage->runJavaScript(aJavaScript, QWebEngineScript::MainWorld, [self, aExecutionID](const QVariant &result) {
        if (self && !self->FDestroying)
            self->ScriptCompleted(result, aExecutionID);
    });
    return true;
}

void TWVBrowserBase::ScriptCompleted(const QVariant &result, qint32 id)
{
    if (id == WV_ID_RETRIEVE_HTML || id == WV_ID_RETRIEVE_TEXT) {
        const bool ok = result.isValid() && !result.isNull();
        RaiseRetrieval(id, ok, ok ? WVTypes::DecodeRetrievedText(result.toString()) : QString());
        return;
    }
    Q_EMIT OnExecuteScriptCompleted(WV_S_OK, ResultAsJson(result), id);
}

void TWVBrowserBase::RaiseRetrieval(qint32 id, bool ok, const QString &text)
{
    // A failed retrieval is raised too (flag false), so that a waiting owner always hears back.
    const bool result = ok && !text.isEmpty();
    if (id == WV_ID_RETRIEVE_HTML)
        Q_EMIT OnRetrieveHTMLCompleted(result, result ? text : QString());
    else
        Q_EMIT OnRetrieveTextCompleted(result, result ? text : QString());
}

bool TWVBrowserBase::PostWebMessageAsJson(const QString &aWebMessageAsJson)
{
    if (!Initialized() || !FWebMessageEnabled)
        return false;
    QJsonParseError error;
    QJsonDocument::fromJson(QByteArray("[") + aWebMessageAsJson.toUtf8() + QByteArray("]"), &error);
    if (error.error != QJsonParseError::NoError)
        return false;
    Q_EMIT FBridge->webMessage(aWebMessageAsJson);
    return true;
}

bool TWVBrowserBase::PostWebMessageAsString(const QString &aWebMessageAsString)
{
    return PostWebMessageAsJson(ResultAsJson(aWebMessageAsString));
}

bool TWVBrowserBase::DeleteAllCookies()
{
    if (!Initialized())
        return false;
    FProfile->cookieStore()->deleteAllCookies();
    return true;
}

bool TWVBrowserBase::AddWebResourceRequestedFilter(const QString &aURI, int aResourceContext)
{
    return Initialized() && FInterceptor->Filter.Add(aURI, aResourceContext);
}

bool TWVBrowserBase::RemoveWebResourceRequestedFilter(const QString &aURI, int aResourceContext)
{
    return Initialized() && FInterceptor->Filter.Remove(aURI, aResourceContext);
}

void TWVBrowserBase::SetRequestFilter(TWVRequestFilter aFilter)
{
    FInterceptor->Callback = std::move(aFilter);
}
