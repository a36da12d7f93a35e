#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QUrl>

class TWVBrowserBase;
class TWVPage;
class TWVPopupWindow;
class QWebEngineProfile;
class QWidget;

// A page's request for a new window, as raised by OnNewWindowRequested.
//
// A handler answers in one of three ways before it returns: SetNewWindow with an initialized browser
// component (the request opens in that web view); Handled true without a window (nothing opens);
// or Handled false (the engine opens its own pop-up window). A handler that needs time (for instance
// to create a tab first) calls GetDeferral: the object then stays alive after the handler, the page
// opened by the request waits unseen, and the owner later calls SetNewWindow and Complete. Complete
// without a window follows Handled as above.
//
// The object belongs to the component that raised it and goes with that component, so an owner keeps
// it in a QPointer. After Complete the owner may delete it; deleting it before drops the waiting page.
class TWVNewWindowRequest : public QObject
{
    Q_OBJECT

public:
    ~TWVNewWindowRequest() override;

    QUrl Uri() const { return FUri; }
    bool IsUserInitiated() const { return FIsUserInitiated; }
    QRect RequestedGeometry() const { return FGeometry; }
    bool Handled() const { return FHandled; }
    void SetHandled(bool handled) { FHandled = handled; }

    bool GetDeferral();
    bool IsDeferred() const { return FDeferred; }
    // False when the browser is not initialized or a window was given already.
    bool SetNewWindow(TWVBrowserBase *browser);
    // Ends a deferred request; false when it was not deferred or is complete already.
    bool Complete();

private:
    friend class TWVBrowserBase;
    TWVNewWindowRequest(const QUrl &uri, bool userInitiated, const QRect &geometry, QWidget *popupOwner,
                        QObject *owner);
    // The engine's own stand-alone window for the request, over the given page or a new one.
    TWVPopupWindow *OpenOwnPopup(TWVPage *page, bool show = true);

    QUrl FUri;
    bool FIsUserInitiated;
    QRect FGeometry;
    QPointer<QWidget> FPopupOwner;
    QPointer<QWebEngineProfile> FProfile;
    bool FHandled = false;
    bool FDeferred = false;
    bool FCompleted = false;
    bool FInsideHandler = true;
    QPointer<TWVBrowserBase> FNewWindow;
    QPointer<TWVPage> FHeldPage;
};
