#include "xml/ServerPath.h"

#include "xml/XPathText.h"

#include <QLocale>
#include <QStringList>

namespace {

const QChar kSlash('/');

qsizetype SkipDigits(const QString& text, qsizetype at) {
    while (at < text.size() && text[at] >= '0' && text[at] <= '9')
        ++at;
    return at;
}

qsizetype SkipSign(const QString& text, qsizetype at) {
    return at < text.size() && (text[at] == '+' || text[at] == '-') ? at + 1 : at;
}

// End of the exponent starting at `at`, or `at` when no complete exponent is there.
qsizetype ExponentEnd(const QString& text, qsizetype at) {
    if (at >= text.size() || (text[at] != 'e' && text[at] != 'E'))
        return at;
    const qsizetype digits = SkipSign(text, at + 1);
    const qsizetype end = SkipDigits(text, digits);
    return end > digits ? end : at;
}

} // namespace

QString TrimServerPath(const QString& path) {
    QString trimmed = path;
    if (trimmed.startsWith(kSlash))
        trimmed.remove(0, 1);
    if (trimmed.endsWith(kSlash))
        trimmed.chop(1);
    return trimmed;
}

QString ServerPathXPath(const QString& path, bool fileForm) {
    if (path.isEmpty())
        return {};
    QStringList segments = path.chopped(1).split(kSlash);
    segments.last() += path.back();
    QStringList steps;
    for (qsizetype i = 0; i < segments.size(); ++i) {
        const bool fileStep = fileForm && i == segments.size() - 1;
        steps.append(
            NameStep(fileStep ? QStringLiteral("FILE") : QStringLiteral("FOLDER"), segments[i]));
    }
    return steps.join(kSlash);
}

double SizeValue(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text[start].isSpace())
        ++start;
    const qsizetype integral = SkipSign(text, start);
    qsizetype end = SkipDigits(text, integral);
    bool hasDigits = end > integral;
    if (end < text.size() && text[end] == '.') {
        const qsizetype fraction = SkipDigits(text, end + 1);
        hasDigits = hasDigits || fraction > end + 1;
        end = fraction;
    }
    if (!hasDigits)
        return 0.0;
    end = ExponentEnd(text, end);
    bool ok = false;
    const double value = QLocale::c().toDouble(text.mid(start, end - start), &ok);
    return ok ? value : 0.0;
}

QString CatalogueSizeText(double size) {
    return QString::number(size, 'f', 0);
}
