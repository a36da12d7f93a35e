#include "blocking/AdBlockLists.h"

#include <QDir>

const QString TAdBlockLists::BlockListFileName = QStringLiteral("AdBlockURLs.txt");
const QString TAdBlockLists::WhitelistFileName = QStringLiteral("AdBlockWhitelistURLs.txt");

TAdBlockLists::TAdBlockLists(QString folder) : FFolder(std::move(folder)) {}

QString TAdBlockLists::BlockListPath() const
{
    return QDir(FFolder).filePath(BlockListFileName);
}

QString TAdBlockLists::WhitelistPath() const
{
    return QDir(FFolder).filePath(WhitelistFileName);
}

TListFileResult TAdBlockLists::getAdBlockList()
{
    return adBlockList.LoadFromFile(BlockListPath());
}

TListFileResult TAdBlockLists::getAdBlockWhitelist()
{
    return adBlockWhitelist.LoadFromFile(WhitelistPath());
}

bool TAdBlockLists::ShouldBlockUrl(const QString &url, TClosingFlags closing) const
{
    return adBlockList.Matches(url, closing);
}

bool TAdBlockLists::urlInWhitelist(const QString &url, TClosingFlags closing) const
{
    return adBlockWhitelist.Matches(url, closing);
}

QString TAdBlockLists::getAdBlockWhitelistDomainStr(const QString &addressText)
{
    QString rest = addressText;
    if (!rest.endsWith(QLatin1Char('/')))
        rest += QLatin1Char('/');
    // Through the character after the first "/": "scheme://" for an address with a scheme.
    const qsizetype firstSlash = rest.indexOf(QLatin1Char('/')) + 1;
    QString result = rest.left(firstSlash + 1);
    rest.remove(0, firstSlash + 1);
    // Then up to and including the next "/": the host and its "/".
    result += rest.left(rest.indexOf(QLatin1Char('/')) + 1);
    return result;
}

TListFileResult TAdBlockLists::AddDomainToWhitelist(const QString &addressText)
{
    if (addressText.isEmpty())
        return {};
    const QString domain = getAdBlockWhitelistDomainStr(addressText);
    // A user's command, not a handler that teardown can reenter: the closing flags do not apply, so a
    // close in progress cannot make an entry look new and add it twice.
    if (!adBlockWhitelist.IsPresent())
        adBlockWhitelist.Assign({});
    if (!adBlockWhitelist.Matches(domain, TClosingFlags()))
        adBlockWhitelist.Append(domain);
    return SaveAdBlockWhitelist();
}

TListFileResult TAdBlockLists::SaveAdBlockList()
{
    return adBlockList.SaveToFile(BlockListPath());
}

TListFileResult TAdBlockLists::SaveAdBlockWhitelist()
{
    return adBlockWhitelist.SaveToFile(WhitelistPath());
}
