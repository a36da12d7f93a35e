#pragma once

#include "webview/WVResourceRequest.h"

#include <QList>
#include <QString>

// The request patterns a web view hands over to its owner: address wildcards ("*" any run of
// characters, "?" any one) each with a request kind, wvrcAll matching every kind.
class TWVResourceFilter
{
public:
    // False for an empty pattern or a kind outside the known ones.
    bool Add(const QString &pattern, int context);
    bool Remove(const QString &pattern, int context);
    bool IsEmpty() const { return FEntries.isEmpty(); }
    int Count() const { return FEntries.size(); }
    bool Matches(const TWVResourceRequest &request) const;

    static bool WildcardMatch(const QString &pattern, const QString &text);

private:
    struct TEntry
    {
        QString Pattern;
        TWVWebResourceContext Context;
    };
    QList<TEntry> FEntries;
};
