// The tab's side of the content blocker: the request filter, the navigation check, the counter on the
// ad-blocker button and the list of requests that passed.
#include "tab/CFrame.h"

#include "blocking/AdBlockLists.h"
#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "tab/AddressEdit.h"
#include "webview/WVBrowser.h"

#include <QApplication>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QToolButton>

namespace {
TClosingFlags Closing()
{
    return {frmParent->appExit, frmParent->tabExit};
}
} // namespace

void TFrameChild::ConnectBlocking()
{
    WVBrowser1->SetRequestFilter(
        [this](const TWVResourceRequest &request) { return WVBrowser1WebResourceRequested(request); });
    connect(btnHide, &QPushButton::clicked, this, [this] { btnHideClick(); });
    connect(btnClearList, &QPushButton::clicked, this, [this] { btnClearListClick(); });
}

bool TFrameChild::WVBrowser1WebResourceRequested(const TWVResourceRequest &request)
{
    if (!frmParent)
        return false;
    const TSettings &s = frmParent->Settings;
    // Only requests of the kinds registered when the view was made arrive here; images first.
    if (s.FBlockImages)
        return true;
    if (!s.FAdBlocker || Closing().Any())
        return false;
    const TAdBlockLists &lists = frmParent->AdBlockLists();
    if (lists.urlInWhitelist(edtAddress->text(), Closing()))
        return false;
    const QString url = request.Url.toString(QUrl::FullyEncoded);
    if (lists.ShouldBlockUrl(url, Closing())) {
        if (Closing().Any())
            return false;
        bool isNumber = false;
        const int count = btnAdBlocker->text().toInt(&isNumber);
        if (isNumber)
            btnAdBlocker->setText(QString::number(count + 1));
        return true;
    }
    if (frmParent->showPanelAdUrls)
        lstAdUrls->addItem(url);
    return false;
}

bool TFrameChild::AdBlockNavigationCheck(const QUrl &uri)
{
    if (!frmParent)
        return false;
    const bool on = frmParent->Settings.FAdBlocker;
    btnAdBlocker->setText(on ? QStringLiteral("0") : QString());
    if (!on)
        return false;
    const TAdBlockLists &lists = frmParent->AdBlockLists();
    const QString url = uri.toString(QUrl::FullyEncoded);
    if (lists.urlInWhitelist(url, Closing()))
        return false;
    bool refused = false;
    if (lists.ShouldBlockUrl(url, Closing())) {
        refused = true;
        // The tab that was to show the blocked page goes, not whichever tab is active by then;
        // the last tab stays.
        if (frmParent->TabCount() > 1)
            frmParent->CloseTabOf(this, true);
    }
    if (pnlAdList->isVisible())
        lstAdUrls->clear();
    return refused;
}

int TFrameChild::BlockedCount() const
{
    bool isNumber = false;
    const int count = btnAdBlocker->text().toInt(&isNumber);
    return isNumber ? count : -1;
}

void TFrameChild::setAdBlockButton()
{
    if (frmParent && frmParent->Settings.FAdBlocker) {
        Panel2->setFixedWidth(331);
        btnAdBlocker->setVisible(true);
    } else {
        btnAdBlocker->setText(QString());
    }
}

void TFrameChild::setAdBlockOff()
{
    if (frmParent)
        frmParent->WriteSetting(TSettings::GeneralSection, QStringLiteral("AdBlocker"), frmParent->Settings.FAdBlocker);
}

void TFrameChild::BlockImages1Click()
{
    if (!frmParent)
        return;
    TSettings &s = frmParent->Settings;
    s.FBlockImages = !s.FBlockImages;
    frmParent->WriteSetting(TSettings::EnvironmentSection, QStringLiteral("BlockImages"), s.FBlockImages);
    if (s.FBlockImages && s.FAdBlocker) {
        s.FAdBlocker = false;
        btnAdBlocker->setText(QString());
        setAdBlockOff();
        QMessageBox::information(this, QApplication::applicationDisplayName(),
                                 QStringLiteral("Ad-Blocker will be disabled. Image Block will activate on New Tab."));
    }
}

void TFrameChild::btnHideClick()
{
    lstAdUrls->clear();
    if (frmParent)
        frmParent->showPanelAdUrls = false;
    pnlAdList->hide();
    Splitter1->hide();
}

void TFrameChild::btnClearListClick()
{
    lstAdUrls->clear();
}

void TFrameChild::AddtoWhitelist1Click()
{
    if (!frmParent || edtAddress->text().isEmpty())
        return;
    const TListFileResult result = frmParent->AdBlockLists().AddDomainToWhitelist(edtAddress->text());
    if (result.Status == TListFileStatus::Failed)
        QMessageBox::critical(this, QApplication::applicationDisplayName(), result.ErrorText);
}
