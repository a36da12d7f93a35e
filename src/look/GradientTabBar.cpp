#include "look/GradientTabBar.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>

TGradientTabBar::TGradientTabBar(QWidget *parent) : QTabBar(parent)
{
    setObjectName(QStringLiteral("tbcChildrenTabs"));
    setDrawBase(false);
    setExpanding(false);
    setElideMode(Qt::ElideRight);
    setIconSize(QSize(24, 24));
    setMouseTracking(true);
    setMovable(true);
    setUsesScrollButtons(true);
    QFont f(QStringLiteral("Calibri"), 10);
    setFont(f);
}

QSize TGradientTabBar::tabSizeHint(int) const
{
    return {250, 32};
}

void TGradientTabBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), QColor(0x22, 0x30, 0x39));
    for (int i = 0; i < count(); ++i) {
        const QRect r = tabRect(i);
        if (!r.intersects(rect()))
            continue;
        const bool active = i == currentIndex();
        if (active) {
            QLinearGradient g(r.topLeft(), r.bottomLeft());
            g.setColorAt(0, QColor(0x65, 0x8B, 0xA7));
            g.setColorAt(1, QColor(0x37, 0x4F, 0x60));
            p.fillRect(r, g);
        } else {
            p.fillRect(r, QColor(0x22, 0x30, 0x39));
            p.setPen(QColor(0x37, 0x4F, 0x60));
            p.drawLine(r.topRight(), r.bottomRight());
        }
        const QIcon icon = tabIcon(i);
        int x = r.left() + 6;
        if (!icon.isNull()) {
            icon.paint(&p, QRect(x, r.top() + (r.height() - 24) / 2, 24, 24));
            x += 30;
        }
        QFont f(QStringLiteral("Calibri"), 11);
        f.setBold(active);
        f.setItalic(active);
        p.setFont(f);
        p.setPen(Qt::white);
        const QRect textRect(x, r.top(), r.right() - x - 36, r.height());
        p.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft,
                   p.fontMetrics().elidedText(tabText(i).trimmed(), Qt::ElideRight, textRect.width()));
    }
}

void TGradientTabBar::mouseMoveEvent(QMouseEvent *event)
{
    QTabBar::mouseMoveEvent(event);
    Q_EMIT MouseMoved(event->position().toPoint());
}

void TGradientTabBar::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTabBar::mouseDoubleClickEvent(event);
    Q_EMIT DoubleClicked(event->position().toPoint());
}

void TGradientTabBar::leaveEvent(QEvent *event)
{
    QTabBar::leaveEvent(event);
    Q_EMIT MouseLeft();
}

void TGradientTabBar::enterEvent(QEnterEvent *event)
{
    QTabBar::enterEvent(event);
    Q_EMIT MouseEntered();
}
