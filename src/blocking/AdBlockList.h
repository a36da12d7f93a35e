#pragma once

#include "blocking/AdBlockListFile.h"
#include "blocking/UrlMatcher.h"

#include <QString>
#include <QStringList>

// Set while the main window (appExit) or a tab (tabExit) is being torn down; matching then answers
// false without looking at any entry, because handlers can still run from nested event processing.
struct TClosingFlags
{
    bool appExit = false;
    bool tabExit = false;

    bool Any() const { return appExit || tabExit; }
};

// One in-memory list (the block list or the whitelist): its entries in file order, the encoding it
// was read with, and the index that answers matches. It is absent until loaded or assigned; an absent
// list and an empty one both match nothing. Every change rebuilds the index at once.
class TAdBlockList
{
public:
    bool IsPresent() const { return FPresent; }
    const QStringList &Entries() const { return FEntries; }
    qsizetype Count() const { return FEntries.size(); }
    // Ansi for a list that never came from a file.
    TListEncoding Encoding() const { return FEncoding; }
    const TUrlMatcher &Matcher() const { return FMatcher; }

    // Replaces every entry (the ad-blocker dialog hands back whole lists); the encoding stays.
    void Assign(const QStringList &entries);
    void Append(const QString &entry);
    // Makes the list absent, as when the main window closes.
    void Discard();

    // True when a non-empty entry occurs in url, ignoring case; false while closing.
    bool Matches(const QString &url, TClosingFlags closing) const;

    // Missing leaves the list as it was; Failed leaves it present and empty; Ok replaces it.
    TListFileResult LoadFromFile(const QString &fileName);
    // Writes every entry in the list's encoding (UTF-8 with a mark instead when the ANSI code page
    // cannot hold an entry; the list then keeps that encoding). An absent list writes an empty file.
    // A list whose file could not be read is not written: that would replace entries never seen.
    TListFileResult SaveToFile(const QString &fileName);

private:
    QStringList FEntries;
    TListEncoding FEncoding = TListEncoding::Ansi;
    TUrlMatcher FMatcher;
    bool FPresent = false;
    bool FReadFailed = false;
};
