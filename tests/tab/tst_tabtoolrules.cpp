#include "tab/DownloadLedger.h"
#include "tab/PageShortcuts.h"
#include "tab/ProcessStatus.h"
#include "webview/WVTypes.h"

#include <QCoreApplication>
#include <QFile>
#include <QtTest>

class TestTabToolRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shortcuts_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<bool>("alt");
        QTest::addColumn<bool>("shift");
        QTest::addColumn<int>("command");
        using S = TPageShortcuts;
        QTest::newRow("Ctrl+Alt+B") << int('B') << true << true << false << int(S::pcBigScreen);
        QTest::newRow("Ctrl+Alt+N") << int('N') << true << true << false << int(S::pcNewOrbwell);
        QTest::newRow("Ctrl+Alt+P") << int('P') << true << true << false << int(S::pcPrintToPdf);
        QTest::newRow("Ctrl+Alt+T") << int('T') << true << true << false << int(S::pcHideToolbar);
        QTest::newRow("Ctrl+Alt+Shift+T") << int('T') << true << true << true << int(S::pcHideToolbar);
        QTest::newRow("Ctrl+Alt+S is nothing") << int('S') << true << true << false << int(S::pcNone);
        QTest::newRow("Ctrl+H") << int('H') << true << false << false << int(S::pcHistory);
        QTest::newRow("Ctrl+J") << int('J') << true << false << false << int(S::pcDownloads);
        QTest::newRow("Ctrl+O") << int('O') << true << false << false << int(S::pcOpenFile);
        QTest::newRow("Ctrl+D") << int('D') << true << false << false << int(S::pcDarkMode);
        QTest::newRow("Ctrl+M") << int('M') << true << false << false << int(S::pcPrivateMode);
        QTest::newRow("Ctrl+N") << int('N') << true << false << false << int(S::pcNewWindow);
        QTest::newRow("Ctrl+T") << int('T') << true << false << false << int(S::pcNewTab);
        QTest::newRow("Ctrl+S") << int('S') << true << false << false << int(S::pcSaveToFile);
        QTest::newRow("Ctrl+W") << int('W') << true << false << false << int(S::pcCloseTab);
        QTest::newRow("Ctrl+Shift+T is nothing") << int('T') << true << false << true << int(S::pcNone);
        QTest::newRow("Ctrl+P is the engine's") << int('P') << true << false << false << int(S::pcNone);
        QTest::newRow("T alone") << int('T') << false << false << false << int(S::pcNone);
        QTest::newRow("Alt+T") << int('T') << false << true << false << int(S::pcNone);
        QTest::newRow("F11") << 0x7A << false << false << false << int(S::pcPageFullScreen);
        QTest::newRow("Shift+F11") << 0x7A << false << false << true << int(S::pcPageFullScreen);
        QTest::newRow("F10") << 0x79 << false << false << false << int(S::pcF10FullScreen);
        QTest::newRow("F9") << 0x78 << false << false << false << int(S::pcNone);
    }

    void shortcuts()
    {
        QFETCH(int, key);
        QFETCH(bool, ctrl);
        QFETCH(bool, alt);
        QFETCH(bool, shift);
        QFETCH(int, command);
        QCOMPARE(int(TPageShortcuts::CommandFor(key, ctrl, alt, shift, false, false)), command);
        // Holding the key (auto-repeat) or letting it go does nothing.
        QCOMPARE(int(TPageShortcuts::CommandFor(key, ctrl, alt, shift, true, false)), int(TPageShortcuts::pcNone));
        QCOMPARE(int(TPageShortcuts::CommandFor(key, ctrl, alt, shift, false, true)), int(TPageShortcuts::pcNone));
    }

    void ledgerOverlappingDownloads()
    {
        // Two downloads that overlap, both completed: 1, 2, 1, 0.
        TDownloadLedger ledger;
        QList<int> counts;
        ledger.Hold(1);
        counts << ledger.Count();
        ledger.Hold(2);
        ledger.StateChanged(1, wvdsInProgress);
        ledger.StateChanged(2, wvdsInProgress);
        counts << ledger.Count();
        ledger.StateChanged(1, wvdsCompleted);
        counts << ledger.Count();
        ledger.StateChanged(2, wvdsCompleted);
        counts << ledger.Count();
        QCOMPARE(counts, (QList<int>{1, 2, 1, 0}));
    }

    void ledgerStates_data()
    {
        QTest::addColumn<QList<int>>("states");
        QTest::addColumn<int>("count");
        QTest::newRow("completed") << QList<int>{wvdsInProgress, wvdsCompleted} << 0;
        QTest::newRow("interrupted") << QList<int>{wvdsInProgress, wvdsInterrupted} << 0;
        QTest::newRow("interrupted twice") << QList<int>{wvdsInterrupted, wvdsInterrupted} << 0;
        QTest::newRow("resumed after interruption")
            << QList<int>{wvdsInProgress, wvdsInterrupted, wvdsInProgress} << 1;
        QTest::newRow("resumed and completed")
            << QList<int>{wvdsInProgress, wvdsInterrupted, wvdsInProgress, wvdsCompleted} << 0;
        QTest::newRow("unknown state") << QList<int>{7} << 1;
    }

    void ledgerStates()
    {
        QFETCH(QList<int>, states);
        QFETCH(int, count);
        TDownloadLedger ledger;
        ledger.Hold(5);
        for (int state : states)
            ledger.StateChanged(5, state);
        QCOMPARE(ledger.Count(), count);
        QVERIFY(ledger.Count() >= 0);
    }

    void ledgerGiveBackOnce()
    {
        TDownloadLedger ledger;
        ledger.Hold(1);
        ledger.Hold(1);
        QCOMPARE(ledger.Count(), 1);
        ledger.Release(1);
        ledger.Release(1);
        ledger.StateChanged(1, wvdsCompleted);
        QCOMPARE(ledger.Count(), 0);
    }

    void residentMemory_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<qint64>("kb");
        QTest::newRow("typical") << QByteArray("Name:\tQtWebEngineProc\nVmPeak:\t  900000 kB\nVmRSS:\t  123456 kB\n"
                                               "RssAnon:\t   60000 kB\n")
                                 << qint64(123456);
        QTest::newRow("no line") << QByteArray("Name:\tzombie\nState:\tZ (zombie)\n") << qint64(-1);
        QTest::newRow("bad unit") << QByteArray("VmRSS:\t 12 MB\n") << qint64(-1);
        QTest::newRow("not a number") << QByteArray("VmRSS:\t x kB\n") << qint64(-1);
        QTest::newRow("empty") << QByteArray() << qint64(-1);
    }

    void residentMemory()
    {
        QFETCH(QByteArray, status);
        QFETCH(qint64, kb);
        QCOMPARE(TProcessStatus::ResidentKb(status), kb);
    }

    void residentMemoryOfThisProcess()
    {
        const qint64 kb = TProcessStatus::ResidentKbOf(QCoreApplication::applicationPid());
        QVERIFY(kb > 0);
        QCOMPARE(TProcessStatus::ResidentKbOf(0), qint64(-1));
    }

    void memoryText()
    {
        QCOMPARE(TProcessStatus::MemoryText(512), QStringLiteral("512 kB"));
        QCOMPARE(TProcessStatus::MemoryText(123456), QStringLiteral("120.6 MB"));
        QCOMPARE(TProcessStatus::MemoryText(-1), QString());
    }
};

QTEST_GUILESS_MAIN(TestTabToolRules)
#include "tst_tabtoolrules.moc"
