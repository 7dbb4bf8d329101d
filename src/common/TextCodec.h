#pragma once

#include <QByteArray>
#include <QString>

// Conversions between the control's UTF-16 strings and the bytes that go over the wire and
// into files. Characters the target cannot hold become "?"; bytes that do not decode become
// U+FFFD; the rest of the text always survives.

// `text` in UTF-8 when `encoding` is "UTF-8" in any letter case, otherwise in the system code
// page (VANTREL_CODEPAGE, CP949 when unset or unknown).
QByteArray ToBytes(const QString& text, const QString& encoding);

// Decodes `bytes` up to the first NUL byte, choosing the encoding as ToBytes does.
QString FromBytes(const QByteArray& bytes, const QString& encoding);

// `text` in the encoding iconv knows as `iconvName`; empty with *ok = false when iconv does
// not know the name.
QByteArray EncodeWith(const QString& text, const QByteArray& iconvName, bool* ok = nullptr);

// All of `bytes` decoded from the encoding iconv knows as `iconvName`; empty with *ok = false
// when iconv does not know the name.
QString DecodeWith(const QByteArray& bytes, const QByteArray& iconvName, bool* ok = nullptr);

// All of `bytes` decoded from the encoding iconv knows as `iconvName`, nothing replaced. False,
// with `text` untouched, when iconv does not know the name or a byte sequence is not valid in
// that encoding (including one cut off at the end).
bool DecodeExactly(const QByteArray& bytes, const QByteArray& iconvName, QString* text);
