#include "webview/WVProfileData.h"

#include "webview/WVTypes.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>

namespace {
// A file of the profile's own folder; none for a profile that keeps nothing on disk.
QString ProfileFile(QWebEngineProfile *profile, const QString &name)
{
    if (profile->isOffTheRecord() || profile->persistentStoragePath().isEmpty())
        return {};
    QDir().mkpath(profile->persistentStoragePath());
    return QDir(profile->persistentStoragePath()).filePath(name);
}
const QString FaviconsMark = QStringLiteral("Orbwell Clear Favicons");
} // namespace

TWVProfileData::TWVProfileData(QWebEngineProfile *profile)
    : QObject(profile), FProfile(profile), FDownloads(ProfileFile(profile, QStringLiteral("Orbwell Downloads.txt")))
{
    QWebEngineCookieStore *store = profile->cookieStore();
    connect(store, &QWebEngineCookieStore::cookieAdded, this, [this](const QNetworkCookie &cookie) {
        for (QNetworkCookie &known : FCookies) {
            if (SameCookie(known, cookie)) {
                known = cookie;
                return;
            }
        }
        FCookies.append(cookie);
    });
    connect(store, &QWebEngineCookieStore::cookieRemoved, this, [this](const QNetworkCookie &cookie) {
        FCookies.removeIf([&cookie](const QNetworkCookie &known) { return SameCookie(known, cookie); });
        Q_EMIT CookieRemoved(cookie);
    });
    // The cookies kept from earlier runs arrive through cookieAdded.
    store->loadAllCookies();
}

TWVProfileData *TWVProfileData::For(QWebEngineProfile *profile)
{
    if (!profile)
        return nullptr;
    if (auto *data = profile->findChild<TWVProfileData *>(QString(), Qt::FindDirectChildrenOnly))
        return data;
    return new TWVProfileData(profile);
}

bool TWVProfileData::SameCookie(const QNetworkCookie &a, const QNetworkCookie &b)
{
    return a.hasSameIdentifier(b);
}

QList<QNetworkCookie> TWVProfileData::CookiesFor(const QString &origin) const
{
    QList<QNetworkCookie> result;
    for (const QNetworkCookie &cookie : FCookies)
        if (WVTypes::CookieReachesOrigin(cookie.domain(), origin))
            result.append(cookie);
    return result;
}

void TWVProfileData::AddPage(QWebEnginePage *page)
{
    FPages.removeAll(QPointer<QWebEnginePage>());
    if (page && !FPages.contains(page))
        FPages.append(page);
}

QList<QWebEnginePage *> TWVProfileData::Pages() const
{
    QList<QWebEnginePage *> pages;
    for (const QPointer<QWebEnginePage> &page : FPages)
        if (page)
            pages.append(page.data());
    return pages;
}

bool TWVProfileData::MarkFaviconsForRemoval()
{
    const QString mark = ProfileFile(FProfile, FaviconsMark);
    if (mark.isEmpty())
        return true; // an off-the-record profile keeps no favicon database on disk
    QFile file(mark);
    return file.open(QIODevice::WriteOnly);
}

void TWVProfileData::FinishPendingClears(const QString &storagePath)
{
    QDir folder(storagePath);
    if (storagePath.isEmpty() || !folder.exists(FaviconsMark))
        return;
    for (const QString &name : {QStringLiteral("Favicons"), QStringLiteral("Favicons-journal")}) {
        if (folder.exists(name) && !folder.remove(name)) {
            qWarning("Cannot remove %s", qPrintable(folder.filePath(name)));
            return; // the mark stays for the next start
        }
    }
    folder.remove(FaviconsMark);
}
