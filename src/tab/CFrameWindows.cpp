// What a tab answers when its page asks for a window, a password or trust in a bad certificate.
#include "tab/CFrame.h"

#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "tab/AddressRules.h"
#include "tab/BasicUserAuthForm.h"
#include "webview/WVBrowser.h"

#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

void TFrameChild::ConnectWindowEvents()
{
    connect(WVBrowser1, &TWVBrowser::OnNewWindowRequested, this,
            [this](TWVNewWindowRequest *args) { WVBrowser1NewWindowRequested(args); });
    connect(WVBrowser1, &TWVBrowser::OnExecuteScriptCompleted, this, [] {
        if (frmParent)
            frmParent->newWindowRequested = false;
    });
    connect(WVBrowser1, &TWVBrowser::OnWindowCloseRequested, this, [this] {
        // The page closes its own window: for a tab that is the tab. A page never quits the program.
        if (frmParent)
            frmParent->CloseTabOf(this, true);
    });
    connect(WVBrowser1, &TWVBrowser::OnBasicAuthenticationRequested, this,
            [this](TWVBasicAuthenticationArgs &args) { WVBrowser1BasicAuthenticationRequested(args); });
    connect(WVBrowser1, &TWVBrowser::OnServerCertificateErrorDetected, this,
            [this](TWVServerCertificateErrorArgs &args) { WVBrowser1ServerCertificateErrorDetected(args); });
    connect(WVBrowser1, &TWVBrowser::OnContextMenuRequested, this, [this](TWVContextMenuArgs &) {
        isContextMenuEnabled = true;
        if (frmParent)
            frmParent->isContextMenuEnabledParent = true;
        if (WVBrowser1->GetIsDefaultDownloadDialogOpen())
            WVBrowser1->CloseDefaultDownloadDialog();
    });
    connect(WVBrowser1, &TWVBrowser::OnWebMessageReceived, this,
            [this](const QString &json) { WVBrowser1->PostWebMessageAsJson(json); });
    connect(btnRequestNewWindow, &QToolButton::clicked, this, [this] { btnRequestNewWindowClick(); });
}

void TFrameChild::btnRequestNewWindowClick()
{
    if (frmParent)
        frmParent->newWindow();
}

void TFrameChild::WVBrowser1NewWindowRequested(TWVNewWindowRequest *args)
{
    if (!args || !frmParent)
        return;
    if (fullScreenMode)
        WVBrowser1->ExecuteScript(QStringLiteral("if (document.fullscreenElement) document.exitFullscreen();"));
    const QString address = args->Uri().toString();
    if (TAddressRules::IsEnginePopupAddress(address) || frmParent->newWindowRequested) {
        args->SetHandled(false);
        return;
    }
    args->SetHandled(true);
    frmParent->navigateURL = address;
    frmParent->CreateNewTab(args);
}

void TFrameChild::WVBrowser1BasicAuthenticationRequested(TWVBasicAuthenticationArgs &args)
{
    // The engine waits for the answer inside this event, so the dialog runs here, modally.
    if (FUserAuthFrm)
        FUserAuthFrm->deleteLater();
    FUserAuthFrm = new TTBasicUserAuthForm(this, args.Uri.toString());
    QPointer<TTBasicUserAuthForm> form = FUserAuthFrm;
    form->exec();
    if (form && form->OkPressed()) {
        args.UserName = form->UserName();
        args.Password = form->Password();
    } else {
        args.Cancel = true;
    }
    if (form)
        form->deleteLater();
}

QSet<QString> &TFrameChild::CertificateExceptions()
{
    static QSet<QString> hosts;
    return hosts;
}

namespace {
QString HostKey(const QUrl &uri)
{
    return uri.host().toLower() + QLatin1Char(':') + QString::number(uri.port(uri.scheme() == QLatin1String("https") ? 443 : 80));
}
} // namespace

void TFrameChild::WVBrowser1ServerCertificateErrorDetected(TWVServerCertificateErrorArgs &args)
{
    const QString key = HostKey(args.RequestUri);
    // The user agreed to one certificate: another one for the same host is asked about again.
    const QString exception = key + QLatin1Char('/') + args.CertificateFingerprint;
    if (args.IsOverridable && !args.CertificateFingerprint.isEmpty() && CertificateExceptions().contains(exception)) {
        args.Action = wvceaAlwaysAllow;
        return;
    }
    // Nothing from the host is shown until the user, told what failed, chooses to go on.
    args.Action = wvceaCancel;
    if (!args.IsOverridable || FAskedCertificateHosts.contains(key))
        return;
    FAskedCertificateHosts.insert(key);
    const QUrl uri = args.RequestUri;
    const QString error = args.ErrorDescription;
    QMetaObject::invokeMethod(this, [this, uri, error, exception] { AskCertificateException(uri, error, exception); },
                              Qt::QueuedConnection);
}

void TFrameChild::AskCertificateException(const QUrl &uri, const QString &error, const QString &exception)
{
    const QString key = HostKey(uri);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Certificate Error"),
                    QStringLiteral("The certificate of %1 could not be verified:\n%2\n\n"
                                   "Someone may be impersonating the site. Continue to %1 anyway for this session?")
                        .arg(uri.host(), error),
                    QMessageBox::NoButton, this);
    box.setObjectName(QStringLiteral("CertificateErrorBox"));
    QPushButton *goOn = box.addButton(QStringLiteral("Continue"), QMessageBox::AcceptRole);
    goOn->setObjectName(QStringLiteral("ContinueBtn"));
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    FAskedCertificateHosts.remove(key);
    if (box.clickedButton() != goOn || !WVBrowser1)
        return;
    CertificateExceptions().insert(exception);
    // Load again what the tab was showing: the page itself, or the page that needed the host.
    if (FLastNavigation.isValid() && HostKey(FLastNavigation) == key)
        WVBrowser1->Navigate(FLastNavigation.toString());
    else
        WVBrowser1->Refresh();
}
