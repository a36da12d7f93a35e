#pragma once

#include <QString>

// Where the program keeps "Settings.ini", the list files, the play page and "Orbwell Cache":
// the executable's folder while it is writable (portable use), else the user's XDG data folder.
class TDataFolder
{
public:
    // Decides once; creates nothing.
    static QString Choose(const QString &executableFolder, const QString &fallbackFolder);
    // The folder for this process: Choose(applicationDirPath, XDG data folder of Orbwell).
    static QString Current();
    static QString PathOf(const QString &fileName);

    // The user's documents folder, or the home folder when there is none.
    static QString DefaultDocumentsFolder();
};
