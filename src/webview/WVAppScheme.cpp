#include "webview/WVAppScheme.h"

#include "webview/WVAppSchemeHandler.h"

#include <QWebEngineProfile>
#include <QWebEngineUrlScheme>

void TWVAppScheme::Register(const QString &scheme)
{
    QWebEngineUrlScheme s(scheme.toLatin1());
    s.setSyntax(QWebEngineUrlScheme::Syntax::Host);
    s.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalAccessAllowed
               | QWebEngineUrlScheme::ContentSecurityPolicyIgnored);
    QWebEngineUrlScheme::registerScheme(s);
}

void TWVAppScheme::Install(QWebEngineProfile *profile, const QString &scheme)
{
    if (!profile || profile->urlSchemeHandler(scheme.toLatin1()))
        return;
    profile->installUrlSchemeHandler(scheme.toLatin1(), new TWVAppSchemeHandler(profile));
}
