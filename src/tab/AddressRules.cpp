#include "tab/AddressRules.h"

#include "shell/PublisherPages.h"

namespace {
constexpr quint32 Green = 0x00BF00;
constexpr quint32 Red = 0xFF2606;
constexpr quint32 Blue = 0x0080FF;
constexpr quint32 Grey = 0x808080;

bool StartsWithNoCase(const QString &text, const QString &prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}
} // namespace

namespace TAddressRules {

QString AddressFor(const QString &text)
{
    if (StartsWithNoCase(text, QStringLiteral("edge")) || StartsWithNoCase(text, QStringLiteral("http://"))
        || StartsWithNoCase(text, QStringLiteral("https://")))
        return text;
    return TPublisherPages::SearchPage + QStringLiteral("#gsc.tab=0&gsc.sort=&gsc.q=") + text;
}

QString FriendlyName(const QString &address)
{
    struct TEntry
    {
        const QString &Fragment;
        const char *Name;
    };
    using namespace TPublisherPages;
    static const TEntry Entries[] = {
        {SearchResultsFragment, "Lookout Search Results"},
        {MediaPlayerPageName, "Brightfold Media-Player"},
        {DownloadsPage, "Orbwell Download History"},
        {HistoryPage, "Orbwell Surfing History"},
        {FlagsPage, "Orbwell Experimental Flags"},
        {PasswordsPage, "Orbwell Password Manager"},
        {DonationQuery, "Brightfold Office Software - Donations"},
    };
    for (const TEntry &e : Entries)
        if (address.contains(e.Fragment, Qt::CaseInsensitive))
            return QLatin1String(e.Name);
    return QString();
}

QString LookoutText(const QString &source)
{
    const QString name = FriendlyName(source);
    return name.isEmpty() ? source : name;
}

QString Extension(const QString &text)
{
    const int dot = text.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return QString();
    const int separator = qMax(text.lastIndexOf(QLatin1Char('\\')), text.lastIndexOf(QLatin1Char(':')));
    if (dot < separator)
        return QString();
    return text.mid(dot);
}

TFavicon FaviconFor(const QString &text)
{
    TFavicon result;
    const QString ext = Extension(text);
    const bool media = ext == QLatin1String(".mp4") || ext == QLatin1String(".mkv") || ext == QLatin1String(".mp3");
    if (ext == QLatin1String(".pdf")) {
        result.Index = 7;
    } else if (text.startsWith(QLatin1String("file")) && !media) {
        result.Index = 6;
        result.Caption = QStringLiteral("Local File");
    } else if (media) {
        result.Index = 4;
        result.Caption = QStringLiteral("Multi-Media File");
    } else {
        using namespace TPublisherPages;
        struct TEntry
        {
            QString Fragment;
            int Index;
        };
        static const TEntry Entries[] = {
            {QStringLiteral("interlude.html"), 5},
            {HomeDomain, 1},
            {AppsDomain, 1},
            {QStringLiteral("Orbwell Surfing"), 2},
            {QStringLiteral("Orbwell Download"), 3},
            {QStringLiteral("Brightfold Media-Player"), 4},
            {QStringLiteral("Brightfold Office Software - Donations"), 1},
        };
        for (const TEntry &e : Entries) {
            if (text.contains(e.Fragment, Qt::CaseInsensitive)) {
                result.Index = e.Index;
                return result;
            }
        }
        result.Fetch = true;
    }
    return result;
}

quint32 CharacterColour(const QString &text, int position)
{
    const bool secure = text.size() >= 5 && text.at(4) == QLatin1Char('s');
    if (text.contains(QLatin1String("https")) && position <= 6 && secure)
        return Green;
    if (text.contains(QLatin1String("http")) && position <= 5)
        return Red;
    if (text.contains(QLatin1String("file")) && position <= 5)
        return Blue;
    return Grey;
}

int ColouredPrefixLength(const QString &text)
{
    int n = 0;
    while (n < qMin<qsizetype>(6, text.size()) && CharacterColour(text, n + 1) != Grey)
        ++n;
    return n;
}

const QStringList &PopupFragments()
{
    static const QStringList Fragments = {
        QStringLiteral("SpecialFeaturesFunctions"),
        QStringLiteral("basicmath.html"),
        QStringLiteral("calculator.orbwell"),
        QStringLiteral("radiojar"),
        QStringLiteral("somafm.com"),
        QStringLiteral("ice1.somafm.com:80"),
        QStringLiteral("203.0.113.10:8000"),
        QStringLiteral("contactformplus.html"),
    };
    return Fragments;
}

bool IsEnginePopupAddress(const QString &address)
{
    if (address == QLatin1String("about:blank#blocked") || address == QLatin1String("about:blank"))
        return true;
    for (const QString &fragment : PopupFragments())
        if (address.contains(fragment, Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace TAddressRules
