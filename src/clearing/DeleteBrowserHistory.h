#pragma once

#include "clearing/ClearingRun.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;

// "Clear Selected Browser Data": the seven categories, remembered in the settings file, cleared
// through the active tab's browser component.
class TfrmDeleteBrowserHistory : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmDeleteBrowserHistory(QWidget *parent = nullptr);

    QGroupBox *grpClearBrowsingData = nullptr;
    QCheckBox *chkBrowsingHistory = nullptr;
    QCheckBox *chkDownloadHistory = nullptr;
    QCheckBox *chkCookiesSiteData = nullptr;
    QCheckBox *chkCachedImages = nullptr;
    QCheckBox *chkPasswords = nullptr;
    QCheckBox *chkAutofillData = nullptr;
    QCheckBox *chkSiteSettings = nullptr;
    QPushButton *btnClearData = nullptr;
    QPushButton *btnClose = nullptr;

    QCheckBox *CheckBoxOf(TDeleteHistoryCategory category) const;
    void setCheckboxes();
    void saveDeleteHistory();
    // Clears the chosen categories through the active tab and waits until the engine is done.
    TClearingRun::TOutcome clearSelectedHistory();
    void btnClearDataClick();
    void btnCloseClick();

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormActivate();
    void SetBusy(bool busy);

    QList<QCheckBox *> FBoxes;
};
