#pragma once

#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

class QWebEnginePage;
class QWebEngineProfile;

// Developer-tools protocol commands for one profile. The engine has no public call for them, so a
// hidden page of the profile is inspected by a hidden developer-tools front end, through whose
// host binding the commands travel; answers come back over that page's console. The pages live only
// while commands are queued. Commands run one at a time, in the order sent.
class TWVDevToolsSession : public QObject
{
    Q_OBJECT

public:
    // ok, and the protocol's error message when not ok.
    using TDone = std::function<void(bool ok, const QString &error)>;

    TWVDevToolsSession(QWebEngineProfile *profile, QObject *owner);
    ~TWVDevToolsSession() override;

    // done is called exactly once, after Send has returned, on the user-interface thread; never after
    // context (or this session) is gone.
    void Send(const QString &method, const QJsonObject &params, QObject *context, TDone done);

private:
    struct TCommand
    {
        qint64 Id = 0;
        QString Method;
        QJsonObject Params;
        QPointer<QObject> Context;
        TDone Done;
    };
    enum TState { dtsClosed, dtsOpening, dtsReady };

    void Open();
    void Close(bool now = false);
    void FrontendLoaded(bool ok);
    void SendNext();
    void Answer(const QString &message);
    void Finish(bool ok, const QString &error);
    void FailAll(const QString &error);

    QPointer<QWebEngineProfile> FProfile;
    QWebEnginePage *FInspected = nullptr;
    QWebEnginePage *FFrontend = nullptr;
    TState FState = dtsClosed;
    QList<TCommand> FQueue;
    bool FBusy = false;
    qint64 FNextId = 1000000000; // far above the front end's own numbering
    QTimer FCommandTimer;
    QTimer FIdleTimer;
};
