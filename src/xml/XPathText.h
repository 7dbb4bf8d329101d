#pragma once

#include <QString>

// XPath 1.0 text for names taken from documents and users. A name is always written as a
// literal that means exactly that name, whatever quotes or brackets it holds, so no name can
// widen a query to other nodes.

// `text` as an XPath 1.0 string literal: "text" when it holds no double quote, 'text' when it
// holds no single quote, otherwise a concat(...) of such pieces.
QString XPathLiteral(const QString& text);

// One location step selecting the `tag` children whose "name" attribute equals `name`:
// FOLDER[@name="x"] for an ordinary name.
QString NameStep(const QString& tag, const QString& name);
