#include "xml/DeclaredEncoding.h"

namespace {

constexpr qsizetype kDeclarationLimit = 1024;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

qsizetype SkipSpaces(const QByteArray& text, qsizetype at) {
    while (at < text.size() && IsSpace(text[at]))
        ++at;
    return at;
}

} // namespace

QByteArray DeclaredEncoding(const QByteArray& bytes) {
    if (!bytes.startsWith("<?xml"))
        return {};
    const qsizetype end = bytes.indexOf("?>");
    if (end < 0 || end > kDeclarationLimit)
        return {};
    const QByteArray declaration = bytes.left(end);
    const qsizetype key = declaration.indexOf("encoding");
    if (key < 0)
        return {};
    qsizetype at = SkipSpaces(declaration, key + 8);
    if (at >= declaration.size() || declaration[at] != '=')
        return {};
    at = SkipSpaces(declaration, at + 1);
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return {};
    const qsizetype close = declaration.indexOf(declaration[at], at + 1);
    if (close < 0)
        return {};
    return declaration.mid(at + 1, close - at - 1).trimmed();
}

bool HasUnicodeSignature(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFE\xFF") ||
        bytes.startsWith("\xFF\xFE"))
        return true;
    return bytes.size() >= 2 && (bytes[0] == '\0' || bytes[1] == '\0');
}

bool IsUnicodeName(const QByteArray& name) {
    const QByteArray upper = name.toUpper();
    return upper.startsWith("UTF") || upper.startsWith("UCS");
}

QByteArray IconvNameFor(const QByteArray& declared) {
    const QByteArray upper = declared.toUpper();
    if (upper == "EUC-KR" || upper == "EUCKR" || upper == "KS_C_5601-1987" || upper == "KSC5601" ||
        upper == "KSC_5601" || upper == "UHC" || upper == "MS949" || upper == "WINDOWS-949")
        return "CP949";
    return declared;
}
