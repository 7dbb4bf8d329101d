#include "transfer/UrlEncoder.h"

#include "common/TextCodec.h"

#include <QByteArray>
#include <string_view>

namespace {

constexpr std::string_view kReserved = "\"<>%\\^[]`+$,@:;/!#?=&";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool NeedsEncoding(unsigned char byte) {
    return byte < 33 || byte >= 123 ||
           kReserved.find(static_cast<char>(byte)) != std::string_view::npos;
}

} // namespace

UrlEncoder::UrlEncoder(const QString& charset) : charset_(charset.toUpper()) {}

QString UrlEncoder::encode(const QString& text) const {
    const QByteArray bytes = ToBytes(text, charset_);
    QString out;
    out.reserve(bytes.size() * 3);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (NeedsEncoding(byte)) {
            out += QLatin1Char('%');
            out += QLatin1Char(kHexDigits[byte >> 4]);
            out += QLatin1Char(kHexDigits[byte & 0x0F]);
        } else {
            out += QLatin1Char(c);
        }
    }
    return out;
}
