#include "webview/WVDownloadHistory.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

TWVDownloadHistory::TWVDownloadHistory(const QString &fileName) : FFileName(fileName)
{
    if (FFileName.isEmpty())
        return;
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    while (!file.atEnd()) {
        const QJsonObject line = QJsonDocument::fromJson(file.readLine()).object();
        TWVDownloadRecord record;
        record.Url = line.value(QLatin1String("url")).toString();
        record.FilePath = line.value(QLatin1String("path")).toString();
        record.Started = QDateTime::fromString(line.value(QLatin1String("started")).toString(), Qt::ISODate);
        if (!record.Url.isEmpty())
            FRecords.append(record);
    }
}

void TWVDownloadHistory::Add(const TWVDownloadRecord &record)
{
    FRecords.append(record);
    if (FFileName.isEmpty())
        return;
    const QJsonObject line{{QLatin1String("url"), record.Url},
                           {QLatin1String("path"), record.FilePath},
                           {QLatin1String("started"), record.Started.toString(Qt::ISODate)}};
    // Appending one line keeps earlier lines intact even if the program ends abruptly.
    QFile file(FFileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        file.write(QJsonDocument(line).toJson(QJsonDocument::Compact) + '\n');
    else
        qWarning("TWVDownloadHistory: cannot write %s", qPrintable(FFileName));
}

bool TWVDownloadHistory::Clear()
{
    FRecords.clear();
    if (FFileName.isEmpty() || !QFile::exists(FFileName))
        return true;
    if (QFile::remove(FFileName))
        return true;
    qWarning("TWVDownloadHistory: cannot remove %s", qPrintable(FFileName));
    return false;
}
