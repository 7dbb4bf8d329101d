#pragma once

#include <QString>

// Percent-encodes text for query strings and paths, byte by byte in the page's character
// set: letters, digits and ' ( ) * - . _ pass; every other byte becomes "%XX" (upper-case
// hex). A "/" is encoded too, so pass path segments, not whole paths whose slashes must stay.
class UrlEncoder {
public:
    // `charset` is the Charset setting; "UTF-8" in any letter case encodes UTF-8 bytes, any
    // other name the system code page's bytes.
    explicit UrlEncoder(const QString& charset);

    QString encode(const QString& text) const;

private:
    QString charset_; // upper-cased, as the setting's getter hands it out
};
