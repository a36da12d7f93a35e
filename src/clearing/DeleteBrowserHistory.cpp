#include "clearing/DeleteBrowserHistory.h"

#include "clearing/BrowsingDataClearing.h"
#include "shell/BrowserTab.h"
#include "shell/Parent.h"
#include "webview/WVBrowser.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QFont Calibri(bool light, bool bold = false)
{
    QFont font(light ? QStringLiteral("Calibri Light") : QStringLiteral("Calibri"));
    font.setPixelSize(16);
    font.setBold(bold);
    return font;
}
} // namespace

TfrmDeleteBrowserHistory::TfrmDeleteBrowserHistory(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmDeleteBrowserHistory"));
    setWindowTitle(QStringLiteral("Clear Selected Browser Data"));
    setFixedSize(457, 408);
    setModal(true);
    // Without a border of its own the window still needs an edge against the page behind it.
    setStyleSheet(QStringLiteral("#frmDeleteBrowserHistory { border: 1px solid #374F60; }"));
    setAttribute(Qt::WA_StyledBackground, true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 16, 20, 18);
    layout->setSpacing(14);
    grpClearBrowsingData = new QGroupBox(QStringLiteral("Clear Browsing Data"), this);
    grpClearBrowsingData->setObjectName(QStringLiteral("grpClearBrowsingData"));
    grpClearBrowsingData->setFont(Calibri(false, true));
    auto *boxes = new QVBoxLayout(grpClearBrowsingData);
    boxes->setContentsMargins(18, 14, 18, 10);
    for (const TDeleteHistoryCategoryInfo &category : TClearingRules::Categories()) {
        auto *box = new QCheckBox(category.Caption, grpClearBrowsingData);
        box->setObjectName(category.CheckBox);
        box->setFont(Calibri(true));
        boxes->addWidget(box);
        FBoxes.append(box);
    }
    chkBrowsingHistory = FBoxes.at(dhcBrowsingHistory);
    chkDownloadHistory = FBoxes.at(dhcDownloadHistory);
    chkCookiesSiteData = FBoxes.at(dhcCookies);
    chkCachedImages = FBoxes.at(dhcImages);
    chkPasswords = FBoxes.at(dhcPasswords);
    chkAutofillData = FBoxes.at(dhcAutofillData);
    chkSiteSettings = FBoxes.at(dhcSiteSettings);
    layout->addWidget(grpClearBrowsingData, 1);

    auto *buttons = new QHBoxLayout();
    btnClearData = new QPushButton(QStringLiteral("Clear Selected Data"), this);
    btnClearData->setObjectName(QStringLiteral("btnClearData"));
    btnClose = new QPushButton(QStringLiteral("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    for (QPushButton *button : {btnClearData, btnClose}) {
        button->setFont(Calibri(true));
        button->setMinimumHeight(34);
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);
    connect(btnClearData, &QPushButton::clicked, this, [this] { btnClearDataClick(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { btnCloseClick(); });
}

QCheckBox *TfrmDeleteBrowserHistory::CheckBoxOf(TDeleteHistoryCategory category) const
{
    return FBoxes.value(category);
}

void TfrmDeleteBrowserHistory::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormActivate();
}

void TfrmDeleteBrowserHistory::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the way "Close" does, so the choice is kept either way.
    if (event->key() == Qt::Key_Escape) {
        btnCloseClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmDeleteBrowserHistory::FormActivate()
{
    setCheckboxes();
}

void TfrmDeleteBrowserHistory::setCheckboxes()
{
    if (!frmParent)
        return;
    const QList<TDeleteHistoryCategoryInfo> &categories = TClearingRules::Categories();
    for (int i = 0; i < categories.size(); ++i)
        FBoxes.at(i)->setChecked(frmParent->Settings.*(categories.at(i).Field));
}

void TfrmDeleteBrowserHistory::saveDeleteHistory()
{
    if (!frmParent)
        return;
    const QList<TDeleteHistoryCategoryInfo> &categories = TClearingRules::Categories();
    // After one failed write (already reported) the others would fail alike; the choice still holds
    // for this run.
    bool writable = true;
    for (int i = 0; i < categories.size() && writable; ++i)
        writable = frmParent->WriteSetting(TSettings::DeleteHistorySection, categories.at(i).Key, FBoxes.at(i)->isChecked());
    for (int i = 0; i < categories.size(); ++i)
        frmParent->Settings.*(categories.at(i).Field) = FBoxes.at(i)->isChecked();
}

TClearingRun::TOutcome TfrmDeleteBrowserHistory::clearSelectedHistory()
{
    TBrowserTab *tab = frmParent ? frmParent->ActiveTab() : nullptr;
    TClearingRun run(tab ? tab->OrbwellBrowser() : nullptr, this);
    run.Run(TClearingRules::PlanSelected(frmParent ? frmParent->Settings : TSettings(), false));
    return run.Wait(TBrowsingDataClearing::CommandWaitMs);
}

void TfrmDeleteBrowserHistory::SetBusy(bool busy)
{
    btnClearData->setEnabled(!busy);
    btnClose->setEnabled(!busy);
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void TfrmDeleteBrowserHistory::btnClearDataClick()
{
    QCoreApplication::processEvents();
    try {
        saveDeleteHistory();
        SetBusy(true);
        const TClearingRun::TOutcome outcome = clearSelectedHistory();
        SetBusy(false);
        // Success is told only when everything was cleared; a refusal or a failed completion has
        // already told its own message.
        if (outcome == TClearingRun::coCleared) {
            QMessageBox::information(this, windowTitle(), TClearingRules::ClearedMessage);
        } else if (outcome == TClearingRun::coTimedOut) {
            QMessageBox box(QMessageBox::NoIcon, windowTitle(), TClearingRules::CompletionFailedMessage,
                            QMessageBox::Ok, this);
            box.exec();
        }
        accept();
    } catch (...) {
        if (!btnClose->isEnabled())
            SetBusy(false);
        accept();
    }
    QCoreApplication::processEvents();
}

void TfrmDeleteBrowserHistory::btnCloseClick()
{
    saveDeleteHistory();
    reject();
}
