#include "tab/CFrame.h"

#include "look/GradientTabBar.h"
#include "look/ToolbarGlyphs.h"
#include "shell/Parent.h"
#include "shell/PublisherPages.h"
#include "tab/AddressEdit.h"
#include "tab/LoadingIndicator.h"
#include "webview/WVBrowser.h"
#include "webview/WVWindowParent.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QNetworkInformation>
#include <QPushButton>
#include <QSplitter>
#include <QThread>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QColor ColorToolbar(0x37, 0x4F, 0x60);

void paintPanel(QWidget *w, const QColor &c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, c);
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}
} // namespace

TFrameChild::TFrameChild(QWidget *owner) : QWidget(owner)
{
    setAttribute(Qt::WA_StyledBackground, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    BuildToolbar();
    BuildBody();
    layout->addWidget(Panel1);
    layout->addWidget(FBody, 1);

    BuildEditMenu();
    BuildClearingMenus();
    BuildToolsMenu();

    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(50);
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, [this] { Timer2Timer(); });
}

QToolButton *TFrameChild::NewButton(QWidget *parent, const char *name, int width, const QString &hint, int glyph)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoRaise(true);
    b->setCursor(Qt::PointingHandCursor);
    b->setToolTip(hint);
    b->setProperty("hint", hint);
    b->setFixedSize(width, 39);
    b->setIcon(TToolbarGlyphs::Icon(static_cast<TToolbarGlyphs::TGlyph>(glyph)));
    b->setIconSize(QSize(width <= 25 ? 16 : 24, width <= 25 ? 16 : 24));
    b->setFocusPolicy(Qt::NoFocus);
    parent->layout()->addWidget(b);
    return b;
}

void TFrameChild::BuildToolbar()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    paintPanel(Panel1, ColorToolbar);
    auto *bar = new QHBoxLayout(Panel1);
    bar->setContentsMargins(0, 1, 0, 1);
    bar->setSpacing(0);

    Panel3 = new QWidget(Panel1);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFixedWidth(392);
    paintPanel(Panel3, ColorToolbar);
    auto *left = new QHBoxLayout(Panel3);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    using G = TToolbarGlyphs;
    btnDDWindows = NewButton(Panel3, "btnDDWindows", 25, QStringLiteral("Web Apps"), G::gWebApps);
    btnRequestNewWindow = NewButton(Panel3, "btnRequestNewWindow", 52, QStringLiteral("Popup New Window"), G::gPopupWindow);
    btnNewTab = NewButton(Panel3, "btnNewTab", 52, QStringLiteral("Add New Tab"), G::gNewTab);
    btnNewTab->setEnabled(false);
    connect(btnNewTab, &QToolButton::clicked, this, [this] { btnNewTabClick(); });
    btnBack = NewButton(Panel3, "btnBack", 52, QStringLiteral("Go Back"), G::gBack);
    btnForward = NewButton(Panel3, "btnForward", 52, QStringLiteral("Go Forward"), G::gForward);
    btnRefresh = NewButton(Panel3, "btnRefresh", 52, QStringLiteral("Refresh Page"), G::gRefresh);
    btnHome = NewButton(Panel3, "btnHome", 52, QStringLiteral("Home"), G::gHome);
    // The loading pictures share one place at the end of the left panel.
    auto *indicators = new QWidget(Panel3);
    indicators->setFixedSize(57, 39);
    auto *stack = new QGridLayout(indicators);
    stack->setContentsMargins(0, 0, 0, 0);
    auto *light = new TLoadingIndicator(QColor(0xE8, 0xF0, 0xF5), indicators);
    light->setObjectName(QStringLiteral("imgAnimate"));
    auto *dark = new TLoadingIndicator(QColor(0x65, 0x8B, 0xA7), indicators);
    dark->setObjectName(QStringLiteral("imgAnimateDark"));
    imgAnimate = light;
    imgAnimateDark = dark;
    imgComplete = new QLabel(indicators);
    imgComplete->setObjectName(QStringLiteral("imgComplete"));
    imgComplete->setPixmap(TToolbarGlyphs::Pixmap(G::gComplete, QColor(0x9C, 0xD6, 0x9C), 24));
    imgComplete->setAlignment(Qt::AlignCenter);
    for (QWidget *w : {imgAnimate, imgAnimateDark, static_cast<QWidget *>(imgComplete)}) {
        stack->addWidget(w, 0, 0, Qt::AlignCenter);
        w->hide();
    }
    left->addWidget(indicators);
    left->addStretch(1);

    edtAddress = new TAddressEdit(Panel1);

    Panel2 = new QWidget(Panel1);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedWidth(331);
    paintPanel(Panel2, ColorToolbar);
    auto *right = new QHBoxLayout(Panel2);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    btnAdBlocker = NewButton(Panel2, "btnAdBlocker", 58, QStringLiteral("Ad-Blocker"), G::gShield);
    btnAdBlocker->setMinimumWidth(0);
    btnAdBlocker->setMaximumWidth(QWIDGETSIZE_MAX);
    btnAdBlocker->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    btnAdBlocker->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QPalette adPal = btnAdBlocker->palette();
    adPal.setColor(QPalette::ButtonText, Qt::white);
    btnAdBlocker->setPalette(adPal);
    btnScreenshot = NewButton(Panel2, "btnScreenshot", 49, QStringLiteral("Take Snapshot"), G::gSnapshot);
    btnMediaPlayer = NewButton(Panel2, "btnMediaPlayer", 52, QStringLiteral("Media-Player"), G::gMediaPlayer);
    btnTools = NewButton(Panel2, "btnTools", 49, QStringLiteral("Tools..."), G::gTools);
    btnSettings = NewButton(Panel2, "btnSettings", 49, QStringLiteral("Settings..."), G::gSettings);
    btnCloseAll = NewButton(Panel2, "btnCloseAll", 49, QStringLiteral("Close Tab"), G::gCloseTab);
    btnDDClose = NewButton(Panel2, "btnDDClose", 25, QStringLiteral("Resources"), G::gDropDown);

    bar->addWidget(Panel3);
    bar->addSpacing(4);
    bar->addWidget(edtAddress, 1);
    bar->addSpacing(4);
    bar->addWidget(Panel2);
}

void TFrameChild::BuildBody()
{
    FBody = new QSplitter(Qt::Horizontal, this);
    FBody->setHandleWidth(5);
    FBody->setChildrenCollapsible(false);
    FBody->setStyleSheet(QStringLiteral("QSplitter::handle { background: #0080C0; }"));

    WVWindowParent1 = new TWVWindowParent(FBody);
    WVWindowParent1->setObjectName(QStringLiteral("WVWindowParent1"));

    pnlAdList = new QWidget(FBody);
    pnlAdList->setObjectName(QStringLiteral("pnlAdList"));
    auto *panel = new QVBoxLayout(pnlAdList);
    panel->setContentsMargins(0, 0, 0, 0);
    panel->setSpacing(0);
    lstAdUrls = new QListWidget(pnlAdList);
    lstAdUrls->setObjectName(QStringLiteral("lstAdUrls"));
    panel->addWidget(lstAdUrls, 1);
    Panel5 = new QWidget(pnlAdList);
    Panel5->setObjectName(QStringLiteral("Panel5"));
    paintPanel(Panel5, QColor(0x22, 0x30, 0x39));
    auto *buttons = new QHBoxLayout(Panel5);
    btnClearList = new QPushButton(QStringLiteral("Clear List"), Panel5);
    btnClearList->setObjectName(QStringLiteral("btnClearList"));
    btnHide = new QPushButton(QStringLiteral("Hide"), Panel5);
    btnHide->setObjectName(QStringLiteral("btnHide"));
    buttons->addWidget(btnClearList);
    buttons->addWidget(btnHide);
    panel->addWidget(Panel5);
    FBody->addWidget(WVWindowParent1);
    FBody->addWidget(pnlAdList);
    FBody->setStretchFactor(0, 1);
    FBody->setSizes({width() - 315, 315});
    Splitter1 = FBody->handle(1);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    pnlAdList->hide();
    Splitter1->hide();
}

TFrameChild::~TFrameChild()
{
    // Dropping a request that never got its web view lets the engine discard the waiting page.
    ReleaseArgs();
}

void TFrameChild::ReleaseArgs()
{
    if (FArgs)
        FArgs->deleteLater();
    FArgs = nullptr;
    FDeferral = false;
}

bool TFrameChild::Initialized() const
{
    return WVBrowser1 && WVBrowser1->Initialized();
}

void TFrameChild::SetArgs(TWVNewWindowRequest *args)
{
    ReleaseArgs();
    FArgs = args;
    FDeferral = args && args->GetDeferral();
}

void TFrameChild::CreateAllHandles()
{
    WVWindowParent1->CreateHandle();
}

void TFrameChild::CreateBrowser()
{
    if (!WVBrowser1) {
        WVBrowser1 = new TWVBrowser(this);
        WVBrowser1->setObjectName(QStringLiteral("WVBrowser1"));
        WVWindowParent1->SetBrowser(WVBrowser1);
        connect(WVBrowser1, &TWVBrowser::OnAfterCreated, this, [this] { WVBrowser1AfterCreated(); });
        connect(WVBrowser1, &TWVBrowser::OnInitializationError, this,
                [this](qint64 code, const QString &message) { WVBrowser1InitializationError(code, message); });
        connect(WVBrowser1, &TWVBrowser::OnGotFocus, this, [this] { WVBrowser1GotFocus(); });
        ConnectNavigationEvents();
        ConnectWindowEvents();
        ConnectBlocking();
        Q_EMIT BrowserComponentCreated(WVBrowser1);
    }
    WVBrowser1->SetDefaultURL(FHomepage);
    WVBrowser1->SetIsInPrivateModeEnabled(frmParent && frmParent->Settings.FPrivateMode);
    WVBrowser1->CreateBrowser(WVWindowParent1, true);
}

void TFrameChild::WVBrowser1InitializationError(qint64, const QString &errorMessage)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), errorMessage, QMessageBox::Ok, this);
    box.exec();
}

void TFrameChild::WVBrowser1AfterCreated()
{
    if (!frmParent)
        return;
    TSettings &s = frmParent->Settings;
    // The page the engine opened for a request already loads what it asked for, form data included;
    // loading the address again would lose that, and the shared navigateURL may name another tab's page.
    QUrl adopted;
    if (FArgs && FDeferral) {
        // Whatever the engine makes of it, the request is answered once and released.
        if (FArgs->SetNewWindow(WVBrowser1))
            adopted = FArgs->Uri();
        FArgs->SetHandled(true);
        FArgs->Complete();
        ReleaseArgs();
    }
    WVWindowParent1->UpdateSize();
    setAddressBar();
    setOffline();
    static_cast<TLoadingIndicator *>(imgAnimate)->SetAnimate(true);
    static_cast<TLoadingIndicator *>(imgAnimateDark)->SetAnimate(true);
    fullScreenMode = false;
    f10FullScreenMode = false;
    isContextMenuEnabled = false;
    frmParent->newWindowRequested = false;
    showAdPanel();
    WVBrowser1->SetZoomPct(s.FZoom);
    WVBrowser1->SetStatusBarEnabled(s.FBrowserStatusBar);
    WVBrowser1->SetIsPasswordAutosaveEnabled(s.FAutoSavePasswords);
    WVBrowser1->SetAreDefaultScriptDialogsEnabled(true);
    WVBrowser1->SetWebMessageEnabled(true);
    WVBrowser1->SetScriptEnabled(true);
    WVBrowser1->SetAreBrowserAcceleratorKeysEnabled(true);
    // Certificate errors are not ignored: each one is put to the user (see the navigation handlers).
    Panel1->setVisible(!frmParent->FHideToolbar);
    setAdBlockButton();
    setToolbarHints(s.FToolbarHints);
    if (s.FAdBlocker) {
        WVBrowser1->AddWebResourceRequestedFilter(QStringLiteral("*"), wvrcAll);
    } else if (s.FBlockImages) {
        WVBrowser1->AddWebResourceRequestedFilter(QStringLiteral("*"), wvrcImage);
        WVBrowser1->AddWebResourceRequestedFilter(QStringLiteral("*"), wvrcMedia);
    }
    WVBrowser1->SetHeaderTitle(QStringLiteral("Orbwell"));
    WVBrowser1->SetShouldPrintHeaderAndFooter(true);
    if (adopted.isValid()) {
        edtAddress->ShowAddress(adopted.toString());
    } else {
        edtAddress->ShowAddress(frmParent->navigateURL);
        WVBrowser1->Navigate(frmParent->navigateURL);
    }
    frmParent->setDarkMode();
    if (WVWindowParent1->isVisible() && WVWindowParent1->isEnabled())
        WVWindowParent1->SetFocus();
}

void TFrameChild::WVBrowser1GotFocus()
{
    isContextMenuEnabled = false;
    if (WVBrowser1->GetIsDefaultDownloadDialogOpen())
        WVBrowser1->CloseDefaultDownloadDialog();
}

void TFrameChild::NotifyParentWindowPositionChanged()
{
    if (WVBrowser1)
        WVBrowser1->NotifyParentWindowPositionChanged();
}

void TFrameChild::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    NotifyParentWindowPositionChanged();
}

void TFrameChild::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    setAddressBar();
}

bool TFrameChild::detectConnection()
{
    // Without a reachability backend the answer is unknown; a browser then stays online.
    if (!QNetworkInformation::instance() && !QNetworkInformation::loadDefaultBackend())
        return true;
    const auto r = QNetworkInformation::instance()->reachability();
    return r != QNetworkInformation::Reachability::Disconnected;
}

void TFrameChild::setOffline()
{
    if (WVBrowser1)
        WVBrowser1->SetOffline(!detectConnection());
}

void TFrameChild::setAddressBar()
{
    if (!frmParent)
        return;
    const int width = frmParent->centralWidget()->width() - Panel2->width() - Panel3->width();
    edtAddress->SetRoundedWidth(width);
}

void TFrameChild::setToolbarHints(bool show)
{
    for (QToolButton *b : {btnRequestNewWindow, btnNewTab, btnBack, btnForward, btnHome, btnRefresh, btnScreenshot,
                           btnTools, btnSettings, btnCloseAll, btnDDClose, btnDDWindows, btnAdBlocker, btnMediaPlayer})
        b->setToolTip(show ? b->property("hint").toString() : QString());
}

void TFrameChild::ApplyPalette(bool dark)
{
    const QColor panel = dark ? QColor(Qt::black) : ColorToolbar;
    edtAddress->SetDark(dark);
    paintPanel(Panel1, panel);
    paintPanel(Panel2, panel);
    paintPanel(Panel3, panel);
    if (frmParent && frmParent->showPanelAdUrls) {
        QPalette pal = lstAdUrls->palette();
        pal.setColor(QPalette::Base, dark ? QColor(0x80, 0x80, 0x80) : QColor(Qt::white));
        lstAdUrls->setPalette(pal);
        paintPanel(Panel5, dark ? QColor(Qt::black) : QColor(0x22, 0x30, 0x39));
    }
    if (WVBrowser1)
        WVBrowser1->SetPreferredColorScheme(dark ? wvpcsDark : wvpcsLight);
}

void TFrameChild::showAdPanel()
{
    const bool show = frmParent && frmParent->showPanelAdUrls;
    pnlAdList->setVisible(show);
    Splitter1->setVisible(show);
}

void TFrameChild::RunBehindTemporaryTab(const std::function<bool()> &showModal)
{
    if (!frmParent)
        return;
    frmParent->resetTabIndex = frmParent->ActiveTabIndex();
    frmParent->showDummyPage = true;
    btnNewTabClick();
    showModal();
    // The temporary tab goes even when no window could be shown.
    Timer2->start();
}

void TFrameChild::btnNewTabClick()
{
    if (!frmParent)
        return;
    if (frmParent->showDummyPage) {
        frmParent->navigateURL = TPublisherPages::InterludePage;
        frmParent->showDummyPage = false;
    } else {
        frmParent->navigateURL = frmParent->getHomePage();
    }
    frmParent->isContextMenuEnabledParent = false;
    frmParent->createFrame();
}

void TFrameChild::Timer2Timer()
{
    if (!frmParent)
        return;
    if (QApplication::activeModalWidget() || QThread::currentThread()->loopLevel() > 1) {
        // Not under a dialog that may belong to the tab.
        Timer2->start();
        return;
    }
    // The temporary tab itself, even if a page has brought another tab to the front meanwhile.
    TBrowserTab *temporary = frmParent->InterludeTab();
    const int index = temporary ? frmParent->IndexOfTab(temporary) : frmParent->ActiveTabIndex();
    if (index < 0 || frmParent->TabCount() <= 1)
        return;
    frmParent->tbcChildrenTabs()->hide();
    frmParent->RemoveTab(index);
    frmParent->navigateURL = frmParent->getHomePage();
    frmParent->SelectTab(frmParent->resetTabIndex);
    frmParent->tbcChildrenTabs()->show();
}
