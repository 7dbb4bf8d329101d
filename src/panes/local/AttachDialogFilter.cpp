#include "panes/local/AttachDialogFilter.h"

#include <QStringList>

namespace {

// A pattern Qt could misread (spaces, brackets, wildcards) is not offered.
bool isPlainExtension(const QString& extension) {
    for (const QChar c : extension) {
        if (c.isSpace() || QStringLiteral("()*?[];/\\").contains(c))
            return false;
    }
    return !extension.isEmpty();
}

} // namespace

QString AttachDialogFilter(const QString& onlyExt) {
    const QString all = QStringLiteral("All Files (*)");
    if (onlyExt.isEmpty())
        return all;
    QStringList extensions = onlyExt.toLower().split(QLatin1Char(';'));
    extensions.removeLast(); // the text after the last ";" is not closed
    QStringList patterns;
    for (const QString& extension : extensions) {
        if (extension == QLatin1String("ext_null") || !isPlainExtension(extension))
            continue;
        for (const QString& variant : {extension, extension.toUpper()}) {
            const QString pattern = QStringLiteral("*.") + variant;
            if (!patterns.contains(pattern))
                patterns.append(pattern);
        }
    }
    if (patterns.isEmpty())
        return all;
    return QStringLiteral("Files (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}
