#pragma once

#include "webview/WVTypes.h"

#include <QPoint>
#include <QString>
#include <QUrl>
#include <QtCore/qnamespace.h>

class TWVDownloadOperation;

// Arguments of the browser component's events, as plain values. A handler reads them and, where a
// member says so, writes its answer into them before it returns; the component acts on that answer.

struct TWVNavigationStartingArgs
{
    QUrl Uri;
    quint64 NavigationId = 0;
    // Set by a handler to stop the navigation.
    bool Cancel = false;
};

struct TWVNavigationCompletedArgs
{
    QUrl Uri;
    quint64 NavigationId = 0;
    bool IsSuccess = false;
    // The engine's error number for a failed load (0 on success), and its text.
    int WebErrorStatus = 0;
    QString ErrorText;
    // The load was stopped (Stop, or replaced by another navigation) rather than failed.
    bool WasStopped = false;
};

struct TWVAcceleratorKeyArgs
{
    int Key = 0;        // Qt::Key
    int VirtualKey = 0; // the virtual-key code of Key, 0 when it has none
    Qt::KeyboardModifiers Modifiers;
    bool IsKeyReleased = false;
    // The key was already down: an automatic repeat.
    bool WasKeyDown = false;
    // Set by a handler to keep the key from the page.
    bool Handled = false;
};

struct TWVContextMenuArgs
{
    QPoint Location; // in the web view's coordinates
    QUrl LinkUrl;
    // Set by a handler that shows a menu of its own; the engine's menu is then not shown.
    bool Handled = false;
};

struct TWVBasicAuthenticationArgs
{
    QUrl Uri;
    QString Realm;
    bool IsProxy = false;
    // Filled by a handler before it returns; the engine has no way to hold the request open.
    QString UserName;
    QString Password;
    bool Cancel = false;
};

struct TWVServerCertificateErrorArgs
{
    QUrl RequestUri;
    QString ErrorDescription;
    int ErrorType = 0;
    // SHA-256 of the server's own certificate, in hex: what a user's consent is bound to.
    QString CertificateFingerprint;
    // Only an overridable error can be allowed; any other is refused whatever the action.
    bool IsOverridable = false;
    // Set by a handler; wvceaDefault and wvceaCancel refuse the certificate.
    int Action = wvceaDefault;
};

struct TWVDownloadStartingArgs
{
    QUrl Uri;
    QString MimeType;
    qint64 TotalBytesToReceive = -1;
    // The proposed target; a handler may change it.
    QString ResultFilePath;
    bool Cancel = false;
    // Kept for owners that follow the engine's own download pop-up; this engine shows none.
    bool Handled = false;
    // The download's tracking object, owned by the component; its state changes are raised as
    // OnDownloadStateChanged.
    TWVDownloadOperation *DownloadOperation = nullptr;
};
