#pragma once

// Private to the XML layer: finds the encoding a document's bytes are written in.

#include <QByteArray>

// The encoding name given in the XML declaration at the start of `bytes`, as written; empty
// when there is no declaration or it names no encoding.
QByteArray DeclaredEncoding(const QByteArray& bytes);

// A Unicode encoding shown by the first bytes: a byte-order mark, or the zero bytes around the
// "<" that UTF-16 and UTF-32 text starts with.
struct UnicodeSignature {
    QByteArray iconvName;     // empty when the bytes show none
    qsizetype markLength = 0; // the byte-order mark to skip; 0 when there is none
};
UnicodeSignature SignatureOf(const QByteArray& bytes);

// True for the names of UTF-8, UTF-16, UTF-32 and UCS-2/UCS-4 in their usual spellings, any
// letter case. Bytes without a signature that carry such a name are read as UTF-8.
bool IsUnicodeName(const QByteArray& name);

// The iconv name to decode a declared non-Unicode encoding with. Korean names map to CP949,
// the superset that such documents are actually written in.
QByteArray IconvNameFor(const QByteArray& declared);
