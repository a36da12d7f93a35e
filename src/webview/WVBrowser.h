#pragma once

#include "webview/WVBrowserBase.h"

// The browser component a tab owns; all of its behaviour is in TWVBrowserBase.
class TWVBrowser : public TWVBrowserBase
{
    Q_OBJECT

public:
    explicit TWVBrowser(QObject *owner = nullptr);
};
