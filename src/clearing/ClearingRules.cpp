#include "clearing/ClearingRules.h"

#include "webview/WVTypes.h"

namespace TClearingRules {

namespace {
TClearStep Kind(quint32 kind, const QString &message)
{
    TClearStep step;
    step.Kind = TClearStep::csClearKind;
    step.DataKind = kind;
    step.FailureMessage = message;
    return step;
}

TClearStep Pause()
{
    TClearStep step;
    step.Kind = TClearStep::csPause;
    step.PauseMs = PauseMs;
    return step;
}
} // namespace

const QList<TDeleteHistoryCategoryInfo> &Categories()
{
    static const QList<TDeleteHistoryCategoryInfo> categories = {
        {QStringLiteral("chkBrowsingHistory"), QStringLiteral("Browsing History"), QStringLiteral("BrowsingHistory"),
         &TSettings::FBrowsingHistory},
        {QStringLiteral("chkDownloadHistory"), QStringLiteral("Download History"), QStringLiteral("DownloadHistory"),
         &TSettings::FDownloadHistory},
        {QStringLiteral("chkCookiesSiteData"), QStringLiteral("Cookies and other site data"), QStringLiteral("Cookies"),
         &TSettings::FCookies},
        {QStringLiteral("chkCachedImages"), QStringLiteral("Cached Images and Files"), QStringLiteral("Images"),
         &TSettings::FImages},
        {QStringLiteral("chkPasswords"), QStringLiteral("Passwords and other Sign-in data"), QStringLiteral("Passwords"),
         &TSettings::FPasswords},
        {QStringLiteral("chkAutofillData"), QStringLiteral("Autofill data"), QStringLiteral("AutofillData"),
         &TSettings::FAutofillData},
        {QStringLiteral("chkSiteSettings"), QStringLiteral("Site Settings"), QStringLiteral("SiteSettings"),
         &TSettings::FSiteSettings},
    };
    return categories;
}

const QList<TDeleteHistoryCategory> &ClearOrder()
{
    static const QList<TDeleteHistoryCategory> order = {dhcCookies,   dhcBrowsingHistory, dhcDownloadHistory,
                                                        dhcImages,    dhcPasswords,       dhcAutofillData,
                                                        dhcSiteSettings};
    return order;
}

QList<TClearStep> StepsOf(TDeleteHistoryCategory category, bool atExit)
{
    const QString cookies = QStringLiteral("Orbwell could not clear Cookies.");
    switch (category) {
    case dhcCookies: {
        TClearStep deleteAll;
        deleteAll.Kind = TClearStep::csDeleteAllCookies;
        if (atExit)
            deleteAll.FailureMessage = cookies;
        // "Other site data" is the sites' storage (local storage, databases, caches, workers, file
        // systems): without it, what the caption promises to erase would survive.
        return {deleteAll, Kind(WV_BROWSING_DATA_KINDS_COOKIES, cookies),
                Kind(WV_BROWSING_DATA_KINDS_ALL_DOM_STORAGE, QStringLiteral("Orbwell could not clear Site Data."))};
    }
    case dhcBrowsingHistory:
        return {Kind(WV_BROWSING_DATA_KINDS_BROWSING_HISTORY, QStringLiteral("Orbwell could not clear Browsing History."))};
    case dhcDownloadHistory:
        return {Kind(WV_BROWSING_DATA_KINDS_DOWNLOAD_HISTORY, QStringLiteral("Orbwell could not clear Download History."))};
    case dhcImages:
        // Cached images and files are the disk cache (and the sites' cache storage); the sites' local
        // storage is site data, not a cache, and stays with "Cookies and other site data".
        return {Kind(WV_BROWSING_DATA_KINDS_CACHE_STORAGE, QStringLiteral("Orbwell could not clear Cache Storage.")),
                Kind(WV_BROWSING_DATA_KINDS_DISK_CACHE,
                     QStringLiteral("Orbwell could not clear Cached Images and Files."))};
    case dhcPasswords:
        return {Kind(WV_BROWSING_DATA_KINDS_PASSWORD_AUTOSAVE, QStringLiteral("Orbwell could not clear Password Data."))};
    case dhcAutofillData:
        return {Kind(WV_BROWSING_DATA_KINDS_GENERAL_AUTOFILL, QStringLiteral("Orbwell could not clear Autofill Data."))};
    case dhcSiteSettings:
        return {Kind(WV_BROWSING_DATA_KINDS_SETTINGS, QStringLiteral("Orbwell could not clear Site Setting Data."))};
    case dhcCount:
        break;
    }
    return {};
}

QList<TClearStep> PlanSelected(const TSettings &settings, bool atExit)
{
    QList<TClearStep> steps;
    for (TDeleteHistoryCategory category : ClearOrder()) {
        const bool chosen = settings.*(Categories().at(category).Field);
        if (chosen)
            steps += StepsOf(category, atExit);
        if (category != dhcSiteSettings && (chosen || !atExit))
            steps.append(Pause());
    }
    return steps;
}

TDomainDataRequest CheckDomainText(const QString &text)
{
    TDomainDataRequest request;
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return request;
    // A text that names no origin could only fail; the user is told at once and may correct it.
    if (WVTypes::OriginOf(trimmed).isEmpty()) {
        request.Result = TDomainDataRequest::ddNotAnOrigin;
        return request;
    }
    request.Result = TDomainDataRequest::ddOrigin;
    request.Text = trimmed;
    return request;
}

} // namespace TClearingRules
