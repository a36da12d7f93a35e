#include "webview/WVBrowser.h"

TWVBrowser::TWVBrowser(QObject *owner) : TWVBrowserBase(owner) {}
