#include "tab/DownloadLedger.h"

#include "webview/WVTypes.h"

void TDownloadLedger::Hold(quint64 download)
{
    FHeld.insert(download);
}

void TDownloadLedger::Release(quint64 download)
{
    FHeld.remove(download);
}

void TDownloadLedger::StateChanged(quint64 download, int state)
{
    if (state == wvdsInProgress)
        Hold(download);
    else if (state == wvdsInterrupted || state == wvdsCompleted)
        Release(download);
}
