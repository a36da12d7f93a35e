#include "tab/PageShortcuts.h"

namespace {
constexpr int VK_F10 = 0x79;
constexpr int VK_F11 = 0x7A;
} // namespace

TPageShortcuts::TCommand TPageShortcuts::CommandFor(int virtualKey, bool ctrl, bool alt, bool shift, bool wasKeyDown,
                                                    bool released)
{
    if (wasKeyDown || released)
        return pcNone;
    if (ctrl && alt) {
        switch (virtualKey) {
        case 'B': return pcBigScreen;
        case 'N': return pcNewOrbwell;
        case 'P': return pcPrintToPdf;
        case 'T': return pcHideToolbar;
        default: break;
        }
    } else if (ctrl && !shift) {
        switch (virtualKey) {
        case 'H': return pcHistory;
        case 'J': return pcDownloads;
        case 'O': return pcOpenFile;
        case 'D': return pcDarkMode;
        case 'M': return pcPrivateMode;
        case 'N': return pcNewWindow;
        case 'T': return pcNewTab;
        case 'S': return pcSaveToFile;
        case 'W': return pcCloseTab;
        default: break;
        }
    }
    if (virtualKey == VK_F11)
        return pcPageFullScreen;
    if (virtualKey == VK_F10)
        return pcF10FullScreen;
    return pcNone;
}
