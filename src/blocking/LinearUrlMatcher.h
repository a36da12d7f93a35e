#pragma once

#include <QString>
#include <QStringList>

// The matching rule in its plainest form: every entry in list order, both strings upper-cased again
// for every entry, the first entry found ends the scan. Kept as the reference that TUrlMatcher is
// tested and measured against; the program itself uses TUrlMatcher.
class TLinearUrlMatcher
{
public:
    TLinearUrlMatcher() = default;
    explicit TLinearUrlMatcher(QStringList entries) : FEntries(std::move(entries)) {}

    bool Matches(const QString &url) const;

private:
    QStringList FEntries;
};
