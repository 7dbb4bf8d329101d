#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

// How a list column orders its rows when its header is clicked. Widget-free, so the models
// can sort with it and the tests can check the orderings without a window.
enum class SortType { Int, String, DateTime, Dec, Image };

// "INT", "STRING", "DATETIME", "DEC" or "IMAGE" (exact case); anything else is String.
SortType SortTypeFromName(const QString& name);

// Three-way comparisons (-1, 0, 1) that form strict weak orderings: equal values compare
// equal and nothing overflows, so they are safe for std::sort.
// Leading decimal digits after optional blanks and sign, 0 when none; saturates.
int CompareIntText(const QString& a, const QString& b);
// Case-insensitive.
int CompareStringText(const QString& a, const QString& b);
// Dates in the user's locale (short or long form) or ISO form, earlier first. Texts that
// are no date are equal to each other and come before every date.
int CompareDateTimeText(const QString& a, const QString& b);
// Floating-point numbers; unreadable or NaN texts read as 0.
int CompareDecText(const QString& a, const QString& b);
int CompareImageIndex(int a, int b);

// What a sort reads of a row: its text in the sort column and its image index, and the
// numeric value of the cell where the text is a formatted number (a size): the Int and Dec
// sorts order by that value when there is one.
struct SortRowSource {
    std::function<QString(int row)> text;
    std::function<int(int row)> image;
    std::function<std::optional<double>(int row)> number;
};

// The rows 0..rowCount-1 in sorted order (a permutation: result[i] is the old row that goes
// to place i). Equal rows keep their relative order.
std::vector<int> SortedRowOrder(int rowCount, SortType type, bool ascending,
                                const SortRowSource& source);
