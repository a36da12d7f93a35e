#pragma once

#include "blocking/AdBlockList.h"

#include <QString>

// The block list and the whitelist the main window holds for the whole run, with the two list files
// in the data folder. Every tab consults these same two lists.
class TAdBlockLists
{
public:
    // folder: where "AdBlockURLs.txt" and "AdBlockWhitelistURLs.txt" lie (the data folder).
    explicit TAdBlockLists(QString folder);

    static const QString BlockListFileName;
    static const QString WhitelistFileName;
    QString BlockListPath() const;
    QString WhitelistPath() const;

    TAdBlockList adBlockList;
    TAdBlockList adBlockWhitelist;

    // Load one file each, at start-up. Missing means the ad blocker is off until the program ends;
    // the caller switches it off in memory only. Failed carries the text for the error box.
    TListFileResult getAdBlockList();
    TListFileResult getAdBlockWhitelist();

    // url: the request or navigation URI as the engine gives it.
    bool ShouldBlockUrl(const QString &url, TClosingFlags closing) const;
    // url: the page's address-bar text, or the URI of a starting navigation.
    bool urlInWhitelist(const QString &url, TClosingFlags closing) const;

    // The scheme, "://", host and "/" at the start of an address-bar text.
    static QString getAdBlockWhitelistDomainStr(const QString &addressText);

    // "Add Domain to Whitelist": appends the domain string unless an entry already occurs in it, then
    // rewrites the whitelist file either way. An empty address does nothing and writes nothing.
    // On a failed write the list keeps what was appended.
    TListFileResult AddDomainToWhitelist(const QString &addressText);

    // Rewrite a list file from memory (after the dialog assigned its copy).
    TListFileResult SaveAdBlockList();
    TListFileResult SaveAdBlockWhitelist();

private:
    QString FFolder;
};
