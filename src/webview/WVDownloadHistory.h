#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

struct TWVDownloadRecord
{
    QString Url;
    QString FilePath;
    QDateTime Started;
};

// The downloads a profile has started: the program's download history, which the engine does not
// keep itself. A persistent profile keeps it in a file of its folder (one JSON object a line) so that
// it spans runs; clearing it removes that file.
class TWVDownloadHistory
{
public:
    // Reads the history kept in fileName, if any; an empty name keeps it in memory only.
    explicit TWVDownloadHistory(const QString &fileName = QString());

    void Add(const TWVDownloadRecord &record);
    QList<TWVDownloadRecord> Records() const { return FRecords; }
    // False when the kept file could not be removed (the list in memory is empty either way).
    bool Clear();
    QString FileName() const { return FFileName; }

private:
    QString FFileName;
    QList<TWVDownloadRecord> FRecords;
};
