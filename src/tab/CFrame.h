#pragma once

#include <QPointer>

#include "webview/WVNewWindowRequest.h"
#include <QWidget>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QSplitter;
class QTimer;
class QToolButton;
class TAddressEdit;
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

    // Runs a modal window behind a temporary tab on the interlude page, then removes that tab.
    // "Add New Tab": the home page, or the interlude page for a temporary tab.
    void btnNewTabClick();
    void RunBehindTemporaryTab(const std::function<bool()> &showModal);

    // Components reached by the tab sheet and the main window.
    QWidget *Panel1 = nullptr;   // toolbar
    QWidget *Panel2 = nullptr;   // right part of the toolbar
    QWidget *Panel3 = nullptr;   // left part of the toolbar
    QWidget *pnlAdList = nullptr;
    QWidget *Panel5 = nullptr;   // the unblocked-URL panel's buttons
    QWidget *Splitter1 = nullptr; // the divider beside the unblocked-URL panel
    QListWidget *lstAdUrls = nullptr;
    QPushButton *btnClearAdList = nullptr;
    QPushButton *btnHideAdList = nullptr;
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
    void AdBlockButtonNeeded();

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

    QString FHomepage;
    void ReleaseArgs();

    QPointer<TWVNewWindowRequest> FArgs;
    bool FDeferral = false;
    QSplitter *FBody = nullptr;
};
