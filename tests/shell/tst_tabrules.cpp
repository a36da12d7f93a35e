#include "shell/TabRules.h"

#include <QtTest>

using namespace TTabRules;

class TestTabRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void afterClose_data()
    {
        QTest::addColumn<int>("closed");
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("newCount");
        QTest::addColumn<int>("expected");
        // Four tabs, the third active.
        QTest::newRow("close before active keeps the page") << 0 << 2 << 3 << 1;
        QTest::newRow("close active takes the next") << 2 << 2 << 3 << 2;
        QTest::newRow("close after active keeps it") << 3 << 2 << 3 << 2;
        // Three tabs, the last active.
        QTest::newRow("close last active takes previous") << 2 << 2 << 2 << 1;
        QTest::newRow("close first of two") << 0 << 0 << 1 << 0;
    }

    void afterClose()
    {
        QFETCH(int, closed);
        QFETCH(int, active);
        QFETCH(int, newCount);
        QTEST(ActiveIndexAfterClose(closed, active, newCount), "expected");
    }

    void switching()
    {
        QCOMPARE(NextIndex(3, 4), 0);
        QCOMPARE(NextIndex(1, 4), 2);
        QCOMPARE(NextIndex(0, 1), 0);
        QCOMPARE(FlipIndex(5, 3), 0);
        QCOMPARE(FlipIndex(-1, 3), 0);
        QCOMPARE(FlipIndex(2, 3), 2);
    }

    void placement_data()
    {
        QTest::addColumn<bool>("nextToCurrent");
        QTest::addColumn<bool>("first");
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("expected");
        QTest::newRow("end by default") << false << false << 1 << 4 << 4;
        QTest::newRow("next to current") << true << false << 1 << 4 << 2;
        QTest::newRow("first tab always last") << true << true << -1 << 0 << 0;
        QTest::newRow("next to last is the end") << true << false << 3 << 4 << 4;
    }

    void placement()
    {
        QFETCH(bool, nextToCurrent);
        QFETCH(bool, first);
        QFETCH(int, active);
        QFETCH(int, count);
        QTEST(NewTabIndex(nextToCurrent, first, active, count), "expected");
    }

    void titleText_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        const QString t27 = QStringLiteral("abcdefghijklmnopqrstuvwxyz0");
        QTest::newRow("exactly 27") << t27 << t27;
        QTest::newRow("28 loses the last") << t27 + QLatin1Char('1') << t27;
        QTest::newRow("empty is blanks") << QString() << QString(27, QLatin1Char(' '));
        QTest::newRow("short is padded") << QStringLiteral("Home") << QStringLiteral("Home") + QString(23, QLatin1Char(' '));
    }

    void titleText()
    {
        QFETCH(QString, title);
        const QString text = getTitleText(title);
        QCOMPARE(text.size(), 27);
        QTEST(text, "expected");
    }
};

QTEST_GUILESS_MAIN(TestTabRules)
#include "tst_tabrules.moc"
