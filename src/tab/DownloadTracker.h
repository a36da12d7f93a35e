#pragma once

#include "tab/DownloadLedger.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

class QWidget;
class TWVDownloadOperation;

// Follows every download of the program for the main window: keeps its downloadCount and
// isDownloading exact and knows the target paths still being written. Downloads outlive the tab
// that started them, so their tracking objects move here when a tab takes them on.
class TDownloadTracker : public QObject
{
    Q_OBJECT

public:
    // The tracker of a main window, made on first use as its child.
    static TDownloadTracker *For(QWidget *mainWindow);

    // A download is counted from here on; the returned key names it in the calls below.
    quint64 Start();
    // The count is given back at once (a download the user cancelled before it began).
    void GiveBack(quint64 key);
    // The download goes on to targetPath: the tracker keeps the operation and follows its states.
    void Track(quint64 key, TWVDownloadOperation *operation, const QString &targetPath);
    // A path that a running download writes to.
    bool IsBeingWritten(const QString &path) const;
    // A path that a running download writes to, or a file that exists.
    bool IsTaken(const QString &path) const;
    qint32 Count() const { return FLedger.Count(); }

Q_SIGNALS:
    // The count changed; the main window's fields already show it.
    void CountChanged(qint32 count);

private:
    explicit TDownloadTracker(QWidget *mainWindow);
    void StateChanged(quint64 key, TWVDownloadOperation *operation);
    void Publish();
    void Finish(quint64 key);

    TDownloadLedger FLedger;
    quint64 FNextKey = 1;
    QHash<quint64, QString> FTargets;
    QHash<quint64, QPointer<TWVDownloadOperation>> FOperations;
};
