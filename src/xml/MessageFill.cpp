#include "xml/MessageFill.h"

namespace {

const QString kFlags = QStringLiteral("-+ #0");
const QString kLengths = QStringLiteral("hlLqjzt");
const QString kConversions = QStringLiteral("sSdiuoxXeEfgGcCp");

qsizetype SkipWhile(const QString& text, qsizetype at, const QString& allowed) {
    while (at < text.size() && allowed.contains(text[at]))
        ++at;
    return at;
}

qsizetype SkipDigits(const QString& text, qsizetype at) {
    while (at < text.size() && text[at].isDigit())
        ++at;
    return at;
}

// The end of the conversion starting at the "%" at `at`, or -1 when there is none.
qsizetype ConversionEnd(const QString& text, qsizetype at) {
    qsizetype end = SkipDigits(text, SkipWhile(text, at + 1, kFlags));
    if (end < text.size() && text[end] == '.')
        end = SkipDigits(text, end + 1);
    if (text.mid(end, 3) == QLatin1String("I64"))
        end += 3;
    end = SkipWhile(text, end, kLengths);
    if (end < text.size() && kConversions.contains(text[end]))
        return end + 1;
    return -1;
}

} // namespace

QString FillMessage(const QString& text, const QStringList& values) {
    QString out;
    qsizetype next = 0;
    for (qsizetype at = 0; at < text.size();) {
        if (text[at] != '%') {
            out += text[at++];
            continue;
        }
        if (at + 1 < text.size() && text[at + 1] == '%') {
            out += '%';
            at += 2;
            continue;
        }
        const qsizetype end = ConversionEnd(text, at);
        if (end < 0) {
            out += text[at++];
            continue;
        }
        if (next < values.size())
            out += values[next];
        ++next;
        at = end;
    }
    return out;
}
