// SPDX-License-Identifier: GPL-3.0-or-later
// The arithmetic behind the reported numbers and the test of a painted row.

#include <QtTest>

#include <cmath>
#include <stdexcept>
#include <vector>

#include "bench_stats.h"

using drill::bench::Fixed;
using drill::bench::Median;
using drill::bench::Percentile;
using drill::bench::Ratio;
using drill::bench::RowLooksPainted;

using Values = std::vector<double>;
using Pixels = std::vector<std::uint32_t>;
Q_DECLARE_METATYPE(Values)
Q_DECLARE_METATYPE(Pixels)

class BenchHelpersTest : public QObject {
    Q_OBJECT

private slots:
    void median_data() {
        QTest::addColumn<Values>("values");
        QTest::addColumn<double>("expected");
        QTest::newRow("single") << Values{7} << 7.0;
        QTest::newRow("odd count, unsorted") << Values{9, 1, 5} << 5.0;
        QTest::newRow("even count takes the mean of the middle two") << Values{4, 1, 3, 2} << 2.5;
        QTest::newRow("even count with an outlier") << Values{1, 2, 3, 1000} << 2.5;
        QTest::newRow("duplicates") << Values{2, 2, 2, 9, 9} << 2.0;
    }
    void median() {
        QFETCH(Values, values);
        QFETCH(double, expected);
        QCOMPARE(Median(values), expected);
    }

    void percentile_data() {
        QTest::addColumn<Values>("values");
        QTest::addColumn<double>("p");
        QTest::addColumn<double>("expected");
        const Values ten{10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
        QTest::newRow("p90 of ten") << ten << 90.0 << 9.0;
        QTest::newRow("p100 is the largest") << ten << 100.0 << 10.0;
        QTest::newRow("p0 is the smallest") << ten << 0.0 << 1.0;
        QTest::newRow("p50 of an odd count") << Values{3, 1, 2} << 50.0 << 2.0;
        QTest::newRow("above 100 is clamped") << ten << 250.0 << 10.0;
    }
    void percentile() {
        QFETCH(Values, values);
        QFETCH(double, p);
        QFETCH(double, expected);
        QCOMPARE(Percentile(values, p), expected);
    }

    void emptySamplesAreRejected() {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, Median({}));
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, Percentile({}, 50));
    }

    void ratioAgainstNothingIsNotANumber_data() {
        QTest::addColumn<double>("a");
        QTest::addColumn<double>("b");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << 3.0 << 2.0 << "1.500";
        QTest::newRow("zero baseline") << 3.0 << 0.0 << "n/a";
        QTest::newRow("negative baseline") << 3.0 << -1.0 << "n/a";
        QTest::newRow("nan baseline") << 3.0 << std::nan("") << "n/a";
    }
    void ratioAgainstNothingIsNotANumber() {
        QFETCH(double, a);
        QFETCH(double, b);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(Fixed(Ratio(a, b), 3)), text);
    }

    void rowLooksPainted_data() {
        QTest::addColumn<Pixels>("row");
        QTest::addColumn<double>("fraction");
        QTest::addColumn<bool>("painted");
        const std::uint32_t cyan = 0x80FFFF;
        QTest::newRow("empty row") << Pixels{} << 0.5 << false;
        QTest::newRow("all black") << Pixels(8, 0) << 0.5 << false;
        QTest::newRow("all colour") << Pixels(8, cyan) << 0.5 << true;
        QTest::newRow("exactly half") << Pixels{cyan, cyan, 0, 0} << 0.5 << true;
        QTest::newRow("just under half") << Pixels{cyan, 0, 0, 0, cyan, 0} << 0.5 << false;
        QTest::newRow("an alpha byte alone is still black")
            << Pixels(8, 0xFF000000u) << 0.5 << false;
        QTest::newRow("dark but not black counts") << Pixels(8, 0x010000u) << 0.5 << true;
    }
    void rowLooksPainted() {
        QFETCH(Pixels, row);
        QFETCH(double, fraction);
        QFETCH(bool, painted);
        QCOMPARE(RowLooksPainted(row, fraction), painted);
    }
};

QTEST_MAIN(BenchHelpersTest)
#include "bench_helpers_test.moc"
