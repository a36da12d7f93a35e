// The tab's address box, navigation buttons and the page events that keep the tab's look current.
#include "tab/CFrame.h"

#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "shell/TabRules.h"
#include "tab/AddressEdit.h"
#include "tab/AddressRules.h"
#include "tab/LoadingIndicator.h"
#include "webview/WVBrowser.h"
#include "webview/WVWindowParent.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QToolButton>

void TFrameChild::ConnectNavigationEvents()
{
    connect(WVBrowser1, &TWVBrowser::OnNavigationStarting, this,
            [this](TWVNavigationStartingArgs &args) { WVBrowser1NavigationStarting(args); });
    connect(WVBrowser1, &TWVBrowser::OnNavigationCompleted, this,
            [this](const TWVNavigationCompletedArgs &) { WVBrowser1NavigationCompleted(); });
    connect(WVBrowser1, &TWVBrowser::OnSourceChanged, this, [this](const QUrl &) { changeLookout(); });
    connect(WVBrowser1, &TWVBrowser::OnDocumentTitleChanged, this, [this] { WVBrowser1DocumentTitleChanged(); });
    connect(WVBrowser1, &TWVBrowser::OnFaviconChanged, this, [this] { setFavicon(); });
    connect(WVBrowser1, &TWVBrowser::OnGetFaviconCompleted, this,
            [this](qint32 code, const QByteArray &stream) { WVBrowser1GetFaviconCompleted(code, stream); });
}

void TFrameChild::go()
{
    const QString address = TAddressRules::AddressFor(edtAddress->text());
    edtAddress->ShowAddress(address);
    if (WVBrowser1)
        WVBrowser1->Navigate(address);
}

void TFrameChild::FocusWebView()
{
    if (WVWindowParent1->isVisible() && WVWindowParent1->isEnabled())
        WVWindowParent1->SetFocus();
}

void TFrameChild::btnBackClick()
{
    if (WVBrowser1)
        WVBrowser1->GoBack();
}

void TFrameChild::btnForwardClick()
{
    if (WVBrowser1)
        WVBrowser1->GoForward();
}

void TFrameChild::btnHomeClick()
{
    if (!frmParent || !WVBrowser1)
        return;
    frmParent->navigateURL = frmParent->getHomePage();
    WVBrowser1->Navigate(frmParent->navigateURL);
}

void TFrameChild::btnRefreshClick()
{
    if (!WVBrowser1)
        return;
    setOffline();
    FocusWebView();
    if (!WVBrowser1->RefreshIgnoreCache() && frmParent) {
        frmParent->navigateURL = edtAddress->text();
        WVBrowser1->Navigate(frmParent->navigateURL);
    }
}

void TFrameChild::WVBrowser1NavigationStarting(TWVNavigationStartingArgs &args)
{
    const QUrl uri = args.Uri;
    isContextMenuEnabled = false;
    Q_EMIT OnBrowserFaviconChange(this, 0);
    if (WVBrowser1->GetIsDefaultDownloadDialogOpen())
        WVBrowser1->CloseDefaultDownloadDialog();
    auto *light = static_cast<TLoadingIndicator *>(imgAnimate);
    auto *dark = static_cast<TLoadingIndicator *>(imgAnimateDark);
    const bool darkMode = frmParent && frmParent->Settings.FDarkMode;
    light->SetAnimate(!darkMode);
    light->setVisible(!darkMode);
    dark->SetAnimate(darkMode);
    dark->setVisible(darkMode);
    imgComplete->hide();
    changeLookout();
    FLastNavigation = uri;
    if (frmParent)
        frmParent->navigateURL = uri.toString();
    // Refused before its first request; the tab may close once this event has returned.
    if (AdBlockNavigationCheck(uri))
        args.Cancel = true;
}

void TFrameChild::WVBrowser1NavigationCompleted()
{
    if (frmParent)
        frmParent->tabIndex = frmParent->ActiveTabIndex();
    btnNewTab->setEnabled(true);
    isContextMenuEnabled = false;
    static_cast<TLoadingIndicator *>(imgAnimate)->SetAnimate(false);
    static_cast<TLoadingIndicator *>(imgAnimateDark)->SetAnimate(false);
    imgAnimate->hide();
    imgAnimateDark->hide();
    imgComplete->show();
    setFavicon();
    FocusWebView();
}

void TFrameChild::WVBrowser1DocumentTitleChanged()
{
    isContextMenuEnabled = false;
    const QString title = WVBrowser1->DocumentTitle();
    imgComplete->setToolTip(title);
    Q_EMIT OnBrowserTitleChange(this, TTabRules::getTitleText(title));
    if (frmParent && frmParent->ActiveTab() && frmParent->ActiveTab()->isVisible() && isVisible())
        FocusWebView();
}

void TFrameChild::changeLookout()
{
    edtAddress->ShowAddress(TAddressRules::LookoutText(WVBrowser1 ? WVBrowser1->Source() : QString()));
}

void TFrameChild::setFavicon()
{
    const TAddressRules::TFavicon icon = TAddressRules::FaviconFor(edtAddress->text());
    if (!icon.Caption.isEmpty())
        Q_EMIT OnBrowserTitleChange(this, TTabRules::getTitleText(icon.Caption));
    if (icon.Fetch && WVBrowser1)
        WVBrowser1->GetFavicon(wvifPNG);
    Q_EMIT OnBrowserFaviconChange(this, icon.Index >= 1 && icon.Index <= 7 ? icon.Index : 0);
}

void TFrameChild::WVBrowser1GetFaviconCompleted(qint32 errorCode, const QByteArray &stream)
{
    if (!frmParent || frmParent->appExit || frmParent->tabExit)
        return;
    if (errorCode < 0 || stream.isNull()) {
        Q_EMIT OnBrowserFaviconChange(this, 0);
        return;
    }
    if (stream.isEmpty())
        return;
    QImage image;
    if (!image.loadFromData(stream, "PNG")) {
        Q_EMIT OnBrowserFaviconChange(this, 0);
        return;
    }
    image = image.convertToFormat(QImage::Format_ARGB32)
                .scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    Q_EMIT OnBrowserFaviconChange(this, frmParent->AddTabIcon(QIcon(QPixmap::fromImage(image))));
}

void TFrameChild::PasteGo1Click()
{
    edtAddress->clear();
    edtAddress->setFocus();
    edtAddress->paste();
    if (!frmParent || !WVBrowser1)
        return;
    frmParent->navigateURL = edtAddress->text();
    WVBrowser1->Navigate(edtAddress->text());
}

void TFrameChild::BuildEditMenu()
{
    popEdit = new QMenu(edtAddress);
    popEdit->setObjectName(QStringLiteral("popEdit"));
    const auto add = [this](const char *name, const QString &caption, const QKeySequence &shortcut, auto handler) {
        QAction *a = popEdit->addAction(caption);
        a->setObjectName(QLatin1String(name));
        if (!shortcut.isEmpty()) {
            a->setShortcut(shortcut);
            a->setShortcutContext(Qt::WidgetShortcut);
            edtAddress->addAction(a);
        }
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    const auto caretHome = [this] { edtAddress->setCursorPosition(0); };
    add("Cut1", QStringLiteral("Cu&t"), QKeySequence::Cut, [this, caretHome] {
        edtAddress->cut();
        FocusWebView();
        caretHome();
        edtAddress->setFocus();
    });
    add("Copy1", QStringLiteral("&Copy"), QKeySequence::Copy, [this, caretHome] {
        edtAddress->copy();
        FocusWebView();
        caretHome();
    });
    add("Paste1", QStringLiteral("&Paste"), QKeySequence::Paste, [this, caretHome] {
        edtAddress->paste();
        FocusWebView();
        caretHome();
    });
    popEdit->addSeparator();
    add("PasteGo1", QStringLiteral("Paste && Go"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_L),
        [this] { PasteGo1Click(); });
    popEdit->addSeparator();
    add("SelectAll1", QStringLiteral("Select All"), QKeySequence::SelectAll, [this] { edtAddress->selectAll(); });
    popEdit->addSeparator();
    add("ClearAll1", QStringLiteral("Clear All"), QKeySequence(), [this] {
        edtAddress->clear();
        edtAddress->setFocus();
    });
    add("ClearSelection1", QStringLiteral("Clear Selection"), QKeySequence(), [this] {
        if (edtAddress->hasSelectedText())
            edtAddress->del();
    });
    popEdit->addSeparator();
    add("AddtoWhitelist1", QStringLiteral("Add Domain to Whitelist"), QKeySequence(),
        [this] { AddtoWhitelist1Click(); });

    edtAddress->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(edtAddress, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { popEdit->popup(edtAddress->mapToGlobal(pos)); });
    connect(edtAddress, &QLineEdit::returnPressed, this, [this] { go(); });
    connect(btnBack, &QToolButton::clicked, this, [this] { btnBackClick(); });
    connect(btnForward, &QToolButton::clicked, this, [this] { btnForwardClick(); });
    connect(btnRefresh, &QToolButton::clicked, this, [this] { btnRefreshClick(); });
    connect(btnHome, &QToolButton::clicked, this, [this] { btnHomeClick(); });
}
