#include "clearing/BrowsingDataClearing.h"

#include "clearing/ClearingRun.h"
#include "clearing/DeleteBrowserHistory.h"
#include "clearing/DeleteDomainData.h"
#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "webview/WVBrowser.h"

#include <QCoreApplication>
#include <QPointer>

namespace TBrowsingDataClearing {

void Install(TfrmParent *parent)
{
    if (!parent || parent->findChild<TfrmDeleteBrowserHistory *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    new TfrmDeleteBrowserHistory(parent);
    new TfrmDeleteDomainData(parent);
    QPointer<TfrmParent> window(parent);
    parent->clearHistoryOnClose = [window] {
        if (window)
            clearHistoryOnClose(window->ActiveTab());
    };
}

TfrmDeleteBrowserHistory *DeleteBrowserHistoryForm()
{
    return frmParent ? frmParent->findChild<TfrmDeleteBrowserHistory *>(QString(), Qt::FindDirectChildrenOnly)
                     : nullptr;
}

TfrmDeleteDomainData *DeleteDomainDataForm()
{
    return frmParent ? frmParent->findChild<TfrmDeleteDomainData *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void clearHistoryOnClose(TBrowserTab *tab)
{
    if (!tab || !frmParent)
        return;
    // The stop of the active page and any download's end arrive as events.
    QPointer<TBrowserTab> guard(tab);
    QCoreApplication::processEvents();
    TWVBrowser *browser = guard ? guard->OrbwellBrowser() : nullptr;
    if (!browser || browser->IsNavigating() || frmParent->isDownloading)
        return;
    TClearingRun run(browser, frmParent);
    run.Run(TClearingRules::PlanSelected(frmParent->Settings, true));
    // The requests are asynchronous; a process that ended now would leave data that was asked gone.
    if (run.Wait(ExitWaitMs) == TClearingRun::coTimedOut)
        qWarning("Clearing browsing data at exit did not finish within %d ms", ExitWaitMs);
}

} // namespace TBrowsingDataClearing
