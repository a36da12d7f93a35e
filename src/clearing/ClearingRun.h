#pragma once

#include "clearing/ClearingRules.h"

#include <QObject>
#include <QPointer>
#include <QSet>

class QWidget;
class TWVBrowserBase;

// Sends clearing steps to one browser component and follows their completions. A refused request
// is reported at once in an information box with its step's message; the others still go.
class TClearingRun : public QObject
{
    Q_OBJECT

public:
    enum TOutcome { coCleared, coFailed, coTimedOut };

    TClearingRun(TWVBrowserBase *browser, QWidget *messageParent, QObject *parent = nullptr);

    // Sends every step; returns once the last request has been sent. The pauses block, as designed:
    // they only space the requests out.
    void Run(const QList<TClearStep> &steps);
    // Lets events run until every accepted request has completed, or msecs have passed.
    // coCleared only when nothing was refused and every request completed successfully.
    TOutcome Wait(int msecs);
    int Accepted() const { return FAccepted; }
    int Refused() const { return FRefused; }

private:
    QPointer<TWVBrowserBase> FBrowser;
    QPointer<QWidget> FMessageParent;
    int FAccepted = 0;
    int FRefused = 0;
    int FCompleted = 0;
    int FFailed = 0;
    QSet<qint32> FPending;
};
