#pragma once

#include <QList>
#include <QNetworkCookie>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWebEngineProfile;
class TWVDevToolsSession;

// Clears what one origin keeps in one profile (TWVOriginStorage bits): its cookies through the
// profile's cookie store, its storage with the engine's own clear-data command for that origin.
// Finished comes once, after every part has been done or has failed.
class TWVStorageClearer : public QObject
{
    Q_OBJECT

public:
    TWVStorageClearer(QWebEngineProfile *profile, TWVDevToolsSession *session, const QString &origin,
                      quint32 storage, QObject *owner);

    // False (and no Finished) when the origin or the profile is unusable.
    bool Start();
    QString ErrorText() const { return FErrorText; }

Q_SIGNALS:
    void Finished(bool success);

private:
    void StartCookies();
    void StartStorage();
    void CookieRemoved(const QNetworkCookie &cookie);
    void PartDone(bool success, const QString &error = QString());

    QPointer<QWebEngineProfile> FProfile;
    QPointer<TWVDevToolsSession> FSession;
    QString FOrigin;
    quint32 FStorage;
    int FPending = 0;
    bool FSuccess = true;
    bool FFinished = false;
    QString FErrorText;
    QList<QNetworkCookie> FCookiesToGo;
    QTimer FCookieTimer;
};
