#pragma once

#include <QPointer>
#include <QWidget>

class TFrameChild;
class TWVBrowser;
class TWVNewWindowRequest;

// One page of the tab strip; owns the tab's frame.
class TBrowserTab : public QWidget
{
    Q_OBJECT

public:
    TBrowserTab(QWidget *owner, quint32 tabID);
    ~TBrowserTab() override;

    quint32 TabID() const { return FTabID; }
    bool Initialized() const;
    TFrameChild *Frame() const { return FBrowserFrame; }
    TWVBrowser *OrbwellBrowser() const;

    void CreateFrame(const QString &homepage);
    void CreateFrame(TWVNewWindowRequest *args);
    // The web view is made once the current handler has returned.
    void CreateBrowser(const QString &homepage);
    void CreateBrowser(TWVNewWindowRequest *args);
    void NotifyParentWindowPositionChanged();

Q_SIGNALS:
    void CaptionChanged(TBrowserTab *tab, const QString &caption);
    void IconChanged(TBrowserTab *tab, int imageIndex);

private:
    void CreateFrameOnly();
    void StartBrowserCreation();

    quint32 FTabID;
    TFrameChild *FBrowserFrame = nullptr;
};
