#include "webview/WVOriginList.h"

#include "webview/WVTypes.h"

#include <QFile>

TWVOriginList::TWVOriginList(const QString &fileName) : FFileName(fileName)
{
    if (FFileName.isEmpty())
        return;
    QFile file(FFileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return;
    while (!file.atEnd()) {
        const QString origin = WVTypes::OriginOf(QString::fromUtf8(file.readLine()).trimmed());
        if (!origin.isEmpty() && !FOrigins.contains(origin)) {
            FOrigins.insert(origin);
            FOrder.append(origin);
        }
    }
}

bool TWVOriginList::Add(const QString &address)
{
    const QString origin = WVTypes::OriginOf(address);
    if (origin.isEmpty() || FOrigins.contains(origin))
        return false;
    FOrigins.insert(origin);
    FOrder.append(origin);
    if (!FFileName.isEmpty()) {
        // Appending one line keeps earlier lines intact even if the program ends abruptly.
        QFile file(FFileName);
        if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
            file.write(origin.toUtf8() + '\n');
        else
            qWarning("TWVOriginList: cannot write %s", qPrintable(FFileName));
    }
    return true;
}

QStringList TWVOriginList::Origins() const
{
    return FOrder;
}
