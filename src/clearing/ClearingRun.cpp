#include "clearing/ClearingRun.h"

#include "webview/WVBrowserBase.h"

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QThread>
#include <QTimer>

TClearingRun::TClearingRun(TWVBrowserBase *browser, QWidget *messageParent, QObject *parent)
    : QObject(parent), FBrowser(browser), FMessageParent(messageParent)
{
    if (browser) {
        // Only this run's own requests count: the tab may still be finishing earlier ones.
        connect(browser, &TWVBrowserBase::OnClearBrowsingDataRequestCompleted, this, [this](qint32 id, qint32 code) {
            if (!FPending.remove(id))
                return;
            ++FCompleted;
            if (code < 0)
                ++FFailed;
        });
    }
}

void TClearingRun::Run(const QList<TClearStep> &steps)
{
    for (const TClearStep &step : steps) {
        if (step.Kind == TClearStep::csPause) {
            QThread::msleep(step.PauseMs);
            continue;
        }
        bool accepted = false;
        qint32 id = 0;
        if (FBrowser && step.Kind == TClearStep::csDeleteAllCookies)
            accepted = FBrowser->DeleteAllCookies();
        else if (FBrowser)
            accepted = FBrowser->ClearBrowsingData(step.DataKind, &id);
        if (step.Kind == TClearStep::csClearKind && accepted) {
            ++FAccepted;
            FPending.insert(id);
        }
        if (accepted || step.FailureMessage.isEmpty())
            continue;
        ++FRefused;
        QMessageBox::information(FMessageParent, QApplication::applicationDisplayName(), step.FailureMessage);
    }
}

TClearingRun::TOutcome TClearingRun::Wait(int msecs)
{
    if (FCompleted < FAccepted && FBrowser) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        // Checked after each completion handler has run, so the last one ends the wait.
        connect(FBrowser, &TWVBrowserBase::OnClearBrowsingDataRequestCompleted, &loop,
                [this, &loop] {
                    if (FCompleted >= FAccepted)
                        loop.quit();
                },
                Qt::QueuedConnection);
        connect(FBrowser, &QObject::destroyed, &loop, &QEventLoop::quit);
        timer.start(msecs);
        loop.exec();
    }
    if (FCompleted < FAccepted)
        return coTimedOut;
    return FRefused == 0 && FFailed == 0 ? coCleared : coFailed;
}
