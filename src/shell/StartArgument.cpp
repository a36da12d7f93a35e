#include "shell/StartArgument.h"

#include <QDir>
#include <QUrl>

QString StartAddressFromArguments(const QStringList &arguments, const QString &currentFolder)
{
    if (arguments.size() != 1 || arguments.constFirst().isEmpty())
        return {};
    const QString &arg = arguments.constFirst();
    // An address with its own scheme ("file://", the program's own pages) is an address, not a path.
    if (arg.contains(QLatin1String("http"), Qt::CaseInsensitive) || arg.contains(QLatin1String("://")))
        return arg;
    // Prefixing "file:///" to an absolute Linux path would give four slashes; build a proper file URL,
    // and resolve a relative path against the folder the user started from.
    const QString path = QDir::isAbsolutePath(arg) ? arg : QDir(currentFolder).absoluteFilePath(arg);
    return QUrl::fromLocalFile(QDir::cleanPath(path)).toString(QUrl::FullyEncoded);
}
