// Histogram intervals and their edges, and the array extremes.
#include "controls/arrayextremes.h"
#include "controls/histogram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using controls::histogram;
using controls::maxMin;

TEST(Histogram, EdgesBelongToTheUpperIntervalAndTheTopToTheLast) {
    // [0, 10] in 5 intervals of 2: 0 <= x < 2, 2 <= x < 4, ..., 8 <= x <= 10.
    const std::vector<double> values{0.0, 1.999, 2.0, 3.0, 7.999999, 8.0, 10.0, 10.0};
    const auto h = histogram(values, 5, 0, 10);
    EXPECT_EQ(h.counts, (std::vector<int>{2, 2, 0, 1, 3}));
    EXPECT_EQ(h.centres, (std::vector<double>{1, 3, 5, 7, 9}));
}

TEST(Histogram, ValuesOutsideTheRangeAndNonNumbersAreLeftOut) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<double> values{-0.001, 10.001, nan, inf, -inf, 5.0};
    const auto h = histogram(values, 2, 0, 10);
    EXPECT_EQ(h.counts, (std::vector<int>{0, 1}));
}

TEST(Histogram, EdgeThatRoundsBelowItsIntervalStaysInRange) {
    // In binary the interval width is 0.09999999999999999, so 0.3 divides to just over 3: the top value
    // still counts in the last interval.
    const std::vector<double> values{0.3, 0.1, 0.0};
    const auto h = histogram(values, 3, 0.0, 0.3);
    ASSERT_EQ(h.counts.size(), 3u);
    EXPECT_EQ(h.counts[0] + h.counts[1] + h.counts[2], 3);
    EXPECT_EQ(h.counts[2], 1);
    EXPECT_EQ(h.counts[0], 1);
}

TEST(Histogram, NegativeRangeAndOneInterval) {
    const std::vector<double> values{-26, -15, -7.5, -10};
    const auto h = histogram(values, 1, -26, -7.5);
    EXPECT_EQ(h.counts, std::vector<int>{4});
    EXPECT_DOUBLE_EQ(h.centres[0], -16.75);
}

TEST(Histogram, NoIntervalsOrAnEmptyRangeGiveNothing) {
    const std::vector<double> values{1, 2, 3};
    EXPECT_TRUE(histogram(values, 0, 0, 10).counts.empty());
    EXPECT_TRUE(histogram(values, -3, 0, 10).counts.empty());
    EXPECT_TRUE(histogram(values, 4, 5, 5).counts.empty());
    EXPECT_TRUE(histogram(values, 4, 10, 0).counts.empty());
    EXPECT_TRUE(histogram(values, 4, 0, std::numeric_limits<double>::infinity()).counts.empty());
    const auto empty = histogram({}, 3, 0, 3);
    EXPECT_EQ(empty.counts, (std::vector<int>{0, 0, 0}));
}

TEST(Histogram, RangesAsWideAsTheDoubleRangeAreCountedAndUndividableIndexesPlaceNothing) {
    // hi 1e308 and lo -1e308: the width of the range is beyond a double, the intervals are not.
    const std::vector<double> values{-1e308, 10, 1e308, 5e307};
    const auto h = histogram(values, 4, -1e308, 1e308);
    // 5e307 is the lower edge of the last interval.
    EXPECT_EQ(h.counts, (std::vector<int>{1, 0, 1, 2}));
    EXPECT_EQ(h.centres, (std::vector<double>{-0.75e308, -0.25e308, 0.25e308, 0.75e308}));
    const auto one = histogram(values, 1, -1e308, 1e308);
    EXPECT_EQ(one.counts, std::vector<int>{4});
    EXPECT_EQ(one.centres, std::vector<double>{0});

    // An interval narrower than the smallest double: its index is not a number and nothing is placed.
    const double tiny = std::numeric_limits<double>::denorm_min();
    const std::vector<double> small{0, tiny};
    const auto narrow = histogram(small, 3, 0, tiny);
    EXPECT_EQ(narrow.counts, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(narrow.counts.size(), narrow.centres.size());
}

TEST(ArrayExtremes, StartFromTheFirstValueAndKeepTheFirstIndex) {
    const std::vector<double> negative{-5, -2, -9, -2, -9};
    const auto e = maxMin(negative);
    EXPECT_EQ(e.maximum, -2);
    EXPECT_EQ(e.maximumIndex, 1);
    EXPECT_EQ(e.minimum, -9);
    EXPECT_EQ(e.minimumIndex, 2);

    const std::vector<double> large{70000, 65000.5};
    EXPECT_EQ(maxMin(large).minimum, 65000.5);

    const std::vector<double> withNan{std::nan(""), 3, std::nan("")};
    const auto n = maxMin(withNan);
    EXPECT_EQ(n.maximumIndex, 1);
    EXPECT_EQ(n.minimumIndex, 1);

    const auto none = maxMin({});
    EXPECT_EQ(none.maximumIndex, -1);
    EXPECT_EQ(none.minimumIndex, -1);
}
