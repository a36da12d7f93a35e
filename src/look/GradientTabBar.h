#pragma once

#include <QTabBar>

// The tab strip's look: flat 250 × 32 tabs, the active one in a vertical gradient.
class TGradientTabBar : public QTabBar
{
    Q_OBJECT

public:
    explicit TGradientTabBar(QWidget *parent = nullptr);

Q_SIGNALS:
    void MouseMoved(const QPoint &pos);
    void MouseLeft();
    void MouseEntered();
    void DoubleClicked(const QPoint &pos);

protected:
    QSize tabSizeHint(int index) const override;
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
};
