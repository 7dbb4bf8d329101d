#include "panes/list/ListSort.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace {

template <typename T> int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Optional blanks, optional sign, then decimal digits; stops at the first other character.
qint64 leadingInteger(const QString& text) {
    int i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    constexpr qint64 limit = std::numeric_limits<qint64>::max();
    qint64 value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i].unicode() - '0';
        value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
    }
    return negative ? -value : value;
}

QDateTime parseDateTime(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QLocale locale;
    for (const auto format : {QLocale::ShortFormat, QLocale::LongFormat}) {
        QDateTime value = locale.toDateTime(trimmed, format);
        if (value.isValid())
            return value;
        const QDate date = locale.toDate(trimmed, format);
        if (date.isValid())
            return date.startOfDay();
    }
    for (const char* format : {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd HH:mm", "yyyy-MM-dd",
                               "yyyy/MM/dd HH:mm:ss", "yyyy/MM/dd HH:mm", "yyyy/MM/dd"}) {
        QDateTime value = QDateTime::fromString(trimmed, QLatin1String(format));
        if (value.isValid())
            return value;
    }
    return QDateTime::fromString(trimmed, Qt::ISODate);
}

double readDecimal(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && !std::isnan(value) ? value : 0.0;
}

} // namespace

SortType SortTypeFromName(const QString& name) {
    if (name == QLatin1String("INT"))
        return SortType::Int;
    if (name == QLatin1String("DATETIME"))
        return SortType::DateTime;
    if (name == QLatin1String("DEC"))
        return SortType::Dec;
    if (name == QLatin1String("IMAGE"))
        return SortType::Image;
    return SortType::String;
}

int CompareIntText(const QString& a, const QString& b) {
    return threeWay(leadingInteger(a), leadingInteger(b));
}

int CompareStringText(const QString& a, const QString& b) {
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    return threeWay(order, 0);
}

int CompareDateTimeText(const QString& a, const QString& b) {
    const QDateTime first = parseDateTime(a);
    const QDateTime second = parseDateTime(b);
    if (first.isValid() != second.isValid())
        return first.isValid() ? 1 : -1;
    if (!first.isValid())
        return 0;
    return threeWay(first, second);
}

int CompareDecText(const QString& a, const QString& b) {
    return threeWay(readDecimal(a), readDecimal(b));
}

int CompareImageIndex(int a, int b) {
    return threeWay(a, b);
}

namespace {

// Sort keys are read once per row so a sort of many rows does not re-parse texts.
struct DecodedKey {
    qint64 integer = 0;
    double decimal = 0;
    QDateTime date;
    QString text;
};

qint64 clampedInteger(double value) {
    constexpr double kLimit = 9.2e18; // just inside qint64
    if (std::isnan(value))
        return 0;
    return static_cast<qint64>(std::clamp(value, -kLimit, kLimit));
}

DecodedKey decode(SortType type, int row, const SortRowSource& source) {
    DecodedKey key;
    const std::optional<double> number =
        source.number && (type == SortType::Int || type == SortType::Dec) ? source.number(row)
                                                                          : std::nullopt;
    switch (type) {
    case SortType::Int:
        key.integer = number ? clampedInteger(*number) : leadingInteger(source.text(row));
        break;
    case SortType::Dec:
        key.decimal = number && !std::isnan(*number) ? *number : readDecimal(source.text(row));
        break;
    case SortType::DateTime:
        key.date = parseDateTime(source.text(row));
        break;
    case SortType::Image:
        key.integer = source.image(row);
        break;
    case SortType::String:
        key.text = source.text(row);
        break;
    }
    return key;
}

int compareKeys(SortType type, const DecodedKey& a, const DecodedKey& b) {
    switch (type) {
    case SortType::Int:
    case SortType::Image:
        return threeWay(a.integer, b.integer);
    case SortType::Dec:
        return threeWay(a.decimal, b.decimal);
    case SortType::DateTime:
        if (a.date.isValid() != b.date.isValid())
            return a.date.isValid() ? 1 : -1;
        return a.date.isValid() ? threeWay(a.date, b.date) : 0;
    case SortType::String:
        return CompareStringText(a.text, b.text);
    }
    return 0;
}

} // namespace

std::vector<int> SortedRowOrder(int rowCount, SortType type, bool ascending,
                                const SortRowSource& source) {
    std::vector<int> order(std::max(rowCount, 0));
    std::iota(order.begin(), order.end(), 0);
    const bool readsText = type != SortType::Image;
    if (readsText ? !source.text : !source.image)
        return order;
    std::vector<DecodedKey> keys;
    keys.reserve(order.size());
    for (int row : order)
        keys.push_back(decode(type, row, source));
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int result = compareKeys(type, keys[a], keys[b]);
        return ascending ? result < 0 : result > 0;
    });
    return order;
}
