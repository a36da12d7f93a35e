// The three ways of enlarging the view: big screen, F10 full screen and page full screen (F11).
#include "tab/CFrame.h"

#include "look/GradientTabBar.h"
#include "shell/Parent.h"
#include "webview/WVBrowser.h"
#include "webview/WVWindowParent.h"

#include <QApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

namespace {
const QString FullScreenToggle = QStringLiteral(
    "elem=document.documentElement;if(!document.fullscreenElement){if(elem.requestFullscreen){elem.requestFullscreen()}}"
    "else if(document.exitFullscreen){document.exitFullscreen()}");
// The page lets itself go full screen only in answer to the user. The F11 key reaches the page on
// another path than this script and may come second; then the toggle waits (briefly) for that key.
const QString FullScreenScript =
    QStringLiteral("(function(){function toggle(){") + FullScreenToggle
    + QStringLiteral("}if(document.fullscreenElement||!navigator.userActivation||navigator.userActivation.isActive)"
                     "{toggle();return}addEventListener('keydown',toggle,{once:true,capture:true});"
                     "setTimeout(function(){removeEventListener('keydown',toggle,{capture:true})},1000)})()");

// Where the main window was before a full-screen mode; one copy per mode, shared by all tabs, since
// the mode belongs to the window whichever tab entered it.
struct TWindowPlacement
{
    Qt::WindowStates State;
    QRect Bounds;
    bool Active = false;
};
TWindowPlacement PageFullScreenPlacement;
TWindowPlacement F10FullScreenPlacement;

void Settle()
{
    QCoreApplication::processEvents();
}

void SetSizeableBorder(bool sizeable)
{
    if (frmParent->windowFlags().testFlag(Qt::FramelessWindowHint) != sizeable)
        return;
    const bool visible = frmParent->isVisible();
    frmParent->setWindowFlag(Qt::FramelessWindowHint, !sizeable);
    // Changing the flags takes the window down; it comes back as it was.
    if (visible)
        frmParent->show();
}

void SetBlackBackground()
{
    QPalette pal = frmParent->palette();
    pal.setColor(QPalette::Window, Qt::black);
    frmParent->setPalette(pal);
}

void HideFloatingTabButtons()
{
    frmParent->btnTabClose->hide();
    frmParent->btnHome->hide();
}

// The main window covers the whole monitor it is on.
void FillMonitor()
{
    QScreen *screen = QGuiApplication::screenAt(frmParent->geometry().center());
    if (!screen)
        screen = frmParent->screen();
    Settle();
    if (screen)
        frmParent->setGeometry(screen->geometry());
    frmParent->showFullScreen();
    Settle();
}

void SavePlacement(TWindowPlacement &placement)
{
    placement.State = frmParent->windowState() & ~Qt::WindowFullScreen;
    placement.Bounds = frmParent->normalGeometry().isValid() ? frmParent->normalGeometry() : frmParent->geometry();
}

// Remembers where the window was, then fills the monitor with it, borderless on black.
void CoverMonitor(TWindowPlacement &placement)
{
    SavePlacement(placement);
    placement.Active = true;
    SetSizeableBorder(false);
    SetBlackBackground();
    FillMonitor();
}

void RestorePlacement(TWindowPlacement &placement)
{
    placement.Active = false;
    if (placement.State.testFlag(Qt::WindowMaximized)) {
        frmParent->showMaximized();
    } else {
        frmParent->showNormal();
        if (placement.Bounds.isValid())
            frmParent->setGeometry(placement.Bounds);
    }
    Settle();
}
} // namespace

void TFrameChild::BigScreen1Click()
{
    if (!frmParent)
        return;
    frmParent->FGoBigScreen = !frmParent->FGoBigScreen;
    if (frmParent->FGoBigScreen) {
        frmParent->menuBar()->hide();
        frmParent->Settings.FMenuToolbar = false; // for this run only; the settings file keeps its value
        Settle();
        SetSizeableBorder(false);
    } else {
        if (frmParent->Settings.FMenuToolbar)
            frmParent->menuBar()->show();
        Settle();
        SetSizeableBorder(true);
    }
}

void TFrameChild::F11FullScreenMode()
{
    if (!Initialized())
        return;
    Settle();
    WVBrowser1->ExecuteScript(FullScreenScript);
    RefocusWebView();
}

void TFrameChild::WVBrowser1ContainsFullScreenElementChanged()
{
    Settle();
    setFullScreenMode();
    Settle();
}

void TFrameChild::setFullScreenMode()
{
    if (!frmParent || !WVBrowser1)
        return;
    // The window follows the page: a missed or repeated notice cannot leave the two out of step.
    const bool pageFullScreen = WVBrowser1->ContainsFullScreenElement();
    if (pageFullScreen && !fullScreenMode) {
        frmParent->tbcChildrenTabs()->hide();
        HideFloatingTabButtons();
        Settle();
        HideWindowChrome();
        CoverMonitor(PageFullScreenPlacement);
        fullScreenMode = true;
    } else if (!pageFullScreen && fullScreenMode) {
        frmParent->tbcChildrenTabs()->show();
        Settle();
        Panel1->setVisible(!frmParent->FHideToolbar);
        Settle();
        RestoreWindowAfterFullScreen();
        RestorePlacement(PageFullScreenPlacement);
        fullScreenMode = false;
    }
    RefocusWebView();
}

void TFrameChild::ReleaseWindowModes()
{
    // The page that holds the window full screen is closing: nothing else could bring it back.
    if (!frmParent || !fullScreenMode)
        return;
    fullScreenMode = false;
    frmParent->tbcChildrenTabs()->show();
    frmParent->menuBar()->setVisible(frmParent->Settings.FMenuToolbar);
    frmParent->setDarkMode();
    SetSizeableBorder(!frmParent->FGoBigScreen);
    Settle();
    RestorePlacement(PageFullScreenPlacement);
}

void TFrameChild::HideWindowChrome()
{
    Panel1->hide();
    Settle();
    frmParent->menuBar()->hide();
    Settle();
    Splitter1->hide();
    pnlAdList->hide();
    Settle();
}

void TFrameChild::RestoreWindowAfterFullScreen()
{
    frmParent->menuBar()->setVisible(frmParent->Settings.FMenuToolbar);
    Settle();
    showAdPanel();
    Settle();
    frmParent->setDarkMode();
    Settle();
    // Big screen keeps its borderless window.
    SetSizeableBorder(!frmParent->FGoBigScreen);
    Settle();
}

void TFrameChild::RefocusWebView()
{
    // The window changed its shape; the page takes the keys again.
    if (!WVWindowParent1->isVisible() || !WVWindowParent1->isEnabled())
        return;
    WVWindowParent1->update();
    WVWindowParent1->setFocus();
    if (WVBrowser1)
        WVBrowser1->SetFocus();
}

void TFrameChild::setF10FullScreenMode()
{
    if (!frmParent)
        return;
    // Another tab may have entered it: the tab row stays in this mode.
    f10FullScreenMode = F10FullScreenPlacement.Active;
    if (!f10FullScreenMode) {
        frmParent->FHideToolbar = true;
        Settle();
        frmParent->ShowTabCloseButtonOnHotTab();
        Settle();
        HideWindowChrome();
        CoverMonitor(F10FullScreenPlacement);
        f10FullScreenMode = true;
    } else {
        frmParent->FHideToolbar = false;
        Settle();
        Panel1->show();
        RestoreWindowAfterFullScreen();
        RestorePlacement(F10FullScreenPlacement);
        f10FullScreenMode = false;
    }
    RefocusWebView();
}
