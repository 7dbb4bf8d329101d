#include "common/TextCodec.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

constexpr char kDefaultCodePage[] = "CP949";
constexpr char kUnmappableByte = '?';
constexpr char16_t kReplacementChar = 0xFFFD;

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr char kUtf16Host[] = "UTF-16LE";
#else
constexpr char kUtf16Host[] = "UTF-16BE";
#endif

// Owns one iconv conversion descriptor.
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvHandle() {
        if (valid())
            iconv_close(cd_);
    }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// How many input bytes at `at` (with `left` bytes remaining) make up the character that
// could not be converted.
using SkipRule = size_t (*)(const char* at, size_t left);

size_t skipOneByte(const char*, size_t) {
    return 1;
}

// One UTF-16 character: a surrogate pair counts as one, so an emoji becomes one "?".
size_t skipOneUtf16Char(const char* at, size_t left) {
    if (left < 4)
        return qMin<size_t>(2, left);
    char16_t first, second;
    memcpy(&first, at, 2);
    memcpy(&second, at + 2, 2);
    return QChar::isHighSurrogate(first) && QChar::isLowSurrogate(second) ? 4 : 2;
}

// Runs `cd` over all of `input` into `output`. Where a character cannot be converted, a skip
// rule writes `replacement` and skips that character, so one bad character never costs the
// rest; without a skip rule the conversion stops there and answers false.
bool convertAll(iconv_t cd, const QByteArray& input, QByteArray& output,
                const QByteArray& replacement, SkipRule skipRule) {
    output.resize(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.constData());
    size_t inLeft = static_cast<size_t>(input.size());
    qsizetype written = 0;
    auto room = [&](qsizetype needed) {
        if (output.size() - written < needed)
            output.resize(qMax(output.size() * 2, written + needed));
    };
    for (;;) {
        room(16);
        char* out = output.data() + written;
        size_t outLeft = static_cast<size_t>(output.size() - written);
        const bool flushing = inLeft == 0;
        const size_t rc = flushing ? iconv(cd, nullptr, nullptr, &out, &outLeft)
                                   : iconv(cd, &in, &inLeft, &out, &outLeft);
        const int error = errno;
        written = out - output.data();
        if (rc != static_cast<size_t>(-1)) {
            if (flushing)
                break;
            continue;
        }
        if (error == E2BIG)
            continue;
        if (!skipRule) {
            output.truncate(written);
            return false;
        }
        if (flushing)
            break;
        room(replacement.size());
        memcpy(output.data() + written, replacement.constData(), replacement.size());
        written += replacement.size();
        if (error == EINVAL) {
            // A character cut off at the end of the input.
            inLeft = 0;
            continue;
        }
        const size_t skip = qMin(skipRule(in, inLeft), inLeft);
        in += skip;
        inLeft -= skip;
    }
    output.truncate(written);
    return true;
}

QString fromUtf16Units(const QByteArray& units) {
    return QString(reinterpret_cast<const QChar*>(units.constData()), units.size() / 2);
}

QByteArray utf16Bytes(const QString& text) {
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

QByteArray replacementInUtf16() {
    const char16_t unit = kReplacementChar;
    return QByteArray(reinterpret_cast<const char*>(&unit), sizeof unit);
}

bool isUtf8Name(const QString& encoding) {
    return encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
}

QByteArray knownCodePage() {
    const QByteArray named = qgetenv("VANTREL_CODEPAGE");
    if (named.isEmpty())
        return kDefaultCodePage;
    IconvHandle probe(kUtf16Host, named.constData());
    return probe.valid() ? named : QByteArray(kDefaultCodePage);
}

QByteArray iconvNameFor(const QString& encoding) {
    return isUtf8Name(encoding) ? QByteArray("UTF-8") : knownCodePage();
}

} // namespace

QByteArray EncodeWith(const QString& text, const QByteArray& iconvName, bool* ok) {
    IconvHandle handle(iconvName.constData(), kUtf16Host);
    if (ok)
        *ok = handle.valid();
    if (!handle.valid())
        return {};
    QByteArray bytes;
    convertAll(handle.get(), utf16Bytes(text), bytes, QByteArray(1, kUnmappableByte),
               skipOneUtf16Char);
    return bytes;
}

QString DecodeWith(const QByteArray& bytes, const QByteArray& iconvName, bool* ok) {
    IconvHandle handle(kUtf16Host, iconvName.constData());
    if (ok)
        *ok = handle.valid();
    if (!handle.valid())
        return {};
    QByteArray units;
    convertAll(handle.get(), bytes, units, replacementInUtf16(), skipOneByte);
    return fromUtf16Units(units);
}

bool DecodeExactly(const QByteArray& bytes, const QByteArray& iconvName, QString* text) {
    IconvHandle handle(kUtf16Host, iconvName.constData());
    QByteArray units;
    if (!handle.valid() || !convertAll(handle.get(), bytes, units, QByteArray(), nullptr))
        return false;
    *text = fromUtf16Units(units);
    return true;
}

QByteArray ToBytes(const QString& text, const QString& encoding) {
    return EncodeWith(text, iconvNameFor(encoding));
}

QString FromBytes(const QByteArray& bytes, const QString& encoding) {
    const qsizetype nul = bytes.indexOf('\0');
    return DecodeWith(nul < 0 ? bytes : bytes.left(nul), iconvNameFor(encoding));
}
