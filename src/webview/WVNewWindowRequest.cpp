#include "webview/WVNewWindowRequest.h"

#include "webview/WVBrowserBase.h"
#include "webview/WVPage.h"
#include "webview/WVPopupWindow.h"

#include <QWebEngineProfile>

TWVNewWindowRequest::TWVNewWindowRequest(const QUrl &uri, bool userInitiated, const QRect &geometry,
                                         QWidget *popupOwner, QObject *owner)
    : QObject(owner), FUri(uri), FIsUserInitiated(userInitiated), FGeometry(geometry), FPopupOwner(popupOwner)
{
}

TWVNewWindowRequest::~TWVNewWindowRequest() = default; // a page still held here goes with it

bool TWVNewWindowRequest::GetDeferral()
{
    if (!FInsideHandler || FDeferred)
        return false;
    FDeferred = true;
    return true;
}

bool TWVNewWindowRequest::SetNewWindow(TWVBrowserBase *browser)
{
    if (!browser || !browser->Initialized() || FNewWindow || FCompleted)
        return false;
    if (FInsideHandler) {
        // The component opens the request in this browser's page once the handler returns.
        FNewWindow = browser;
        return true;
    }
    if (!FHeldPage || !browser->AdoptPage(FHeldPage))
        return false;
    FNewWindow = browser;
    return true;
}

bool TWVNewWindowRequest::Complete()
{
    if (!FDeferred || FCompleted)
        return false;
    FCompleted = true;
    if (FInsideHandler)
        return true; // completed before the handler returned: answered as if never deferred
    if (!FNewWindow && FHeldPage) {
        if (!FHandled)
            OpenOwnPopup(FHeldPage);
        else
            delete FHeldPage.data();
    }
    return true;
}

TWVPopupWindow *TWVNewWindowRequest::OpenOwnPopup(TWVPage *page, bool show)
{
    if (page)
        page->setUrlRequestInterceptor(nullptr); // the opener's filter may not outlive the pop-up
    auto *popup = new TWVPopupWindow(FProfile, FPopupOwner, page);
    if (FGeometry.isValid())
        popup->resize(FGeometry.size());
    if (show)
        popup->show();
    return popup;
}
