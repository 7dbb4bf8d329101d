#include "panes/server/ExtensionFilter.h"

namespace {

// "ext;" for a name with an extension, "ext_null;" for one without (no dot, or nothing
// after the last one).
QString extensionKey(const QString& fileName) {
    const QString lower = fileName.toLower();
    const qsizetype dot = lower.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || dot == lower.size() - 1)
        return QStringLiteral("ext_null;");
    return lower.mid(dot + 1) + QLatin1Char(';');
}

bool listHas(const QString& list, const QString& fileName) {
    return list.toLower().contains(extensionKey(fileName));
}

} // namespace

bool IsExcludedExtension(const QString& fileName, const QString& exceptionExt) {
    return !exceptionExt.isEmpty() && listHas(exceptionExt, fileName);
}

bool IsPermittedExtension(const QString& fileName, const QString& onlyExt) {
    return onlyExt.isEmpty() || listHas(onlyExt, fileName);
}
