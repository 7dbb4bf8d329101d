#pragma once

// Private to the XML layer: finds the encoding a document's bytes are written in.

#include <QByteArray>

// The encoding name given in the XML declaration at the start of `bytes`, as written; empty
// when there is no declaration or it names no encoding.
QByteArray DeclaredEncoding(const QByteArray& bytes);

// True when the bytes start with a byte-order mark or look like UTF-16/UTF-32 text, which the
// parser recognises by itself.
bool HasUnicodeSignature(const QByteArray& bytes);

// True for names of Unicode encodings ("UTF-8", "utf8", "UTF-16LE", "UCS-2", ...).
bool IsUnicodeName(const QByteArray& name);

// The iconv name to decode a declared non-Unicode encoding with. Korean names map to CP949,
// the superset that such documents are actually written in.
QByteArray IconvNameFor(const QByteArray& declared);
