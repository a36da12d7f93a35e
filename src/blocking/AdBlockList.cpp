#include "blocking/AdBlockList.h"

void TAdBlockList::Assign(const QStringList &entries)
{
    FEntries = entries;
    FPresent = true;
    FMatcher.Rebuild(FEntries);
}

void TAdBlockList::Append(const QString &entry)
{
    FEntries.append(entry);
    FPresent = true;
    FMatcher.Rebuild(FEntries);
}

void TAdBlockList::Discard()
{
    FEntries.clear();
    FEncoding = TListEncoding::Ansi;
    FPresent = false;
    FMatcher.Rebuild(FEntries);
}

bool TAdBlockList::Matches(const QString &url, TClosingFlags closing) const
{
    if (closing.Any())
        return false;
    return FMatcher.Matches(url);
}

TListFileResult TAdBlockList::LoadFromFile(const QString &fileName)
{
    TListReadResult read = TAdBlockListFile::Read(fileName);
    if (read.Status == TListFileStatus::Missing)
        return read;
    FEncoding = read.Content.Encoding;
    Assign(read.Ok() ? read.Content.Entries : QStringList());
    return read;
}

TListFileResult TAdBlockList::SaveToFile(const QString &fileName)
{
    return TAdBlockListFile::Write(fileName, FEntries, FEncoding, &FEncoding);
}
