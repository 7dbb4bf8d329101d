#include "xml/XPathText.h"

#include <QStringList>

namespace {

const QChar kDoubleQuote('"');
const QChar kSingleQuote('\'');

QString Quoted(const QString& text, QChar quote) {
    return quote + text + quote;
}

} // namespace

QString XPathLiteral(const QString& text) {
    if (!text.contains(kDoubleQuote))
        return Quoted(text, kDoubleQuote);
    if (!text.contains(kSingleQuote))
        return Quoted(text, kSingleQuote);
    // Both kinds: double-quoted pieces joined by single-quoted double quotes. The text holds
    // a double quote, so there are always at least two arguments.
    QStringList arguments;
    const QStringList pieces = text.split(kDoubleQuote);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0)
            arguments.append(Quoted(kDoubleQuote, kSingleQuote));
        if (!pieces[i].isEmpty())
            arguments.append(Quoted(pieces[i], kDoubleQuote));
    }
    return "concat(" + arguments.join(',') + ')';
}

QString NameStep(const QString& tag, const QString& name) {
    return tag + "[@name=" + XPathLiteral(name) + ']';
}
