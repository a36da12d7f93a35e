#include "webview/WVDownloadOperation.h"

#include "webview/WVTypes.h"

#include <QDir>
#include <QHash>
#include <QWebEngineDownloadRequest>

namespace {
using TDownloadKey = QPair<const QWebEngineProfile *, quint32>;

QHash<TDownloadKey, QPointer<TWVDownloadOperation>> &RunningDownloads()
{
    static QHash<TDownloadKey, QPointer<TWVDownloadOperation>> downloads;
    return downloads;
}
} // namespace

TWVDownloadOperation::TWVDownloadOperation(QWebEngineDownloadRequest *request, qint32 id, QObject *owner)
    : QObject(owner), FRequest(request), FId(id)
{
    Follow(request);
}

void TWVDownloadOperation::Follow(QWebEngineDownloadRequest *request)
{
    connect(request, &QWebEngineDownloadRequest::stateChanged, this, [this] {
        // The engine also reports the request state before acceptance; owners see each state once.
        const int state = State();
        if (state < 0 || state == FLastState)
            return;
        FLastState = state;
        Q_EMIT OnStateChanged(this, FId);
    });
    connect(request, &QWebEngineDownloadRequest::receivedBytesChanged, this,
            [this] { Q_EMIT OnBytesReceivedChanged(this, FId); });
}

int TWVDownloadOperation::State() const
{
    if (!FRequest)
        return wvdsInterrupted;
    switch (FRequest->state()) {
    case QWebEngineDownloadRequest::DownloadInProgress:
        return wvdsInProgress;
    case QWebEngineDownloadRequest::DownloadCompleted:
        return wvdsCompleted;
    case QWebEngineDownloadRequest::DownloadCancelled:
    case QWebEngineDownloadRequest::DownloadInterrupted:
        return wvdsInterrupted;
    case QWebEngineDownloadRequest::DownloadRequested:
        break;
    }
    return -1;
}

QUrl TWVDownloadOperation::Uri() const
{
    return FRequest ? FRequest->url() : QUrl();
}

QString TWVDownloadOperation::ResultFilePath() const
{
    if (!FRequest)
        return {};
    return QDir(FRequest->downloadDirectory()).filePath(FRequest->downloadFileName());
}

qint64 TWVDownloadOperation::BytesReceived() const
{
    return FRequest ? FRequest->receivedBytes() : 0;
}

qint64 TWVDownloadOperation::TotalBytesToReceive() const
{
    return FRequest ? FRequest->totalBytes() : -1;
}

QString TWVDownloadOperation::InterruptReason() const
{
    return FRequest ? FRequest->interruptReasonString() : QString();
}

void TWVDownloadOperation::Register(const QWebEngineProfile *profile)
{
    if (!FRequest)
        return;
    FDirectory = FRequest->downloadDirectory();
    FFileName = FRequest->downloadFileName();
    auto &downloads = RunningDownloads();
    for (auto it = downloads.begin(); it != downloads.end();)
        it = it.value() ? std::next(it) : downloads.erase(it);
    downloads.insert({profile, FRequest->id()}, this);
}

TWVDownloadOperation *TWVDownloadOperation::Running(const QWebEngineProfile *profile, quint32 engineId)
{
    return RunningDownloads().value({profile, engineId}).data();
}

void TWVDownloadOperation::Restart(QWebEngineDownloadRequest *request)
{
    if (!request || request == FRequest)
        return;
    if (FRequest)
        FRequest->disconnect(this);
    FRequest = request;
    Follow(request);
    request->setDownloadDirectory(FDirectory);
    request->setDownloadFileName(FFileName);
    request->accept();
}

bool TWVDownloadOperation::Cancel()
{
    if (!FRequest || FRequest->isFinished())
        return false;
    FRequest->cancel();
    return true;
}

bool TWVDownloadOperation::Pause()
{
    if (!FRequest || FRequest->isFinished() || FRequest->isPaused())
        return false;
    FRequest->pause();
    return true;
}

bool TWVDownloadOperation::Resume()
{
    if (!FRequest || !FRequest->isPaused())
        return false;
    FRequest->resume();
    return true;
}
