#include "tab/DownloadTracker.h"

#include "shell/Parent.h"
#include "webview/WVDownloadOperation.h"
#include "webview/WVTypes.h"

#include <QFileInfo>

TDownloadTracker *TDownloadTracker::For(QWidget *mainWindow)
{
    if (!mainWindow)
        return nullptr;
    if (auto *tracker = mainWindow->findChild<TDownloadTracker *>(QString(), Qt::FindDirectChildrenOnly))
        return tracker;
    return new TDownloadTracker(mainWindow);
}

TDownloadTracker::TDownloadTracker(QWidget *mainWindow) : QObject(mainWindow)
{
    setObjectName(QStringLiteral("DownloadTracker"));
}

quint64 TDownloadTracker::Start()
{
    const quint64 key = FNextKey++;
    FLedger.Hold(key);
    Publish();
    return key;
}

void TDownloadTracker::GiveBack(quint64 key)
{
    FLedger.Release(key);
    Publish();
}

void TDownloadTracker::Track(quint64 key, TWVDownloadOperation *operation, const QString &targetPath)
{
    if (!operation) {
        GiveBack(key);
        return;
    }
    FTargets.insert(key, QFileInfo(targetPath).absoluteFilePath());
    FOperations.insert(key, operation);
    operation->setParent(this);
    connect(operation, &TWVDownloadOperation::OnStateChanged, this,
            [this, key](TWVDownloadOperation *op, qint32) { StateChanged(key, op); });
    // Should the engine drop the download without a last state, its count must not stay held.
    connect(operation, &QObject::destroyed, this, [this, key] {
        FOperations.remove(key);
        FTargets.remove(key);
        FLedger.Release(key);
        Publish();
    });
    // The state may have moved on before the operation came here.
    StateChanged(key, operation);
}

void TDownloadTracker::StateChanged(quint64 key, TWVDownloadOperation *operation)
{
    const int state = operation->State();
    if (state == wvdsInProgress) {
        FLedger.StateChanged(key, state);
        Publish();
    } else if (state == wvdsInterrupted || state == wvdsCompleted) {
        Finish(key);
    }
}

void TDownloadTracker::Finish(quint64 key)
{
    FLedger.Release(key);
    Publish();
    // A finished download is only told about once more, to its other listeners, in this same event.
    if (TWVDownloadOperation *operation = FOperations.value(key); operation && operation->State() == wvdsCompleted)
        operation->deleteLater();
}

bool TDownloadTracker::IsBeingWritten(const QString &path) const
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (auto it = FTargets.cbegin(); it != FTargets.cend(); ++it)
        if (FLedger.Holds(it.key()) && it.value() == absolute)
            return true;
    return false;
}

bool TDownloadTracker::IsTaken(const QString &path) const
{
    return IsBeingWritten(path) || QFileInfo::exists(path);
}

void TDownloadTracker::Publish()
{
    auto *window = qobject_cast<TfrmParent *>(parent());
    if (window) {
        window->downloadCount = FLedger.Count();
        window->isDownloading = FLedger.Count() > 0;
    }
    Q_EMIT CountChanged(FLedger.Count());
}
