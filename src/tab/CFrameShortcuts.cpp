// The keys the tab acts on while its web view has the focus, and the display and window commands
// that only they and the menus reach.
#include "tab/CFrame.h"

#include "look/GradientTabBar.h"
#include "shell/Parent.h"
#include "shell/PublisherPages.h"
#include "shell/Settings.h"
#include "tab/AddressEdit.h"
#include "tab/PageShortcuts.h"
#include "webview/WVBrowser.h"
#include "webview/WVWindowParent.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>

void TFrameChild::WVBrowser1AcceleratorKeyPressed(TWVAcceleratorKeyArgs &args)
{
    // The web view still handles the key itself.
    args.Handled = false;
    const TPageShortcuts::TCommand command = TPageShortcuts::CommandFor(
        args.VirtualKey, args.Modifiers.testFlag(Qt::ControlModifier), args.Modifiers.testFlag(Qt::AltModifier),
        args.Modifiers.testFlag(Qt::ShiftModifier), args.WasKeyDown, args.IsKeyReleased);
    void (TFrameChild::*handler)() = nullptr;
    switch (command) {
    case TPageShortcuts::pcBigScreen: handler = &TFrameChild::BigScreen1Click; break;
    case TPageShortcuts::pcNewOrbwell: handler = &TFrameChild::NewOrbwell1Click; break;
    case TPageShortcuts::pcPrintToPdf: handler = &TFrameChild::PrinttoPDF1Click; break;
    case TPageShortcuts::pcHideToolbar: handler = &TFrameChild::HideToolbar1Click; break;
    case TPageShortcuts::pcHistory: handler = &TFrameChild::History1Click; break;
    case TPageShortcuts::pcDownloads: handler = &TFrameChild::DownloadSettings1Click; break;
    case TPageShortcuts::pcOpenFile: handler = &TFrameChild::OpenFile1Click; break;
    case TPageShortcuts::pcDarkMode: handler = &TFrameChild::DarkMode1Click; break;
    case TPageShortcuts::pcPrivateMode: handler = &TFrameChild::PrivateMode1Click; break;
    case TPageShortcuts::pcNewWindow: handler = &TFrameChild::btnRequestNewWindowClick; break;
    case TPageShortcuts::pcNewTab: handler = &TFrameChild::btnNewTabClick; break;
    case TPageShortcuts::pcSaveToFile: handler = &TFrameChild::SaveToFile1Click; break;
    case TPageShortcuts::pcCloseTab:
        QMetaObject::invokeMethod(this, [] {
            if (frmParent)
                frmParent->closeTab(frmParent->tbcChildrenTabs()->currentIndex());
        }, Qt::QueuedConnection);
        return;
    case TPageShortcuts::pcPageFullScreen: handler = &TFrameChild::F11FullScreenMode; break;
    case TPageShortcuts::pcF10FullScreen: handler = &TFrameChild::setF10FullScreenMode; break;
    case TPageShortcuts::pcNone: return;
    }
    // The command runs once the key has reached the page: dialogs, new tabs or a closed tab must not
    // come in the middle of the web view's own key handling.
    QMetaObject::invokeMethod(this, handler, Qt::QueuedConnection);
}

void TFrameChild::HideToolbar1Click()
{
    if (!frmParent)
        return;
    frmParent->FHideToolbar = !frmParent->FHideToolbar;
    Panel1->setVisible(!frmParent->FHideToolbar);
    WVWindowParent1->update();
    if (Initialized())
        WVBrowser1->SetFocus();
}

void TFrameChild::DarkMode1Click()
{
    if (!frmParent)
        return;
    frmParent->Settings.FDarkMode = !frmParent->Settings.FDarkMode;
    frmParent->setDarkMode();
    frmParent->WriteSetting(TSettings::EnvironmentSection, QStringLiteral("DarkMode"), frmParent->Settings.FDarkMode);
}

void TFrameChild::PrivateMode1Click()
{
    if (!frmParent)
        return;
    frmParent->Settings.FPrivateMode = !frmParent->Settings.FPrivateMode;
    frmParent->WriteSetting(TSettings::EnvironmentSection, QStringLiteral("PrivateMode"),
                            frmParent->Settings.FPrivateMode);
    QMessageBox::information(this, QApplication::applicationDisplayName(),
                             frmParent->Settings.FPrivateMode
                                 ? QStringLiteral("Private Mode will be Active on New Tabs from now on.")
                                 : QStringLiteral("Private Mode will be InActive on New Tabs from now on."));
}

void TFrameChild::History1Click()
{
    if (!frmParent)
        return;
    if (frmParent->Settings.FPrivateMode) {
        QMessageBox::information(this, QApplication::applicationDisplayName(),
                                 QStringLiteral("There Is No History In Private Mode."));
        return;
    }
    frmParent->navigateURL = TPublisherPages::HistoryPage;
    frmParent->createFrame();
}

void TFrameChild::DownloadSettings1Click()
{
    if (!frmParent)
        return;
    frmParent->navigateURL = TPublisherPages::DownloadsPage;
    frmParent->createFrame();
}

void TFrameChild::NewOrbwell1Click()
{
    // The address box text is the whole parameter string, so a text with spaces gives several
    // arguments and the new instance opens its home page.
    const QStringList arguments = edtAddress->text().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QProcess::startDetached(QCoreApplication::applicationFilePath(), arguments);
}
