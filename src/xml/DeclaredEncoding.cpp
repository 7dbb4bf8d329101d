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

UnicodeSignature SignatureOf(const QByteArray& bytes) {
    // Longer patterns first: a UTF-32 mark begins like a UTF-16 one.
    static const struct {
        QByteArrayView start;
        const char* iconvName;
        qsizetype markLength;
    } kSignatures[] = {
        {QByteArrayView("\x00\x00\xFE\xFF", 4), "UTF-32BE", 4},
        {QByteArrayView("\xFF\xFE\x00\x00", 4), "UTF-32LE", 4},
        {QByteArrayView("\x00\x00\x00<", 4), "UTF-32BE", 0},
        {QByteArrayView("<\x00\x00\x00", 4), "UTF-32LE", 0},
        {QByteArrayView("\xEF\xBB\xBF", 3), "UTF-8", 3},
        {QByteArrayView("\xFE\xFF", 2), "UTF-16BE", 2},
        {QByteArrayView("\xFF\xFE", 2), "UTF-16LE", 2},
        {QByteArrayView("\x00<", 2), "UTF-16BE", 0},
        {QByteArrayView("<\x00", 2), "UTF-16LE", 0},
    };
    for (const auto& signature : kSignatures) {
        if (bytes.startsWith(signature.start))
            return {signature.iconvName, signature.markLength};
    }
    return {};
}

bool IsUnicodeName(const QByteArray& name) {
    static const char* const kNames[] = {"UTF-8",    "UTF8",     "UTF-16",         "UTF16",
                                         "UTF-16LE", "UTF-16BE", "UTF-32",         "UTF32",
                                         "UTF-32LE", "UTF-32BE", "UCS-2",          "UCS2",
                                         "UCS-4",    "UCS4",     "ISO-10646-UCS-2"};
    const QByteArray upper = name.toUpper();
    for (const char* known : kNames) {
        if (upper == known)
            return true;
    }
    return false;
}

QByteArray IconvNameFor(const QByteArray& declared) {
    const QByteArray upper = declared.toUpper();
    if (upper == "EUC-KR" || upper == "EUCKR" || upper == "KS_C_5601-1987" || upper == "KSC5601" ||
        upper == "KSC_5601" || upper == "UHC" || upper == "MS949" || upper == "WINDOWS-949")
        return "CP949";
    return declared;
}
