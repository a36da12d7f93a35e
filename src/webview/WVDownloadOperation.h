#pragma once

#include <QObject>
#include <QPointer>
#include <QUrl>

class QWebEngineDownloadRequest;
class QWebEngineProfile;

// One download a web view started, as its owner follows it. Owned by the browser component that
// raised the download; an owner that keeps it after the download ends may delete it.
class TWVDownloadOperation : public QObject
{
    Q_OBJECT

public:
    TWVDownloadOperation(QWebEngineDownloadRequest *request, qint32 id, QObject *owner);

    qint32 Id() const { return FId; }
    // TWVDownloadState; a download the user or the engine cancelled counts as interrupted.
    int State() const;
    QUrl Uri() const;
    QString ResultFilePath() const;
    qint64 BytesReceived() const;
    qint64 TotalBytesToReceive() const;
    QString InterruptReason() const;
    bool Cancel();
    bool Pause();
    bool Resume();

    // The engine restarts a download that failed on the network as a new request of the same download.
    // The component registers each download it lets go on, so that such a restart is recognised (before
    // its page is asked for: the page may be gone) and followed by the same operation to the same file.
    void Register(const QWebEngineProfile *profile);
    static TWVDownloadOperation *Running(const QWebEngineProfile *profile, quint32 engineId);
    void Restart(QWebEngineDownloadRequest *request);

Q_SIGNALS:
    void OnStateChanged(TWVDownloadOperation *operation, qint32 id);
    void OnBytesReceivedChanged(TWVDownloadOperation *operation, qint32 id);

private:
    void Follow(QWebEngineDownloadRequest *request);

    QPointer<QWebEngineDownloadRequest> FRequest;
    QString FDirectory;
    QString FFileName;
    qint32 FId;
    int FLastState = -1;
};
