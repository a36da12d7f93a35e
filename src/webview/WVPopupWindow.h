#pragma once

#include <QWebEngineView>

class TWVPage;
class QWebEngineProfile;

// A stand-alone window with its own page: where the engine opens a pop-up that no tab takes, and
// where the developer tools are shown. It belongs to the window it was opened from and closes
// with it, so its page never outlives the profile.
class TWVPopupWindow : public QWebEngineView
{
    Q_OBJECT

public:
    // With a page, the window takes that page over (a request's page that waited unseen).
    TWVPopupWindow(QWebEngineProfile *profile, QWidget *ownerWindow, TWVPage *page = nullptr);

    TWVPage *Page() const { return FPage; }

private:
    TWVPage *FPage;
};
