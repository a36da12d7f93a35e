#include "clearing/ClearingRules.h"
#include "webview/WVTypes.h"

#include <QtTest>

namespace {
// A plan written compactly: "P" a pause, "D" delete all cookies, "D!" the same reported on failure,
// a number a kind.
QStringList Describe(const QList<TClearStep> &steps)
{
    QStringList out;
    for (const TClearStep &step : steps) {
        switch (step.Kind) {
        case TClearStep::csPause:
            out << QStringLiteral("P%1").arg(step.PauseMs);
            break;
        case TClearStep::csDeleteAllCookies:
            out << (step.FailureMessage.isEmpty() ? QStringLiteral("D") : QStringLiteral("D!"));
            break;
        case TClearStep::csClearKind:
            out << QString::number(step.DataKind);
            break;
        }
    }
    return out;
}

TSettings Choose(std::initializer_list<TDeleteHistoryCategory> chosen)
{
    TSettings settings;
    for (const TDeleteHistoryCategoryInfo &category : TClearingRules::Categories())
        settings.*(category.Field) = false;
    for (TDeleteHistoryCategory category : chosen)
        settings.*(TClearingRules::Categories().at(category).Field) = true;
    return settings;
}
} // namespace

Q_DECLARE_METATYPE(TSettings)

// The rules of clearing browsing data: categories, their keys and order, the plans, origin checks.
class TestClearingRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void categoriesInCheckBoxOrder()
    {
        const QList<TDeleteHistoryCategoryInfo> &c = TClearingRules::Categories();
        QCOMPARE(c.size(), int(dhcCount));
        const QStringList boxes = {QStringLiteral("chkBrowsingHistory"), QStringLiteral("chkDownloadHistory"),
                                   QStringLiteral("chkCookiesSiteData"), QStringLiteral("chkCachedImages"),
                                   QStringLiteral("chkPasswords"),       QStringLiteral("chkAutofillData"),
                                   QStringLiteral("chkSiteSettings")};
        const QStringList captions = {QStringLiteral("Browsing History"),
                                      QStringLiteral("Download History"),
                                      QStringLiteral("Cookies and other site data"),
                                      QStringLiteral("Cached Images and Files"),
                                      QStringLiteral("Passwords and other Sign-in data"),
                                      QStringLiteral("Autofill data"),
                                      QStringLiteral("Site Settings")};
        const QStringList keys = {QStringLiteral("BrowsingHistory"), QStringLiteral("DownloadHistory"),
                                  QStringLiteral("Cookies"),         QStringLiteral("Images"),
                                  QStringLiteral("Passwords"),       QStringLiteral("AutofillData"),
                                  QStringLiteral("SiteSettings")};
        const QList<bool TSettings::*> fields = {&TSettings::FBrowsingHistory, &TSettings::FDownloadHistory,
                                                 &TSettings::FCookies,         &TSettings::FImages,
                                                 &TSettings::FPasswords,       &TSettings::FAutofillData,
                                                 &TSettings::FSiteSettings};
        for (int i = 0; i < c.size(); ++i) {
            QCOMPARE(c.at(i).CheckBox, boxes.at(i));
            QCOMPARE(c.at(i).Caption, captions.at(i));
            QCOMPARE(c.at(i).Key, keys.at(i));
            QVERIFY(c.at(i).Field == fields.at(i));
        }
        // Every key defaults to true.
        const TSettings defaults;
        for (const TDeleteHistoryCategoryInfo &category : c)
            QVERIFY(defaults.*(category.Field));
    }

    void cookiesAreClearedFirst()
    {
        QCOMPARE(TClearingRules::ClearOrder(),
                 (QList<TDeleteHistoryCategory>{dhcCookies, dhcBrowsingHistory, dhcDownloadHistory, dhcImages,
                                                dhcPasswords, dhcAutofillData, dhcSiteSettings}));
    }

    void plans_data()
    {
        QTest::addColumn<TSettings>("settings");
        QTest::addColumn<bool>("atExit");
        QTest::addColumn<QStringList>("plan");
        const QString p = QStringLiteral("P50");
        QTest::newRow("dialog, all chosen")
            << TSettings() << false
            << QStringList{QStringLiteral("D"), QStringLiteral("64"), QStringLiteral("32"), p, QStringLiteral("4096"), p,
                           QStringLiteral("512"), p, QStringLiteral("16"), QStringLiteral("256"), p,
                           QStringLiteral("2048"), p, QStringLiteral("1024"), p, QStringLiteral("8192")};
        QTest::newRow("exit, all chosen")
            << TSettings() << true
            << QStringList{QStringLiteral("D!"), QStringLiteral("64"), QStringLiteral("32"), p, QStringLiteral("4096"),
                           p, QStringLiteral("512"), p, QStringLiteral("16"), QStringLiteral("256"), p,
                           QStringLiteral("2048"), p, QStringLiteral("1024"), p, QStringLiteral("8192")};
        QTest::newRow("dialog, only site settings: six pauses first")
            << Choose({dhcSiteSettings}) << false << QStringList{p, p, p, p, p, p, QStringLiteral("8192")};
        QTest::newRow("exit, only site settings: no pause") << Choose({dhcSiteSettings}) << true
                                                           << QStringList{QStringLiteral("8192")};
        QTest::newRow("exit, history and images")
            << Choose({dhcImages, dhcBrowsingHistory}) << true
            << QStringList{QStringLiteral("4096"), p, QStringLiteral("16"), QStringLiteral("256"), p};
        QTest::newRow("dialog, nothing chosen") << Choose({}) << false << QStringList{p, p, p, p, p, p};
        QTest::newRow("exit, nothing chosen") << Choose({}) << true << QStringList();
    }

    void plans()
    {
        QFETCH(TSettings, settings);
        QFETCH(bool, atExit);
        QTEST(Describe(TClearingRules::PlanSelected(settings, atExit)), "plan");
    }

    void refusalMessages_data()
    {
        QTest::addColumn<int>("category");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("browsing history") << int(dhcBrowsingHistory)
                                          << QStringList{QStringLiteral("Orbwell could not clear Browsing History.")};
        QTest::newRow("download history") << int(dhcDownloadHistory)
                                          << QStringList{QStringLiteral("Orbwell could not clear Download History.")};
        QTest::newRow("cookies") << int(dhcCookies)
                                 << QStringList{QString(), QStringLiteral("Orbwell could not clear Cookies."),
                                                QStringLiteral("Orbwell could not clear Site Data.")};
        QTest::newRow("images") << int(dhcImages)
                                << QStringList{QStringLiteral("Orbwell could not clear Cache Storage."),
                                               QStringLiteral("Orbwell could not clear Cached Images and Files.")};
        QTest::newRow("passwords") << int(dhcPasswords)
                                   << QStringList{QStringLiteral("Orbwell could not clear Password Data.")};
        QTest::newRow("autofill") << int(dhcAutofillData)
                                  << QStringList{QStringLiteral("Orbwell could not clear Autofill Data.")};
        QTest::newRow("site settings") << int(dhcSiteSettings)
                                       << QStringList{QStringLiteral("Orbwell could not clear Site Setting Data.")};
    }

    void refusalMessages()
    {
        QFETCH(int, category);
        QStringList messages;
        for (const TClearStep &step : TClearingRules::StepsOf(TDeleteHistoryCategory(category), false))
            messages << step.FailureMessage;
        QTEST(messages, "messages");
    }

    void cookiesAtExitReportDeleteAllToo()
    {
        const QList<TClearStep> steps = TClearingRules::StepsOf(dhcCookies, true);
        QCOMPARE(steps.first().Kind, TClearStep::csDeleteAllCookies);
        QCOMPARE(steps.first().FailureMessage, QStringLiteral("Orbwell could not clear Cookies."));
    }

    void domainText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("passed");
        QTest::newRow("empty") << QString() << int(TDomainDataRequest::ddEmpty) << QString();
        QTest::newRow("blanks only") << QStringLiteral("  \t") << int(TDomainDataRequest::ddEmpty) << QString();
        QTest::newRow("origin") << QStringLiteral("https://www.example.com") << int(TDomainDataRequest::ddOrigin)
                                << QStringLiteral("https://www.example.com");
        QTest::newRow("with port") << QStringLiteral("http://127.0.0.1:8080") << int(TDomainDataRequest::ddOrigin)
                                   << QStringLiteral("http://127.0.0.1:8080");
        QTest::newRow("with a path, passed on unchanged")
            << QStringLiteral("https://www.example.com/news/today.html") << int(TDomainDataRequest::ddOrigin)
            << QStringLiteral("https://www.example.com/news/today.html");
        QTest::newRow("pasted with a line end") << QStringLiteral(" https://a.org/\n") << int(TDomainDataRequest::ddOrigin)
                                                << QStringLiteral("https://a.org/");
        QTest::newRow("no scheme") << QStringLiteral("www.example.com") << int(TDomainDataRequest::ddNotAnOrigin)
                                   << QString();
        QTest::newRow("words") << QStringLiteral("not an origin") << int(TDomainDataRequest::ddNotAnOrigin) << QString();
        QTest::newRow("file address") << QStringLiteral("file:///home/a.html") << int(TDomainDataRequest::ddNotAnOrigin)
                                      << QString();
        QTest::newRow("scheme only") << QStringLiteral("https://") << int(TDomainDataRequest::ddNotAnOrigin) << QString();
    }

    void domainText()
    {
        QFETCH(QString, text);
        const TDomainDataRequest request = TClearingRules::CheckDomainText(text);
        QTEST(int(request.Result), "result");
        QTEST(request.Text, "passed");
    }
};


QTEST_GUILESS_MAIN(TestClearingRules)
#include "tst_clearingrules.moc"
