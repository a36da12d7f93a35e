#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The origins whose pages a profile has loaded: the set that clearing a kind of site data for all
// sites walks, since the engine offers no list of the origins it keeps data for. A persistent
// profile keeps the list in a file of its folder (one origin a line) so that it spans runs.
class TWVOriginList
{
public:
    // Reads the list kept in fileName, if any; an empty name keeps the list in memory only.
    explicit TWVOriginList(const QString &fileName = QString());

    // Records the origin of an address; false when it has none or was known already.
    bool Add(const QString &address);
    QStringList Origins() const;
    QString FileName() const { return FFileName; }

private:
    QString FFileName;
    QSet<QString> FOrigins;
    QStringList FOrder;
};
