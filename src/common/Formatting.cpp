#include "common/Formatting.h"

#include "common/LocalPath.h"

#include <array>
#include <charconv>
#include <cmath>

namespace {

constexpr qsizetype kColorTextLength = 7;

int hexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// Reads a two-character pair the way wcstol reads base 16, stopping at the first character
// that is not a hexadecimal digit.
int readHexPair(QStringView pair) {
    int value = 0;
    for (QChar c : pair) {
        const int digit = hexDigitValue(c);
        if (digit < 0)
            break;
        value = value * 16 + digit;
    }
    return value;
}

// `value` with no decimals, rounded as printf("%.0f") rounds, without any locale.
QString wholeNumberText(double value) {
    std::array<char, 400> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, 0);
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

} // namespace

QColor ParseColor(const QString& text, const QColor& fallback) {
    if (text.size() != kColorTextLength)
        return fallback;
    const QStringView view(text);
    return QColor(readHexPair(view.mid(1, 2)), readHexPair(view.mid(3, 2)),
                  readHexPair(view.mid(5, 2)));
}

QString SizeText(double bytes) {
    const QString kb = QStringLiteral("KB");
    if (!std::isfinite(bytes) || bytes == 0)
        return QStringLiteral("0") + kb;
    if (bytes < 1024)
        return QStringLiteral("1") + kb;
    // Halves round away from zero (2560 bytes show 3KB), never to even.
    return GroupThousands(wholeNumberText(std::round(bytes / 1024))) + kb;
}

QString GroupThousands(const QString& digits) {
    QString grouped = digits;
    for (qsizetype comma = grouped.size() - 3; comma > 0; comma -= 3)
        grouped.insert(comma, QLatin1Char(','));
    return grouped;
}

QString SplitPath(int kind, int part, const QString& path) {
    const QChar separator = kind == kServerPathKind ? u'/' : kLocalPathSeparator;
    const qsizetype last = path.lastIndexOf(separator);
    if (last < 0 || (part != kNamePart && part != kFolderPart))
        return path.toUpper();
    return part == kNamePart ? path.mid(last + 1) : path.left(last + 1);
}

QString ShownText(const QString& text) {
    if (text.size() <= kMaxShownTextLength)
        return text;
    return text.first(kMaxShownTextLength - 1) + QChar(0x2026);
}
