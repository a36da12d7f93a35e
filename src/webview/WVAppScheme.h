#pragma once

#include <QString>

class QWebEngineProfile;

// The program's own pages, shipped inside the executable and served under its own URL scheme.
namespace TWVAppScheme {

// Must run before the application object exists.
void Register(const QString &scheme);
// Serves "<scheme>://<host>/<file>" from the resource folder ":/pages/" on the profile.
void Install(QWebEngineProfile *profile, const QString &scheme);

} // namespace TWVAppScheme
