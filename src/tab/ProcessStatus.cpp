#include "tab/ProcessStatus.h"

#include <QFile>
#include <QList>
#include <QString>

qint64 TProcessStatus::ResidentKb(const QByteArray &statusText)
{
    const QList<QByteArray> lines = statusText.split('\n');
    for (const QByteArray &line : lines) {
        if (!line.startsWith("VmRSS:"))
            continue;
        const QList<QByteArray> parts = line.mid(6).simplified().split(' ');
        if (parts.size() != 2 || parts.at(1) != "kB")
            return -1;
        bool ok = false;
        const qint64 kb = parts.at(0).toLongLong(&ok);
        return ok && kb >= 0 ? kb : -1;
    }
    return -1;
}

qint64 TProcessStatus::ResidentKbOf(qint64 pid)
{
    if (pid <= 0)
        return -1;
    QFile file(QStringLiteral("/proc/%1/status").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return ResidentKb(file.readAll());
}

QString TProcessStatus::MemoryText(qint64 kb)
{
    if (kb < 0)
        return QString();
    if (kb < 1024)
        return QStringLiteral("%1 kB").arg(kb);
    return QStringLiteral("%1 MB").arg(double(kb) / 1024.0, 0, 'f', 1);
}
