#pragma once

#include <QList>
#include <QNetworkCookie>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWebEngineProfile;
class TWVDevToolsSession;

// Clears kinds of browsing data (TWVBrowsingDataKinds) of a whole profile, for all time and every
// origin. Finished comes once, with a negative code when any part could not be cleared.
class TWVBrowsingDataClearer : public QObject
{
    Q_OBJECT

public:
    TWVBrowsingDataClearer(QWebEngineProfile *profile, TWVDevToolsSession *session, quint32 kinds, QObject *owner);

    bool Start();

Q_SIGNALS:
    void Finished(qint32 errorCode);

private:
    void ClearCookies();
    void CookiesDone(bool success);
    void SendCommands();
    void PartDone(bool success, const QString &error = QString());

    QPointer<QWebEngineProfile> FProfile;
    QPointer<TWVDevToolsSession> FSession;
    quint32 FKinds;
    bool FDiskCache = false;
    quint32 FOriginStorage = 0;
    int FPending = 0;
    bool FSuccess = true;
    bool FStarted = false;
    bool FFinished = false;
    QList<QNetworkCookie> FCookiesToGo;
    QTimer FCookieTimer;
};
