#pragma once

#include <QString>
#include <QStringList>

// The first tab's address from the command line (arguments without the program name):
// exactly one argument, kept as it is when it names "http" in any case, else taken as a local
// path and turned into a file URL. Empty when there is not exactly one argument.
QString StartAddressFromArguments(const QStringList &arguments, const QString &currentFolder);
