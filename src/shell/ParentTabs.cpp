// The tab manager half of the main window: creating, closing, moving and switching tabs.
#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "shell/PublisherPages.h"
#include "shell/TabRules.h"
#include "look/GradientTabBar.h"
#include "look/ToolbarGlyphs.h"
#include "tab/AddressEdit.h"
#include "tab/CFrame.h"
#include "webview/WVBrowser.h"
#include "webview/WVWindowParent.h"

#include <QApplication>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QListWidget>
#include <QToolButton>
#include <QFileInfo>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace {
const char *TabProperty = "orbwellTab";

const QString HotButtonStyle = QStringLiteral(
    "QPushButton { color: white; border: 0; border-radius: 3px; font: 14pt 'Calibri';"
    " background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #658BA7, stop:0.9 #374F60); }");
const QString CloseHoverStyle = QStringLiteral(
    "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 white, stop:1 #FF0000); }");
const QString HomeHoverStyle = QStringLiteral(
    "QPushButton:hover { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 white, stop:1 #008000); }");

// Text as a script string literal: typed quotes or backslashes stay text.
QString ScriptString(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}
} // namespace

void TfrmParent::BuildTabStrip()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    FTabs = new TGradientTabBar(central);
    FPages = new QStackedWidget(central);
    layout->addWidget(FTabs);
    layout->addWidget(FPages, 1);
    setCentralWidget(central);

    ImageList1.append(TToolbarGlyphs::Icon(TToolbarGlyphs::gPage));

    btnTabClose = new QPushButton(QStringLiteral("X"), this);
    btnTabClose->setObjectName(QStringLiteral("btnTabClose"));
    btnHome = new QPushButton(this);
    btnHome->setObjectName(QStringLiteral("btnHome"));
    btnHome->setIcon(TToolbarGlyphs::Icon(TToolbarGlyphs::gHome));
    for (QPushButton *b : {btnTabClose, btnHome}) {
        b->setFixedSize(30, 28);
        b->setCursor(Qt::PointingHandCursor);
        b->setFocusPolicy(Qt::NoFocus);
        b->setProperty("tag", -1);
        b->hide();
    }
    btnTabClose->setStyleSheet(HotButtonStyle + CloseHoverStyle);
    btnHome->setStyleSheet(HotButtonStyle + HomeHoverStyle);
    connect(btnTabClose, &QPushButton::clicked, this, [this] { closeTab(btnTabClose->property("tag").toInt()); });
    connect(btnHome, &QPushButton::clicked, this, [this] {
        TBrowserTab *tab = TabAt(btnHome->property("tag").toInt());
        navigateURL = getHomePage();
        if (tab && tab->OrbwellBrowser())
            tab->OrbwellBrowser()->Navigate(navigateURL);
    });

    tmrMouseDown = new QTimer(this);
    tmrMouseDown->setObjectName(QStringLiteral("tmrMouseDown"));
    tmrMouseDown->setSingleShot(true);
    tmrMouseDown->setInterval(300);

    connect(FTabs, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index != ActiveTabIndex())
            lastActiveTabIndex = ActiveTabIndex();
    });
    connect(FTabs, &QTabBar::currentChanged, this, [this](int index) {
        if (TBrowserTab *tab = TabAt(index))
            FPages->setCurrentWidget(tab);
        if (!FSelectingByCode)
            tbcChildrenTabsChange();
    });
    connect(FTabs, &QTabBar::tabMoved, this, [this] { ShowTabCloseButtonOnHotTab(); });
    connect(FTabs, &TGradientTabBar::DoubleClicked, this, [this](const QPoint &) {
        navigateURL = getHomePage();
        isContextMenuEnabledParent = false;
        createFrame();
    });
    connect(FTabs, &TGradientTabBar::MouseMoved, this, [this](const QPoint &pos) {
        const int hot = FTabs->tabAt(pos);
        if (hot >= 0 && hot != FOldHotTab)
            ShowTabCloseButtonOnHotTab();
        FOldHotTab = hot;
    });
    connect(FTabs, &TGradientTabBar::MouseEntered, this, [this] { ShowTabCloseButtonOnHotTab(); });
    connect(FTabs, &TGradientTabBar::MouseLeft, this, [this] {
        if (!btnTabClose->underMouse() && !btnHome->underMouse()) {
            btnTabClose->hide();
            btnTabClose->setProperty("tag", -1);
            btnHome->hide();
            btnHome->setProperty("tag", -1);
        }
    });
}

int TfrmParent::TabCount() const
{
    return FTabs->count();
}

int TfrmParent::ActiveTabIndex() const
{
    return FTabs->currentIndex();
}

TBrowserTab *TfrmParent::TabAt(int index) const
{
    if (index < 0 || index >= FTabs->count())
        return nullptr;
    return qobject_cast<TBrowserTab *>(FTabs->tabData(index).value<QObject *>());
}

int TfrmParent::IndexOfTab(const TBrowserTab *tab) const
{
    for (int i = 0; i < FTabs->count(); ++i)
        if (TabAt(i) == tab)
            return i;
    return -1;
}

int TfrmParent::AddTabIcon(const QIcon &icon)
{
    ImageList1.append(icon);
    return ImageList1.size() - 1;
}

TBrowserTab *TfrmParent::AddTab(int index)
{
    auto *tab = new TBrowserTab(FPages, GetNextTabID());
    tab->setProperty(TabProperty, true);
    FPages->addWidget(tab);
    FSelectingByCode = true;
    const int at = FTabs->insertTab(index, ImageList1.value(0), QStringLiteral("Orbwell"));
    FSelectingByCode = false;
    FTabs->setTabData(at, QVariant::fromValue<QObject *>(tab));
    connect(tab, &TBrowserTab::CaptionChanged, this, [this](TBrowserTab *t, const QString &caption) {
        const int i = IndexOfTab(t);
        if (i >= 0)
            FTabs->setTabText(i, caption);
    });
    connect(tab, &TBrowserTab::IconChanged, this, [this](TBrowserTab *t, int imageIndex) {
        const int i = IndexOfTab(t);
        if (i >= 0)
            FTabs->setTabIcon(i, ImageList1.value(imageIndex, ImageList1.value(0)));
    });
    return tab;
}

void TfrmParent::createFrame()
{
    // A request, not the tab itself: the tab is made once the current handler has returned.
    QMetaObject::invokeMethod(this, &TfrmParent::newTab, Qt::QueuedConnection);
}

void TfrmParent::newTab()
{
    if (appExit)
        return;
    const bool first = startup;
    const int index = TTabRules::NewTabIndex(Settings.FNextToCurrentTabPage, first, ActiveTabIndex(), TabCount());
    TBrowserTab *tab = AddTab(index);
    SelectTab(IndexOfTab(tab));
    if (navigateURL == TPublisherPages::InterludePage)
        FInterludeTab = tab;
    if (first) {
        startup = false;
        tab->CreateBrowser(FInitialAddress.isEmpty() ? navigateURL : FInitialAddress);
    } else {
        tab->CreateBrowser(navigateURL);
    }
    ShowTabCloseButtonOnHotTab();
}

void TfrmParent::CreateNewTab(TWVNewWindowRequest *args)
{
    if (appExit)
        return;
    const bool background = isContextMenuEnabledParent;
    const int active = ActiveTabIndex();
    const int index = TTabRules::NewTabIndex(Settings.FNextToCurrentTabPage, false, active, TabCount());
    TBrowserTab *tab = AddTab(index);
    if (!background)
        SelectTab(IndexOfTab(tab));
    isContextMenuEnabledParent = false;
    tab->CreateBrowser(args);
    // The tabs moved under the floating buttons.
    ShowTabCloseButtonOnHotTab();
}

void TfrmParent::SelectTab(int index)
{
    if (index < 0 || index >= TabCount())
        return;
    FSelectingByCode = true;
    FTabs->setCurrentIndex(index);
    if (TBrowserTab *tab = TabAt(index))
        FPages->setCurrentWidget(tab);
    FSelectingByCode = false;
}

void TfrmParent::SelectTabByUser(int index)
{
    if (index < 0 || index >= TabCount() || index == ActiveTabIndex())
        return;
    lastActiveTabIndex = ActiveTabIndex();
    FTabs->setCurrentIndex(index);
}

void TfrmParent::tbcChildrenTabsChange()
{
    tmrMouseDown->start();
    TBrowserTab *tab = ActiveTab();
    if (!tab || !tab->Frame())
        return;
    TFrameChild *frame = tab->Frame();
    if (TWVBrowser *browser = tab->OrbwellBrowser(); browser && browser->GetIsDefaultDownloadDialogOpen())
        browser->CloseDefaultDownloadDialog();
    frame->Panel1->setVisible(!FHideToolbar);
    if (!Settings.FAdBlocker)
        frame->btnAdBlocker->setText(QString());
    setDarkMode();
    frame->showAdPanel();
    if (!showPanelAdUrls)
        frame->lstAdUrls->clear();
    FocusActiveWebView();
}

void TfrmParent::FocusActiveWebView()
{
    TBrowserTab *tab = ActiveTab();
    if (!tab || !tab->Frame())
        return;
    TWVWindowParent *host = tab->Frame()->WVWindowParent1;
    if (host && host->isVisible() && host->isEnabled()) {
        host->update();
        host->SetFocus();
    }
}

void TfrmParent::RemoveTab(int index)
{
    TBrowserTab *tab = TabAt(index);
    if (tab && tab->Frame())
        tab->Frame()->ReleaseWindowModes();
    FSelectingByCode = true;
    FTabs->removeTab(index);
    FSelectingByCode = false;
    if (tab) {
        FPages->removeWidget(tab);
        delete tab;
    }
}

void TfrmParent::closeTab(int tabCloseIndex)
{
    if (QThread::currentThread()->loopLevel() > 1) {
        // A dialog or a wait of some tab runs further down the stack; the tab goes after it.
        if (TBrowserTab *tab = TabAt(tabCloseIndex))
            CloseTabOf(tab);
        return;
    }
    btnTabClose->setEnabled(false);
    tabExit = true;
    if (tabCloseIndex >= 0 && tabCloseIndex < TabCount()) {
        if (TabCount() == 1) {
            close();
        } else {
            const int active = ActiveTabIndex();
            if (TBrowserTab *tab = TabAt(tabCloseIndex); tab && tab->OrbwellBrowser())
                tab->OrbwellBrowser()->Stop();
            RemoveTab(tabCloseIndex);
            SelectTab(TTabRules::ActiveIndexAfterClose(tabCloseIndex, active, TabCount()));
            ShowTabCloseButtonOnHotTab();
            setDarkMode();
            if (TBrowserTab *tab = ActiveTab(); tab && tab->Frame())
                tab->Frame()->showAdPanel();
            FocusActiveWebView();
        }
    } else {
        ShowTabCloseButtonOnHotTab();
        FocusActiveWebView();
    }
    btnTabClose->setEnabled(true);
    tabExit = false;
}

TBrowserTab *TfrmParent::InterludeTab() const
{
    return qobject_cast<TBrowserTab *>(FInterludeTab.data());
}

void TfrmParent::CloseTabOf(QWidget *content, bool keepLastTab)
{
    QPointer<QWidget> guarded(content);
    QTimer::singleShot(0, this, [this, guarded, keepLastTab] {
        if (!guarded || (keepLastTab && TabCount() <= 1))
            return;
        if (QApplication::activeModalWidget() || QThread::currentThread()->loopLevel() > 1) {
            // Asked again after the dialog.
            QTimer::singleShot(100, this, [this, guarded, keepLastTab] { CloseTabOf(guarded, keepLastTab); });
            return;
        }
        for (int i = 0; i < TabCount(); ++i) {
            if (TabAt(i) && (TabAt(i) == guarded || TabAt(i)->isAncestorOf(guarded))) {
                closeTab(i);
                return;
            }
        }
    });
}

void TfrmParent::closeAllTabs()
{
    for (int i = TabCount() - 1; i >= 1; --i)
        RemoveTab(i);
}

void TfrmParent::FlipWindow1Click()
{
    lastActiveTabIndex = TTabRules::FlipIndex(lastActiveTabIndex, TabCount());
    SelectTab(lastActiveTabIndex);
}

void TfrmParent::StepToNextWindow1Click()
{
    SelectTab(TTabRules::NextIndex(ActiveTabIndex(), TabCount()));
}

void TfrmParent::tbcChildrenTabsDragDrop(const QPoint &pos)
{
    const int active = ActiveTabIndex();
    for (int i = 0; i < TabCount(); ++i) {
        if (FTabs->tabRect(i).contains(pos)) {
            if (i != active)
                FTabs->moveTab(active, i);
            return;
        }
    }
}

void TfrmParent::ShowTabCloseButtonOnHotTab()
{
    const QPoint mouse = FTabs->mapFromGlobal(QCursor::pos());
    const int hot = FTabs->rect().contains(mouse) ? FTabs->tabAt(mouse) : -1;
    if (hot < 0) {
        btnTabClose->setProperty("tag", -1);
        btnHome->setProperty("tag", -1);
        btnTabClose->hide();
        btnHome->hide();
        return;
    }
    const QRect r(FTabs->mapTo(this, FTabs->tabRect(hot).topLeft()), FTabs->tabRect(hot).size());
    const int top = r.top() + r.height() / 2 - btnTabClose->height() / 2;
    if (FHideToolbar) {
        btnHome->move(r.left(), top);
        btnHome->setProperty("tag", hot);
        btnHome->show();
        btnHome->raise();
    } else {
        btnHome->hide();
        btnHome->setProperty("tag", -1);
    }
    btnTabClose->move(r.right() - btnTabClose->width() + 1, top);
    btnTabClose->setProperty("tag", hot);
    btnTabClose->show();
    btnTabClose->raise();
}

void TfrmParent::newWindow()
{
    TBrowserTab *tab = ActiveTab();
    if (tab && tab->Frame() && tab->OrbwellBrowser() && tab->Initialized()) {
        const QString script =
            QStringLiteral("var hgt=window.screen.height - 165;var wdt=(window.screen.width/2)-608;window.open(")
            + ScriptString(tab->Frame()->edtAddress->text())
            + QStringLiteral(",\"_blank\",\"toolbar=yes,scrollbars=yes,resizable=yes,top=40,left=\"+wdt+\",width=1200,height=\"+hgt)");
        newWindowRequested = true;
        if (tab->OrbwellBrowser()->ExecuteScript(script, static_cast<qint32>(winId())))
            return;
    }
    newWindowRequested = false;
    navigateURL = TPublisherPages::InterludePage;
    createFrame();
}

void TfrmParent::Refresh1Click()
{
    TBrowserTab *tab = ActiveTab();
    if (!tab || !tab->OrbwellBrowser())
        return;
    FocusActiveWebView();
    if (!tab->OrbwellBrowser()->RefreshIgnoreCache()) {
        navigateURL = tab->Frame()->edtAddress->text();
        tab->OrbwellBrowser()->Navigate(navigateURL);
    }
}

void TfrmParent::OpenFile1Click()
{
    const QString filter = QStringLiteral(
        "All Files (*.html *.htm *.txt *.pdf *.mhtml *.png *.jpg *.gif *.mp4 *.mkv *.mp3 *.avi *.webp *.webm *.ogg);;"
        "HTML Files (*.html);;HTML Files (*.htm);;Text Files (*.txt);;PDF Files (*.pdf);;MHTML Files (*.mhtml);;"
        "PNG Files (*.png);;JPEG Files (*.jpg);;GIF Files (*.gif);;MP4 Files (*.mp4);;MKV Files (*.mkv);;"
        "MP3 Files (*.mp3);;AVI Files (*.avi);;WebP Files (*.webp);;WebM Files (*.webm);;OGG Files (*.ogg)");
    const QString fileName = QFileDialog::getOpenFileName(this, QStringLiteral("Open File"), QString(), filter);
    if (!fileName.isEmpty())
        LoadFromFileAsFileURI(fileName);
}

void TfrmParent::LoadFromFileAsFileURI(const QString &fileName)
{
    if (fileName.isEmpty() || !QFileInfo::exists(fileName))
        return;
    // A proper file URL: "file:///" in front of an absolute Linux path would give four slashes.
    navigateURL = QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()).toString();
    TBrowserTab *tab = ActiveTab();
    if (!tab || !tab->Frame())
        return;
    tab->Frame()->edtAddress->ShowAddress(navigateURL);
    if (tab->OrbwellBrowser())
        tab->OrbwellBrowser()->Navigate(navigateURL);
}
