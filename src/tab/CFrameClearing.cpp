#include "tab/CFrame.h"

#include "clearing/BrowsingDataClearing.h"
#include "clearing/ClearingRun.h"
#include "clearing/DeleteBrowserHistory.h"
#include "clearing/DeleteDomainData.h"
#include "look/GradientTabBar.h"
#include "shell/Parent.h"
#include "tab/MenuItems.h"
#include "webview/WVBrowser.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QToolButton>
#include <optional>

namespace {
QString Title()
{
    return QApplication::applicationDisplayName();
}

// Asks, sends one clearing request and waits until the engine has finished it: success is told only
// then, never merely because the request was taken. Nothing when the user said no, the request was
// refused (its message has been shown) or the tab went meanwhile.
std::optional<TClearingRun::TOutcome> AskAndClear(TFrameChild *frame, TWVBrowser *browser, const QString &question,
                                                  quint32 kinds, const QString &failureMessage)
{
    if (QMessageBox::question(frame, Title(), question, QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return std::nullopt;
    TClearStep step;
    step.Kind = TClearStep::csClearKind;
    step.DataKind = kinds;
    step.FailureMessage = failureMessage;
    QPointer<TFrameChild> self(frame);
    TClearingRun run(browser, frame);
    run.Run({step});
    if (!self || run.Refused())
        return std::nullopt;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TClearingRun::TOutcome outcome = run.Wait(TBrowsingDataClearing::CommandWaitMs);
    QApplication::restoreOverrideCursor();
    if (!self)
        return std::nullopt;
    return outcome;
}
} // namespace

void TFrameChild::BuildClearingMenus()
{
    if (frmParent)
        TBrowsingDataClearing::Install(frmParent);

    if (!popSettings) {
        popSettings = new QMenu(this);
        popSettings->setObjectName(QStringLiteral("popSettings"));
        connect(btnSettings, &QToolButton::clicked, this, [this] {
            popSettings->popup(btnSettings->mapToGlobal(
                QPoint(btnSettings->x() - 150, btnSettings->y() + btnSettings->height())));
        });
    }
    // The clearing commands lead the settings menu, whatever else it holds.
    QAction *first = popSettings->actions().value(0);
    const auto lead = [this, first](const char *name, const QString &caption, void (TFrameChild::*handler)()) {
        auto *action = new QAction(caption, popSettings);
        action->setObjectName(QLatin1String(name));
        popSettings->insertAction(first, action);
        connect(action, &QAction::triggered, this, handler);
    };
    lead("DeleteAllCookies1", QStringLiteral("Delete All Cookies"), &TFrameChild::DeleteAllCookies1Click);
    lead("ClearDomainData1", QStringLiteral("Clear Domain Data..."), &TFrameChild::ClearDomainData1Click);
    lead("ClearCache1", QStringLiteral("Clear Selected Data..."), &TFrameChild::ClearCache1Click);
    lead("ClearBrowsingHistory1", QStringLiteral("Clear All Surfing Data"), &TFrameChild::ClearBrowsingHistory1Click);
    popSettings->insertSeparator(first);

    if (!popClose) {
        popClose = new QMenu(this);
        popClose->setObjectName(QStringLiteral("popClose"));
        connect(btnDDClose, &QToolButton::clicked, this, [this] {
            popClose->popup(btnCloseAll->mapToGlobal(
                QPoint(btnCloseAll->x() - 250, btnCloseAll->y() + btnCloseAll->height())));
        });
        connect(TMenuItems::Add(popClose, "CloseWindow1", QStringLiteral("Close Active Tab"), QStringLiteral("Ctrl+W")),
                &QAction::triggered, this, [] {
                    if (frmParent)
                        frmParent->closeTab(frmParent->tbcChildrenTabs()->currentIndex());
                });
        connect(TMenuItems::Add(popClose, "CloseAllWindows1", QStringLiteral("Refresh and Restart Orbwell")),
                &QAction::triggered, this, [] {
                    if (!frmParent)
                        return;
                    QCoreApplication::processEvents();
                    frmParent->closeAllTabs();
                    frmParent->refreshRestart = true;
                    QCoreApplication::processEvents();
                    frmParent->close();
                    QCoreApplication::processEvents();
                });
        popClose->addSeparator();
        connect(TMenuItems::Add(popClose, "AccessNASDevice1", QStringLiteral("Access NAS Device")), &QAction::triggered, this,
                [] {
                    if (!frmParent)
                        return;
                    frmParent->navigateURL = frmParent->Settings.FNASDeviceAddress;
                    frmParent->createFrame();
                });
        connect(TMenuItems::Add(popClose, "InternetRouter1", QStringLiteral("Access Internet Router")), &QAction::triggered,
                this, [] {
                    if (!frmParent)
                        return;
                    frmParent->navigateURL = frmParent->Settings.FInternetRouterAddress;
                    frmParent->createFrame();
                });
        popClose->addSeparator();
        // Leaving through here clears the chosen data when the settings ask for it (at shutdown).
        connect(TMenuItems::Add(popClose, "Exit1", QStringLiteral("Exit Orbwell Browser")), &QAction::triggered, this, [] {
            QCoreApplication::processEvents();
            if (frmParent)
                frmParent->close();
        });
    }

    connect(this, &TFrameChild::BrowserComponentCreated, this, [this](TWVBrowser *browser) {
        connect(browser, &TWVBrowser::OnClearBrowsingDataCompleted, this,
                [this](qint32 code) { WVBrowser1ClearBrowsingDataCompleted(code); });
        connect(browser, &TWVBrowser::OnClearDataForOriginCompleted, this,
                [this](bool result) { WVBrowser1ClearDataForOriginCompleted(result); });
        // A page that finishes loading behind the clearing dialog must not hide it.
        connect(browser, &TWVBrowser::OnDOMContentLoaded, this, [] {
            TfrmDeleteBrowserHistory *form = TBrowsingDataClearing::DeleteBrowserHistoryForm();
            if (form && form->isVisible()) {
                form->raise();
                form->activateWindow();
            }
        });
    });
}

void TFrameChild::DeleteAllCookies1Click()
{
    const auto outcome = AskAndClear(this, WVBrowser1, TClearingRules::DeleteCookiesQuestion,
                                     WV_BROWSING_DATA_KINDS_COOKIES, TClearingRules::CookiesNotDeletedMessage);
    if (!outcome)
        return;
    if (*outcome == TClearingRun::coCleared)
        QMessageBox::information(this, Title(), TClearingRules::CookiesDeletedMessage);
    else
        QMessageBox::critical(this, Title(), TClearingRules::CookiesNotDeletedMessage);
}

void TFrameChild::ClearDomainData1Click()
{
    if (TfrmDeleteDomainData *form = TBrowsingDataClearing::DeleteDomainDataForm())
        form->exec();
}

void TFrameChild::ClearCache1Click()
{
    RunBehindTemporaryTab([] {
        TfrmDeleteBrowserHistory *form = TBrowsingDataClearing::DeleteBrowserHistoryForm();
        if (!form)
            return false;
        form->exec();
        return true;
    });
}

void TFrameChild::ClearBrowsingHistory1Click()
{
    const auto outcome = AskAndClear(this, WVBrowser1, TClearingRules::ClearAllQuestion,
                                     WV_BROWSING_DATA_KINDS_ALL_PROFILE, TClearingRules::ClearAllFailedMessage);
    if (!outcome)
        return;
    // A failure was told by the completion handler.
    if (*outcome == TClearingRun::coCleared)
        QMessageBox::information(this, Title(), TClearingRules::ClearAllDoneMessage);
    else if (*outcome == TClearingRun::coTimedOut)
        QMessageBox::information(this, Title(), TClearingRules::ClearAllFailedMessage);
}

void TFrameChild::WVBrowser1ClearBrowsingDataCompleted(qint32 errorCode)
{
    if (errorCode >= 0)
        return;
    QMessageBox box(QMessageBox::NoIcon, Title(), TClearingRules::CompletionFailedMessage, QMessageBox::Ok, this);
    box.exec();
}

void TFrameChild::WVBrowser1ClearDataForOriginCompleted(bool result)
{
    QMessageBox::information(this, Title(),
                             result ? TClearingRules::OriginClearedMessage : TClearingRules::OriginNotClearedMessage);
}
