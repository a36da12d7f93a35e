#pragma once

#include "webview/WVWinControl.h"

#include <QPointer>

class TWVBrowserBase;

// The window a tab's web view lives in: it keeps the view at its client area and passes keyboard
// focus on to the view. The link to the browser component clears itself when the component goes.
class TWVWindowParent : public TWVWinControl
{
    Q_OBJECT

public:
    explicit TWVWindowParent(QWidget *parent = nullptr);
    ~TWVWindowParent() override;

    TWVBrowserBase *Browser() const;
    void SetBrowser(TWVBrowserBase *browser);

    void UpdateSize() override;
    // Focuses the host, then the web view.
    void SetFocus();

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    QPointer<TWVBrowserBase> FBrowser;
};
