#include "shell/Parent.h"

#include "shell/BrowserTab.h"
#include "shell/DataFolder.h"
#include "shell/PublisherPages.h"
#include "shell/StartArgument.h"
#include "look/GradientTabBar.h"
#include "tab/CFrame.h"
#include "webview/WVBrowser.h"
#include "webview/WVLoader.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

TfrmParent *frmParent = nullptr;

namespace {
const QColor ColorLightWindow(0x22, 0x30, 0x39);
const QColor ColorStartWindow(0x37, 0x4F, 0x60);
} // namespace

TfrmParent::TfrmParent(const QStringList &arguments, const QString &settingsFile, QWidget *parent)
    : QMainWindow(parent),
      FIniFile(settingsFile.isEmpty() ? TDataFolder::PathOf(QStringLiteral("Settings.ini")) : settingsFile)
{
    frmParent = this;
    setObjectName(QStringLiteral("frmParent"));
    setWindowTitle(QStringLiteral("Orbwell - Harbor Class | Created by Brightfold Office"));
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ColorStartWindow);
    setPalette(pal);
    resize(988, 542);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    BuildTabStrip();

    FInitialAddress = StartAddressFromArguments(arguments, QDir::currentPath());
    BuildMenus();
    FormCreate();
}

TfrmParent::~TfrmParent()
{
    if (frmParent == this)
        frmParent = nullptr;
}

void TfrmParent::FormCreate()
{
    readIniFile();
    navigateURL = getHomePage();
    FAdBlockLists = std::make_unique<TAdBlockLists>(QFileInfo(FIniFile.FileName()).absolutePath());
    getAdBlockList();
    getAdBlockWhitelist();
}

namespace {
// A data folder outside the program's own folder starts with the lists the program ships.
void CopyShippedList(const QString &target)
{
    const QString shipped = QDir(QCoreApplication::applicationDirPath()).filePath(QFileInfo(target).fileName());
    if (!QFileInfo::exists(target) && QFileInfo::exists(shipped) && QFileInfo(shipped) != QFileInfo(target)) {
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::copy(shipped, target);
    }
}
} // namespace

void TfrmParent::getAdBlockList()
{
    CopyShippedList(FAdBlockLists->BlockListPath());
    const TListFileResult result = FAdBlockLists->getAdBlockList();
    if (result.Status == TListFileStatus::Missing)
        Settings.FAdBlocker = false; // for this run only; the settings file keeps its value
    else if (result.Status == TListFileStatus::Failed)
        QMessageBox::critical(this, windowTitle(), result.ErrorText);
}

void TfrmParent::getAdBlockWhitelist()
{
    CopyShippedList(FAdBlockLists->WhitelistPath());
    const TListFileResult result = FAdBlockLists->getAdBlockWhitelist();
    if (result.Status == TListFileStatus::Missing)
        Settings.FAdBlocker = false;
    else if (result.Status == TListFileStatus::Failed)
        QMessageBox::critical(this, windowTitle(), result.ErrorText);
}

QString TfrmParent::getDefaultPath()
{
    return TDataFolder::DefaultDocumentsFolder();
}

void TfrmParent::readIniFile()
{
    Settings.Read(FIniFile, getDefaultPath());
    if (MainMenu1)
        MainMenu1->setVisible(Settings.FMenuToolbar);
}

QString TfrmParent::getHomePage() const
{
    return TPublisherPages::HomePageFor(Settings.FDefaultHomePageIndex);
}

bool TfrmParent::WriteSetting(const QString &section, const QString &key, bool value)
{
    QString error;
    if (FIniFile.WriteBool(section, key, value, &error))
        return true;
    QMessageBox::critical(this, QApplication::applicationDisplayName(), error + QLatin1Char('.'));
    return false;
}

QColor TfrmParent::WindowBackground(bool dark)
{
    return dark ? QColor(Qt::black) : ColorLightWindow;
}

void TfrmParent::setDarkMode()
{
    if (ActiveTabIndex() < 0)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, WindowBackground(Settings.FDarkMode));
    setPalette(pal);
    if (TBrowserTab *tab = ActiveTab(); tab && tab->Frame())
        tab->Frame()->ApplyPalette(Settings.FDarkMode);
    Q_EMIT DarkModeChanged(Settings.FDarkMode);
}

void TfrmParent::BuildMenus()
{
    MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    QMenu *nwFile = MainMenu1->addMenu(QStringLiteral("File         "));
    nwFile->setObjectName(QStringLiteral("nwFile"));
    QAction *FileNewItem = nwFile->addAction(QStringLiteral("New Tab"));
    FileNewItem->setObjectName(QStringLiteral("FileNewItem"));
    connect(FileNewItem, &QAction::triggered, this, [this] { createFrame(); });
    nwFile->addSeparator();
    QAction *FileExitItem = nwFile->addAction(QStringLiteral("Exit"));
    FileExitItem->setObjectName(QStringLiteral("FileExitItem"));
    connect(FileExitItem, &QAction::triggered, this, [this] { close(); });

    QMenu *nwWindow = MainMenu1->addMenu(QStringLiteral("Window     "));
    nwWindow->setObjectName(QStringLiteral("nwWindow"));
    QAction *FlipWindow1 = nwWindow->addAction(QStringLiteral("Flip To Last Active Window"));
    FlipWindow1->setObjectName(QStringLiteral("FlipWindow1"));
    QAction *StepToNextWindow1 = nwWindow->addAction(QStringLiteral("Step To Next Window"));
    StepToNextWindow1->setObjectName(QStringLiteral("StepToNextWindow1"));
    nwWindow->addSeparator();
    QAction *CloseAllWindows1 = nwWindow->addAction(QStringLiteral("Refresh and Restart Orbwell"));
    CloseAllWindows1->setObjectName(QStringLiteral("CloseAllWindows1"));
    connect(CloseAllWindows1, &QAction::triggered, this, [this] { CloseAllWindows1Click(); });
    nwWindow->addSeparator();
    QAction *AboutOrbwellBrowser1 = nwWindow->addAction(QStringLiteral("About Orbwell Browser..."));
    AboutOrbwellBrowser1->setObjectName(QStringLiteral("AboutOrbwellBrowser1"));
    MainMenu1->setVisible(false);

    popToolbar = new QMenu(this);
    popToolbar->setObjectName(QStringLiteral("popToolbar"));
    ShowToolbar1 = popToolbar->addAction(QStringLiteral("Hide Toolbar"));
    ShowToolbar1->setObjectName(QStringLiteral("ShowToolbar1"));
    ShowToolbar1->setCheckable(true);
    connect(ShowToolbar1, &QAction::triggered, this, [this] { ShowToolbar1Click(); });
    popToolbar->addSeparator();
    QAction *Refresh1 = popToolbar->addAction(QStringLiteral("Refresh"));
    Refresh1->setObjectName(QStringLiteral("Refresh1"));
    QAction *NewWindow1 = popToolbar->addAction(QStringLiteral("New Window"));
    NewWindow1->setObjectName(QStringLiteral("NewWindow1"));
    popToolbar->addSeparator();
    QAction *OpenFile1 = popToolbar->addAction(QStringLiteral("Open File..."));
    OpenFile1->setObjectName(QStringLiteral("OpenFile1"));
    connect(popToolbar, &QMenu::aboutToShow, this, [this] { ShowToolbar1->setChecked(FHideToolbar); });
    connect(Refresh1, &QAction::triggered, this, [this] { Refresh1Click(); });
    connect(NewWindow1, &QAction::triggered, this, [this] { newWindow(); });
    connect(OpenFile1, &QAction::triggered, this, [this] { OpenFile1Click(); });
    connect(FlipWindow1, &QAction::triggered, this, [this] { FlipWindow1Click(); });
    connect(StepToNextWindow1, &QAction::triggered, this, [this] { StepToNextWindow1Click(); });
    FTabs->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FTabs, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { popToolbar->popup(FTabs->mapToGlobal(pos)); });
}

void TfrmParent::ShowToolbar1Click()
{
    FHideToolbar = !FHideToolbar;
    TBrowserTab *tab = ActiveTab();
    if (!tab || !tab->Frame())
        return;
    if (FHideToolbar) {
        tab->Frame()->Panel1->hide();
    } else {
        ShowTabCloseButtonOnHotTab();
        tab->Frame()->Panel1->show();
    }
    FocusActiveWebView();
}

void TfrmParent::CloseAllWindows1Click()
{
    refreshRestart = true;
    close();
}

void TfrmParent::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TfrmParent::FormShow()
{
    if (!GlobalWebView2Loader)
        return;
    if (GlobalWebView2Loader->InitializationError()) {
        // After the window is up, so the box sits over it.
        QTimer::singleShot(0, this, [this] { ShowEngineErrors(); });
        return;
    }
    if (GlobalWebView2Loader->Initialized())
        RequestFirstTab();
}

void TfrmParent::ShowEngineErrors()
{
    if (FEngineErrorsShown || !GlobalWebView2Loader)
        return;
    FEngineErrorsShown = true;
    QMessageBox box(QMessageBox::NoIcon, windowTitle(), GlobalWebView2Loader->ErrorMessage().trimmed(),
                    QMessageBox::Ok, this);
    box.exec();
}

void TfrmParent::GlobalWebView2Loader_OnEnvironmentCreated()
{
    QMetaObject::invokeMethod(this, &TfrmParent::WVInitializedMsg, Qt::QueuedConnection);
}

void TfrmParent::WVInitializedMsg()
{
    // The engine may answer after the window is shown; the first tab then waits for this moment.
    if (isVisible())
        RequestFirstTab();
}

void TfrmParent::RequestFirstTab()
{
    // Show and the engine's answer may both arrive before the queued tab exists: ask once.
    if (FFirstTabRequested || !startup || appExit)
        return;
    FFirstTabRequested = true;
    createFrame();
}

void TfrmParent::moveEvent(QMoveEvent *event)
{
    QMainWindow::moveEvent(event);
    for (int i = 0; i < TabCount(); ++i)
        if (TBrowserTab *tab = TabAt(i))
            tab->NotifyParentWindowPositionChanged();
    Q_EMIT ParentWindowPositionChanged();
}

void TfrmParent::closeEvent(QCloseEvent *event)
{
    FormClose();
    event->accept();
}

void TfrmParent::FormClose()
{
    if (appExit)
        return;
    appExit = true;
    if (TBrowserTab *tab = ActiveTab(); tab && tab->OrbwellBrowser())
        tab->OrbwellBrowser()->Stop();
    try {
        if (Settings.FDeleteHistoryOnClose && ActiveTab() && !isDownloading && clearHistoryOnClose)
            clearHistoryOnClose();
    } catch (...) {
    }
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}
