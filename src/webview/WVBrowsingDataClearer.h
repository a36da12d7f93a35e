#pragma once

#include <QList>
#include <QNetworkCookie>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class QWebEngineProfile;

// Clears kinds of browsing data (TWVBrowsingDataKinds) of a whole profile, for all time. Per-origin
// storage is cleared for every origin the profile has loaded a document from. Finished comes once,
// with a negative code when any part could not be cleared.
class TWVBrowsingDataClearer : public QObject
{
    Q_OBJECT

public:
    TWVBrowsingDataClearer(QWebEngineProfile *profile, quint32 kinds, QObject *owner);

    bool Start();

Q_SIGNALS:
    void Finished(qint32 errorCode);

private:
    void ClearCookies();
    void NextOrigin();
    void Finish();

    QPointer<QWebEngineProfile> FProfile;
    quint32 FKinds;
    quint32 FOriginStorage = 0;
    bool FSuccess = true;
    bool FStarted = false;
    QList<QNetworkCookie> FCookiesToGo;
    QStringList FOrigins;
    QTimer FCookieTimer;
};
