#pragma once

#include <QWidget>

// A plain child window that keeps its first child (the engine's view, once there is one) covering
// its client area.
class TWVWinControl : public QWidget
{
    Q_OBJECT

public:
    explicit TWVWinControl(QWidget *parent = nullptr);

    // Qt widgets need no native window before use; kept so owners can prepare the control first.
    bool CreateHandle();
    // The first child window, or none while there is none or the control is being destroyed.
    QWidget *ChildWindowHandle() const;
    virtual void UpdateSize();
    void InvalidateChildren();

Q_SIGNALS:
    // After a change of size, before the child is placed again.
    void OnResize();

protected:
    void resizeEvent(QResizeEvent *event) override;

    bool FDestroying = false;
};
