#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// What the task manager reads about a process from the system.
class TProcessStatus
{
public:
    // The resident memory in kB from the text of /proc/<pid>/status ("VmRSS:" line); -1 without one.
    static qint64 ResidentKb(const QByteArray &statusText);
    // The same for a running process; -1 when it cannot be read (gone, or not ours to read).
    static qint64 ResidentKbOf(qint64 pid);
    // "12.3 MB" style text for a size in kB; empty for a negative size.
    static QString MemoryText(qint64 kb);
};
