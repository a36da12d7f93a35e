#include "look/ToolbarGlyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

namespace {

void arrow(QPainter &p, bool left)
{
    QPainterPath path;
    const qreal tip = left ? 5 : 19;
    const qreal back = left ? 12 : 12;
    path.moveTo(back, 5);
    path.lineTo(tip, 12);
    path.lineTo(back, 19);
    p.drawPath(path);
    p.drawLine(QPointF(tip, 12), QPointF(left ? 19 : 5, 12));
}

} // namespace

QPixmap TToolbarGlyphs::Pixmap(TGlyph glyph, const QColor &color, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    QPen pen(color, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (glyph) {
    case gWebApps:
        for (int x : {5, 12, 19})
            for (int y : {5, 12, 19}) {
                p.setBrush(color);
                p.drawEllipse(QPointF(x, y), 1.6, 1.6);
            }
        break;
    case gPopupWindow:
        p.drawRoundedRect(QRectF(3, 6, 14, 13), 2, 2);
        p.drawLine(QPointF(3, 10), QPointF(17, 10));
        p.drawLine(QPointF(13, 3), QPointF(21, 3));
        p.drawLine(QPointF(21, 3), QPointF(21, 11));
        break;
    case gNewTab:
        p.drawRoundedRect(QRectF(3, 5, 18, 15), 2, 2);
        p.drawLine(QPointF(12, 9), QPointF(12, 16));
        p.drawLine(QPointF(8.5, 12.5), QPointF(15.5, 12.5));
        break;
    case gBack:
        arrow(p, true);
        break;
    case gForward:
        arrow(p, false);
        break;
    case gRefresh: {
        p.drawArc(QRectF(5, 5, 14, 14), 60 * 16, 290 * 16);
        QPainterPath head;
        head.moveTo(15, 3.5);
        head.lineTo(19.5, 6.5);
        head.lineTo(15, 9.5);
        p.drawPath(head);
        break;
    }
    case gHome: {
        QPainterPath roof;
        roof.moveTo(3, 12);
        roof.lineTo(12, 4);
        roof.lineTo(21, 12);
        p.drawPath(roof);
        p.drawRect(QRectF(6, 11, 12, 9));
        p.drawRect(QRectF(10.5, 14, 3, 6));
        break;
    }
    case gShield: {
        QPainterPath s;
        s.moveTo(12, 3);
        s.lineTo(20, 6);
        s.cubicTo(20, 14, 16, 19, 12, 21);
        s.cubicTo(8, 19, 4, 14, 4, 6);
        s.closeSubpath();
        p.drawPath(s);
        break;
    }
    case gSnapshot:
        p.drawRoundedRect(QRectF(3, 7, 18, 13), 2, 2);
        p.drawRect(QRectF(8, 4, 8, 3));
        p.drawEllipse(QPointF(12, 13.5), 3.5, 3.5);
        break;
    case gMediaPlayer: {
        QPainterPath play;
        play.moveTo(8, 5);
        play.lineTo(19, 12);
        play.lineTo(8, 19);
        play.closeSubpath();
        p.drawPath(play);
        break;
    }
    case gTools:
        p.drawLine(QPointF(5, 19), QPointF(14, 10));
        p.drawArc(QRectF(12, 3, 9, 9), -60 * 16, 280 * 16);
        break;
    case gSettings:
        p.drawEllipse(QPointF(12, 12), 3, 3);
        for (int i = 0; i < 8; ++i) {
            const qreal a = qDegreesToRadians(i * 45.0);
            p.drawLine(QPointF(12 + 6 * qCos(a), 12 + 6 * qSin(a)), QPointF(12 + 9 * qCos(a), 12 + 9 * qSin(a)));
        }
        p.drawEllipse(QPointF(12, 12), 6, 6);
        break;
    case gCloseTab:
        p.drawLine(QPointF(6, 6), QPointF(18, 18));
        p.drawLine(QPointF(18, 6), QPointF(6, 18));
        break;
    case gDropDown: {
        QPainterPath v;
        v.moveTo(6, 9);
        v.lineTo(12, 15);
        v.lineTo(18, 9);
        p.drawPath(v);
        break;
    }
    case gPage: {
        QPainterPath page;
        page.moveTo(6, 3);
        page.lineTo(14, 3);
        page.lineTo(19, 8);
        page.lineTo(19, 21);
        page.lineTo(6, 21);
        page.closeSubpath();
        p.drawPath(page);
        p.drawLine(QPointF(9, 12), QPointF(16, 12));
        p.drawLine(QPointF(9, 16), QPointF(16, 16));
        break;
    }
    case gComplete: {
        p.drawEllipse(QPointF(12, 12), 9, 9);
        QPainterPath tick;
        tick.moveTo(7.5, 12.5);
        tick.lineTo(10.5, 15.5);
        tick.lineTo(16.5, 9);
        p.drawPath(tick);
        break;
    }
    }
    return pm;
}

QIcon TToolbarGlyphs::Icon(TGlyph glyph, const QColor &color, int size)
{
    QIcon icon;
    icon.addPixmap(Pixmap(glyph, color, size));
    icon.addPixmap(Pixmap(glyph, color, size * 2));
    icon.addPixmap(Pixmap(glyph, QColor(0x80, 0x90, 0x9C), size), QIcon::Disabled);
    return icon;
}
