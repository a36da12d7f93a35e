#include "shell/DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString TDataFolder::Choose(const QString &executableFolder, const QString &fallbackFolder)
{
    const QFileInfo info(executableFolder);
    if (info.isDir() && info.isWritable())
        return QDir::cleanPath(executableFolder);
    return QDir::cleanPath(fallbackFolder);
}

QString TDataFolder::Current()
{
    static const QString folder = [] {
        QString fallback = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        if (fallback.isEmpty())
            fallback = QDir::homePath() + QStringLiteral("/.local/share");
        return Choose(QCoreApplication::applicationDirPath(), fallback + QStringLiteral("/Orbwell"));
    }();
    return folder;
}

QString TDataFolder::PathOf(const QString &fileName)
{
    return Current() + QLatin1Char('/') + fileName;
}

QString TDataFolder::DefaultDocumentsFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return folder.left(260);
}
