#pragma once

class TBrowserTab;
class TfrmDeleteBrowserHistory;
class TfrmDeleteDomainData;
class TfrmParent;

// The clearing feature's place in the main window: its two dialogs, made once with the window and
// reused, and the clearing of the chosen categories at exit.
namespace TBrowsingDataClearing {

// The longest the exit waits for its clearing to complete.
constexpr int ExitWaitMs = 10000;
// The longest a command waits for its clearing to complete before it gives up reporting.
constexpr int CommandWaitMs = 60000;

// Makes the dialogs and sets the window's exit hook; later calls do nothing.
void Install(TfrmParent *parent);
TfrmDeleteBrowserHistory *DeleteBrowserHistoryForm();
TfrmDeleteDomainData *DeleteDomainDataForm();

// The exit variant of clearing the chosen categories, through the given (active) tab. Runs only
// when that tab's page is not loading and no download runs, once pending events have run; waits
// (bounded) until the engine has finished, so that nothing chosen survives the run.
void clearHistoryOnClose(TBrowserTab *tab);

} // namespace TBrowsingDataClearing
