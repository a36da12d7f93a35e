#pragma once

#include <QString>

// The publisher's pages ship inside the program under its own URL scheme, so they work offline.
namespace TPublisherPages {

inline const QString Scheme = QStringLiteral("orbwell");
// The two "domains" of the publisher, as they appear at the start of its addresses.
inline const QString HomeDomain = QStringLiteral("orbwell://home");
inline const QString AppsDomain = QStringLiteral("orbwell://apps");

inline const QString DesktopStartPage = QStringLiteral("orbwell://home/desktop.html");
inline const QString HomePage = QStringLiteral("orbwell://home/index.html");
inline const QString DesktopStartPage2 = QStringLiteral("orbwell://home/desktop2.html");
inline const QString OfficeSuitePage = QStringLiteral("orbwell://apps/office.html");
inline const QString StreamingTvPage = QStringLiteral("orbwell://home/tv.html");
inline const QString OtherDownloadSite = QStringLiteral("https://packages.debian.org/stable/");
inline const QString SearchPage = QStringLiteral("orbwell://home/search.html");
inline const QString InterludePage = QStringLiteral("orbwell://home/interlude.html");

// The home page for a DefaultHomePageIndex value; unknown values give the search page.
QString HomePageFor(qint64 index);

} // namespace TPublisherPages

namespace TPublisherPages {

// The search engine behind the search page: its result addresses carry this fragment.
inline const QString SearchResultsFragment = QStringLiteral("duckduckgo.com/?q=");
// The query that marks the publisher's donation page.
inline const QString DonationQuery = QStringLiteral("donate.html?button=orbwell");
// The media player's generated page.
inline const QString MediaPlayerPageName = QStringLiteral("BrightfoldMediaPlayer.htm");
// The program's own pages where the engine has none of its own.
inline const QString DownloadsPage = QStringLiteral("orbwell://downloads/all");
inline const QString HistoryPage = QStringLiteral("orbwell://history/all");
inline const QString PasswordsPage = QStringLiteral("orbwell://wallet/passwords");
inline const QString FlagsPage = QStringLiteral("orbwell://flags/");

} // namespace TPublisherPages
