#include "panes/list/ListSort.h"

#include <QDate>
#include <QLocale>
#include <functional>
#include <gtest/gtest.h>

namespace {

using Compare = std::function<int(const QString&, const QString&)>;

// Strict weak ordering over every triple of `values`: irreflexive, antisymmetric, and both
// "less" and "equivalent" transitive.
void expectStrictWeakOrdering(const Compare& compare, const QStringList& values) {
    for (const QString& a : values) {
        EXPECT_EQ(compare(a, a), 0) << a.toStdString();
        for (const QString& b : values) {
            EXPECT_EQ(compare(a, b), -compare(b, a)) << a.toStdString() << " " << b.toStdString();
            for (const QString& c : values) {
                if (compare(a, b) < 0 && compare(b, c) < 0) {
                    EXPECT_LT(compare(a, c), 0);
                }
                if (compare(a, b) == 0 && compare(b, c) == 0) {
                    EXPECT_EQ(compare(a, c), 0)
                        << a.toStdString() << "|" << b.toStdString() << "|" << c.toStdString();
                }
            }
        }
    }
}

} // namespace

TEST(ListSort, EveryTextComparisonIsAStrictWeakOrdering) {
    expectStrictWeakOrdering(CompareIntText, {"10", "9", "-3", "abc", "", "  7x", "+7",
                                              "99999999999999999999999", "-99999999999999999999"});
    expectStrictWeakOrdering(CompareStringText, {"abc", "ABC", "abd", "", "Zeta", "zeta", "가나"});
    expectStrictWeakOrdering(CompareDecText, {"1.5", "1.50", "-2", "x", "", "nan", "inf", "0"});
    expectStrictWeakOrdering(CompareDateTimeText,
                             {"2024-01-05 10:00", "2024-01-05 10:00:00", "2023-12-31", "garbage",
                              "", "2024/02/01 08:30", "not a date"});
}

TEST(ListSort, ValuesReadAsTheTypesSay) {
    EXPECT_LT(CompareIntText("9", "10"), 0) << "numbers, not texts";
    EXPECT_EQ(CompareIntText("12kb", "12"), 0) << "leading digits only";
    EXPECT_EQ(CompareIntText("none", "0"), 0);
    EXPECT_GT(CompareIntText("99999999999999999999", "-99999999999999999999"), 0)
        << "saturates instead of overflowing";
    EXPECT_EQ(CompareStringText("readme.TXT", "README.txt"), 0);
    EXPECT_EQ(CompareDecText("2.50", "2.5"), 0) << "equal values compare equal in both orders";
    EXPECT_LT(CompareDecText("x", "0.1"), 0) << "unreadable reads as 0";
    EXPECT_LT(CompareDateTimeText("2023-12-31", "2024-01-05 10:00"), 0);
    EXPECT_EQ(CompareDateTimeText("2024-01-05 10:00", "2024-01-05 10:00"), 0);
    EXPECT_LT(CompareDateTimeText("garbage", "1999-01-01"), 0) << "no date sorts first";
    const QLocale locale;
    const QString localDate = locale.toString(QDate(2020, 3, 4), QLocale::ShortFormat);
    EXPECT_LT(CompareDateTimeText(localDate, "2021-01-01"), 0) << localDate.toStdString();
    EXPECT_LT(CompareImageIndex(2, 3), 0);
    EXPECT_EQ(SortTypeFromName("DEC"), SortType::Dec);
    EXPECT_EQ(SortTypeFromName("int"), SortType::String) << "names are exact";
}

TEST(ListSort, RowOrderIsAStablePermutationInEitherDirection) {
    const QStringList sizes = {"30", "7", "x", "30", "100"};
    SortRowSource source;
    source.text = [&](int row) {
        return sizes[row];
    };
    EXPECT_EQ(SortedRowOrder(5, SortType::Int, true, source), (std::vector<int>{2, 1, 0, 3, 4}));
    EXPECT_EQ(SortedRowOrder(5, SortType::Int, false, source), (std::vector<int>{4, 0, 3, 1, 2}));
    EXPECT_EQ(SortedRowOrder(5, SortType::String, true, source), (std::vector<int>{4, 0, 3, 1, 2}));

    const std::vector<int> images = {3, 1, 2};
    SortRowSource imageSource;
    imageSource.image = [&](int row) {
        return images[row];
    };
    EXPECT_EQ(SortedRowOrder(3, SortType::Image, true, imageSource), (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(SortedRowOrder(3, SortType::Int, true, imageSource), (std::vector<int>{0, 1, 2}))
        << "without texts the order stays";
    EXPECT_TRUE(SortedRowOrder(-1, SortType::Int, true, source).empty());
}
