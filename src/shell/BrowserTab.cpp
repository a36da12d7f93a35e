#include "shell/BrowserTab.h"

#include "tab/CFrame.h"

#include <QVBoxLayout>

TBrowserTab::TBrowserTab(QWidget *owner, quint32 tabID) : QWidget(owner), FTabID(tabID)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

TBrowserTab::~TBrowserTab() = default;

bool TBrowserTab::Initialized() const
{
    return FBrowserFrame && FBrowserFrame->Initialized();
}

TWVBrowser *TBrowserTab::OrbwellBrowser() const
{
    return FBrowserFrame ? FBrowserFrame->WVBrowser1 : nullptr;
}

void TBrowserTab::CreateFrameOnly()
{
    if (FBrowserFrame)
        return;
    FBrowserFrame = new TFrameChild(this);
    FBrowserFrame->setObjectName(QStringLiteral("BrowserFrame%1").arg(FTabID));
    layout()->addWidget(FBrowserFrame);
    connect(FBrowserFrame, &TFrameChild::OnBrowserTitleChange, this,
            [this](QObject *, const QString &title) { Q_EMIT CaptionChanged(this, title); });
    connect(FBrowserFrame, &TFrameChild::OnBrowserFaviconChange, this,
            [this](QObject *, int index) { Q_EMIT IconChanged(this, index); });
    FBrowserFrame->CreateAllHandles();
}

void TBrowserTab::CreateFrame(const QString &homepage)
{
    CreateFrameOnly();
    FBrowserFrame->SetHomepage(homepage);
}

void TBrowserTab::CreateFrame(TWVNewWindowRequest *args)
{
    CreateFrame(QString());
    FBrowserFrame->SetArgs(args);
}

void TBrowserTab::StartBrowserCreation()
{
    // Queued like the hand-over of a new tab: the caller returns before the view exists.
    QPointer<TFrameChild> frame = FBrowserFrame;
    QMetaObject::invokeMethod(
        this, [frame] { if (frame) frame->CreateBrowser(); }, Qt::QueuedConnection);
}

void TBrowserTab::CreateBrowser(const QString &homepage)
{
    CreateFrame(homepage);
    StartBrowserCreation();
}

void TBrowserTab::CreateBrowser(TWVNewWindowRequest *args)
{
    CreateFrame(args);
    StartBrowserCreation();
}

void TBrowserTab::NotifyParentWindowPositionChanged()
{
    if (FBrowserFrame)
        FBrowserFrame->NotifyParentWindowPositionChanged();
}
