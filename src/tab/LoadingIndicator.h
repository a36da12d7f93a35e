#pragma once

#include <QColor>
#include <QWidget>

class QTimer;

// The animated picture shown while a page loads: a turning arc.
class TLoadingIndicator : public QWidget
{
    Q_OBJECT

public:
    explicit TLoadingIndicator(const QColor &color, QWidget *parent = nullptr);
    QSize sizeHint() const override { return {24, 24}; }
    void SetAnimate(bool on);
    bool Animate() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor FColor;
    QTimer *FTimer = nullptr;
    int FAngle = 0;
};
