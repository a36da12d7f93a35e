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
    FReadFailed = !read.Ok();
    return read;
}

TListFileResult TAdBlockList::SaveToFile(const QString &fileName)
{
    if (FReadFailed) {
        TListFileResult refused;
        refused.Status = TListFileStatus::Failed;
        refused.ErrorText = QStringLiteral("Cannot write file \"%1\". It could not be read, and writing it would "
                                           "lose the entries it holds.").arg(fileName);
        return refused;
    }
    return TAdBlockListFile::Write(fileName, FEntries, FEncoding, &FEncoding);
}
