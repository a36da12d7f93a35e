#pragma once

#include <QColor>
#include <QIcon>

// Flat line pictures for the toolbar and tab strip, drawn in code so they stay sharp at any scale.
class TToolbarGlyphs
{
public:
    enum TGlyph {
        gWebApps, gPopupWindow, gNewTab, gBack, gForward, gRefresh, gHome, gShield, gSnapshot,
        gMediaPlayer, gTools, gSettings, gCloseTab, gDropDown, gPage, gComplete
    };

    static QIcon Icon(TGlyph glyph, const QColor &color = QColor(0xF0, 0xF4, 0xF7), int size = 24);
    static QPixmap Pixmap(TGlyph glyph, const QColor &color, int size);
};
