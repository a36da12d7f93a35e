#include "shell/PublisherPages.h"

QString TPublisherPages::HomePageFor(qint64 index)
{
    switch (index) {
    case 0: return DesktopStartPage;
    case 1: return HomePage;
    case 2: return DesktopStartPage2;
    case 3: return OfficeSuitePage;
    case 5: return StreamingTvPage;
    case 6: return OtherDownloadSite;
    default: return SearchPage;
    }
}
