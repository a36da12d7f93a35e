#pragma once

#include <QList>
#include <QNetworkCookie>
#include <QObject>
#include <QPointer>
#include <QTimer>

class QWebEngineProfile;
class QWebEnginePage;
class TWVProfileData;

// Clears what one origin keeps in one profile (TWVOriginStorage bits): its cookies through the
// profile's cookie store, its storage by script in a hidden page of that origin. Finished comes
// once, after every part has been done or has failed.
class TWVStorageClearer : public QObject
{
    Q_OBJECT

public:
    TWVStorageClearer(QWebEngineProfile *profile, const QString &origin, quint32 storage, QObject *owner);

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
    // Why a part the page could not see into cannot be called cleared; empty when it has nothing.
    QString Unclearable(const QString &part) const;

    QPointer<QWebEngineProfile> FProfile;
    QString FOrigin;
    quint32 FStorage;
    int FPending = 0;
    bool FSuccess = true;
    bool FFinished = false;
    QString FErrorText;
    QList<QNetworkCookie> FCookiesToGo;
    QWebEnginePage *FPage = nullptr;
    QTimer FCookieTimer;
};
