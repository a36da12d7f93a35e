#pragma once

#include "shell/Settings.h"

#include <QList>
#include <QString>

// The seven categories of "Clear Selected Data...", in the order of their check boxes.
enum TDeleteHistoryCategory {
    dhcBrowsingHistory,
    dhcDownloadHistory,
    dhcCookies,
    dhcImages,
    dhcPasswords,
    dhcAutofillData,
    dhcSiteSettings,
    dhcCount
};

struct TDeleteHistoryCategoryInfo
{
    QString CheckBox; // object name of its check box
    QString Caption;
    QString Key; // in section "Delete History"
    bool TSettings::*Field;
};

// One step of clearing the chosen categories through a tab's browser component.
struct TClearStep
{
    enum TKind { csDeleteAllCookies, csClearKind, csPause };
    TKind Kind = csPause;
    quint32 DataKind = 0;   // TWVBrowsingDataKinds, for csClearKind
    QString FailureMessage; // shown when the request is refused; empty: a refusal is not reported
    int PauseMs = 0;

    bool operator==(const TClearStep &other) const
    {
        return Kind == other.Kind && DataKind == other.DataKind && FailureMessage == other.FailureMessage
               && PauseMs == other.PauseMs;
    }
};

// What the origin text of "Clear Domain Data..." asks for.
struct TDomainDataRequest
{
    enum TResult { ddEmpty, ddNotAnOrigin, ddOrigin };
    TResult Result = ddEmpty;
    QString Text; // the text handed to the browser component (ddOrigin only)
};

// The rules of clearing browsing data, without windows or engine.
namespace TClearingRules {

inline const QString ClearedMessage = QStringLiteral("Orbwell Browser Data cleared succesfully.");
inline const QString CompletionFailedMessage = QStringLiteral("There was an error clearing Orbwell browser data");
inline const QString ClearAllQuestion = QStringLiteral("Clear All Browser Data?");
inline const QString ClearAllDoneMessage = QStringLiteral("Orbwell Browsing Data Cleared Successfully.");
inline const QString ClearAllFailedMessage = QStringLiteral("Orbwell could not clear all Browsing Data.");
inline const QString DeleteCookiesQuestion =
    QStringLiteral("Delete All Cookies?\r\n\r\nYou may be [Logged Out] of some online accounts.");
inline const QString CookiesDeletedMessage = QStringLiteral("All Orbwell Cookies Have Been Deleted.");
inline const QString CookiesNotDeletedMessage = QStringLiteral("Orbwell Cookies Could Not Be Deleted.");
inline const QString OriginClearedMessage = QStringLiteral("Origin Data Cleared Successfully.");
inline const QString OriginNotClearedMessage = QStringLiteral("Origin Data Could Not Be Cleared.");
inline const QString NotAnOriginMessage =
    QStringLiteral("Please enter a scheme and host, such as https://www.example.com");
inline const QString DomainExample = QStringLiteral("https://www.example.com");

constexpr int PauseMs = 50;

// The categories in check-box order.
const QList<TDeleteHistoryCategoryInfo> &Categories();
// The order in which chosen categories are cleared (cookies first).
const QList<TDeleteHistoryCategory> &ClearOrder();
// The requests that clear one category, in order, with their refusal messages.
QList<TClearStep> StepsOf(TDeleteHistoryCategory category, bool atExit);
// Every step of clearing the categories chosen in settings: the dialog pauses after each of the
// first six categories whether chosen or not; at exit a pause follows only a chosen category; none
// follows site settings.
QList<TClearStep> PlanSelected(const TSettings &settings, bool atExit);
// Checks the text of the domain box; surrounding blanks (as pasted text often carries) are dropped.
TDomainDataRequest CheckDomainText(const QString &text);

} // namespace TClearingRules
