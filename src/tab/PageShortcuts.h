#pragma once

// Which tab command a key pressed in the web view stands for.
class TPageShortcuts
{
public:
    enum TCommand {
        pcNone,
        pcBigScreen,      // Ctrl+Alt+B
        pcNewOrbwell,     // Ctrl+Alt+N
        pcPrintToPdf,     // Ctrl+Alt+P
        pcHideToolbar,    // Ctrl+Alt+T
        pcHistory,        // Ctrl+H
        pcDownloads,      // Ctrl+J
        pcOpenFile,       // Ctrl+O
        pcDarkMode,       // Ctrl+D
        pcPrivateMode,    // Ctrl+M
        pcNewWindow,      // Ctrl+N
        pcNewTab,         // Ctrl+T
        pcSaveToFile,     // Ctrl+S
        pcCloseTab,       // Ctrl+W
        pcPageFullScreen, // F11
        pcF10FullScreen,  // F10
    };

    // virtualKey is the key's virtual-key code; an automatic repeat (wasKeyDown) and a release never
    // give a command, so holding a key acts once.
    static TCommand CommandFor(int virtualKey, bool ctrl, bool alt, bool shift, bool wasKeyDown, bool released);
};
