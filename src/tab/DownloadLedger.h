#pragma once

#include <QSet>
#include <QtGlobal>

// The program-wide count of running downloads. Each download holds the count at most once, however
// its states arrive (an interrupted download that resumes holds it again), so the count is exact.
class TDownloadLedger
{
public:
    // The download starts holding the count (nothing happens when it already holds it).
    void Hold(quint64 download);
    // The download gives its hold back (nothing happens when it holds none).
    void Release(quint64 download);
    // A state of TWVDownloadState: in progress holds, interrupted and completed release.
    void StateChanged(quint64 download, int state);
    bool Holds(quint64 download) const { return FHeld.contains(download); }
    qint32 Count() const { return qint32(FHeld.size()); }

private:
    QSet<quint64> FHeld;
};
